#pragma once

#include <QObject>

class QWidget;

// Watches a window for its first paint, then prints "shown <peak resident KiB> <resident KiB>"
// and ends the event loop, so that the start-up benchmark can time a child from exec to a
// drawn window and read its memory once it is up.
class StartupProbe : public QObject
{
    Q_OBJECT

public:
    explicit StartupProbe(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool m_reported = false;
};
