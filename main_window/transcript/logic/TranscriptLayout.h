#pragma once

#include <QAbstractTextDocumentLayout>

class QTextBlock;

// Lays the transcript out paragraph by paragraph, each with a wrap mode of its own: at word
// boundaries, or anywhere for a paragraph holding a run too long to wrap at word boundaries
// in reasonable time. The document keeps exactly the text received, so copying, dragging,
// finding and screen readers all see that text and nothing added for the layout.
class TranscriptLayout : public QAbstractTextDocumentLayout
{
    Q_OBJECT

public:
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
    qreal layoutBlock(const QTextBlock &block, qreal top) const;
    QTextBlock blockAt(qreal y) const;
    qreal lineWidth() const;
    qreal contentBottom() const;

    QSizeF m_size;
};
