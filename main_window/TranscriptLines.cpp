#include "main_window/TranscriptLines.h"

#include "main_window/TDisplaySettings.h"

#include <QTextBoundaryFinder>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Laying out a run with no break opportunity costs the square of its length (a 1,000,000
// character word took about a minute), so longer runs get a break opportunity this often.
constexpr qsizetype LongRunLimit = 256;

// Inserts text so that the layout never meets an unbroken run longer than LongRunLimit: a
// zero-width space, marked so the saved transcript leaves it out, goes between the pieces.
void insertWrappable(QTextCursor &caret, const QString &text, QTextCharFormat format)
{
    format.clearProperty(TranscriptBreakMarker);
    QTextCharFormat marker = format;
    marker.setProperty(TranscriptBreakMarker, true);
    QTextBoundaryFinder lineBreaks(QTextBoundaryFinder::Line, text);
    QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
    qsizetype inserted = 0;
    qsizetype runStart = 0;
    for (qsizetype runEnd = lineBreaks.toNextBoundary(); runEnd != -1; runEnd = lineBreaks.toNextBoundary()) {
        for (qsizetype cut = runStart + LongRunLimit; cut < runEnd; cut += LongRunLimit) {
            // Never between the halves of a surrogate pair or a letter and its marks.
            graphemes.setPosition(cut);
            if (!graphemes.isAtBoundary())
                cut = graphemes.toNextBoundary();
            if (cut <= inserted || cut >= runEnd)
                break;
            caret.insertText(text.sliced(inserted, cut - inserted), format);
            caret.insertText(QString(QChar(0x200b)), marker);
            inserted = cut;
        }
        runStart = runEnd;
    }
    caret.insertText(text.sliced(inserted), format);
}

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
    insertWrappable(caret, text, format);
    endLine(caret, format);
}

void appendReceivedLine(QTextCursor &caret, int insertPos, const QColor &color, const QString &line)
{
    placeCaret(caret, insertPos);
    const EditBlock edit(caret);
    QTextCharFormat format = caret.charFormat();
    format.setForeground(color);
    format.clearProperty(TranscriptBreakMarker);
    insertWrappable(caret, line, format);
    endLine(caret, format);
}

void appendReceivedLines(QTextCursor &caret, int insertPos, const QColor &color, const QStringList &lines)
{
    placeCaret(caret, insertPos);
    const EditBlock edit(caret);
    for (const QString &line : lines) {
        appendReceivedLine(caret, insertPos, color, line);
        // Each line ends after the one before, as the caret's move would have recorded.
        insertPos = transcriptLength(*caret.document());
    }
}
