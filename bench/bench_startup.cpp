// Start-up: wall time from starting the chat program until its main window is first painted,
// with the simulator serving the session on the private bus, beside a program that shows an
// empty QMainWindow; also the peak resident memory of each. The two alternate, run after run,
// so they share the machine's noise.

#include "BenchReport.h"

#include "BenchSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 9;
constexpr double TimeTarget = 1.5;
constexpr double MemoryTarget = 1.3;

struct Run
{
    double ms = 0;
    double peakKiB = 0;
};

// Runs the program once; an empty result when it did not report a painted window.
bool runOnce(const QString &program, Run &run, const QStringList &arguments = {})
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    QByteArray output;
    while (!output.contains('\n') && child.waitForReadyRead(30000))
        output += child.readAllStandardOutput();
    run.ms = double(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    const QList<QByteArray> words = output.trimmed().split(' ');
    if (words.size() != 2 || words.constFirst() != "shown") {
        std::fprintf(stderr, "%s did not report its window: %s\n", qPrintable(program), output.constData());
        return false;
    }
    run.peakKiB = words.constLast().toDouble();
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString chat = dir + QStringLiteral("/bench_startup_chat");
    const QString baseline = dir + QStringLiteral("/bench_startup_baseline");

    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_startup: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }

    std::vector<double> chatMs, baseMs, chatKiB, baseKiB, textMs, textKiB;
    const QStringList text{QStringLiteral("--text")};
    // One unmeasured run each fills the page cache.
    Run warm;
    if (!runOnce(chat, warm) || !runOnce(baseline, warm))
        return 1;
    for (int round = 0; round < Rounds; ++round) {
        Run a, b, c;
        if (!runOnce(chat, a) || !runOnce(baseline, b) || !runOnce(baseline, c, text))
            return 1;
        textMs.push_back(c.ms);
        textKiB.push_back(c.peakKiB);
        chatMs.push_back(a.ms);
        chatKiB.push_back(a.peakKiB);
        baseMs.push_back(b.ms);
        baseKiB.push_back(b.peakKiB);
    }

    const double timeRatio = fastest(chatMs) / fastest(baseMs);
    const double memoryRatio = fastest(chatKiB) / fastest(baseKiB);
    std::printf("start-up: %d alternating runs each, process start to first paint (offscreen)\n", Rounds);
    std::printf("%-22s %12s %12s %14s\n", "program", "fastest ms", "median ms", "peak RSS KiB");
    std::printf("%-22s %12.1f %12.1f %14.0f\n", "tarnwave-chat", fastest(chatMs), median(chatMs), fastest(chatKiB));
    std::printf("%-22s %12.1f %12.1f %14.0f\n", "empty QMainWindow", fastest(baseMs), median(baseMs), fastest(baseKiB));
    std::printf("%-22s %12.1f %12.1f %14.0f\n", "QMainWindow with text", fastest(textMs), median(textMs), fastest(textKiB));
    std::printf("ratios: time %.2f (median %.2f), peak memory %.2f\n", timeRatio,
                median(chatMs) / median(baseMs), memoryRatio);

    reportResult(QStringLiteral("startup"), QStringLiteral("wall time vs empty QMainWindow"),
                 QStringLiteral("%1 ms / %2 ms = %3x").arg(fastest(chatMs), 0, 'f', 1).arg(fastest(baseMs), 0, 'f', 1).arg(timeRatio, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(TimeTarget), timeRatio <= TimeTarget);
    reportResult(QStringLiteral("startup"), QStringLiteral("peak RSS vs empty QMainWindow"),
                 QStringLiteral("%1 / %2 MiB = %3x").arg(fastest(chatKiB) / 1024, 0, 'f', 1).arg(fastest(baseKiB) / 1024, 0, 'f', 1).arg(memoryRatio, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(MemoryTarget), memoryRatio <= MemoryTarget);
    reportFigure(QStringLiteral("startup"), QStringLiteral("vs a QMainWindow showing one line of text"),
                 QStringLiteral("time %1x, peak RSS %2x")
                     .arg(fastest(chatMs) / fastest(textMs), 0, 'f', 2)
                     .arg(fastest(chatKiB) / fastest(textKiB), 0, 'f', 2));
    return 0;
}
