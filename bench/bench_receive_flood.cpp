// Received-line throughput over the real bus: the simulator emits a flood of chat signals as
// fast as it can, and a receiver in a child process takes them. The receivers are the main
// window at 1k, 10k, 100k and 1M lines of scrollback, and a bare QtDBus receiver with no window,
// the bus's own ceiling. They take turns, round after round, against one simulator. Each
// child also reports the longest gap between two turns of its event loop during the flood,
// seen by a 1 ms timer, and the window checks that every line arrived, in order.

#include "BenchReport.h"
#include "TranscriptFill.h"

#include "BenchSimulator.h"
#include "PaintCounter.h"

#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTimer>

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr std::array<int, 4> Levels{1000, 10000, 100000, 1000000};
constexpr int FloodLines = 20000;
constexpr int Rounds = 3;
constexpr double BareShareTarget = 0.6;
// One frame at 60 Hz.
constexpr double StallTargetMs = 16;
constexpr double GrowthTarget = 1.3;
const QString FloodText = QStringLiteral("flood");

// Times a flood from its first line to its last, and the longest wait between two timer
// turns of the event loop while it lasts.
class FloodClock
{
public:
    FloodClock()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = m_clock.nsecsElapsed();
            if (m_started)
                m_longestGapNs = std::max(m_longestGapNs, now - m_lastTickNs);
            m_lastTickNs = now;
        });
    }
    void arm()
    {
        m_clock.start();
        m_lastTickNs = 0;
        m_ticker.start();
    }
    void lineSeen()
    {
        if (!m_started) {
            m_started = true;
            m_firstNs = m_clock.nsecsElapsed();
            m_lastTickNs = m_firstNs;
        }
    }
    // Prints the child's result line and ends its event loop.
    void finish(int lines, bool inOrder, int paints = 0)
    {
        const qint64 now = m_clock.nsecsElapsed();
        m_longestGapNs = std::max(m_longestGapNs, now - m_lastTickNs);
        const double seconds = double(now - m_firstNs) / 1e9;
        std::printf("result %.1f %.2f %d %d\n", lines / seconds, double(m_longestGapNs) / 1e6, inOrder ? 1 : 0,
                    paints);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

private:
    QElapsedTimer m_clock;
    QTimer m_ticker;
    bool m_started = false;
    qint64 m_firstNs = 0;
    qint64 m_lastTickNs = 0;
    qint64 m_longestGapNs = 0;
};

// The bus's ceiling: a receiver that only counts the signals.
class BareReceiver : public QObject
{
    Q_OBJECT

public:
    explicit BareReceiver(int expected)
        : m_expected(expected)
    {
    }
    FloodClock clock;

public Q_SLOTS:
    void take(const QString &text)
    {
        clock.lineSeen();
        m_inOrder = m_inOrder && text == FloodText + u' ' + QString::number(m_count + 1);
        if (++m_count == m_expected)
            clock.finish(m_count, m_inOrder);
    }

private:
    int m_expected = 0;
    int m_count = 0;
    bool m_inOrder = true;
};

int runBare(int lines)
{
    const QString progId = QString::fromLatin1(TarnWave_TLB::SessionProgId);
    BareReceiver receiver(lines);
    // QtDBus offers only the string-based connect for bus signals.
    if (!QDBusConnection::sessionBus().connect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                                               TarnWave_TLB::interfaceName(progId),
                                               QStringLiteral("OnChatTextReceived"), &receiver,
                                               SLOT(take(QString)))) {
        std::fprintf(stderr, "bare receiver: cannot subscribe\n");
        return 1;
    }
    receiver.clock.arm();
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

bool floodInOrder(const QTextDocument &document, int lines)
{
    QTextBlock block = document.lastBlock().previous();
    for (int i = lines; i >= 1; --i, block = block.previous()) {
        if (!block.isValid() || !block.text().endsWith(u' ' + FloodText + u' ' + QString::number(i)))
            return false;
    }
    return true;
}

int runWindow(int scrollback, int lines)
{
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport);
    QTextDocument &document = *window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->document();
    // Shown first, so the scrollback goes in at the window's width, as lines received do.
    window.show();
    QCoreApplication::processEvents();
    fillTranscript(document, window.displaySettings(), scrollback);
    QCoreApplication::processEvents();

    // How often the transcript is drawn during the flood.
    PaintCounter paints(*window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->viewport());
    FloodClock clock;
    const int done = document.blockCount() + lines;
    bool finished = false;
    QObject::connect(&document, &QTextDocument::blockCountChanged, &window, [&](int blocks) {
        clock.lineSeen();
        if (blocks < done || finished)
            return;
        finished = true;
        // Whatever the last lines left for the event loop (layout, painting) counts too.
        QTimer::singleShot(0, &window, [&] { clock.finish(lines, floodInOrder(document, lines), paints.count); });
    });
    clock.arm();
    std::printf("ready\n");
    std::fflush(stdout);
    return QCoreApplication::exec();
}

struct Result
{
    double rate = 0;
    double stallMs = 0;
    bool inOrder = false;
    int paints = 0;
};

