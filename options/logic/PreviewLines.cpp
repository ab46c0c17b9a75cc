#include "options/logic/PreviewLines.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

void replacePreviewLine(QTextDocument &document, int line, const QString &text,
                        const QTextCharFormat &format)
{
    QTextCursor cursor(&document);
    cursor.beginEditBlock();
    while (document.blockCount() <= line) {
        cursor.movePosition(QTextCursor::End);
        cursor.insertBlock();
    }
    const QTextBlock block = document.findBlockByNumber(line);
    cursor.setPosition(block.position());
    cursor.setPosition(block.position() + block.length() - 1, QTextCursor::KeepAnchor);
    cursor.removeSelectedText();
    cursor.setCharFormat(format);
    cursor.insertText(text, format);
    cursor.endEditBlock();
}
