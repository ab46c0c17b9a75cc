// Received-line throughput over the real bus: the simulator emits a flood of chat signals as
// fast as it can, then OnClosing, and a receiver in a child process takes them and ends. The
// receivers are the chat program (its windows as app/main.cpp makes them) at 1k, 10k, 100k and
// 1M lines of scrollback, on each Qt platform asked for, and a bare QtDBus receiver with no
// window, the bus's own ceiling. A flood is timed from its first line until the receiver's
// process has ended, so the close and the program's exit count. They take turns, round after
// round, against one simulator. Each child also reports the longest gap between two turns of
// its event loop during the flood, seen by a 1 ms timer, and the window checks at its close
// that every line arrived, in order (that check is not timed).

#include "BenchPlatforms.h"
#include "BenchReport.h"
#include "TranscriptFill.h"

#include "BenchSimulator.h"
#include "PaintCounter.h"

#include "app/ProgramExit.h"
#include "app/ProgramWindows.h"
#include "base/ApplicationIdentity.h"
#include "session/PlatformSessionTransport.h"
#include "session/SessionTransport.h"
#include "session/TarnWave_TLB.h"

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
#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <vector>

namespace {

constexpr std::array<int, 4> Levels{1000, 10000, 100000, 1000000};
constexpr int FloodLines = 20000;
constexpr int Rounds = 3;
constexpr double BareShareTarget = 0.7;
// One frame at 60 Hz.
constexpr double StallTargetMs = 16;
constexpr double GrowthTarget = 1.3;
const QString FloodText = QStringLiteral("flood");

// Nanoseconds of the monotonic clock, which the driver and its children share.
qint64 monotonicNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Notes a flood's first line, and the longest wait between two timer turns of the event
// loop while it lasts.
class FloodClock
{
public:
    FloodClock()
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        m_ticker.setInterval(1);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            const qint64 now = monotonicNs();
            if (m_firstNs > 0)
                m_longestGapNs = std::max(m_longestGapNs, now - m_lastTickNs);
            m_lastTickNs = now;
        });
        m_ticker.start();
    }
    void lineSeen()
    {
        if (m_firstNs > 0)
            return;
        m_firstNs = monotonicNs();
        m_lastTickNs = m_firstNs;
        std::printf("first %lld\n", static_cast<long long>(m_firstNs));
        std::fflush(stdout);
    }
    // Prints the child's result line at OnClosing: order, paints, how long the untimed order
    // check took, and the longest stall.
    void closing(bool inOrder, int paints, qint64 checkNs)
    {
        m_ticker.stop();
        m_longestGapNs = std::max(m_longestGapNs, monotonicNs() - checkNs - m_lastTickNs);
        std::printf("closed %d %d %lld %.2f\n", inOrder ? 1 : 0, paints, static_cast<long long>(checkNs),
                    double(m_longestGapNs) / 1e6);
        std::fflush(stdout);
    }

private:
    QTimer m_ticker;
    qint64 m_firstNs = 0;
    qint64 m_lastTickNs = 0;
    qint64 m_longestGapNs = 0;
};

// The bus's ceiling: a receiver that only counts the signals, and ends at OnClosing.
class BareReceiver : public QObject
{
    Q_OBJECT

public:
    FloodClock clock;

public Q_SLOTS:
    void take(const QString &text)
    {
        clock.lineSeen();
        m_inOrder = m_inOrder && text == FloodText + u' ' + QString::number(m_count + 1);
        ++m_count;
    }
    void closing()
    {
        clock.closing(m_inOrder, 0, 0);
        QCoreApplication::quit();
    }

private:
    int m_count = 0;
    bool m_inOrder = true;
};

int runBare()
{
    const QString progId = QString::fromLatin1(TarnWave_TLB::SessionProgId);
    BareReceiver receiver;
    const auto subscribe = [&](const char *signal, const char *slot) {
        // QtDBus offers only the string-based connect for bus signals.
        return QDBusConnection::sessionBus().connect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                                                     TarnWave_TLB::interfaceName(progId),
                                                     QString::fromLatin1(signal), &receiver, slot);
    };
    if (!subscribe("OnChatTextReceived", SLOT(take(QString))) || !subscribe("OnClosing", SLOT(closing()))) {
        std::fprintf(stderr, "bare receiver: cannot subscribe\n");
        return 1;
    }
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

