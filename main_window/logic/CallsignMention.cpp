#include "main_window/logic/CallsignMention.h"

CallsignMention::CallsignMention(const QString &callsign)
    : m_callsign(callsign)
{
    const QString call = callsign.trimmed();
    if (call.isEmpty())
        return;
    // Lookarounds rather than \b, so a call sign that itself ends in "/P" still matches, and a
    // "/" suffix or an "EA8/" prefix counts as a word boundary.
    m_word = QRegularExpression(QStringLiteral("(?<![\\p{L}\\p{N}_])") + QRegularExpression::escape(call)
                                    + QStringLiteral("(?![\\p{L}\\p{N}_])"),
                                QRegularExpression::CaseInsensitiveOption
                                    | QRegularExpression::UseUnicodePropertiesOption);
}

bool CallsignMention::isIn(const QString &text) const
{
    return !m_word.pattern().isEmpty() && m_word.match(text).hasMatch();
}

bool mentionsCallsign(const QString &text, const QString &callsign)
{
    return CallsignMention(callsign).isIn(text);
}
