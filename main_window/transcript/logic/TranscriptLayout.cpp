#include "main_window/transcript/logic/TranscriptLayout.h"

#include "main_window/stations/logic/StationTextWrap.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <cmath>

namespace {

// The lines' own heights, as they were stacked: rect() leaves out the rounding height() has.
qreal laidOutHeight(const QTextLayout &layout)
{
    const int lines = layout.lineCount();
    if (lines == 0)
        return 0;
    const QTextLine last = layout.lineAt(lines - 1);
    return last.y() + last.height();
}

// A paragraph laid out has at least one line, an empty one too; one only given a place has none.
bool isLaidOut(const QTextBlock &block)
{
    return block.layout()->lineCount() > 0;
}

// The format the paragraph's text is drawn in: its first fragment's, or for an empty
// paragraph its own, as the text engine takes it.
int textFormatIndex(const QTextBlock &block)
{
    const QTextBlock::iterator first = block.begin();
    return first.atEnd() ? block.charFormatIndex() : first.fragment().charFormatIndex();
}

// Whether every fragment of the paragraph has that format, so one font sets the line's height.
bool hasOneFormat(const QTextBlock &block, int format)
{
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormatIndex() != format)
            return false;
    }
    return true;
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

qreal TranscriptLayout::placeBlock(const QTextBlock &block, qreal top) const
{
    if (!takesOneLine(block))
        return layoutBlock(block, top);
    QTextLayout &layout = *block.layout();
    // Lines from before the change would count as laid out.
    layout.clearLayout();
    layout.setPosition(QPointF(document()->documentMargin(), top));
    return top + lineMetrics(block).height;
}

void TranscriptLayout::ensureLaidOut(const QTextBlock &block) const
{
    if (!block.isValid() || isLaidOut(block))
        return;
    const qreal top = block.layout()->position().y();
    const qreal given = lineMetrics(block).height;
    const qreal shift = layoutBlock(block, top) - top - given;
    if (qFuzzyIsNull(shift))
        return;
    for (QTextBlock after = block.next(); after.isValid(); after = after.next()) {
        QTextLayout &layout = *after.layout();
        layout.setPosition(layout.position() + QPointF(0, shift));
    }
    m_size.rheight() += shift;
    // Often asked while the view paints: the view hears of it once the paint is done.
    auto *self = const_cast<TranscriptLayout *>(this);
    QMetaObject::invokeMethod(
        self,
        [self, top] {
            Q_EMIT self->update(QRectF(0, top, qreal(INT_MAX), qreal(INT_MAX)));
            Q_EMIT self->documentSizeChanged(self->m_size);
        },
        Qt::QueuedConnection);
}

qreal TranscriptLayout::blockHeight(const QTextBlock &block) const
{
    return isLaidOut(block) ? laidOutHeight(*block.layout()) : lineMetrics(block).height;
}

TranscriptLayout::LineMetrics &TranscriptLayout::lineMetrics(const QTextBlock &block) const
{
    const QTextDocument &doc = *document();
    const int format = textFormatIndex(block);
    const auto known = m_lineMetrics.find(format);
    if (known != m_lineMetrics.end())
        return *known;
    const QFont font = doc.allFormats().value(format).toCharFormat().font().resolve(m_metricsFont);
    const QFontMetricsF metrics(font);
    // A line's height as the text layout makes it, leading included and rounded up.
    LineMetrics line;
    line.font = font;
    line.height = std::ceil(metrics.ascent() + metrics.descent() + qMax<qreal>(metrics.leading(), 0));
    line.advances.fill(-1);
    return *m_lineMetrics.insert(format, line);
}

bool TranscriptLayout::takesOneLine(const QTextBlock &block) const
{
    // A short transcript is laid out at once, as the window's first lines are: measuring
    // letters costs more than it saves until lines come by the hundred.
    if (document()->blockCount() < DeferFromBlocks)
        return false;
    const int format = textFormatIndex(block);
    if (!hasOneFormat(block, format))
        return false;
    const qreal width = lineWidth();
    if (width < 0)
        return true;
    // Printable ASCII only, measured letter by letter, with room to spare for kerning: other
    // characters, tabs included, are laid out at once. A line that wraps after all is laid
    // out again when it is first drawn, and the lines after it move.
    LineMetrics &metrics = lineMetrics(block);
    qreal natural = 0;
    for (const QChar c : block.text()) {
        const char16_t code = c.unicode();
        if (code < 0x20 || code >= 0x7f)
            return false;
        qreal &advance = metrics.advances[code - 0x20];
        if (advance < 0)
            advance = QFontMetricsF(metrics.font).horizontalAdvance(c);
        natural += advance;
    }
    return natural * 1.1 <= width;
}

void TranscriptLayout::documentChanged(int from, int charsRemoved, int charsAdded)
{
    Q_UNUSED(charsRemoved);
    const QTextDocument &doc = *document();
    // Every format's font is resolved against the document's, so a new default font (which
    // comes with a change of the whole document) means new metrics for all.
    if (doc.defaultFont() != m_metricsFont) {
        m_lineMetrics.clear();
        m_metricsFont = doc.defaultFont();
    }
    // A change reported at the document's very end finds no paragraph: the last one is redone.
    QTextBlock block = doc.findBlock(from);
    if (!block.isValid())
        block = doc.lastBlock();
    const QTextBlock previous = block.previous();
    const qreal changeTop = previous.isValid() ? previous.layout()->position().y() + blockHeight(previous)
                                               : doc.documentMargin();
    const QTextBlock lastChanged = doc.findBlock(from + qMax(charsAdded - 1, 0));
    const QTextBlock afterChange = lastChanged.isValid() ? lastChanged.next() : QTextBlock();

    qreal top = changeTop;
    for (; block.isValid() && block != afterChange; block = block.next())
        top = placeBlock(block, top);
    // The paragraphs after the change keep their lines and move at most; the transcript
    // changes at its end, so there are seldom any.
    for (; block.isValid(); block = block.next()) {
        QTextLayout &layout = *block.layout();
        if (!isLaidOut(block)) {
            top = placeBlock(block, top);
        } else {
            layout.setPosition(QPointF(doc.documentMargin(), top));
            top += laidOutHeight(layout);
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
        ensureLaidOut(block);
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
    ensureLaidOut(block);
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
    // Callers go on to the block's lines (the caret's place, moving by lines), so it is laid out.
    ensureLaidOut(block);
    const QTextLayout &layout = *block.layout();
    return QRectF(layout.position(), QSizeF(qMax<qreal>(lineWidth(), 0), laidOutHeight(layout)));
}
