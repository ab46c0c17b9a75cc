#include "TranscriptFill.h"

#include "main_window/logic/TDisplaySettings.h"
#include "main_window/logic/TranscriptLines.h"

#include <QTextCursor>
#include <QTextDocument>

QString benchLineText(int i)
{
    return QStringLiteral("line %1 of an ordinary exchange, signal report 59, QTH and name").arg(i);
}

void fillTranscript(QTextDocument &document, const TDisplaySettings &settings, int count)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    for (int i = 0; i < count; ++i) {
        if (i % 2 == 0)
            appendOwnLine(cursor, transcriptLength(document), settings, QStringLiteral("N0CALL>"), benchLineText(i));
        else
            appendReceivedLine(cursor, transcriptLength(document), settings.RecvTextColor,
                               QStringLiteral("W1AW>") + benchLineText(i));
    }
    cursor.endEditBlock();
}
