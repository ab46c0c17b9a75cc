#include "options/ColorListBox.h"

#include "options/logic/ColorListModel.h"
#include "options/logic/NamedColors.h"

#include <QAbstractItemDelegate>
#include <QAbstractItemView>
#include <QEvent>
#include <QGuiApplication>
#include <QSignalBlocker>
#include <QStyleOptionViewItem>

ColorListBox::ColorListBox(QWidget *parent)
    : QComboBox(parent)
    , m_entries(new ColorListModel(namedColors(QGuiApplication::palette()), this))
{
    setEditable(false);
    setModel(m_entries);
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
        m_entries->setColors(namedColors(QGuiApplication::palette()));
}

void ColorListBox::showEvent(QShowEvent *event)
{
    // The drop-down part is made on the first showing rather than with the dialog at start.
    if (!m_dropDownPrepared) {
        m_dropDownPrepared = true;
        setIconSize(ColorListModel::SwatchSize);
        // Long system identifiers stay readable in the open list. Measured entry by entry:
        // the view's own column hint counts only the rows it would show.
        QStyleOptionViewItem option;
        option.initFrom(view());
        option.decorationSize = iconSize();
        int widest = 0;
        for (int row = 0; row < count(); ++row)
            widest = qMax(widest, view()->itemDelegate()->sizeHint(option, model()->index(row, 0)).width());
        view()->setMinimumWidth(widest + 4);
    }
    QComboBox::showEvent(event);
}
