#include "options/ColorListBox.h"

#include "options/logic/NamedColors.h"

#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QSignalBlocker>

#include <utility>

namespace {

constexpr QSize SwatchSize{20, 12};

// Filled and framed pixel by pixel: a QPainter on a pixmap per swatch cost more than the
// rest of the three lists together.
QIcon swatch(const QColor &color)
{
    QImage image(SwatchSize, QImage::Format_ARGB32_Premultiplied);
    image.fill(color);
    const QRgb frame = qRgb(0, 0, 0);
    const int right = image.width() - 1;
    const int bottom = image.height() - 1;
    for (int x = 0; x <= right; ++x) {
        image.setPixel(x, 0, frame);
        image.setPixel(x, bottom, frame);
    }
    for (int y = 1; y < bottom; ++y) {
        image.setPixel(0, y, frame);
        image.setPixel(right, y, frame);
    }
    return QIcon(QPixmap::fromImage(std::move(image)));
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
