// Start-up: wall time from starting the chat program until its main window is first painted,
// with the simulator serving the session on the private bus, and its resident memory one
// second after the start, beside three references: the program's three windows written
// plainly with no logic at all (the "plain windows", what the program is held to), a
// QMainWindow holding a QTextEdit and a QLineEdit (the "text window") and an empty QMainWindow.
// All four alternate, run after run, on each platform in turn, so they share the machine's noise.

#include "BenchPlatforms.h"
#include "BenchReport.h"

#include "BenchSimulator.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>

#include <array>
#include <cstdio>
#include <map>
#include <vector>

namespace {

constexpr int Rounds = 7;
constexpr double TimeTarget = 1.05;
constexpr double MemoryTarget = 1.05;
// Memory is read this long after the start, once the program has settled.
constexpr qint64 SettleMs = 1000;

struct Program
{
    const char *name;
    const char *executable;
    const char *argument;
};

constexpr std::array<Program, 4> Programs{{
    {"tarnwave-chat", "bench_startup_chat", nullptr},
    {"plain windows", "bench_startup_plain", nullptr},
    {"text window", "bench_startup_baseline", "--text"},
    {"empty QMainWindow", "bench_startup_baseline", nullptr},
}};

struct Samples
{
    std::vector<double> ms;
    std::vector<double> peakKiB;
    std::vector<double> shownKiB;
    std::vector<double> settledKiB;
};

// Reads what the child printed until a line starting with word has come whole.
QList<QByteArray> readLine(QProcess &child, QByteArray &output, const QByteArray &word)
{
    for (;;) {
        const qsizetype start = output.indexOf(word);
        if (start >= 0 && output.indexOf('\n', start) > 0)
            return output.mid(start, output.indexOf('\n', start) - start).split(' ');
        if (!child.waitForReadyRead(30000))
            return {};
        output += child.readAllStandardOutput();
    }
}

// Runs the program once and adds its figures; false when it did not report a painted window.
bool runOnce(const QString &directory, const Program &program, const QString &platform, Samples &samples)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    QProcessEnvironment environment = environmentOn(platform);
    QElapsedTimer timer;
    timer.start();
    environment.insert(QStringLiteral("TARNWAVE_BENCH_SETTLE_UNTIL_MS"),
                       QString::number(timer.msecsSinceReference() + SettleMs));
    child.setProcessEnvironment(environment);
    QStringList arguments;
    if (program.argument)
        arguments << QString::fromLatin1(program.argument);
    child.start(directory + u'/' + QString::fromLatin1(program.executable), arguments);
    QByteArray output;
    const QList<QByteArray> shown = readLine(child, output, "shown ");
    const double ms = double(timer.nsecsElapsed()) / 1e6;
    const QList<QByteArray> settled = readLine(child, output, "settled ");
    child.waitForFinished(30000);
    if (shown.size() != 3 || settled.size() != 2) {
        std::fprintf(stderr, "%s on %s did not report its window: %s\n", program.name, qPrintable(platform),
                     output.constData());
        return false;
    }
    samples.ms.push_back(ms);
    samples.peakKiB.push_back(shown.at(1).toDouble());
    samples.shownKiB.push_back(shown.at(2).toDouble());
    samples.settledKiB.push_back(settled.at(1).toDouble());
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

void report(const QString &platform, std::map<QString, Samples> &byProgram)
{
    const Samples &chat = byProgram[QStringLiteral("tarnwave-chat")];
    std::printf("\nstart-up on %s: %d alternating runs each, process start to first paint\n", qPrintable(platform),
                Rounds);
    std::printf("%-20s %11s %11s %17s %15s %15s\n", "program", "fastest ms", "median ms", "RSS at 1 s (med)",
                "RSS shown (med)", "peak KiB (med)");
    for (const Program &program : Programs) {
        const Samples &s = byProgram[QString::fromLatin1(program.name)];
        std::printf("%-20s %11.1f %11.1f %17.0f %15.0f %15.0f\n", program.name, fastest(s.ms), median(s.ms),
                    median(s.settledKiB), median(s.shownKiB), median(s.peakKiB));
    }

    // Fastest for time (the run the machine disturbed least), median for memory (steady anyway).
    const QString bench = QStringLiteral("startup");
    for (const Program &program : Programs) {
        const QString name = QString::fromLatin1(program.name);
        if (name == QLatin1String("tarnwave-chat"))
            continue;
        const Samples &reference = byProgram[name];
        const double time = fastest(chat.ms) / fastest(reference.ms);
        const double memory = median(chat.settledKiB) / median(reference.settledKiB);
        const QString timeText = ratioText(fastest(chat.ms), fastest(reference.ms), "ms");
        const QString memoryText = ratioText(median(chat.settledKiB), median(reference.settledKiB), "MiB", 1024);
        const QString timeFigure = QStringLiteral("start to first paint vs %1").arg(name);
        const QString memoryFigure = QStringLiteral("RSS 1 s after start vs %1").arg(name);
        if (name == QLatin1String("plain windows")) {
            reportResultOn(platform, bench, timeFigure, timeText, QStringLiteral("<= %1x").arg(TimeTarget),
                           time <= TimeTarget);
            reportResultOn(platform, bench, memoryFigure, memoryText, QStringLiteral("<= %1x").arg(MemoryTarget),
                           memory <= MemoryTarget);
            std::printf("vs plain windows: time fastest %.2fx, median %.2fx\n", time,
                        median(chat.ms) / median(reference.ms));
        } else {
            reportFigureOn(platform, bench, timeFigure, timeText);
            reportFigureOn(platform, bench, memoryFigure, memoryText);
        }
    }
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString directory = QCoreApplication::applicationDirPath();
    const QStringList platforms = benchPlatforms();

    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_startup: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }

    // One unmeasured run each fills the page cache.
    std::map<QString, std::map<QString, Samples>> samples;
    for (const QString &platform : platforms) {
        Samples warm;
        for (const Program &program : Programs) {
            if (!runOnce(directory, program, platform, warm))
                return 1;
        }
    }
    for (int round = 0; round < Rounds; ++round) {
        for (const QString &platform : platforms) {
            for (const Program &program : Programs) {
                if (!runOnce(directory, program, platform, samples[platform][QString::fromLatin1(program.name)]))
                    return 1;
            }
        }
    }
    for (const QString &platform : platforms)
        report(platform, samples[platform]);
    return 0;
}
