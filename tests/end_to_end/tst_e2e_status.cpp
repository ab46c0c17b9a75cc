#include "ErrorCapture.h"
#include "EventLoopDrain.h"
#include "LocalPresence.h"
#include "ServerRoundTrip.h"
#include "SimulatorProcess.h"

#include "main_window/TForm1.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QAction>
#include <QDBusConnection>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTest>

namespace {

const QLabel &label(const TForm1 &window, const char *name)
{
    return *window.findChild<QLabel *>(QString::fromLatin1(name));
}

} // namespace

class TestEndToEndStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void statusFollowsTheServer();
};

void TestEndToEndStatus::statusFollowsTheServer()
{
    ErrorCapture errors;
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QLabel &indicator = label(window, "StaticText1");
    const QLabel &link = label(window, "StaticText2");
    const QLabel &list = label(window, "StaticText3");
    QCOMPARE(link.text(), QStringLiteral("Disconnect"));

    simulator.send(QStringLiteral("connect W1AW Hiram 10.0.0.1"));
    simulator.send(QStringLiteral("connect DL1ABC\\x20Hans"));
    QTRY_COMPARE(list.text(), QStringLiteral("W1AW,\"DL1ABC Hans\""));
    QVERIFY(list.isVisible());
    QCOMPARE(link.text(), QStringLiteral("Connected"));
    QCOMPARE(link.palette().color(QPalette::Window), QColor(0, 0, 255));

    simulator.send(QStringLiteral("disconnect w1aw"));
    QTRY_COMPARE(list.text(), QStringLiteral("\"DL1ABC Hans\""));
    QCOMPARE(link.text(), QStringLiteral("Connected"));

    simulator.send(QStringLiteral("rx on"));
    simulator.send(QStringLiteral("tx on"));
    simulator.send(QStringLiteral("rx off"));
    QTRY_COMPARE(indicator.text(), QStringLiteral("TX"));
    // The "rx off" after it has been handled too, and has not hidden the indicator.
    QVERIFY(simulator.sync());
    QVERIFY(roundTripToSessionServer(DBusSessionTransport::sessionBus()));
    QVERIFY(drainEventLoop());
    QCOMPARE(indicator.text(), QStringLiteral("TX"));
    QVERIFY(indicator.isVisible());
    QCOMPARE(indicator.palette().color(QPalette::Window), QColor(255, 0, 0));

    // CR LF, a lone CR, lone LFs, markup and a character outside the BMP.
    simulator.send(QStringLiteral(
        "station-text Name: Hans\\r\\nQTH: Berlin\\rLocator: JO62\\n<b>73</b> \\u{1F4FB}\\n"));
    const auto *station = window.findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));
    QTRY_COMPARE(station->toPlainText(),
                 QStringLiteral("Name: Hans\nQTH: Berlin\nLocator: JO62\n<b>73</b> \U0001F4FB"));
    QCOMPARE(station->document()->blockCount(), 4);
    QCOMPARE(station->textCursor().position(), 0);

    simulator.send(QStringLiteral("disconnect DL1ABC\\x20Hans"));
    QTRY_COMPARE(link.text(), QStringLiteral("Disconnect"));
    QVERIFY(!list.isVisible());

    simulator.send(QStringLiteral("closing"));
    QTRY_VERIFY(!window.isVisible());
    QVERIFY(!window.isSessionConnected());
    // The server is not asked to quit: it still answers what the window's connection sends
    // after everything closing sent.
    QVERIFY(roundTripToSessionServer(DBusSessionTransport::sessionBus()));
    QVERIFY(simulator.isRunning());
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestEndToEndStatus)
#include "tst_e2e_status.moc"
