#pragma once

#include "options/logic/NamedColors.h"

#include <QAbstractListModel>
#include <QIcon>

// The entries of a colour list: identifier (display role), colour (user role) and swatch
// (decoration role). Swatches are drawn when first asked for, which is when the list is
// shown, not when the Options dialog is created at start.
class ColorListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    static constexpr QSize SwatchSize{20, 12};

    explicit ColorListModel(const QList<NamedColor> &colors, QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Takes new colours for the entries (the system colours of a new palette); the entries
    // keep their identifiers and order.
    void setColors(const QList<NamedColor> &colors);

private:
    QList<NamedColor> m_colors;
    mutable QList<QIcon> m_swatches;
};
