#include "StartupProbe.h"

#include "BenchReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

StartupProbe::StartupProbe(QWidget &window)
    : QObject(&window)
{
    window.installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject *watched, QEvent *event)
{
    // Only a paint of a window the display shows counts: on X a widget may be painted before
    // the server has mapped and exposed its window.
    const QWindow *handle = static_cast<QWidget *>(watched)->windowHandle();
    if (event->type() == QEvent::Paint && !m_reported && handle && handle->isExposed()) {
        m_reported = true;
        // After this paint has finished, so the drawn frame counts.
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
