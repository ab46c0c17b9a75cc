// The main window as the session server dies, runs again, or starts after the window.
#include "ErrorCapture.h"
#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

const QString Session = QString::fromLatin1(TarnWave_TLB::SessionProgId);
const QString Config = QString::fromLatin1(TarnWave_TLB::SetupConfigProgId);

struct Window
{
    explicit Window(FakeSessionTransport &transport)
        : window(transport, nullptr, localPresence())
    {
        window.findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
        transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
        input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    }
    void send(const QString &text) const
    {
        input->setText(text);
        QTest::keyClick(input, Qt::Key_Return);
    }
    QStringList lines() const { return transcript->toPlainText().split(u'\n', Qt::SkipEmptyParts); }
    QString connection() const { return window.findChild<QLabel *>(QStringLiteral("StaticText2"))->text(); }

    TForm1 window;
    QTextEdit *transcript = nullptr;
    QLineEdit *input = nullptr;
};

QStringList sentLines(const FakeSessionTransport &transport)
{
    QStringList texts;
    for (const FakeSessionTransport::Call &call : transport.calls) {
        if (call.method == u"SendChatText")
            texts << call.args.value(0).toString();
    }
    return texts;
}

QList<bool> transmitCalls(const FakeSessionTransport &transport)
{
    QList<bool> values;
    for (const FakeSessionTransport::Call &call : transport.calls) {
        if (call.method == u"Transmit")
            values << call.args.value(0).toBool();
    }
    return values;
}

} // namespace

class TestServerStates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keptLineGoesOutWhenServerIsBack_data();
    void keptLineGoesOutWhenServerIsBack();
    void lateServerFinishesStartUpOnce();
    void lateStartUpKeepsOperatorChoices();
    void lostServerForgetsWhoKeyed();
};

void TestServerStates::keptLineGoesOutWhenServerIsBack_data()
{
    QTest::addColumn<bool>("announced");
    // The transport sees the new server first, or the operator's Enter comes before it does.
    QTest::newRow("server seen") << true;
    QTest::newRow("operator first") << false;
}

void TestServerStates::keptLineGoesOutWhenServerIsBack()
{
    QFETCH(bool, announced);
    ErrorCapture errors;
    FakeSessionTransport transport;
    Window client(transport);
    QVERIFY(client.window.isSessionConnected());

    transport.crash();
    QVERIFY(!client.window.isSessionConnected());
    QCOMPARE(errors.messages, QStringList());
    client.send(QStringLiteral("anyone?"));
    QCOMPARE(errors.messages, QStringList{"SendChatText failed: the session server is not running."});
    QCOMPARE(client.input->text(), QStringLiteral("anyone?"));

    transport.setSessionProperty(QStringLiteral("NumPeers"), 1);
    if (announced)
        transport.restart();
    else
        transport.missingServers.clear();
    QCOMPARE(client.window.isSessionConnected(), announced);
    QTest::keyClick(client.input, Qt::Key_Return);
    QCOMPARE(errors.messages.size(), 1);
    QCOMPARE(sentLines(transport), QStringList{"anyone?"});
    QCOMPARE(client.input->text(), QString());
    QVERIFY(client.window.isSessionConnected());
    QCOMPARE(client.connection(), QStringLiteral("Connected"));
    // Attached again without ever having a server started.
    QCOMPARE(transport.attached, (QStringList{Session, Session, Config}));
    QCOMPARE(transport.attachedRunning, (QStringList{Session, Session, Config}));
    transport.fire(QStringLiteral("OnChatTextReceived"), {QStringLiteral("welcome back")});
    QCOMPARE(client.lines().constLast(), QStringLiteral("welcome back"));
    // Start-up's own lines are not written again.
    QCOMPARE(client.lines().filter(QStringLiteral("Checked for update at")).size(), 1);
}

void TestServerStates::lateServerFinishesStartUpOnce()
{
    ErrorCapture errors;
    FakeSessionTransport transport;
    transport.missingServers = {Session, Config};
    transport.setCallsign(QStringLiteral("DL1ABC"));
    Window client(transport);
    QCOMPARE(errors.messages.size(), 1);
    const QString titleWithoutServer = client.window.windowTitle();
    QVERIFY(client.lines().isEmpty());

    // The session object comes first, the configuration a moment later.
    transport.missingServers = {Config};
    Q_EMIT transport.serverAppeared();
    QCOMPARE(client.window.windowTitle(), titleWithoutServer);
    QCOMPARE(errors.messages.size(), 1);
    transport.restart();
    transport.restart();
    QCOMPARE(client.window.windowTitle(), QStringLiteral("TarnWave Chat - DL1ABC"));
    QCOMPARE(client.lines().size(), 2);
    QVERIFY(client.lines().constFirst().startsWith(QStringLiteral("TarnWave Chat Version ")));
    QCOMPARE(client.window.displaySettings().ChatFontSize, 10);
    QCOMPARE(errors.messages.size(), 1);
    // Only start-up's first try may have a server started.
    QCOMPARE(transport.attached, QStringList());
    QCOMPARE(transport.attachedRunning, (QStringList{Session, Session, Config}));
    QVERIFY(transport.subscriptions.contains(Session));

    client.send(QStringLiteral("hello"));
    QCOMPARE(client.lines().constLast(), QStringLiteral("DL1ABC>hello"));
    QCOMPARE(sentLines(transport), QStringList{"hello"});
}

void TestServerStates::lateStartUpKeepsOperatorChoices()
{
    ErrorCapture errors;
    FakeSessionTransport transport;
    transport.missingServers = {Session};
    Window client(transport);
    client.window.findChild<QAction *>(QStringLiteral("ShowHideStationlist1"))->trigger();
    TDisplaySettings chosen = client.window.displaySettings();
    chosen.setDefaults();
    chosen.ChatFontSize = 14;
    chosen.MyTextColor = Qt::darkGreen;
    client.window.setDisplaySettings(chosen);

    transport.restart();
    QVERIFY(client.window.isSessionConnected());
    QCOMPARE(client.window.displaySettings().ChatFontSize, 14);
    QCOMPARE(client.window.displaySettings().MyTextColor, QColor(Qt::darkGreen));
    QVERIFY(client.window.findChild<QAction *>(QStringLiteral("ShowHideStationlist1"))->isChecked());
    QVERIFY(!client.window.findChild<QWidget *>(QStringLiteral("Panel3"))->isHidden());
}

void TestServerStates::lostServerForgetsWhoKeyed()
{
    ErrorCapture errors;
    FakeSessionTransport transport;
    {
        Window client(transport);
        QTest::keyClick(client.input, Qt::Key_Space);
        QCOMPARE(transmitCalls(transport), QList<bool>{true});
        transport.crash();
        transport.restart();
        // The new server's transmitter is its own: closing leaves it alone.
        client.window.close();
    }
    QCOMPARE(transmitCalls(transport), QList<bool>{true});
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestServerStates)
#include "tst_serverstates.moc"
