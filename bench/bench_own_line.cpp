// Own-line cost: Enter in the input line until the line is in the transcript and the session
// server has answered SendChatText, over the real bus to the simulator, per line, at 1k and
// 100k lines of scrollback. Beside them, the bare SendChatText round trip over the same bus.
// Each line is its own queued event, so the layout and painting it causes count too; the
// levels alternate in rounds and each batch is trimmed off again.

#include "BenchReport.h"
#include "TranscriptFill.h"

#include "BenchSimulator.h"

#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

#include <array>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

constexpr std::array<int, 2> Levels{1000, 100000};
constexpr int BatchLines = 200;
constexpr int Rounds = 7;
constexpr double GrowthTarget = 1.3;

class OwnLineWindow
{
public:
    explicit OwnLineWindow(int scrollback)
        : m_transport(DBusSessionTransport::sessionBus())
        , m_window(m_transport)
    {
        m_input = m_window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        m_document = m_window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->document();
        fillTranscript(*m_document, m_window.displaySettings(), scrollback);
        m_window.show();
        QCoreApplication::processEvents();
    }
    double batch()
    {
        const int before = m_document->characterCount();
        const double cost = microsecondsPerStep(BatchLines, [this](int i) {
            m_input->setText(benchLineText(i));
            QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
            QCoreApplication::sendEvent(m_input, &press);
            QCoreApplication::sendEvent(m_input, &release);
        });
        if (!m_input->text().isEmpty())
            std::fprintf(stderr, "own line: the input line was not emptied: the send failed\n");
        QTextCursor cursor(m_document);
        cursor.setPosition(before - 1);
        cursor.movePosition(QTextCursor::End, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        QCoreApplication::processEvents();
        return cost;
    }

private:
    DBusSessionTransport m_transport;
    TForm1 m_window;
    QLineEdit *m_input = nullptr;
    QTextDocument *m_document = nullptr;
};

double bareCallBatch()
{
    const QString progId = QString::fromLatin1(TarnWave_TLB::SessionProgId);
    return microsecondsPerStep(BatchLines, [&progId](int i) {
        QDBusMessage call = QDBusMessage::createMethodCall(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                                                           TarnWave_TLB::interfaceName(progId),
                                                           QStringLiteral("SendChatText"));
        call << benchLineText(i);
        QDBusConnection::sessionBus().call(call, QDBus::Block, 3000);
    });
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    SimulatorProcess simulator;
    if (!startBenchSimulator(simulator)) {
        std::fprintf(stderr, "bench_own_line: the simulator did not start (private bus? TARNWAVE_SIM?)\n");
        return 1;
    }

    std::vector<std::unique_ptr<OwnLineWindow>> windows;
    for (const int level : Levels)
        windows.push_back(std::make_unique<OwnLineWindow>(level));

    std::array<std::vector<double>, Levels.size()> costs;
    std::vector<double> bare;
    for (int round = 0; round < Rounds; ++round) {
        bare.push_back(bareCallBatch());
        for (std::size_t i = 0; i < Levels.size(); ++i)
            costs[i].push_back(windows[i]->batch());
    }

    std::printf("own line: microseconds from Enter to line shown and SendChatText answered\n"
                "(fastest of %d alternating rounds of %d lines)\n", Rounds, BatchLines);
    std::printf("%-28s %12s %12s\n", "", "fastest us", "median us");
    std::printf("%-28s %12.1f %12.1f\n", "bare SendChatText call", fastest(bare), median(bare));
    for (std::size_t i = 0; i < Levels.size(); ++i) {
        std::printf("%-28s %12.1f %12.1f\n", qPrintable(QStringLiteral("window, %1 lines").arg(Levels[i])),
                    fastest(costs[i]), median(costs[i]));
    }
    const double growth = fastest(costs.back()) / fastest(costs.front());
    reportResult(QStringLiteral("own line"), QStringLiteral("cost at 100k / cost at 1k"),
                 QStringLiteral("%1 us / %2 us = %3x")
                     .arg(fastest(costs.back()), 0, 'f', 0)
                     .arg(fastest(costs.front()), 0, 'f', 0)
                     .arg(growth, 0, 'f', 2),
                 QStringLiteral("<= %1x").arg(GrowthTarget), growth <= GrowthTarget);
    reportFigure(QStringLiteral("own line"), QStringLiteral("cost at 1k vs bare SendChatText"),
                 QStringLiteral("%1x").arg(fastest(costs.front()) / fastest(bare), 0, 'f', 2));
    return 0;
}
