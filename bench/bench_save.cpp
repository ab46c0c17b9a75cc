// Save: a 100,000-line transcript written through the program's save, beside writing the same
// bytes with a plain QFile, in alternating rounds. The save's two halves, turning the document
// into file contents and writing them safely, are shown apart.

#include "BenchReport.h"
#include "TranscriptFill.h"

#include "main_window/logic/TDisplaySettings.h"
#include "main_window/logic/TranscriptFile.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>
#include <QTextDocument>

#include <unistd.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int Lines = 100000;
constexpr int Rounds = 7;
constexpr double Target = 3.0;

double timedMs(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    // Beside the build rather than on a RAM-backed /tmp, so the disk's cost is in both figures.
    QTemporaryDir dir(QCoreApplication::applicationDirPath() + QStringLiteral("/bench-save-XXXXXX"));
    if (!dir.isValid()) {
        std::fprintf(stderr, "bench_save: no temporary folder\n");
        return 1;
    }
    TDisplaySettings settings;
    settings.setDefaults();
    QTextDocument document;
    fillTranscript(document, settings, Lines);

    const QString saved = dir.filePath(QStringLiteral("saved.txt"));
    const QString plain = dir.filePath(QStringLiteral("plain.txt"));
    saveTranscript(document, saved);
    QFile savedFile(saved);
    if (!savedFile.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray bytes = savedFile.readAll();
    savedFile.close();

    std::vector<double> saveMs, plainMs, syncedMs, contentsMs;
    for (int round = 0; round < Rounds; ++round) {
        saveMs.push_back(timedMs([&] { saveTranscript(document, saved); }));
        plainMs.push_back(timedMs([&] {
            QFile file(plain);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
                std::fprintf(stderr, "bench_save: plain write failed\n");
        }));
        // The save makes the file durable before it replaces the old one; this is the plain
        // write's cost with the same guarantee, for comparison.
        syncedMs.push_back(timedMs([&] {
            QFile file(plain);
            if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size()
                || !file.flush() || ::fsync(file.handle()) != 0)
                std::fprintf(stderr, "bench_save: synced write failed\n");
        }));
        contentsMs.push_back(timedMs([&] { (void)transcriptFileContents(document); }));
    }

    const double ratio = fastest(saveMs) / fastest(plainMs);
    std::printf("save: %d lines, %.1f MB, fastest of %d alternating rounds\n", Lines, bytes.size() / 1e6, Rounds);
    std::printf("%-34s %12s %12s\n", "", "fastest ms", "median ms");
    std::printf("%-34s %12.1f %12.1f\n", "saveTranscript", fastest(saveMs), median(saveMs));
    std::printf("%-34s %12.1f %12.1f\n", "  of which building the contents", fastest(contentsMs), median(contentsMs));
    std::printf("%-34s %12.1f %12.1f\n", "plain QFile write, same bytes", fastest(plainMs), median(plainMs));
    std::printf("%-34s %12.1f %12.1f\n", "plain QFile write + fsync", fastest(syncedMs), median(syncedMs));
    reportResult(QStringLiteral("save"), QStringLiteral("100k-line save vs plain QFile"),
                 QStringLiteral("%1 ms / %2 ms = %3x").arg(fastest(saveMs), 0, 'f', 1).arg(fastest(plainMs), 0, 'f', 1).arg(ratio, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(Target), ratio <= Target);
    reportFigure(QStringLiteral("save"), QStringLiteral("save vs plain QFile + fsync"),
                 QStringLiteral("%1x").arg(fastest(saveMs) / fastest(syncedMs), 0, 'f', 2));
    return 0;
}
