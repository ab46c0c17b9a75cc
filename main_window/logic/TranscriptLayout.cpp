#include "main_window/logic/TranscriptLayout.h"

#include "main_window/logic/StationTextWrap.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextLayout>

#include <algorithm>
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

// The format the paragraph's text is drawn in: its first fragment's, or for an empty
// paragraph its own, as the text engine takes it.
int textFormatIndex(const QTextBlock &block)
{
    const QTextBlock::iterator first = block.begin();
    return first.atEnd() ? block.charFormatIndex() : first.fragment().charFormatIndex();
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

qreal TranscriptLayout::placeBlock(const QTextBlock &block, Place &place, qreal top) const
{
    place.top = top;
    const int format = oneLineFormat(block);
    if (format < 0) {
        place.laidOut = true;
        place.format = -1;
        return layoutBlock(block, top);
    }
    // Lines from before the change would count as laid out.
    if (place.laidOut)
        block.layout()->clearLayout();
    place.laidOut = false;
    place.format = format;
    return top + lineMetrics(format).height;
}

bool TranscriptLayout::isLaidOut(const QTextBlock &block, int number) const
{
    // A paragraph laid out has at least one line, an empty one too. Its lines go when its text
    // changes, before the change reaches this layout.
    return m_places[size_t(number)].laidOut && block.layout()->lineCount() > 0;
}

void TranscriptLayout::ensureLaidOut(const QTextBlock &block, int number) const
{
    if (!block.isValid() || number < 0 || size_t(number) >= m_places.size())
        return;
    Place &place = m_places[size_t(number)];
    if (isLaidOut(block, number))
        return;
    const qreal top = place.top;
    const qreal given = blockHeight(block, number);
    place.laidOut = true;
    const qreal shift = layoutBlock(block, top) - top - given;
    if (qFuzzyIsNull(shift))
        return;
    // Rare (a line of one format that fits is one line high), so the paragraphs after it are
    // walked: those laid out keep their lines where their places are, which screen readers
    // read from the lines themselves.
    QTextBlock after = block.next();
    for (size_t i = size_t(number) + 1; i < m_places.size() && after.isValid(); ++i, after = after.next()) {
        m_places[i].top += shift;
        if (isLaidOut(after, int(i)))
            after.layout()->setPosition(QPointF(document()->documentMargin(), m_places[i].top));
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

qreal TranscriptLayout::blockHeight(const QTextBlock &block, int number) const
{
    if (isLaidOut(block, number))
        return laidOutHeight(*block.layout());
    const int format = m_places[size_t(number)].format;
    return lineMetrics(format >= 0 ? format : textFormatIndex(block)).height;
}

TranscriptLayout::LineMetrics &TranscriptLayout::lineMetrics(int format) const
{
    const QTextDocument &doc = *document();
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

int TranscriptLayout::oneLineFormat(const QTextBlock &block) const
{
    // A short transcript is laid out at once, as the window's first lines are: measuring
    // letters costs more than it saves until lines come by the hundred.
    if (document()->blockCount() < DeferFromBlocks)
        return -1;
    const qreal width = lineWidth();
    // One walk over the paragraph's fragments: finding a paragraph's text in a document of a
    // million lines is a walk down its trees, the most a flood pays per line at that size.
    int format = -1;
    qreal natural = 0;
    LineMetrics *metrics = nullptr;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment fragment = it.fragment();
        if (!metrics) {
            format = fragment.charFormatIndex();
            metrics = &lineMetrics(format);
        } else if (fragment.charFormatIndex() != format) {
            // Several fonts could make the line taller than one font's metrics say.
            return -1;
        }
        if (width < 0)
            continue;
        // Printable ASCII only, measured letter by letter, with room to spare for kerning:
        // other characters, tabs included, are laid out at once. A line that wraps after all
        // is laid out again when it is first drawn, and the lines after it move.
        for (const QChar c : fragment.text()) {
            const char16_t code = c.unicode();
            if (code < 0x20 || code >= 0x7f)
                return -1;
            qreal &advance = metrics->advances[code - 0x20];
            if (advance < 0)
                advance = QFontMetricsF(metrics->font).horizontalAdvance(c);
            natural += advance;
        }
    }
    if (!metrics)
        return block.charFormatIndex();
    return width < 0 || natural * 1.1 <= width ? format : -1;
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
    // The paragraphs before the change keep their numbers and places, those after it their
    // order: places come or go where the change starts.
    const int first = qMin(block.blockNumber(), int(m_places.size()));
    const int grown = doc.blockCount() - int(m_places.size());
    if (grown > 0)
        m_places.insert(m_places.begin() + first, size_t(grown), Place());
    else if (grown < 0)
        m_places.erase(m_places.begin() + first, m_places.begin() + qMin(first - grown, int(m_places.size())));
    m_places.resize(size_t(doc.blockCount()));
    block = doc.findBlockByNumber(first);

    const qreal changeTop = first > 0 ? m_places[size_t(first - 1)].top + blockHeight(block.previous(), first - 1)
                                      : doc.documentMargin();
    const QTextBlock lastChanged = doc.findBlock(from + qMax(charsAdded - 1, 0));
    const QTextBlock afterChange = lastChanged.isValid() ? lastChanged.next() : QTextBlock();

    qreal top = changeTop;
    int number = first;
    for (; block.isValid() && block != afterChange; block = block.next(), ++number)
        top = placeBlock(block, m_places[size_t(number)], top);
    // The paragraphs after the change keep their lines and move at most; the transcript
    // changes at its end, so there are seldom any.
    for (; block.isValid(); block = block.next(), ++number) {
        m_places[size_t(number)].top = top;
        if (isLaidOut(block, number))
            block.layout()->setPosition(QPointF(doc.documentMargin(), top));
        top += blockHeight(block, number);
    }

    const QSizeF size(qMax<qreal>(doc.pageSize().width(), 0), top + doc.documentMargin());
    Q_EMIT update(QRectF(0, changeTop, qreal(INT_MAX), qreal(INT_MAX)));
    if (size != m_size) {
        m_size = size;
        Q_EMIT documentSizeChanged(m_size);
    }
}

int TranscriptLayout::blockNumberAt(qreal y) const
{
    // The last paragraph starting at or above y.
    const auto after = std::upper_bound(m_places.begin(), m_places.end(), y,
                                        [](qreal at, const Place &place) { return at < place.top; });
    return qMax(int(after - m_places.begin()) - 1, 0);
}

void TranscriptLayout::draw(QPainter *painter, const PaintContext &context)
{
    const QRectF clip = context.clip.isValid() ? context.clip : QRectF(QPointF(0, 0), m_size);
    painter->save();
    painter->setPen(context.palette.color(QPalette::Text));
    int number = blockNumberAt(clip.top());
    for (QTextBlock block = document()->findBlockByNumber(number);
         block.isValid() && size_t(number) < m_places.size() && m_places[size_t(number)].top <= clip.bottom();
         block = block.next(), ++number) {
        ensureLaidOut(block, number);
        const QTextLayout &layout = *block.layout();
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
    const int number = blockNumberAt(point.y());
    const QTextBlock block = document()->findBlockByNumber(number);
    ensureLaidOut(block, number);
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
    const int number = block.isValid() ? block.blockNumber() : -1;
    if (number < 0 || size_t(number) >= m_places.size())
        return QRectF();
    // Callers go on to the block's lines (the caret's place, moving by lines), so it is laid out.
    ensureLaidOut(block, number);
    const QTextLayout &layout = *block.layout();
    return QRectF(layout.position(), QSizeF(qMax<qreal>(lineWidth(), 0), laidOutHeight(layout)));
}
