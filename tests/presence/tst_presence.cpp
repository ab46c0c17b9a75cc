#include "CloseMainWindow.h"
#include "ErrorCapture.h"
#include "FakeSessionTransport.h"

#include "main_window/TForm1.h"
#include "presence/PresenceClient.h"
#include "presence/PresenceReport.h"

#include <QAction>
#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#ifdef Q_OS_WIN
#include "CodePageBytes.h"

#include <winsock2.h>
#else
#include <sys/socket.h>
#endif

#include <memory>
#include <vector>

namespace {

using namespace std::chrono_literals;

const QHostAddress Loopback = QHostAddress::LocalHost;
// Start-up and close failing fast must not come near the limit; the margin absorbs a slow CI.
constexpr qint64 FastMs = 1500;
constexpr qint64 LimitMs = std::chrono::milliseconds(PresenceReport::TimeLimit).count();
constexpr qint64 LimitMarginMs = 1500;

// A presence server on the loopback: keeps what each connection sent once the client closed it.
class ReportListener : public QObject
{
public:
    // A talkative one greets each connection with more than the client would ever read.
    explicit ReportListener(bool talkative = false)
    {
        m_server.listen(Loopback);
        connect(&m_server, &QTcpServer::newConnection, this, [this, talkative] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                if (talkative)
                    socket->write(QByteArray(1 << 20, 'x'));
                auto received = std::make_shared<QByteArray>();
                connect(socket, &QTcpSocket::readyRead, socket, [socket, received] { *received += socket->readAll(); });
                connect(socket, &QTcpSocket::disconnected, this, [this, socket, received] {
                    *received += socket->readAll();
                    // A connection given up before the line went out is no report.
                    if (!received->isEmpty())
                        lines << *received;
                    socket->deleteLater();
                });
            }
        });
    }
    PresenceEndpoint endpoint() const { return {Loopback.toString(), m_server.serverPort()}; }

    QList<QByteArray> lines;

private:
    QTcpServer m_server;
};

// Accepts each connection and answers it with a reset, as a misbehaving server might.
class ResettingListener : public QObject
{
public:
    ResettingListener()
    {
        m_server.listen(Loopback);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = m_server.nextPendingConnection()) {
                const linger reset{1, 0};
#ifdef Q_OS_WIN
                ::setsockopt(SOCKET(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER,
                             reinterpret_cast<const char *>(&reset), sizeof reset);
#else
                ::setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset, sizeof reset);
#endif
                socket->abort();
                socket->deleteLater();
                ++accepted;
            }
        });
    }
    PresenceEndpoint endpoint() const { return {Loopback.toString(), m_server.serverPort()}; }

    int accepted = 0;

private:
    QTcpServer m_server;
};

// A listener that never accepts and whose queue is full: the kernel drops further handshakes,
// so a connection attempt hangs as with a server that drops packets.
class FullBacklogListener
{
public:
    FullBacklogListener()
    {
        m_server.setListenBacklogSize(0);
        m_server.listen(Loopback);
        m_server.pauseAccepting();
        for (int i = 0; i < 2; ++i) {
            auto filler = std::make_unique<QTcpSocket>();
            filler->connectToHost(Loopback, m_server.serverPort());
            filler->waitForConnected(300);
            m_fillers.push_back(std::move(filler));
        }
    }
    PresenceEndpoint endpoint() const { return {Loopback.toString(), m_server.serverPort()}; }

private:
    QTcpServer m_server;
    std::vector<std::unique_ptr<QTcpSocket>> m_fillers;
};

// A port where nothing listens: taken, then given back.
PresenceEndpoint refusingEndpoint()
{
    QTcpServer probe;
    probe.listen(Loopback);
    return {Loopback.toString(), probe.serverPort()};
}

} // namespace

class TestPresence : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reportsAtStartAndClose_data();
    void reportsAtStartAndClose();
    void failuresAreSilent_data();
    void failuresAreSilent();
    void startReportEndsWithinLimit();
    void stopDropsStartStillUnderWay();
};

void TestPresence::reportsAtStartAndClose_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("how");
    QTest::addColumn<QByteArray>("start");
    QTest::addColumn<QByteArray>("stop");
    QTest::addColumn<bool>("talkative");

    QTest::newRow("Exit") << "DL1ABC" << "exit" << QByteArray("1,DL1ABC\r\n") << QByteArray("0,DL1ABC\r\n") << false;
    QTest::newRow("close box") << "G4XYZ/P" << "close" << QByteArray("1,G4XYZ/P\r\n") << QByteArray("0,G4XYZ/P\r\n") << false;
    QTest::newRow("OnClosing") << "K1AA" << "event" << QByteArray("1,K1AA\r\n") << QByteArray("0,K1AA\r\n") << false;
    QTest::newRow("empty call sign") << "" << "exit" << QByteArray("1,\r\n") << QByteArray("0,\r\n") << false;
#ifdef Q_OS_WIN
    // Held in the system's 8-bit code page, the local 8-bit encoding on Windows.
    QTest::newRow("non-ASCII") << QStringLiteral("OE3\u00C4\u00DF") << "close"
                               << codePageBytes(QStringLiteral("1,OE3\u00C4\u00DF\r\n"))
                               << codePageBytes(QStringLiteral("0,OE3\u00C4\u00DF\r\n")) << false;
#else
    // Held as UTF-8, the local 8-bit encoding here.
    QTest::newRow("non-ASCII") << QStringLiteral("OE3\u00C4\u00DF") << "close"
                               << QByteArray("1,OE3\xC3\x84\xC3\x9F\r\n") << QByteArray("0,OE3\xC3\x84\xC3\x9F\r\n")
                               << false;
