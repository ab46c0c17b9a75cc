#pragma once

#include <QObject>

class QWidget;

// Watches a window until the display has mapped it and it has been drawn and flushed for the
// first time, then prints "shown <peak resident KiB> <resident KiB>".
// With TARNWAVE_BENCH_SETTLE_UNTIL_MS (a time of QElapsedTimer's monotonic clock, which the
// benchmark and its children share) it stays until then, as an operator's program would, and
// prints "settled <resident KiB>"; then it ends the event loop. So the start-up benchmark can
// time a child from exec to a drawn window and read its memory once it is up.
class StartupProbe : public QObject
{
    Q_OBJECT

public:
    explicit StartupProbe(QWidget &window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void reportShown();

    const QWidget &m_window;
    bool m_reported = false;
};