// Runs one receiver in a child and floods it once.
bool floodOnce(SimulatorProcess &simulator, const QStringList &arguments, Result &result)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray output;
    const auto waitFor = [&](const QByteArray &word) {
        while (!output.contains(word)) {
            if (!child.waitForReadyRead(300000))
                return false;
            output += child.readAllStandardOutput();
        }
        return true;
    };
    if (!waitFor("ready\n")) {
        std::fprintf(stderr, "receiver %s did not start\n", qPrintable(arguments.join(u' ')));
        return false;
    }
    simulator.send(QStringLiteral("flood-chat %1 %2").arg(FloodLines).arg(FloodText));
    if (!waitFor("result ")) {
        std::fprintf(stderr, "receiver %s did not finish\n", qPrintable(arguments.join(u' ')));
        child.kill();
        child.waitForFinished();
        return false;
    }
    child.waitForFinished(30000);
    const QList<QByteArray> words = output.mid(output.indexOf("result ")).trimmed().split(' ');
    if (words.size() != 5)
        return false;
    result.rate = words.at(1).toDouble();
    result.stallMs = words.at(2).toDouble();
    result.inOrder = words.at(3) == "1";
    result.paints = words.at(4).toInt();
    return true;
}

QString rateText(double rate)
{
    return QStringLiteral("%1 lines/s").arg(rate, 0, 'f', 0);
}

int runDriver()
{
    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_receive_flood: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }
    std::vector<double> bareRates, bareStalls;
    std::map<int, std::vector<double>> rates, stalls, paints;
    bool allInOrder = true;
    for (int round = 0; round < Rounds; ++round) {
        Result bare;
        if (!floodOnce(simulator, {QStringLiteral("--bare"), QString::number(FloodLines)}, bare))
            return 1;
        bareRates.push_back(bare.rate);
        bareStalls.push_back(bare.stallMs);
        for (const int level : Levels) {
            Result window;
            if (!floodOnce(simulator,
                           {QStringLiteral("--window"), QString::number(level), QString::number(FloodLines)},
                           window))
                return 1;
            rates[level].push_back(window.rate);
            stalls[level].push_back(window.stallMs);
            paints[level].push_back(window.paints);
            allInOrder = allInOrder && window.inOrder;
        }
    }

    // The best round of each, and the worst stall seen in any.
    const auto best = [](const std::vector<double> &v) { return *std::max_element(v.begin(), v.end()); };
    const double bareRate = best(bareRates);
    std::printf("receive flood: %d chat signals per flood, best of %d alternating rounds\n", FloodLines, Rounds);
    std::printf("%-20s %12s %10s %18s %16s\n", "receiver", "lines/s", "vs bare", "longest stall ms", "paints (median)");
    std::printf("%-20s %12.0f %10.2f %18.1f %16s\n", "bare QtDBus", bareRate, 1.0, best(bareStalls), "-");
    double worstStall = 0;
    for (const int level : Levels) {
        worstStall = std::max(worstStall, best(stalls[level]));
        std::printf("%-20s %12.0f %10.2f %18.1f %16.0f\n", qPrintable(QStringLiteral("window, %1 lines").arg(level)),
                    best(rates[level]), best(rates[level]) / bareRate, best(stalls[level]), median(paints[level]));
    }
    std::printf("every line in order: %s\n", allInOrder ? "yes" : "NO");

    // The share at the level where the window does worst, and how far the rate falls from the
    // smallest scrollback to the largest.
    int worstLevel = Levels.front();
    for (const int level : Levels) {
        if (best(rates[level]) < best(rates[worstLevel]))
            worstLevel = level;
    }
    const double worstRate = best(rates[worstLevel]);
    const double growth = best(rates[Levels.front()]) / best(rates[Levels.back()]);
    reportResult(QStringLiteral("receive"),
                 QStringLiteral("%1-line flood vs bare QtDBus, worst of 1k..1M").arg(FloodLines),
                 QStringLiteral("%1 / %2 = %3 (at %4 lines)")
                     .arg(rateText(worstRate), rateText(bareRate))
                     .arg(worstRate / bareRate, 0, 'f', 2)
                     .arg(worstLevel),
                 QStringLiteral(">= %1").arg(BareShareTarget), worstRate / bareRate >= BareShareTarget);
    reportResult(QStringLiteral("receive"), QStringLiteral("rate at 1k / rate at 1M scrollback"),
                 QStringLiteral("%1x").arg(growth, 0, 'f', 2), QStringLiteral("<= %1x").arg(GrowthTarget),
                 growth <= GrowthTarget);
    reportResult(QStringLiteral("receive"), QStringLiteral("longest event-loop stall in a flood"),
                 QStringLiteral("%1 ms (bare %2 ms)").arg(worstStall, 0, 'f', 1).arg(best(bareStalls), 0, 'f', 1),
                 QStringLiteral("<= %1 ms").arg(StallTargetMs), worstStall <= StallTargetMs);
    reportResult(QStringLiteral("receive"), QStringLiteral("every line appended, in order"),
                 allInOrder ? QStringLiteral("yes") : QStringLiteral("no"), QStringLiteral("yes"), allInOrder);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    const QStringList arguments = [&] {
        QStringList list;
        for (int i = 1; i < argc; ++i)
            list << QString::fromLocal8Bit(argv[i]);
        return list;
    }();
    if (arguments.value(0) == QLatin1String("--bare")) {
        QCoreApplication app(argc, argv);
        return runBare(arguments.value(1).toInt());
    }
    QApplication app(argc, argv);
    if (arguments.value(0) == QLatin1String("--window"))
        return runWindow(arguments.value(1).toInt(), arguments.value(2).toInt());
    return runDriver();
}

#include "bench_receive_flood.moc"
