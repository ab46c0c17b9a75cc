#include "options/ColorListBox.h"

#include "options/NamedColors.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace {

constexpr QSize SwatchSize{20, 12};

QIcon swatch(const QColor &color)
{
    QPixmap pixmap(SwatchSize);
    pixmap.fill(color);
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

} // namespace

ColorListBox::ColorListBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(false);
    setIconSize(SwatchSize);
    fillEntries();
}

QColor ColorListBox::color() const
{
    return currentData().value<QColor>();
}

void ColorListBox::setColor(const QColor &color)
{
    int match = -1;
    for (int i = 0; color.isValid() && i < count() && match < 0; ++i) {
        if (itemData(i).value<QColor>().rgba() == color.rgba())
            match = i;
    }
    const QSignalBlocker blocker(this);
    setCurrentIndex(match);
}

void ColorListBox::changeEvent(QEvent *event)
{
    QComboBox::changeEvent(event);
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        updateColors();
}

void ColorListBox::fillEntries()
{
    for (const NamedColor &entry : namedColors(QGuiApplication::palette()))
        addItem(swatch(entry.color), entry.identifier, entry.color);
    // Long system identifiers stay readable in the open list.
    view()->setMinimumWidth(view()->sizeHintForColumn(0) + 4);
}

void ColorListBox::updateColors()
{
    const QList<NamedColor> colors = namedColors(QGuiApplication::palette());
    for (int i = 0; i < colors.size() && i < count(); ++i) {
        if (itemData(i).value<QColor>() == colors[i].color)
            continue;
        setItemData(i, colors[i].color);
        setItemIcon(i, swatch(colors[i].color));
    }
}
