#include "ErrorCapture.h"
#include "EventLoopDrain.h"
#include "LocalPresence.h"
#include "ServerRoundTrip.h"
#include "SimulatorProcess.h"

#include "main_window/TForm1.h"
#include "session/TTarnWaveSession.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLabel>
#include <QSignalSpy>
#include <QTemporaryFile>
#include <QTest>

#include <csignal>

namespace {

const QString SessionName = QStringLiteral("TarnWave.TarnwaveSession");

bool sessionServerRunning()
{
    return QDBusConnection::sessionBus().interface()->isServiceRegistered(SessionName);
}

// Ends a simulator the bus started, which no test holds a process handle for.
void stopActivatedServer()
{
    const QDBusReply<uint> pid = QDBusConnection::sessionBus().interface()->servicePid(SessionName);
    if (pid.isValid())
        ::kill(static_cast<pid_t>(pid.value()), SIGTERM);
    QTRY_VERIFY(!sessionServerRunning());
}

TTarnWaveSession *wrapperOf(const TForm1 &window)
{
    return window.findChild<TTarnWaveSession *>(QStringLiteral("TarnWaveSession1"));
}

// A bus of our own with no activatable services at all.
class EmptyBus
{
public:
    bool start()
    {
        m_config.setFileTemplate(QDir::tempPath() + QStringLiteral("/tarnwave-empty-bus-XXXXXX.conf"));
        if (!m_config.open())
            return false;
        m_config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                       " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                       "<busconfig>\n<type>session</type>\n<listen>unix:tmpdir=/tmp</listen>\n"
                       "<auth>EXTERNAL</auth>\n<policy context=\"default\">\n"
                       "<allow send_destination=\"*\" eavesdrop=\"true\"/>\n<allow eavesdrop=\"true\"/>\n"
                       "<allow own=\"*\"/>\n</policy>\n</busconfig>\n");
        m_config.close();
        m_daemon.start(QStringLiteral("dbus-daemon"),
                       {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                        QStringLiteral("--config-file=") + m_config.fileName()});
        if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
            return false;
        m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
        return !m_address.isEmpty();
    }
    ~EmptyBus()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("empty-bus"));
        m_daemon.kill();
        m_daemon.waitForFinished(3000);
    }
    QDBusConnection connection() const
    {
        return QDBusConnection::connectToBus(m_address, QStringLiteral("empty-bus"));
    }

private:
    QTemporaryFile m_config;
    QProcess m_daemon;
    QString m_address;
};

} // namespace

class TestEndToEndSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void activatesServerThatIsNotRunning();
    void captionAndConnectionState_data();
    void captionAndConnectionState();
    void missingServiceStillOpensWindow();
    void noBusAtAll();
    void onClosingClosesAndLeavesServerRunning();
    void unknownAndMalformedEventsIgnored();
};

void TestEndToEndSession::activatesServerThatIsNotRunning()
{
    QVERIFY(!sessionServerRunning());
    ErrorCapture errors;
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    {
        TForm1 window(transport, nullptr, localPresence());
        QCOMPARE(errors.messages.join(QLatin1Char('|')), QString());
        QVERIFY(sessionServerRunning());
        QCOMPARE(window.windowTitle(), QStringLiteral("TarnWave Chat - N0CALL"));
        QVERIFY(window.isSessionConnected());
        window.close();
    }
    // Closing drops the events; the server is not asked to quit: it still answers what the
    // window's connection sends after everything closing sent.
    QVERIFY(roundTripToSessionServer(DBusSessionTransport::sessionBus()));
    QVERIFY(sessionServerRunning());
    stopActivatedServer();
}

void TestEndToEndSession::captionAndConnectionState_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<int>("peers");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QColor>("color");

    QTest::newRow("no peers") << "DL1ABC" << 0 << "TarnWave Chat - DL1ABC" << "Disconnect" << QColor(128, 128, 128);
    QTest::newRow("three peers") << "DL1ABC" << 3 << "TarnWave Chat - DL1ABC" << "Connected" << QColor(0, 0, 255);
    QTest::newRow("empty call sign") << "" << 1 << "TarnWave Chat - " << "Connected" << QColor(0, 0, 255);
    QTest::newRow("non-ASCII call sign") << QStringLiteral("ÖЖ1\U0001F4E1") << 0
                                         << QStringLiteral("TarnWave Chat - ÖЖ1\U0001F4E1") << "Disconnect"
                                         << QColor(128, 128, 128);
}

