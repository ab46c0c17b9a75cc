#include "main_window/StationListLabel.h"

#include <QHelpEvent>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolTip>

namespace {

// Measuring starts with a prefix this long, which is wider than most desktops already.
constexpr qsizetype FirstMeasuredCharacters = 256;
// A tooltip must fit on the screen.
constexpr qsizetype ToolTipCharacters = 2000;

const QChar Ellipsis(0x2026);

// The first count characters of text, one more where that would split a surrogate pair.
QString head(const QString &text, qsizetype count)
{
    if (count > 0 && count < text.size() && text.at(count - 1).isHighSurrogate())
        ++count;
    return text.left(count);
}

// The first count characters of text, with an ellipsis where anything was left out.
QString cut(const QString &text, qsizetype count)
{
    QString part = head(text, count);
    if (part.size() < text.size())
        part += Ellipsis;
    return part;
}

// The width of text, measured only as far as needed to exceed limit.
int measuredWidth(const QString &all, const QFontMetrics &metrics, int limit)
{
    for (qsizetype count = FirstMeasuredCharacters;; count *= 4) {
        if (count >= all.size())
            return metrics.horizontalAdvance(all);
        const int width = metrics.horizontalAdvance(head(all, count));
        if (width > limit)
            return width;
    }
}

} // namespace

StationListLabel::StationListLabel(QWidget *parent)
    : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
}

int StationListLabel::textWidth() const
{
    // Nothing wider than the desktop is ever seen whole, so measuring stops there: a list of
    // many thousand stations stays cheap to lay out and paint.
    const int limit = screen()->availableVirtualGeometry().width();
    const QString current = text();
    const bool same = current.constData() == m_measuredText.constData()
                      && current.size() == m_measuredText.size() && limit == m_measuredLimit;
    if (!same) {
        m_measuredWidth = measuredWidth(current, fontMetrics(), limit);
        m_measuredText = current;
        m_measuredLimit = limit;
    }
    return m_measuredWidth;
}

int StationListLabel::chromeWidth() const
{
    const QMargins margins = contentsMargins();
    return margins.left() + margins.right() + 2 * margin();
}

int StationListLabel::availableWidth() const
{
    return width() - chromeWidth();
}

QSize StationListLabel::sizeHint() const
{
    const QMargins margins = contentsMargins();
    return {textWidth() + chromeWidth(),
            fontMetrics().height() + margins.top() + margins.bottom() + 2 * margin()};
}

QSize StationListLabel::minimumSizeHint() const
{
    return {fontMetrics().horizontalAdvance(Ellipsis) + chromeWidth(), sizeHint().height()};
}

bool StationListLabel::isElided() const
{
    return textWidth() > availableWidth();
}

void StationListLabel::paintEvent(QPaintEvent *event)
{
    if (!isElided()) {
        QLabel::paintEvent(event);
        return;
    }
    QPainter painter(this);
    drawFrame(&painter);
    const QRect area = contentsRect().marginsRemoved(QMargins(margin(), margin(), margin(), margin()));
    // Visible characters are at least a pixel wide, so the first `width` of them fill the
    // label; the ellipsis marks the cut.
    const QString shown =
        fontMetrics().elidedText(cut(text(), area.width()), Qt::ElideRight, area.width());
    style()->drawItemText(&painter, area, int(alignment()), palette(), isEnabled(), shown,
                          foregroundRole());
}

QString StationListLabel::toolTipText() const
{
    // Escaped so that call signs stay literal text; the zero-width spaces let the tooltip wrap.
    QString escaped = cut(text(), ToolTipCharacters).toHtmlEscaped();
    return QStringLiteral("<p>") + escaped.replace(u',', QStringLiteral(",\u200B")) + QStringLiteral("</p>");
}

bool StationListLabel::event(QEvent *event)
{
    if (event->type() == QEvent::FontChange)
        m_measuredLimit = -1;
    if (event->type() == QEvent::ToolTip) {
        if (isElided())
            QToolTip::showText(static_cast<QHelpEvent *>(event)->globalPos(), toolTipText(), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QLabel::event(event);
}
