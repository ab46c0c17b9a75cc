#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

// Counts the paint events a widget receives, to see how often a view was drawn.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget &widget)
        : QObject(&widget)
    {
        widget.installEventFilter(this);
    }

    int count = 0;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return QObject::eventFilter(watched, event);
    }
};
