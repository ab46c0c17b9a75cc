#include "ChatFixture.h"
#include "ErrorCapture.h"
#include "LocalPresence.h"

#include "main_window/transcript/CallsignAlert.h"
#include "session/TarnWave_TLB.h"

#include <QApplication>

namespace {

// Notes, for each call, whether the session's events were still connected when it came.
class OrderWatchingTransport : public FakeSessionTransport
{
public:
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override
    {
        connectedAtCall << subscriptions.contains(progId);
        FakeSessionTransport::invoke(progId, method, args);
    }
    QList<bool> connectedAtCall;
};

QStringList transmits(const FakeSessionTransport &transport)
{
    QStringList values;
    for (const FakeSessionTransport::Call &call : transport.calls) {
        if (call.method == QLatin1String("Transmit"))
            values << call.args.value(0).toString();
    }
    return values;
}

} // namespace

class TestOperatorAids : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callsignAlertFollowsANewCallsign();
    void inputHistory_data();
    void inputHistory();
    void historyKeepsTheTransmitKeys();
    void callsignAlert_data();
    void callsignAlert();
    void safeUnkey_data();
    void safeUnkey();
    void failedUnkeyDoesNotStopTheClose();
};

void TestOperatorAids::inputHistory_data()
{
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("Up walks back") << "UUU" << QStringList{"third", "second", "first"};
    QTest::newRow("Up stops at the oldest") << "UUUU" << QStringList{"third", "second", "first", "first"};
    QTest::newRow("Down brings the draft back") << "UUDD" << QStringList{"third", "second", "third", "draft"};
    QTest::newRow("Down alone keeps the draft") << "D" << QStringList{"draft"};
}

void TestOperatorAids::inputHistory()
{
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);

    ChatFixture chat;
    chat.window->show();
    for (const char *line : {"first", "second", "third"})
        chat.send(QString::fromLatin1(line));
    chat.input->setText(QStringLiteral("draft"));
    QStringList seen;
    for (const QChar key : keys) {
        QTest::keyClick(chat.input, key == u'U' ? Qt::Key_Up : Qt::Key_Down);
        seen << chat.input->text();
    }
    QCOMPARE(seen, shown);

    // Enter sends the shown line as any other; it ends the walk and becomes the newest.
    QTest::keyClick(chat.input, Qt::Key_Return);
    QCOMPARE(chat.sent().constLast(), seen.constLast());
    QVERIFY(chat.lastLine().text().endsWith(QStringLiteral("N0CALL>") + seen.constLast()));
    QCOMPARE(chat.input->text(), QString());
    QTest::keyClick(chat.input, Qt::Key_Up);
    QCOMPARE(chat.input->text(), seen.constLast());
}

void TestOperatorAids::historyKeepsTheTransmitKeys()
{
    ErrorCapture errors;
    ChatFixture chat;
    chat.transport.setSessionProperty(QStringLiteral("Transmitting"), false);
    chat.window->show();
    chat.send(QStringLiteral("hello"));
    // A failed send is not history: the line stays in the input line to send again.
    chat.transport.failingMethod = QStringLiteral("SendChatText");
    chat.send(QStringLiteral("lost?"));
    chat.transport.failingMethod.clear();
    QCOMPARE(chat.input->text(), QStringLiteral("lost?"));
    chat.input->clear();

    QTest::keyClick(chat.input, Qt::Key_Up);
    QCOMPARE(chat.input->text(), QStringLiteral("hello"));
    // With a recalled line in it, the space is typed, not a toggle.
    QTest::keyClick(chat.input, Qt::Key_Space);
    QCOMPARE(chat.input->text(), QStringLiteral("hello "));
    QCOMPARE(transmits(chat.transport), QStringList());
    // Back to the empty draft, the space toggles again.
    QTest::keyClick(chat.input, Qt::Key_Down);
    QCOMPARE(chat.input->text(), QString());
    QTest::keyClick(chat.input, Qt::Key_Space);
    QCOMPARE(transmits(chat.transport), QStringList{"true"});
    QCOMPARE(errors.messages.size(), 1);
}

void TestOperatorAids::callsignAlertFollowsANewCallsign()
{
    // The call sign may come late (a start-up resumed when the server appears): lines after
    // it are looked at for the new one, and no longer for the old.
    QWidget window;
    CallsignAlert alert(window);
    int requests = 0;
    alert.setRequest([&](QWidget &) { ++requests; });
    QVERIFY(!alert.received(QStringLiteral("DL1ABC de W1AW"), QString()));
    QVERIFY(alert.received(QStringLiteral("DL1ABC de W1AW"), QStringLiteral("DL1ABC")));
    QVERIFY(!alert.received(QStringLiteral("DL1ABC de W1AW"), QStringLiteral("G4XYZ")));
    QVERIFY(alert.received(QStringLiteral("g4xyz de W1AW"), QStringLiteral("G4XYZ")));
    QCOMPARE(requests, 2);
}

