#pragma once

#include <QAbstractTextDocumentLayout>
#include <QFont>
#include <QHash>

#include <array>
#include <vector>

class QTextBlock;

// Lays the transcript out paragraph by paragraph, each with a wrap mode of its own: at word
// boundaries, or anywhere for a paragraph holding a run too long to wrap at word boundaries
// in reasonable time. The document keeps exactly the text received, so copying, dragging,
// finding and screen readers all see that text and nothing added for the layout.
// A paragraph short enough for one line is laid out only when it is first drawn or measured:
// in a flood most received lines scroll past unseen, and laying them out cost more than all
// the rest of taking them in.
class TranscriptLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT

public:
    static constexpr int DeferFromBlocks = 64;

    explicit TranscriptLayout(QTextDocument *document);

    void draw(QPainter *painter, const PaintContext &context) override;
    int hitTest(const QPointF &point, Qt::HitTestAccuracy accuracy) const override;
    int pageCount() const override;
    QSizeF documentSize() const override;
    QRectF frameBoundingRect(QTextFrame *frame) const override;
    QRectF blockBoundingRect(const QTextBlock &block) const override;

protected:
    void documentChanged(int from, int charsRemoved, int charsAdded) override;

private:
    struct LineMetrics
    {
        QFont font;
        qreal height = 0;
        // Advances of the printable ASCII characters, each measured when first met (negative
        // until then), for telling whether a line fits without laying it out.
        std::array<qreal, 0x7f - 0x20> advances{};
    };

    // Where a paragraph is, by its number. Kept here rather than in the paragraph's own text
    // layout, which a paragraph waiting to be laid out then never needs: a million of them
    // took a third of a gigabyte and an allocation per line received.
    struct Place
    {
        qreal top = 0;
        // The paragraph's text format, whose line height a paragraph not laid out takes.
        int format = -1;
        bool laidOut = false;
    };

    // Lays the paragraph out at top and returns where it ends.
    qreal layoutBlock(const QTextBlock &block, qreal top) const;
    // Lays the paragraph out now, or, when it is short enough for one line, only gives it a
    // place and one line's height, to be laid out when first drawn or measured.
    qreal placeBlock(const QTextBlock &block, Place &place, qreal top) const;
    // Lays out a paragraph that was only given a place, and puts its lines where the place
    // says; a height other than the one it was given moves the paragraphs after it.
    void ensureLaidOut(const QTextBlock &block, int number) const;
    bool isLaidOut(const QTextBlock &block, int number) const;
    qreal blockHeight(const QTextBlock &block, int number) const;
    // The metrics of a text format, measured on first use; valid until the next.
    LineMetrics &lineMetrics(int format) const;
    // The paragraph's one format when it surely fits on one line, so it can wait to be laid
    // out; -1 when it is laid out now.
    int oneLineFormat(const QTextBlock &block) const;
    // The number of the paragraph at y.
    int blockNumberAt(qreal y) const;
    qreal lineWidth() const;

    // Mutable: laying a paragraph out when it is first drawn or measured happens in const calls.
    mutable QSizeF m_size;
    mutable std::vector<Place> m_places;
    mutable QHash<int, LineMetrics> m_lineMetrics;
    mutable QFont m_metricsFont;
};