void TestEndToEndSession::captionAndConnectionState()
{
    QFETCH(QString, callsign);
    QFETCH(int, peers);
    QFETCH(QString, caption);
    QFETCH(QString, connection);
    QFETCH(QColor, color);

    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    simulator.send(callsign.isEmpty() ? QStringLiteral("callsign") : QStringLiteral("callsign ") + callsign);
    simulator.send(QStringLiteral("peers %1").arg(peers));
    QVERIFY(simulator.sync());

    ErrorCapture errors;
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport, nullptr, localPresence());
    QCOMPARE(errors.messages, QStringList());
    QCOMPARE(window.windowTitle(), caption);
    const auto *label = window.findChild<QLabel *>(QStringLiteral("StaticText2"));
    QCOMPARE(label->text(), connection);
    QCOMPARE(label->palette().color(QPalette::Window), color);
}

void TestEndToEndSession::missingServiceStillOpensWindow()
{
    EmptyBus bus;
    QVERIFY(bus.start());
    ErrorCapture errors;
    DBusSessionTransport transport(bus.connection());
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QCOMPARE(errors.messages,
             QStringList{"The name TarnWave.TarnwaveSession was not provided by any .service files."});
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), QStringLiteral("TarnWave Chat"));
    QVERIFY(window.close());
}

void TestEndToEndSession::noBusAtAll()
{
    ErrorCapture errors;
    DBusSessionTransport transport(
        QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/tarnwave-bus"), QStringLiteral("no-bus")));
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QCOMPARE(errors.messages.size(), 1);
    QVERIFY2(errors.messages.first().startsWith(QStringLiteral("Cannot reach the D-Bus session bus")),
             qPrintable(errors.messages.first()));
    QVERIFY(window.isVisible());
    QVERIFY(window.close());
}

void TestEndToEndSession::onClosingClosesAndLeavesServerRunning()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QSignalSpy chat(wrapperOf(window), &TTarnWaveSession::OnChatTextReceived);

    simulator.send(QStringLiteral("chat before"));
    QTRY_COMPARE(chat.count(), 1);

    simulator.send(QStringLiteral("closing"));
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!window.isSessionConnected());

    // The match rules are gone with the event connection, and the server keeps running.
    simulator.send(QStringLiteral("chat after"));
    QVERIFY(simulator.sync());
    QVERIFY(roundTripToSessionServer(DBusSessionTransport::sessionBus()));
    QVERIFY(drainEventLoop());
    QCOMPARE(chat.count(), 1);
    QVERIFY(simulator.isRunning());
    QVERIFY(sessionServerRunning());
    QCOMPARE(errors.messages, QStringList());
}

void TestEndToEndSession::unknownAndMalformedEventsIgnored()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    TTarnWaveSession *wrapper = wrapperOf(window);
    QSignalSpy rx(wrapper, &TTarnWaveSession::OnRX);
    QSignalSpy closing(wrapper, &TTarnWaveSession::OnClosing);
    QSignalSpy connected(wrapper, &TTarnWaveSession::OnConnected);

    for (const char *line : {"raw OnNoSuchEvent s:x", "raw OnRX s:hello", "raw OnRX", "raw OnRX b:true b:false",
                             "raw OnClosing b:true", "raw OnConnected s:A s:B", "raw OnAlarm s:A i:5"}) {
        simulator.send(QString::fromLatin1(line));
    }
    simulator.send(QStringLiteral("rx on"));
    QTRY_COMPARE(rx.count(), 1);
    QCOMPARE(rx.at(0).at(0).toBool(), true);
    QCOMPARE(closing.count(), 0);
    QCOMPARE(connected.count(), 0);
    QVERIFY(window.isVisible());
}

QTEST_MAIN(TestEndToEndSession)
#include "tst_e2e_session.moc"