void TestOperatorAids::callsignAlert_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("alerted");

    QTest::newRow("named, window in the background") << "W1AW>DL1ABC de W1AW" << false << true;
    QTest::newRow("named portable, lower case") << "W1AW>dl1abc/p qsl" << false << true;
    QTest::newRow("named, window active") << "W1AW>DL1ABC de W1AW" << true << false;
    QTest::newRow("not named") << "W1AW>CQ CQ" << false << false;
    QTest::newRow("a longer call") << "W1AW>DL1ABCX" << false << false;
}

void TestOperatorAids::callsignAlert()
{
    QFETCH(QString, text);
    QFETCH(bool, active);
    QFETCH(bool, alerted);

    ChatFixture chat(QStringLiteral("DL1ABC"));
    chat.showDateTime(false);
    chat.window->displaySettings().RecvTextColor = QColor(0, 0, 255);
    int requests = 0;
    chat.window->findChild<CallsignAlert *>(QStringLiteral("CallsignAlert"))->setRequest([&](QWidget &window) {
        QCOMPARE(&window, chat.window.get());
        ++requests;
    });
    QWidget other;
    chat.window->show();
    if (active) {
        chat.window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(chat.window.get()));
    } else {
        other.show();
        other.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&other));
    }
    chat.receive(text);
    QCOMPARE(requests, alerted ? 1 : 0);
    // The line is drawn as every received line.
    QCOMPARE(chat.lastLine().text(), text);
    QCOMPARE(chat.lastLine().begin().fragment().charFormat().foreground().color(), QColor(0, 0, 255));
}

void TestOperatorAids::safeUnkey_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QStringList>("transmits");

    QTest::newRow("keyed by space: unkeyed at close") << QStringList{"space"} << QStringList{"true", "false"};
    QTest::newRow("keyed, server confirms: still unkeyed")
        << QStringList{"space", "tx-on"} << QStringList{"true", "false"};
    QTest::newRow("keyed then unkeyed by space") << QStringList{"space", "space"} << QStringList{"true", "false"};
    QTest::newRow("server reports off") << QStringList{"space", "tx-off"} << QStringList{"true"};
    QTest::newRow("keyed elsewhere: left alone") << QStringList{"tx-on"} << QStringList{};
    QTest::newRow("never keyed") << QStringList{} << QStringList{};
}

void TestOperatorAids::safeUnkey()
{
    QFETCH(QStringList, steps);
    QFETCH(QStringList, transmits);

    ErrorCapture errors;
    OrderWatchingTransport transport;
    transport.setSessionProperty(QStringLiteral("Transmitting"), false);
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    for (const QString &step : steps) {
        if (step == QLatin1String("space")) {
            input->clear();
            QTest::keyClick(input, Qt::Key_Space);
        } else {
            transport.fire(QStringLiteral("OnTX"), {step == QLatin1String("tx-on")});
        }
    }
    window.close();

    QCOMPARE(::transmits(transport), transmits);
    // The unkey comes before the event connection is dropped.
    QVERIFY(transport.connectedAtCall.size() == transport.calls.size());
    QVERIFY(!transport.connectedAtCall.contains(false));
    QVERIFY(!window.isSessionConnected());
    QCOMPARE(errors.messages, QStringList());
}

void TestOperatorAids::failedUnkeyDoesNotStopTheClose()
{
    ErrorCapture errors;
    FakeSessionTransport transport;
    transport.setSessionProperty(QStringLiteral("Transmitting"), false);
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QTest::keyClick(window.findChild<QLineEdit *>(QStringLiteral("Edit1")), Qt::Key_Space);
    transport.failingMethod = QStringLiteral("Transmit");
    QVERIFY(window.close());

    QCOMPARE(::transmits(transport), (QStringList{"true", "false"}));
    // The operator learns that the transmitter may still be keyed; the close went on.
    QCOMPARE(errors.messages, QStringList{transport.failureMessage + u'.'});
    QVERIFY(!window.isVisible());
    QVERIFY(!window.isSessionConnected());
}

QTEST_MAIN(TestOperatorAids)
#include "tst_operatoraids.moc"
