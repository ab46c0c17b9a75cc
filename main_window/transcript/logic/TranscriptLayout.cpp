#include "main_window/transcript/logic/TranscriptLayout.h"

#include "main_window/stations/logic/StationTextWrap.h"

#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

namespace {

// The lines' own heights, as they were stacked: rect() leaves out the rounding height() has.
qreal blockHeight(const QTextLayout &layout)
{
    const int lines = layout.lineCount();
    if (lines == 0)
        return 0;
    const QTextLine last = layout.lineAt(lines - 1);
    return last.y() + last.height();
}

qreal blockBottom(const QTextBlock &block)
{
    const QTextLayout &layout = *block.layout();
    return layout.position().y() + blockHeight(layout);
}

} // namespace

TranscriptLayout::TranscriptLayout(QTextDocument *document)
    : QAbstractTextDocumentLayout(document)
{
}

qreal TranscriptLayout::lineWidth() const
{
    const qreal page = document()->pageSize().width();
    // No page width means no wrapping, as in the standard layout.
    return page > 0 ? qMax<qreal>(page - 2 * document()->documentMargin(), 1) : -1;
}

qreal TranscriptLayout::layoutBlock(const QTextBlock &block, qreal top) const
{
    QTextLayout &layout = *block.layout();
    const QTextBlockFormat format = block.blockFormat();
    QTextOption option = document()->defaultTextOption();
    option.setTextDirection(block.textDirection());
    if (format.hasProperty(QTextFormat::BlockAlignment))
        option.setAlignment(format.alignment());
    const qreal width = lineWidth();
    if (width < 0 || format.nonBreakableLines())
        option.setWrapMode(QTextOption::ManualWrap);
    else if (option.wrapMode() != QTextOption::ManualWrap && option.wrapMode() != QTextOption::NoWrap)
        option.setWrapMode(paragraphWrapMode(block.text(), option.wrapMode()));
    layout.setTextOption(option);

    qreal height = 0;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLeadingIncluded(true);
        line.setLineWidth(qMax<qreal>(width, 0));
        line.setPosition(QPointF(0, height));
        height += line.height();
    }
    layout.endLayout();
    layout.setPosition(QPointF(document()->documentMargin(), top));
    return top + height;
}

void TranscriptLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved);
    const QTextDocument &doc = *document();
    // A change reported at the document's very end finds no paragraph: the last one is redone.
    QTextBlock block = doc.findBlock(from);
    if (!block.isValid())
        block = doc.lastBlock();
    const QTextBlock previous = block.previous();
    const qreal changeTop = previous.isValid() ? blockBottom(previous) : doc.documentMargin();
    const QTextBlock lastChanged = doc.findBlock(from + qMax(charsAdded - 1, 0));
    const QTextBlock afterChange = lastChanged.isValid() ? lastChanged.next() : QTextBlock();

    qreal top = changeTop;
    for (; block.isValid() && block != afterChange; block = block.next())
        top = layoutBlock(block, top);
    // The paragraphs after the change keep their lines and move at most; the transcript
    // changes at its end, so there are seldom any.
    for (; block.isValid(); block = block.next()) {
        QTextLayout &layout = *block.layout();
        if (layout.lineCount() == 0) {
            top = layoutBlock(block, top);
        } else {
            layout.setPosition(QPointF(doc.documentMargin(), top));
            top += blockHeight(layout);
        }
    }

    const QSizeF size(qMax<qreal>(doc.pageSize().width(), 0), top + doc.documentMargin());
    Q_EMIT update(QRectF(0, changeTop, qreal(INT_MAX), qreal(INT_MAX)));
    if (size != m_size) {
        m_size = size;
        Q_EMIT documentSizeChanged(m_size);
    }
}

QTextBlock TranscriptLayout::blockAt(qreal y) const
{
    const QTextDocument &doc = *document();
    int first = 0;
    int last = doc.blockCount() - 1;
    while (first < last) {
        const int middle = (first + last + 1) / 2;
        if (doc.findBlockByNumber(middle).layout()->position().y() <= y)
            first = middle;
        else
            last = middle - 1;
    }
    return doc.findBlockByNumber(first);
}

void TranscriptLayout::draw(QPainter *painter, const PaintContext &context)
{
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(0, 0), m_size);
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    for (QTextBlock block = blockAt(clip.top()); block.isValid(); block = block.next()) {
        QTextLayout &layout = *block.layout();
        if (layout.position().y() > clip.bottom())
            break;
        const int start = block.position();
        const int end = start + block.length();
        QList<QTextLayout::FormatRange> selections;
        for (const Selection &selection : context.selections) {
            const int from = qMax(selection.cursor.selectionStart(), start);
            const int to = qMin(selection.cursor.selectionEnd(), end);
            if (from < to)
                selections.append({from - start, to - from, selection.format});
        }
        layout.draw(painter, QPointF(0, 0), selections, clip);
        if (context.cursorPosition >= start && context.cursorPosition < end)
            layout.drawCursor(painter, QPointF(0, 0), context.cursorPosition - start);
    }
    painter->restore();
}

int TranscriptLayout::hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const
{
    const QTextBlock block = blockAt(point.y());
    const QTextLayout &layout = *block.layout();
    const int lines = layout.lineCount();
    if (lines == 0)
        return accuracy == Qt::ExactHit ? -1 : block.position();
    const QPointF inBlock = point - layout.position();
    QTextLine line = layout.lineAt(lines - 1);
    for (int i = 0; i < lines; ++i) {
        if (inBlock.y() < layout.lineAt(i).y() + layout.lineAt(i).height()) {
            line = layout.lineAt(i);
            break;
        }
    }
    if (accuracy == Qt::ExactHit && !line.naturalTextRect().contains(inBlock))
        return -1;
    return block.position() + line.xToCursor(inBlock.x());
}

int TranscriptLayout::pageCount() const
{
    return 1;
}

QSizeF TranscriptLayout::documentSize() const
{
    return m_size;
}

QRectF TranscriptLayout::frameBoundingRect(QTextFrame *frame) const
{
    return frame == document()->rootFrame() ? QRectF(QPointF(0, 0), m_size) : QRectF();
}

QRectF TranscriptLayout::blockBoundingRect(const QTextBlock &block) const
{
    if (!block.isValid())
        return QRectF();
    const QTextLayout &layout = *block.layout();
    return QRectF(layout.position(), QSizeF(qMax<qreal>(lineWidth(), 0), blockHeight(layout)));
}
