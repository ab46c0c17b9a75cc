#include "main_window/logic/TranscriptLines.h"

#include "main_window/logic/TDisplaySettings.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>

namespace {

// One line is one edit: the transcript lays it out and reports the change once, not per piece.
class EditBlock
{
public:
    explicit EditBlock(QTextCursor &caret)
        : m_caret(caret)
    {
        m_caret.beginEditBlock();
    }
    ~EditBlock() { m_caret.endEditBlock(); }
    EditBlock(const EditBlock &) = delete;
    EditBlock &operator=(const EditBlock &) = delete;

private:
    QTextCursor &m_caret;
};

// Whether QTextCursor::insertText() would start a new paragraph within the line.
bool breaksParagraph(const QString &line)
{
    return std::any_of(line.begin(), line.end(), [](QChar c) {
        const char16_t code = c.unicode();
        return code == u'\n' || code == u'\r' || code == QChar::ParagraphSeparator || code == 0xfdd0
            || code == 0xfdd1;
    });
}

void endLine(QTextCursor &caret, const QTextCharFormat &format)
{
    caret.movePosition(QTextCursor::End);
    caret.insertBlock(caret.blockFormat(), format);
}

} // namespace

int transcriptLength(const QTextDocument &document)
{
    // The count includes the closing paragraph separator, which is no text.
    return document.characterCount() - 1;
}

void placeCaret(QTextCursor &caret, int insertPos)
{
    caret.setPosition(qBound(0, insertPos, transcriptLength(*caret.document())));
}

void appendOwnLine(QTextCursor &caret, int insertPos, const TDisplaySettings &settings,
                   const QString &prefix, const QString &text)
{
    placeCaret(caret, insertPos);
    const EditBlock edit(caret);
    QTextCharFormat format = caret.charFormat();
    // Before start-up has set the defaults there is no face or size to set.
    if (!settings.ChatFontName.isEmpty())
        format.setFontFamilies(QStringList{settings.ChatFontName});
    applyFontStyle(format, settings.ChatFontStyle);
    if (settings.ChatFontSize > 0)
        format.setFontPointSize(settings.ChatFontSize);
    format.setForeground(settings.MyTextColor);
    caret.insertText(prefix, format);
    caret.insertText(text, format);
    endLine(caret, format);
}

void appendReceivedLine(QTextCursor &caret, int insertPos, const QColor &color, const QString &line)
{
    placeCaret(caret, insertPos);
    const EditBlock edit(caret);
    QTextCharFormat format = caret.charFormat();
    format.setForeground(color);
    caret.insertText(line, format);
    endLine(caret, format);
}

void appendReceivedLines(QTextCursor &caret, int insertPos, const QColor &color, const QStringList &lines)
{
    placeCaret(caret, insertPos);
    const EditBlock edit(caret);
    // At the end, lines without breaks of their own go in as one text with a break after each:
    // the same blocks and formats as line by line, at half the cost per line in a flood.
    if (caret.atEnd() && std::none_of(lines.begin(), lines.end(), breaksParagraph)) {
        qsizetype length = 0;
        for (const QString &line : lines)
            length += line.size() + 1;
        QString text;
        text.reserve(length);
        for (const QString &line : lines) {
            text += line;
            text += u'\n';
        }
        QTextCharFormat format = caret.charFormat();
        format.setForeground(color);
        caret.insertText(text, format);
        return;
    }
    for (const QString &line : lines) {
        appendReceivedLine(caret, insertPos, color, line);
        // Each line ends after the one before, as the caret's move would have recorded.
        insertPos = transcriptLength(*caret.document());
    }
}
