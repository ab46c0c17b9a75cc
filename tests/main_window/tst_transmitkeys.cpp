#include "ErrorCapture.h"
#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QTest>
#include <QTextEdit>

namespace {

// A shown, active window on a fake server, with the transmit calls it made.
struct KeysFixture
{
    explicit KeysFixture(bool startKeyed = false)
    {
        transport.setSessionProperty(QStringLiteral("Transmitting"), startKeyed);
        window = std::make_unique<TForm1>(transport, nullptr, localPresence());
        input = window->findChild<QLineEdit *>(QStringLiteral("Edit1"));
        transcript = window->findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
        window->show();
        window->activateWindow();
    }
    bool ready() const { return QTest::qWaitForWindowActive(window.get()); }

    // "true"/"false" per Transmit call; anything but a boolean argument shows as "not bool".
    QStringList transmits() const
    {
        QStringList values;
        for (const FakeSessionTransport::Call &call : transport.calls) {
            if (call.method != QLatin1String("Transmit"))
                continue;
            const QVariant value = call.args.value(0);
            values << (value.typeId() == QMetaType::Bool ? value.toString() : QStringLiteral("not bool"));
        }
        return values;
    }
    void pressRepeatedSpace(QWidget *target) const
    {
        QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(target, &repeat);
    }

    FakeSessionTransport transport;
    std::unique_ptr<TForm1> window;
    QLineEdit *input = nullptr;
    QTextEdit *transcript = nullptr;
};

} // namespace

class TestTransmitKeys : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void inputLine_data();
    void inputLine();
    void transcriptKeys_data();
    void transcriptKeys();
    void bareWindow_data();
    void bareWindow();
    void heldSpaceDoesNotFlap();
    void failedToggle_data();
    void failedToggle();
};

void TestTransmitKeys::inputLine_data()
{
    QTest::addColumn<bool>("startKeyed");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("transmits");
    QTest::addColumn<QString>("finalText");

    QTest::newRow("space in empty line keys") << false << "" << " " << QStringList{"true"} << " ";
    QTest::newRow("two spaces key then unkey") << false << "" << "  " << QStringList{"true", "false"} << " ";
    QTest::newRow("starting keyed, space unkeys") << true << "" << " " << QStringList{"false"} << " ";
    QTest::newRow("space after other text types") << false << "ab" << " " << QStringList{} << "ab ";
    QTest::newRow("two spaces in the line: no toggle") << false << "  " << " " << QStringList{} << "   ";
    QTest::newRow("typing on keeps the leading space") << false << "" << " hi there" << QStringList{"true"}
                                                       << " hi there";
    QTest::newRow("other keys in empty line") << false << "" << "x" << QStringList{} << "x";
}

void TestTransmitKeys::inputLine()
{
    QFETCH(bool, startKeyed);
    QFETCH(QString, initial);
    QFETCH(QString, typed);
    QFETCH(QStringList, transmits);
    QFETCH(QString, finalText);

    ErrorCapture errors;
    KeysFixture keys(startKeyed);
    QVERIFY(keys.ready());
    keys.input->setText(initial);
    QTest::keyClicks(keys.input, typed);

    QCOMPARE(keys.transmits(), transmits);
    QCOMPARE(keys.input->text(), finalText);
    QCOMPARE(errors.messages, QStringList());
    // The indicator follows OnTX only, and nothing was sent as chat.
    QVERIFY(!keys.window->findChild<QLabel *>(QStringLiteral("StaticText1"))->isVisible());
    QCOMPARE(keys.transport.calls.size(), transmits.size());
}

void TestTransmitKeys::transcriptKeys_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("transmits");
    QTest::newRow("space") << int(Qt::Key_Space) << QStringList{"true"};
    QTest::newRow("letter") << int(Qt::Key_A) << QStringList{};
    QTest::newRow("Enter") << int(Qt::Key_Return) << QStringList{};
    QTest::newRow("cursor key") << int(Qt::Key_Up) << QStringList{};
    QTest::newRow("function key") << int(Qt::Key_F5) << QStringList{};
    QTest::newRow("Escape") << int(Qt::Key_Escape) << QStringList{};
}

