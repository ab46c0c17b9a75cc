#include "ErrorCapture.h"
#include "PaintCounter.h"
#include "PrivateBus.h"
#include "SimulatorProcess.h"

#include "main_window/TForm1.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QAction>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

const QString SessionName = QStringLiteral("TarnWave.TarnwaveSession");

// The window on a given connection, without date/time so lines compare exactly.
struct Client
{
    explicit Client(const QDBusConnection &connection)
        : transport(connection)
        , window(transport)
    {
        window.findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
        transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
        input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
        window.show();
    }
    QString lastLine() const { return transcript->document()->lastBlock().previous().text(); }
    const QLabel &label(const char *name) const { return *window.findChild<QLabel *>(QLatin1String(name)); }
    // The status bar as the operator reads it: the connection label, then the station list
    // and the RX/TX indicator where they show.
    QString status() const
    {
        QStringList shown{label("StaticText2").text()};
        for (const char *name : {"StaticText3", "StaticText1"}) {
            if (label(name).isVisible())
                shown << label(name).text();
        }
        return shown.join(u' ');
    }
    void sendLine(const QString &text)
    {
        input->setText(text);
        QTest::keyClick(input, Qt::Key_Return);
    }
    void pressSpaceInTranscript()
    {
        // The key reaches the transcript's filter as it would with the keyboard focus there.
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        QCoreApplication::sendEvent(transcript, &press);
    }

    DBusSessionTransport transport;
    TForm1 window;
    QTextEdit *transcript = nullptr;
    QLineEdit *input = nullptr;
};

bool startSimulatorOn(PrivateBus &bus, SimulatorProcess &simulator)
{
    simulator.process().setProcessEnvironment(bus.environment());
    return simulator.start();
}

} // namespace

class TestFaultsSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serverKilledThenReplaced();
    void busGoesAway();
    void hungServerCallsAreBounded();
    void busyServer_data();
    void busyServer();
    void crashedServerShownThenFoundAgain();
    void serverStartedAfterWindow();
    void wrongSignaturesLeaveWindowAlone_data();
    void wrongSignaturesLeaveWindowAlone();
};

void TestFaultsSession::serverKilledThenReplaced()
{
    PrivateBus bus;
    QVERIFY(bus.start());
    SimulatorProcess first;
    QVERIFY(startSimulatorOn(bus, first));
    ErrorCapture errors;
    Client client(bus.connect(QStringLiteral("killed-server")));
    QCOMPARE(errors.messages, QStringList());
    first.send(QStringLiteral("chat before"));
    QTRY_COMPARE(client.lastLine(), QStringLiteral("before"));

    first.process().kill();
    QVERIFY(first.process().waitForFinished(3000));
    QTRY_VERIFY(!bus.hasOwner(SessionName));

    client.sendLine(QStringLiteral("anyone?"));
    QCOMPARE(errors.messages,
             QStringList{"SendChatText failed: the session server is not running."});
    QCOMPARE(client.lastLine(), QStringLiteral("N0CALL>anyone?"));
    QCOMPARE(client.input->text(), QStringLiteral("anyone?"));
    errors.messages.clear();
    client.pressSpaceInTranscript();
    QCOMPARE(errors.messages,
             QStringList{"Transmitting failed: the session server is not running."});
    QVERIFY(client.window.isVisible());

    // A new server takes the name: a new unique name, the same well-known one. The window
    // attaches to it by itself, and its subscription follows the name.
    SimulatorProcess second;
    QVERIFY(startSimulatorOn(bus, second));
    second.send(QStringLiteral("chat after restart"));
    QTRY_COMPARE(client.lastLine(), QStringLiteral("after restart"));
    client.sendLine(QStringLiteral("welcome back"));
    QVERIFY(second.waitForLine(QStringLiteral("SendChatText welcome back")));
    QCOMPARE(client.input->text(), QString());
    client.pressSpaceInTranscript();
    QVERIFY(second.waitForLine(QStringLiteral("Transmit true")));
    QCOMPARE(errors.messages.size(), 1);
}

void TestFaultsSession::busGoesAway()
{
    PrivateBus bus;
    QVERIFY(bus.start());
    SimulatorProcess simulator;
    QVERIFY(startSimulatorOn(bus, simulator));
    ErrorCapture errors;
    QDBusConnection connection = bus.connect(QStringLiteral("dying-bus"));
    Client client(connection);
    simulator.send(QStringLiteral("chat before"));
    QTRY_COMPARE(client.lastLine(), QStringLiteral("before"));

    bus.kill();
    QTRY_VERIFY(!connection.isConnected());
    for (const QString &line : {QStringLiteral("first"), QStringLiteral("second")}) {
        errors.messages.clear();
        client.sendLine(line);
        QCOMPARE(errors.messages, QStringList{"Cannot reach the D-Bus session bus."});
        QCOMPARE(client.lastLine(), QStringLiteral("N0CALL>") + line);
    }
    errors.messages.clear();
    client.pressSpaceInTranscript();
    QCOMPARE(errors.messages.size(), 1);
    QVERIFY(client.window.isVisible());
    QVERIFY(client.window.close());
}

