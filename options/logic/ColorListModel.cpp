#include "options/logic/ColorListModel.h"

#include <QImage>
#include <QPixmap>

#include <utility>

namespace {

// Filled and framed pixel by pixel: a QPainter on a pixmap per swatch cost more than the
// rest of the three lists together.
QIcon swatch(const QColor &color)
{
    QImage image(ColorListModel::SwatchSize, QImage::Format_ARGB32_Premultiplied);
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

ColorListModel::ColorListModel(const QList<NamedColor> &colors, QObject *parent)
    : QAbstractListModel(parent)
    , m_colors(colors)
    , m_swatches(colors.size())
{
}

int ColorListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_colors.size());
}

QVariant ColorListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_colors.size())
        return QVariant();
    const NamedColor &entry = m_colors.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        return entry.identifier;
    case Qt::UserRole:
        return entry.color;
    case Qt::DecorationRole: {
        QIcon &icon = m_swatches[index.row()];
        if (icon.isNull())
            icon = swatch(entry.color);
        return icon;
    }
    default:
        return QVariant();
    }
}

void ColorListModel::setColors(const QList<NamedColor> &colors)
{
    int first = -1;
    int last = -1;
    for (int i = 0; i < colors.size() && i < m_colors.size(); ++i) {
        if (m_colors[i].color == colors[i].color)
            continue;
        m_colors[i].color = colors[i].color;
        m_swatches[i] = QIcon();
        first = first < 0 ? i : first;
        last = i;
    }
    if (first >= 0)
        Q_EMIT dataChanged(index(first), index(last), {Qt::UserRole, Qt::DecorationRole});
}