#endif
    QTest::newRow("server talks back") << "DL1ABC" << "exit" << QByteArray("1,DL1ABC\r\n")
                                       << QByteArray("0,DL1ABC\r\n") << true;
}

void TestPresence::reportsAtStartAndClose()
{
    QFETCH(QString, callsign);
    QFETCH(QString, how);
    QFETCH(QByteArray, start);
    QFETCH(QByteArray, stop);
    QFETCH(bool, talkative);
#ifdef Q_OS_WIN
    // Under Wine the test's own listener reads nothing from a client that closes with the
    // listener's data unread (the close resets the connection); not yet seen on Windows itself.
    if (talkative)
        QSKIP("the listener loses the line of a connection reset under Wine");
#endif
    ErrorCapture errors;
    ReportListener listener(talkative);
    FakeSessionTransport transport;
    transport.setCallsign(callsign);

    TForm1 window(transport, nullptr, listener.endpoint());
    window.show();
    // One line per connection, and the client closes it: the listener sees the end.
    QTRY_COMPARE(listener.lines, QList<QByteArray>{start});

    closeMainWindow(window, transport, how);

    QTRY_VERIFY(!window.isVisible());
    QTRY_COMPARE(listener.lines, (QList<QByteArray>{start, stop}));
    QVERIFY(!window.isSessionConnected());
    QCOMPARE(errors.messages, QStringList());
}

void TestPresence::failuresAreSilent_data()
{
    QTest::addColumn<QString>("server");
    QTest::addColumn<bool>("hangs");
    QTest::newRow("refusing port") << "refusing" << false;
    QTest::newRow("accepts and resets") << "resetting" << false;
    QTest::newRow("never completes the connection") << "full backlog" << true;
}

void TestPresence::failuresAreSilent()
{
    QFETCH(QString, server);
    QFETCH(bool, hangs);
    ErrorCapture errors;
    ResettingListener resetting;
    const FullBacklogListener fullBacklog;
    const PresenceEndpoint endpoint = server == QLatin1String("refusing") ? refusingEndpoint()
                                      : server == QLatin1String("resetting") ? resetting.endpoint()
                                                                               : fullBacklog.endpoint();
    FakeSessionTransport transport;
    transport.setCallsign(QStringLiteral("DL1ABC"));

    QElapsedTimer clock;
    clock.start();
    TForm1 window(transport, nullptr, endpoint);
    QVERIFY2(clock.elapsed() < FastMs, "start-up waited for the start report");
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    if (server == QLatin1String("resetting"))
        QTRY_COMPARE(resetting.accepted, 1);

    clock.restart();
    window.close();
    const qint64 closeMs = clock.elapsed();

    QVERIFY(!window.isVisible());
    QVERIFY(!window.isSessionConnected());
    QCOMPARE(errors.messages, QStringList());
    // A reset can catch the socket still connecting, which then waits like a silent server.
    QVERIFY2(closeMs < LimitMs + LimitMarginMs, qPrintable(QString::number(closeMs)));
    if (hangs) // the stop report waited until the limit, and no longer
        QVERIFY2(closeMs >= LimitMs - 100, qPrintable(QString::number(closeMs)));
}

void TestPresence::startReportEndsWithinLimit()
{
    const FullBacklogListener listener;
    PresenceClient client(listener.endpoint());
    QSignalSpy finished(&client, &PresenceClient::reportFinished);

    QElapsedTimer clock;
    clock.start();
    client.sendStartReport(QStringLiteral("DL1ABC"));
    QVERIFY(clock.elapsed() < FastMs);
    QVERIFY(finished.isEmpty());

    QVERIFY(finished.wait(int(LimitMs + LimitMarginMs)));
    QVERIFY(clock.elapsed() >= LimitMs - 100);
    QCOMPARE(finished.first().at(0).value<PresenceEvent>(), PresenceEvent::Start);
    QCOMPARE(finished.first().at(1).toBool(), false);
}

void TestPresence::stopDropsStartStillUnderWay()
{
    // The start report is still looking for the server when the operator closes: the server must
    // not see it after the stop report.
    ReportListener listener;
    PresenceClient client(listener.endpoint());
    QSignalSpy finished(&client, &PresenceClient::reportFinished);

    client.sendStartReport(QStringLiteral("DL1ABC"));
    client.sendStopReport(QStringLiteral("DL1ABC"));

    QCOMPARE(finished.size(), 2);
    QCOMPARE(finished.at(0).at(0).value<PresenceEvent>(), PresenceEvent::Start);
    QCOMPARE(finished.at(0).at(1).toBool(), false);
    QCOMPARE(finished.at(1).at(0).value<PresenceEvent>(), PresenceEvent::Stop);
    QCOMPARE(finished.at(1).at(1).toBool(), true);
    QTRY_COMPARE(listener.lines, QList<QByteArray>{QByteArray("0,DL1ABC\r\n")});
    // A report made after both reaches the server after anything the start report still sent.
    PresenceClient later(listener.endpoint());
    later.sendStopReport(QStringLiteral("K1LATE"));
    QTRY_COMPARE(listener.lines.size(), 2);
    QCOMPARE(listener.lines.at(1), QByteArray("0,K1LATE\r\n"));
    QCOMPARE(listener.lines.first(), QByteArray("0,DL1ABC\r\n"));
}

QTEST_MAIN(TestPresence)
#include "tst_presence.moc"