void TestFaultsSession::hungServerCallsAreBounded()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    Client client(DBusSessionTransport::sessionBus());
    QVERIFY(QTest::qWaitForWindowExposed(&client.window));
    PaintCounter paints(*client.transcript->viewport());

    // Long enough for two calls to time out one after the other.
    QVERIFY(simulator.hang(3 * DBusSessionTransport::CallTimeoutMs));

    // A generous bound: the point is that each call ends, not how fast.
    const int bound = DBusSessionTransport::CallTimeoutMs * 3 / 2;
    QElapsedTimer timer;
    timer.start();
    client.sendLine(QStringLiteral("hello?"));
    QVERIFY2(timer.elapsed() < bound, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(errors.messages, QStringList{"The session server did not answer SendChatText within 3 seconds."});
    QCOMPARE(client.lastLine(), QStringLiteral("N0CALL>hello?"));

    const int paintsBefore = paints.count;
    client.transcript->viewport()->update();
    QTRY_VERIFY(paints.count > paintsBefore);

    errors.messages.clear();
    timer.restart();
    client.pressSpaceInTranscript();
    QVERIFY2(timer.elapsed() < bound, qPrintable(QString::number(timer.elapsed())));
    QCOMPARE(errors.messages, QStringList{"The session server did not answer Transmitting within 3 seconds."});

    // Once it answers again, so does the window; replies to the abandoned calls are dropped.
    QVERIFY(simulator.sync(4 * DBusSessionTransport::CallTimeoutMs));
    errors.messages.clear();
    client.sendLine(QStringLiteral("there you are"));
    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText there you are")));
    QCOMPARE(errors.messages, QStringList());
}

void TestFaultsSession::busyServer_data()
{
    QTest::addColumn<int>("busyMs");
    QTest::addColumn<QStringList>("expectedErrors");
    // Refused for a while, the line goes out once the server takes it, within the call's bound.
    QTest::newRow("busy for a moment") << 1500 << QStringList();
    QTest::newRow("busy past the bound")
        << 6000 << QStringList{"The session server is busy and did not take SendChatText within 3 seconds."};
}

void TestFaultsSession::busyServer()
{
    QFETCH(int, busyMs);
    QFETCH(QStringList, expectedErrors);
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    Client client(DBusSessionTransport::sessionBus());
    simulator.send(QStringLiteral("busy %1").arg(busyMs));
    QVERIFY(simulator.sync());

    QElapsedTimer timer;
    timer.start();
    client.sendLine(QStringLiteral("over"));
    const qint64 took = timer.elapsed();
    QCOMPARE(errors.messages, expectedErrors);
    const bool delivered = expectedErrors.isEmpty();
    QVERIFY2(took < DBusSessionTransport::CallTimeoutMs + 500, qPrintable(QString::number(took)));
    QVERIFY2(took > qMin(busyMs, DBusSessionTransport::CallTimeoutMs) - 500, qPrintable(QString::number(took)));
    QCOMPARE(client.input->text(), delivered ? QString() : QStringLiteral("over"));
    if (!delivered) {
        // The simulator shows nothing when its busy time ends, and a line sent earlier would be
        // refused and retried up to the bound: the busy time is waited out.
        QTest::qWait(busyMs - int(took));
        QTest::keyClick(client.input, Qt::Key_Return);
        QCOMPARE(errors.messages, expectedErrors);
    }
    QVERIFY(simulator.sync());
    QCOMPARE(simulator.output().filter(QStringLiteral("SendChatText over")).size(), 1);
}

