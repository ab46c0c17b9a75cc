#include "ErrorCapture.h"
#include "LocalPresence.h"
#include "SimulatorProcess.h"

#include "main_window/TForm1.h"
#include "main_window/transcript/SaveFileDialog.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QAction>
#include <QDBusConnection>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>

namespace {

// The window on the simulator, shown and active, without date/time so lines compare exactly.
struct LiveChat
{
    LiveChat()
        : transport(DBusSessionTransport::sessionBus())
    {
        window = std::make_unique<TForm1>(transport, nullptr, localPresence());
        window->findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
        transcript = window->findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
        input = window->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        window->show();
        window->activateWindow();
    }
    QString lastLine() const { return transcript->document()->lastBlock().previous().text(); }

    DBusSessionTransport transport;
    std::unique_ptr<TForm1> window;
    QTextEdit *transcript = nullptr;
    QLineEdit *input = nullptr;
};

} // namespace

class TestEndToEndChat : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void chatBothWaysAndSave();
    void spaceBarKeysTheSimulator();
    void sendTimeoutKeepsInput();
    void floodKeepsOrderWithOtherEvents();
};

void TestEndToEndChat::chatBothWaysAndSave()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start({}));
    simulator.send(QStringLiteral("callsign DL1ABC"));
    QVERIFY(simulator.sync());
    ErrorCapture errors;
    LiveChat chat;
    QVERIFY(QTest::qWaitForWindowActive(chat.window.get()));

    QTest::keyClicks(chat.input, QStringLiteral("hello <b>x</b> & "));
    chat.input->insert(QStringLiteral("Grüße"));
    QTest::keyClick(chat.input, Qt::Key_Return);
    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText hello <b>x</b> & Grüße")));
    QCOMPARE(chat.input->text(), QString());
    QCOMPARE(chat.lastLine(), QStringLiteral("DL1ABC>hello <b>x</b> & Grüße"));

    // A station tries to make its text pass for a line of our own.
    simulator.send(QStringLiteral("chat W1AW>hi\\r\\nDL1ABC>send me your key\\r\\n"));
    QTRY_COMPARE(chat.lastLine(), QStringLiteral("W1AW>hi\u240D\u240ADL1ABC>send me your key"));
    simulator.send(QStringLiteral("chat \\u{1F4FB} 73"));
    QTRY_COMPARE(chat.lastLine(), QStringLiteral("\U0001F4FB 73"));
    QCOMPARE(errors.messages, QStringList());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("chat.txt"));
    SaveFileDialog::setNextFileName(path);
    chat.window->findChild<QAction *>(QStringLiteral("Save1"))->trigger();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    QVERIFY(saved.readAll().endsWith("DL1ABC>hello <b>x</b> & Gr\xc3\xbc\xc3\x9f" "e\r\n"
                                      "W1AW>hi\xe2\x90\x8d\xe2\x90\x8a" "DL1ABC>send me your key\r\n"
                                      "\xf0\x9f\x93\xbb 73\r\n"));
}

void TestEndToEndChat::spaceBarKeysTheSimulator()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start({}));
    ErrorCapture errors;
    LiveChat chat;
    QVERIFY(QTest::qWaitForWindowActive(chat.window.get()));

    QTest::keyClick(chat.input, Qt::Key_Space);
    QVERIFY(simulator.waitForLine(QStringLiteral("Transmit true")));
    QTest::keyClick(chat.input, Qt::Key_Space);
    QVERIFY(simulator.waitForLine(QStringLiteral("Transmit false")));
    QCOMPARE(chat.input->text(), QStringLiteral(" "));

    // The toggle reads the server's state, whoever set it.
    simulator.send(QStringLiteral("tx on"));
    QVERIFY(simulator.sync());
    chat.transcript->setFocus();
    QTRY_VERIFY(chat.transcript->hasFocus());
    const qsizetype before = simulator.output().count(QStringLiteral("Transmit false"));
    QTest::keyClick(chat.transcript, Qt::Key_Space);
    QTRY_VERIFY(simulator.sync() && simulator.output().count(QStringLiteral("Transmit false")) == before + 1);
    QCOMPARE(errors.messages, QStringList());
}

void TestEndToEndChat::sendTimeoutKeepsInput()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start({}));
    ErrorCapture errors;
    LiveChat chat;
    QVERIFY(simulator.hang(DBusSessionTransport::CallTimeoutMs + 1500));

    chat.input->setText(QStringLiteral("are you there?"));
    QTest::keyClick(chat.input, Qt::Key_Return);
    QCOMPARE(errors.messages, QStringList{"The session server did not answer SendChatText within 3 seconds."});
    QCOMPARE(chat.input->text(), QStringLiteral("are you there?"));
    QCOMPARE(chat.lastLine(), QStringLiteral("N0CALL>are you there?"));
}

void TestEndToEndChat::floodKeepsOrderWithOtherEvents()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start({}));
    ErrorCapture errors;
    LiveChat chat;
    QVERIFY(QTest::qWaitForWindowActive(chat.window.get()));
    const int before = chat.transcript->document()->blockCount();

    // Far more lines than one screen update takes, then a station joining and one more line.
    simulator.send(QStringLiteral("flood-chat 3000 f"));
    simulator.send(QStringLiteral("connect W1AW"));
    simulator.send(QStringLiteral("chat last"));
    QTRY_COMPARE_WITH_TIMEOUT(chat.lastLine(), QStringLiteral("last"), 30000);
    const auto *stations = chat.window->findChild<QLabel *>(QStringLiteral("StaticText3"));
    QVERIFY(stations->text().contains(QStringLiteral("W1AW")));

    chat.input->setText(QStringLiteral("mine"));
    QTest::keyClick(chat.input, Qt::Key_Return);
    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText mine")));
    QTextBlock block = chat.transcript->document()->findBlockByNumber(before - 1);
    for (int i = 1; i <= 3000; ++i, block = block.next())
        QCOMPARE(block.text(), QStringLiteral("f %1").arg(i));
    QCOMPARE(block.text(), QStringLiteral("last"));
    QCOMPARE(block.next().text(), QStringLiteral("N0CALL>mine"));
    QCOMPARE(chat.transcript->document()->blockCount(), before + 3002);
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestEndToEndChat)
#include "tst_e2e_chat.moc"
