#include "StartupProbe.h"

#include "BenchReport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

StartupProbe::StartupProbe(QWidget &window)
    : QObject(&window)
    , m_window(window)
{
    // The window's handle is made as it shows: its events are watched through the application.
    qApp->installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject *watched, QEvent *event)
{
    // The display has mapped the window and asked for it to be drawn (on X, the server's Expose
    // after MapWindow). Qt draws and flushes it as it handles this event, and the report comes
    // after that: so it counts a drawn frame, and never a paint made before the window could be
    // seen, after which Qt may only flush what it has when the window is exposed.
    const QWindow *handle = m_window.windowHandle();
    if (event->type() == QEvent::Expose && !m_reported && handle && watched == handle && handle->isExposed()) {
        m_reported = true;
        qApp->removeEventFilter(this);
        QMetaObject::invokeMethod(this, &StartupProbe::reportShown, Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}

void StartupProbe::reportShown()
{
    // For finding where the memory goes: the mappings as they are at first paint.
    const QString smapsCopy = qEnvironmentVariable("TARNWAVE_BENCH_SMAPS");
    QFile smaps(QStringLiteral("/proc/self/smaps"));
    QFile copy(smapsCopy);
    if (!smapsCopy.isEmpty() && smaps.open(QIODevice::ReadOnly) && copy.open(QIODevice::WriteOnly))
        copy.write(smaps.readAll());
    std::printf("shown %lld %lld\n", static_cast<long long>(peakResidentKiB()),
                static_cast<long long>(residentKiB()));
    std::fflush(stdout);

    bool settle = false;
    const qint64 until = qgetenv("TARNWAVE_BENCH_SETTLE_UNTIL_MS").toLongLong(&settle);
    QElapsedTimer now;
    now.start();
    const qint64 wait = settle ? qMax<qint64>(0, until - now.msecsSinceReference()) : 0;
    QTimer::singleShot(int(wait), Qt::PreciseTimer, this, [settle] {
        if (settle) {
            std::printf("settled %lld\n", static_cast<long long>(residentKiB()));
            std::fflush(stdout);
        }
        QCoreApplication::exit(0);
    });
}
