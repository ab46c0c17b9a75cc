#include "BenchReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>

#include <algorithm>
#include <cstdio>

#ifdef Q_OS_WIN
#include <windows.h>
#include <psapi.h>
#endif

#ifndef Q_OS_WIN
namespace {

qint64 statusField(const char *name)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray key = QByteArray(name) + ':';
    for (QByteArray line = status.readLine(); !line.isEmpty(); line = status.readLine()) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').constFirst().toLongLong();
    }
    return -1;
}

} // namespace
#endif

namespace {

QString ownPlatform()
{
    return qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"));
}

void printResult(const QString &platform, const QString &benchmark, const QString &figure, const QString &value,
                 const QString &target, const QString &result)
{
    std::printf("RESULT\t%s\t%s\t%s\t%s\t%s\t%s\n", qPrintable(benchmark), qPrintable(figure),
                qPrintable(platform), qPrintable(value), qPrintable(target), qPrintable(result));
    std::fflush(stdout);
}

} // namespace

void reportResult(const QString &benchmark, const QString &figure, const QString &value,
                  const QString &target, bool met)
{
    reportResultOn(ownPlatform(), benchmark, figure, value, target, met);
}

void reportResultOn(const QString &platform, const QString &benchmark, const QString &figure,
                    const QString &value, const QString &target, bool met)
{
    printResult(platform, benchmark, figure, value, target, met ? QStringLiteral("pass") : QStringLiteral("FAIL"));
}

void reportFigure(const QString &benchmark, const QString &figure, const QString &value)
{
    reportFigureOn(ownPlatform(), benchmark, figure, value);
}

void reportFigureOn(const QString &platform, const QString &benchmark, const QString &figure,
                    const QString &value)
{
    printResult(platform, benchmark, figure, value, QStringLiteral("-"), QStringLiteral("-"));
}

double microsecondsPerStep(int count, const std::function<void(int)> &step)
{
    QEventLoop loop;
    int next = 0;
    std::function<void()> run;
    run = [&] {
        step(next);
        if (++next < count)
            QMetaObject::invokeMethod(&loop, run, Qt::QueuedConnection);
        else
            loop.quit();
    };
    QElapsedTimer timer;
    timer.start();
    QMetaObject::invokeMethod(&loop, run, Qt::QueuedConnection);
    loop.exec();
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1000.0 / count;
}

double fastest(std::vector<double> samples)
{
    return samples.empty() ? 0.0 : *std::min_element(samples.begin(), samples.end());
}

double median(std::vector<double> samples)
{
    if (samples.empty())
        return 0.0;
    std::sort(samples.begin(), samples.end());
    return samples[samples.size() / 2];
}

#ifdef Q_OS_WIN
// What Windows itself counts, as Task Manager shows it; under Wine, /proc would describe the
// Wine loader rather than the program.
namespace {
PROCESS_MEMORY_COUNTERS memoryCounters()
{
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        counters = PROCESS_MEMORY_COUNTERS{};
    return counters;
}
} // namespace

qint64 peakResidentKiB()
{
    return qint64(memoryCounters().PeakWorkingSetSize / 1024);
}

qint64 residentKiB()
{
    return qint64(memoryCounters().WorkingSetSize / 1024);
}
#else
qint64 peakResidentKiB()
{
    return statusField("VmHWM");
}

qint64 residentKiB()
{
    return statusField("VmRSS");
}
#endif
