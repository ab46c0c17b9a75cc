#include "main_window/reading_aids/logic/CallsignMention.h"

#include <QRegularExpression>

bool mentionsCallsign(const QString &text, const QString &callsign)
{
    const QString call = callsign.trimmed();
    if (call.isEmpty())
        return false;
    // Lookarounds rather than \b, so a call sign that itself ends in "/P" still matches, and a
    // "/" suffix or an "EA8/" prefix counts as a word boundary.
    const QRegularExpression word(QStringLiteral("(?<![\\p{L}\\p{N}_])") + QRegularExpression::escape(call)
                                      + QStringLiteral("(?![\\p{L}\\p{N}_])"),
                                  QRegularExpression::CaseInsensitiveOption
                                      | QRegularExpression::UseUnicodePropertiesOption);
    return word.match(text).hasMatch();
}