void TestFaultsSession::crashedServerShownThenFoundAgain()
{
    PrivateBus bus;
    QVERIFY(bus.start());
    SimulatorProcess first;
    QVERIFY(startSimulatorOn(bus, first));
    ErrorCapture errors;
    Client client(bus.connect(QStringLiteral("crashing-server")));
    first.send(QStringLiteral("connect W1AW"));
    first.send(QStringLiteral("rx on"));
    first.send(QStringLiteral("chat last words"));
    QTRY_COMPARE(client.status(), QStringLiteral("Connected W1AW RX"));

    first.send(QStringLiteral("die"));
    QVERIFY(first.process().waitForFinished(3000));
    // What it sent before it died is kept; then the link shows it is gone, without a box.
    QTRY_COMPARE(client.status(), QStringLiteral("Disconnect"));
    QCOMPARE(client.lastLine(), QStringLiteral("last words"));
    QVERIFY(!client.window.isSessionConnected());
    QCOMPARE(errors.messages, QStringList());

    client.sendLine(QStringLiteral("kept"));
    QCOMPARE(errors.messages, QStringList{"SendChatText failed: the session server is not running."});
    QCOMPARE(client.input->text(), QStringLiteral("kept"));

    SimulatorProcess second;
    QVERIFY(startSimulatorOn(bus, second));
    QElapsedTimer found;
    found.start();
    QTRY_VERIFY_WITH_TIMEOUT(client.window.isSessionConnected(), 5000);
    qInfo("found again %lld ms after the new server owned its names", found.elapsed());
    QTest::keyClick(client.input, Qt::Key_Return);
    QVERIFY(second.waitForLine(QStringLiteral("SendChatText kept")));
    QCOMPARE(client.input->text(), QString());
    second.send(QStringLiteral("connect K1ABC"));
    QTRY_COMPARE(client.status(), QStringLiteral("Connected K1ABC"));
    QCOMPARE(errors.messages.size(), 1);
    // The first server's OnClosing never came, so the window is still there to close.
    QVERIFY(client.window.isVisible());
}

void TestFaultsSession::serverStartedAfterWindow()
{
    PrivateBus bus;
    QVERIFY(bus.start());
    ErrorCapture errors;
    Client client(bus.connect(QStringLiteral("late-server")));
    QCOMPARE(errors.messages.size(), 1);
    QVERIFY(!client.window.isSessionConnected());
    QVERIFY(!client.window.windowTitle().contains(u'-'));

    SimulatorProcess simulator;
    QVERIFY(startSimulatorOn(bus, simulator));
    QTRY_COMPARE_WITH_TIMEOUT(client.window.windowTitle(), QStringLiteral("TarnWave Chat - N0CALL"), 5000);
    simulator.send(QStringLiteral("chat first light"));
    QTRY_COMPARE(client.lastLine(), QStringLiteral("first light"));
    QVERIFY(client.transcript->toPlainText().startsWith(QStringLiteral("TarnWave Chat Version ")));
    client.sendLine(QStringLiteral("hello"));
    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText hello")));
    QCOMPARE(errors.messages.size(), 1);
}

void TestFaultsSession::wrongSignaturesLeaveWindowAlone_data()
{
    QTest::addColumn<QString>("command");
    QTest::newRow("chat as number") << "raw OnChatTextReceived i:5";
    QTest::newRow("chat without text") << "raw OnChatTextReceived";
    QTest::newRow("chat twice the text") << "raw OnChatTextReceived s:a s:b";
    QTest::newRow("rx as string") << "raw OnRX s:true";
    QTest::newRow("tx as double") << "raw OnTX d:1";
    QTest::newRow("connected short") << "raw OnConnected s:W1AW s:Hiram";
    QTest::newRow("connected long") << "raw OnConnected s:W1AW s:Hiram s:addr s:extra";
    QTest::newRow("disconnected as uint") << "raw OnDisconnected u:1";
    QTest::newRow("station text as bool") << "raw OnStationTextReceived b:true";
    QTest::newRow("closing with argument") << "raw OnClosing s:now";
    QTest::newRow("unknown event") << "raw OnSelfDestruct s:now";
}

void TestFaultsSession::wrongSignaturesLeaveWindowAlone()
{
    QFETCH(QString, command);
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    Client client(DBusSessionTransport::sessionBus());
    const QString transcriptBefore = client.transcript->toPlainText();
    simulator.send(command);
    // A good event after the bad one shows that the bad one has been and gone.
    simulator.send(QStringLiteral("rx on"));
    const auto *indicator = client.window.findChild<QLabel *>(QStringLiteral("StaticText1"));
    QTRY_VERIFY(indicator->isVisible());

    QCOMPARE(client.transcript->toPlainText(), transcriptBefore);
    QVERIFY(!client.window.findChild<QLabel *>(QStringLiteral("StaticText3"))->isVisible());
    QCOMPARE(client.window.findChild<QLabel *>(QStringLiteral("StaticText2"))->text(), QStringLiteral("Disconnect"));
    QCOMPARE(client.window.findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"))->toPlainText(), QString());
    QCOMPARE(indicator->text(), QStringLiteral("RX"));
    QVERIFY(client.window.isVisible());
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestFaultsSession)
#include "tst_faults_session.moc"
