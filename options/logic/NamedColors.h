#pragma once

#include <QColor>
#include <QList>
#include <QString>

class QPalette;

struct NamedColor
{
    QString identifier;
    QColor color;
};

// The colours a colour list offers, in its order: the 16 standard colours, the 4 extended
// ones, then the system colours resolved from the given palette.
QList<NamedColor> namedColors(const QPalette &palette);
