// Start-up: wall time from starting the chat program until its main window is first painted,
// with the simulator serving the session on the private bus, and its resident memory at that
// moment, beside two bare references: an empty QMainWindow, and a QMainWindow holding a
// QTextEdit and a QLineEdit (the "text window"), which pays for the font database and a text
// document as the chat window must. The three alternate, run after run, so they share the
// machine's noise.

#include "BenchReport.h"

#include "BenchSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <cstdio>
#include <vector>

namespace {

constexpr int Rounds = 11;
constexpr double TimeTarget = 1.05;
constexpr double MemoryTarget = 1.05;

struct Samples
{
    std::vector<double> ms;
    std::vector<double> peakKiB;
    std::vector<double> residentKiB;
};

// Runs the program once and adds its figures; false when it did not report a painted window.
bool runOnce(const QString &program, Samples &samples, const QStringList &arguments = {})
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QElapsedTimer timer;
    timer.start();
    child.start(program, arguments);
    QByteArray output;
    while (!output.contains('\n') && child.waitForReadyRead(30000))
        output += child.readAllStandardOutput();
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    child.waitForFinished(30000);
    const QList<QByteArray> words = output.trimmed().split(' ');
    if (words.size() != 3 || words.constFirst() != "shown") {
        std::fprintf(stderr, "%s did not report its window: %s\n", qPrintable(program), output.constData());
        return false;
    }
    samples.ms.push_back(ms);
    samples.peakKiB.push_back(words.at(1).toDouble());
    samples.residentKiB.push_back(words.at(2).toDouble());
    return true;
}

QString ratioText(double a, double b, const char *unit, double scale = 1)
{
    return QStringLiteral("%1 / %2 %3 = %4x")
        .arg(a / scale, 0, 'f', 1)
        .arg(b / scale, 0, 'f', 1)
        .arg(QLatin1String(unit))
        .arg(a / b, 0, 'f', 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString dir = QCoreApplication::applicationDirPath();
    const QString chatProgram = dir + QStringLiteral("/bench_startup_chat");
    const QString baseline = dir + QStringLiteral("/bench_startup_baseline");
    const QStringList textArgument{QStringLiteral("--text")};

    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_startup: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }

    // One unmeasured run each fills the page cache.
    Samples warm, chat, empty, text;
    if (!runOnce(chatProgram, warm) || !runOnce(baseline, warm) || !runOnce(baseline, warm, textArgument))
        return 1;
    for (int round = 0; round < Rounds; ++round) {
        if (!runOnce(chatProgram, chat) || !runOnce(baseline, empty) || !runOnce(baseline, text, textArgument))
            return 1;
    }

    std::printf("start-up: %d alternating runs each, process start to first paint (%s platform)\n", Rounds,
                qPrintable(qEnvironmentVariable("QT_QPA_PLATFORM", QStringLiteral("default"))));
    std::printf("%-24s %11s %11s %15s %15s\n", "program", "fastest ms", "median ms", "RSS KiB (med)", "peak KiB (med)");
    const auto row = [](const char *name, const Samples &s) {
        std::printf("%-24s %11.1f %11.1f %15.0f %15.0f\n", name, fastest(s.ms), median(s.ms), median(s.residentKiB),
                    median(s.peakKiB));
    };
    row("tarnwave-chat", chat);
    row("empty QMainWindow", empty);
    row("text window", text);
    std::printf("time vs text window: fastest %.2fx, median %.2fx\n", fastest(chat.ms) / fastest(text.ms),
                median(chat.ms) / median(text.ms));

    // Fastest for time (the run the machine disturbed least), median for memory (steady anyway).
    const double timeRatio = fastest(chat.ms) / fastest(text.ms);
    const double memoryRatio = median(chat.residentKiB) / median(text.residentKiB);
    reportResult(QStringLiteral("startup"), QStringLiteral("start to first paint vs text window"),
                 ratioText(fastest(chat.ms), fastest(text.ms), "ms"), QStringLiteral("<= %1x").arg(TimeTarget),
                 timeRatio <= TimeTarget);
    reportFigure(QStringLiteral("startup"), QStringLiteral("start to first paint vs empty QMainWindow"),
                 ratioText(fastest(chat.ms), fastest(empty.ms), "ms"));
    reportResult(QStringLiteral("startup"), QStringLiteral("RSS after start vs text window"),
                 ratioText(median(chat.residentKiB), median(text.residentKiB), "MiB", 1024),
                 QStringLiteral("<= %1x").arg(MemoryTarget), memoryRatio <= MemoryTarget);
    reportFigure(QStringLiteral("startup"), QStringLiteral("RSS after start vs empty QMainWindow"),
                 ratioText(median(chat.residentKiB), median(empty.residentKiB), "MiB", 1024));
    reportFigure(QStringLiteral("startup"), QStringLiteral("peak RSS vs text window"),
                 ratioText(median(chat.peakKiB), median(text.peakKiB), "MiB", 1024));
    return 0;
}
