#include "StartupProbe.h"

#include "BenchReport.h"

#include <QCoreApplication>
#include <QEvent>
#include <QWidget>

#include <cstdio>

StartupProbe::StartupProbe(QWidget &window)
    : QObject(&window)
{
    window.installEventFilter(this);
}

bool StartupProbe::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Paint && !m_reported) {
        m_reported = true;
        // After this paint has finished, so the drawn frame counts.
        QMetaObject::invokeMethod(
            this,
            [] {
                std::printf("shown %lld\n", static_cast<long long>(peakResidentKiB()));
                std::fflush(stdout);
                QCoreApplication::exit(0);
            },
            Qt::QueuedConnection);
    }
    return QObject::eventFilter(watched, event);
}