void TestTransmitKeys::transcriptKeys()
{
    QFETCH(int, key);
    QFETCH(QStringList, transmits);

    KeysFixture keys;
    QVERIFY(keys.ready());
    keys.transcript->setFocus();
    QTRY_VERIFY(keys.transcript->hasFocus());
    QTest::keyClick(keys.transcript, Qt::Key(key));
    QCOMPARE(keys.transmits(), transmits);
}

void TestTransmitKeys::bareWindow_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QStringList>("transmits");
    QTest::newRow("letter") << int(Qt::Key_A) << QStringList{"true"};
    QTest::newRow("space") << int(Qt::Key_Space) << QStringList{"true"};
    QTest::newRow("digit") << int(Qt::Key_5) << QStringList{"true"};
    QTest::newRow("Enter") << int(Qt::Key_Return) << QStringList{"true"};
    // Keys that type nothing are no key press for the window.
    QTest::newRow("Shift alone") << int(Qt::Key_Shift) << QStringList{};
    QTest::newRow("Control alone") << int(Qt::Key_Control) << QStringList{};
    QTest::newRow("function key") << int(Qt::Key_F5) << QStringList{};
}

void TestTransmitKeys::bareWindow()
{
    QFETCH(int, key);
    QFETCH(QStringList, transmits);

    KeysFixture keys;
    QVERIFY(keys.ready());
    keys.input->clearFocus();
    QTRY_VERIFY(!QApplication::focusWidget() || QApplication::focusWidget() == keys.window.get());
    QTest::keyClick(keys.window.get(), Qt::Key(key));
    QCOMPARE(keys.transmits(), transmits);

    // With a control focused, keys it does not take (Escape in the input line) do not toggle.
    keys.input->setFocus();
    QTRY_VERIFY(keys.input->hasFocus());
    QTest::keyClick(keys.input, Qt::Key_Escape);
    QTest::keyClick(keys.input, Qt::Key_F5);
    QCOMPARE(keys.transmits(), transmits);
}

void TestTransmitKeys::heldSpaceDoesNotFlap()
{
    KeysFixture keys;
    QVERIFY(keys.ready());
    QTest::keyClick(keys.input, Qt::Key_Space);
    for (int i = 0; i < 3; ++i)
        keys.pressRepeatedSpace(keys.input);
    QCOMPARE(keys.transmits(), QStringList{"true"});
    QCOMPARE(keys.input->text(), QStringLiteral("    "));

    keys.transcript->setFocus();
    QTRY_VERIFY(keys.transcript->hasFocus());
    QTest::keyClick(keys.transcript, Qt::Key_Space);
    keys.pressRepeatedSpace(keys.transcript);
    QCOMPARE(keys.transmits(), (QStringList{"true", "false"}));
}

void TestTransmitKeys::failedToggle_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("message");
    QTest::newRow("Transmit fails") << "Transmit" << "The session server reported an error.";
    QTest::newRow("Transmitting fails") << "Transmitting" << "The session server reported an error.";
    QTest::newRow("Transmitting not a boolean") << "not bool"
                                                << "The session server sent no yes/no value for Transmitting.";
    QTest::newRow("no session object") << "no session" << "Not connected to the session server.";
}

void TestTransmitKeys::failedToggle()
{
    QFETCH(QString, failure);
    QFETCH(QString, message);

    ErrorCapture errors;
    FakeSessionTransport transport;
    if (failure == QLatin1String("no session"))
        transport.missingServers.insert(QString::fromLatin1(TarnWave_TLB::SessionProgId));
    else if (failure == QLatin1String("not bool"))
        transport.setSessionProperty(QStringLiteral("Transmitting"), QStringLiteral("yes"));
    else
        transport.failingMethod = failure;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    errors.messages.clear();

    // The input line is left as it was, and the space is typed into it.
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    input->setText(QStringLiteral(" "));
    QTest::keyClick(input, Qt::Key_Space);
    QCOMPARE(input->text(), QStringLiteral("  "));

    auto *transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    transcript->setFocus();
    QTRY_VERIFY(transcript->hasFocus());
    QTest::keyClick(transcript, Qt::Key_Space);

    transcript->clearFocus();
    QTest::keyClick(&window, Qt::Key_A);

    QCOMPARE(errors.messages, QStringList(3, message));
    QCOMPARE(transport.calls.size(), failure == QLatin1String("Transmit") ? 3 : 0);
}

QTEST_MAIN(TestTransmitKeys)
#include "tst_transmitkeys.moc"