// Checks the flood when the main window is asked to close, before the program's own close.
class CloseCheck : public QObject
{
public:
    CloseCheck(QWidget &window, const QTextDocument &document, const PaintCounter &paints, FloodClock &clock,
               int lines)
        : QObject(&window)
        , m_document(document)
        , m_paints(paints)
        , m_clock(clock)
        , m_lines(lines)
    {
        window.installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && !m_done) {
            m_done = true;
            const qint64 start = monotonicNs();
            const bool inOrder = floodInOrder(m_document, m_lines);
            m_clock.closing(inOrder, m_paints.count, monotonicNs() - start);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    const QTextDocument &m_document;
    const PaintCounter &m_paints;
    FloodClock &m_clock;
    const int m_lines;
    bool m_done = false;
};

// The chat program as app/main.cpp runs it, to its end, with a scrollback put in after it shows.
int runWindow(int scrollback, int lines)
{
    setApplicationIdentity();
    const std::unique_ptr<SessionTransport> transport = createPlatformSessionTransport();
    PresenceEndpoint presence;
    presence.host = QStringLiteral("localhost");
    presence.port = 9;
    ProgramWindows windows(*transport, presence);
    TForm1 &window = windows.mainWindow;
    auto &view = *window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    QTextDocument &document = *view.document();
    // Shown first, so the scrollback goes in at the window's width, as lines received do.
    window.show();
    QCoreApplication::processEvents();
    fillTranscript(document, window.displaySettings(), scrollback);
    QCoreApplication::processEvents();

    // How often the transcript is drawn during the flood.
    const PaintCounter paints(*view.viewport());
    FloodClock clock;
    new CloseCheck(window, document, paints, clock, lines);
    QObject::connect(&document, &QTextDocument::blockCountChanged, &window, [&clock] { clock.lineSeen(); });
    std::printf("ready\n");
    std::fflush(stdout);
    const int status = QApplication::exec();
    leaveTranscriptToProcessEnd(windows);
    return status;
}

struct Result
{
    double rate = 0;
    double stallMs = 0;
    bool inOrder = false;
    int paints = 0;
};

// Runs one receiver in a child, floods it once and closes it.
bool floodOnce(SimulatorProcess &simulator, const QStringList &arguments, const QString &platform, Result &result)
{
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    child.setProcessEnvironment(environmentOn(platform));
    child.start(QCoreApplication::applicationFilePath(), arguments);
    QByteArray output;
    while (!output.contains("ready\n")) {
        if (!child.waitForReadyRead(300000)) {
            std::fprintf(stderr, "receiver %s did not start\n", qPrintable(arguments.join(u' ')));
            return false;
        }
        output += child.readAllStandardOutput();
    }
    simulator.send(QStringLiteral("flood-chat %1 %2").arg(FloodLines).arg(FloodText));
    simulator.send(QStringLiteral("closing"));
    const bool ended = child.waitForFinished(300000);
    const qint64 endNs = monotonicNs();
    output += child.readAllStandardOutput();
    if (!ended) {
        std::fprintf(stderr, "receiver %s did not end\n", qPrintable(arguments.join(u' ')));
        child.kill();
        child.waitForFinished();
        return false;
    }
    const QList<QByteArray> first = output.mid(output.indexOf("first ")).split('\n').constFirst().split(' ');
    const QList<QByteArray> closed = output.mid(output.indexOf("closed ")).split('\n').constFirst().split(' ');
    if (first.size() != 2 || closed.size() != 5) {
        std::fprintf(stderr, "receiver %s said: %s\n", qPrintable(arguments.join(u' ')), output.constData());
        return false;
    }
    const qint64 checkNs = closed.at(3).toLongLong();
    result.rate = FloodLines / (double(endNs - first.at(1).toLongLong() - checkNs) / 1e9);
    result.inOrder = closed.at(1) == "1";
    result.paints = closed.at(2).toInt();
    result.stallMs = closed.at(4).toDouble();
    return true;
}

QString rateText(double rate)
{
    return QStringLiteral("%1 lines/s").arg(rate, 0, 'f', 0);
}

// The best round of each, and the worst stall seen in any.
double best(const std::vector<double> &v)
{
    return *std::max_element(v.begin(), v.end());
}

struct LevelFigures
{
    std::vector<double> rates, stalls, paints;
};

void report(const QString &platform, const std::vector<double> &bareRates, const std::vector<double> &bareStalls,
            std::map<int, LevelFigures> &levels, bool allInOrder)
{
    const double bareRate = best(bareRates);
    std::printf("\nreceive flood on %s: %d chat signals and OnClosing per flood, until the receiver has ended; "
                "best of %d alternating rounds\n",
                qPrintable(platform), FloodLines, Rounds);
    std::printf("%-20s %12s %10s %18s %16s\n", "receiver", "lines/s", "vs bare", "longest stall ms", "paints (median)");
    std::printf("%-20s %12.0f %10.2f %18.1f %16s\n", "bare QtDBus", bareRate, 1.0, best(bareStalls), "-");
    double worstStall = 0;
    int worstLevel = Levels.front();
    for (const int level : Levels) {
        const LevelFigures &figures = levels[level];
        worstStall = std::max(worstStall, best(figures.stalls));
        if (best(figures.rates) < best(levels[worstLevel].rates))
            worstLevel = level;
        std::printf("%-20s %12.0f %10.2f %18.1f %16.0f\n", qPrintable(QStringLiteral("window, %1 lines").arg(level)),
                    best(figures.rates), best(figures.rates) / bareRate, best(figures.stalls),
                    median(figures.paints));
    }

    // The share at the level where the window does worst, and how far the rate falls from the
    // smallest scrollback to the largest.
    const double worstRate = best(levels[worstLevel].rates);
    const double growth = best(levels[Levels.front()].rates) / best(levels[Levels.back()].rates);
    const QString bench = QStringLiteral("receive");
    reportResultOn(platform, bench,
                   QStringLiteral("%1 lines, then OnClosing, vs bare QtDBus, worst of 1k..1M").arg(FloodLines),
                   QStringLiteral("%1 / %2 = %3 (at %4 lines)")
                       .arg(rateText(worstRate), rateText(bareRate))
                       .arg(worstRate / bareRate, 0, 'f', 2)
                       .arg(worstLevel),
                   QStringLiteral(">= %1").arg(BareShareTarget), worstRate / bareRate >= BareShareTarget);
    reportResultOn(platform, bench, QStringLiteral("rate at 1k / rate at 1M scrollback"),
                   QStringLiteral("%1x").arg(growth, 0, 'f', 2), QStringLiteral("<= %1x").arg(GrowthTarget),
                   growth <= GrowthTarget);
    reportResultOn(platform, bench, QStringLiteral("longest event-loop stall in a flood"),
                   QStringLiteral("%1 ms (bare %2 ms)").arg(worstStall, 0, 'f', 1).arg(best(bareStalls), 0, 'f', 1),
                   QStringLiteral("<= %1 ms").arg(StallTargetMs), worstStall <= StallTargetMs);
    reportResultOn(platform, bench, QStringLiteral("every line appended, in order"),
                   allInOrder ? QStringLiteral("yes") : QStringLiteral("no"), QStringLiteral("yes"), allInOrder);
}

int runDriver()
{
    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_receive_flood: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }
    const QStringList platforms = benchPlatforms();
    std::vector<double> bareRates, bareStalls;
    std::map<QString, std::map<int, LevelFigures>> figures;
    std::map<QString, bool> inOrder;
    for (int round = 0; round < Rounds; ++round) {
        Result bare;
        if (!floodOnce(simulator, {QStringLiteral("--bare")}, platforms.constFirst(), bare))
            return 1;
        bareRates.push_back(bare.rate);
        bareStalls.push_back(bare.stallMs);
        for (const QString &platform : platforms) {
            for (const int level : Levels) {
                Result window;
                if (!floodOnce(simulator,
                               {QStringLiteral("--window"), QString::number(level), QString::number(FloodLines)},
                               platform, window))
                    return 1;
                LevelFigures &at = figures[platform][level];
                at.rates.push_back(window.rate);
                at.stalls.push_back(window.stallMs);
                at.paints.push_back(window.paints);
                inOrder.try_emplace(platform, true);
                inOrder[platform] = inOrder[platform] && window.inOrder;
            }
        }
    }
    for (const QString &platform : platforms)
        report(platform, bareRates, bareStalls, figures[platform], inOrder[platform]);
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
        return runBare();
    }
    QApplication app(argc, argv);
    if (arguments.value(0) == QLatin1String("--window"))
        return runWindow(arguments.value(1).toInt(), arguments.value(2).toInt());
    return runDriver();
}

#include "bench_receive_flood.moc"
