#include "CloseMainWindow.h"
#include "ErrorCapture.h"
#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "base/ErrorText.h"
#include "base/TarnWaveError.h"
#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextEdit>

namespace {

const QString SessionId = QString::fromLatin1(TarnWave_TLB::SessionProgId);
const QString ConfigId = QString::fromLatin1(TarnWave_TLB::SetupConfigProgId);

template<typename T>
T *child(const QWidget &window, const char *name)
{
    return window.findChild<T *>(QString::fromLatin1(name));
}

QColor background(const QLabel &label)
{
    return label.palette().color(QPalette::Window);
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout();
    void menus_data();
    void menus();
    void menuOrder();
    void alwaysOnTop();
    void clearScreen();
    void errorText_data();
    void errorText();
    void caption_data();
    void caption();
    void banner();
    void connectionLabel_data();
    void connectionLabel();
    void startupStopsAtFailingStep_data();
    void startupStopsAtFailingStep();
    void closeSequence_data();
    void closeSequence();
    void stationPanelToggle();
};

void TestMainWindow::layout()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));

    QCOMPARE(window.size(), QSize(492, 296));
    const QPoint screenCentre = window.screen()->availableGeometry().center();
    QVERIFY((window.geometry().center() - screenCentre).manhattanLength() <= 4);
    QCOMPARE(window.minimumSize(), QSize(292, 266));
    QCOMPARE(window.font().family(), QStringLiteral("MS Sans Serif"));
    QCOMPARE(window.font().pointSize(), 8);

    const auto *panel1 = child<QFrame>(window, "Panel1");
    const auto *panel2 = child<QFrame>(window, "Panel2");
    QCOMPARE(panel1->height(), 26);
    QCOMPARE(panel2->height(), 22);
    QCOMPARE(panel1->width(), window.width());
    QVERIFY(panel2->geometry().top() >= panel1->geometry().bottom());

    const auto *edit = child<QLineEdit>(window, "Edit1");
    const auto *send = child<QPushButton>(window, "Button1");
    QCOMPARE(edit->height(), 24);
    QCOMPARE(edit->font().pointSize(), 10);
    QCOMPARE(send->text(), QStringLiteral("Send"));
    QCOMPARE(send->size(), QSize(84, 23));
    QVERIFY(edit->hasFocus());
    // The button keeps its distance to the right edge as the window grows.
    const int gap = panel1->width() - send->geometry().right();
    window.resize(700, 400);
    QTRY_COMPARE(panel1->width() - send->geometry().right(), gap);
    QVERIFY(edit->width() > 402);

    const auto *connection = child<QLabel>(window, "StaticText2");
    QCOMPARE(connection->size(), QSize(86, 18));
    QCOMPARE(connection->text(), QStringLiteral("Disconnect"));
    QCOMPARE(connection->font().bold(), true);
    QCOMPARE(connection->textFormat(), Qt::PlainText);

    const auto *stations = child<QLabel>(window, "StaticText3");
    QVERIFY(!stations->isVisible());
    QCOMPARE(stations->height(), 18);
    QCOMPARE(background(*stations), QColor(255, 255, 0));
    QCOMPARE(stations->palette().color(QPalette::WindowText), QColor(255, 0, 0));

    const auto *indicator = child<QLabel>(window, "StaticText1");
    QVERIFY(!indicator->isVisible());
    QCOMPARE(indicator->text(), QStringLiteral("RX"));
    QCOMPARE(indicator->size(), QSize(35, 20));
    QCOMPARE(background(*indicator), QColor(0, 128, 0));

    const auto *transcript = child<QTextEdit>(window, "ChatWindow");
    QVERIFY(transcript->isReadOnly());
    QCOMPARE(transcript->focusPolicy(), Qt::ClickFocus);
    QCOMPARE(transcript->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    QVERIFY(!child<QFrame>(window, "Panel3")->isVisible());
    QCOMPARE(transcript->width(), window.width());
}

void TestMainWindow::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QKeySequence>("shortcut");
    QTest::addColumn<bool>("checkable");
    QTest::addColumn<bool>("checked");

    QTest::newRow("save") << "Save1" << "Save..." << QKeySequence(Qt::CTRL | Qt::Key_S) << false << false;
    QTest::newRow("exit") << "Exit1" << "Exit" << QKeySequence() << false << false;
    QTest::newRow("options") << "Options1" << "Options..." << QKeySequence() << false << false;
    QTest::newRow("date/time") << "ShowDateTime1" << "Show Date/Time" << QKeySequence() << true << true;
    QTest::newRow("station text") << "ShowHideStationlist1" << "Show Station Text" << QKeySequence() << true << false;
    QTest::newRow("on top") << "AlwaysOnTop1" << "Always On Top" << QKeySequence() << true << false;
    QTest::newRow("clear") << "ClearScreen1" << "Clear screen" << QKeySequence() << false << false;
    QTest::newRow("about") << "About1" << "&About" << QKeySequence() << false << false;
}

void TestMainWindow::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QKeySequence, shortcut);
    QFETCH(bool, checkable);
    QFETCH(bool, checked);

    FakeSessionTransport transport;
    const TForm1 window(transport, nullptr, localPresence());
    const auto *action = window.findChild<QAction *>(name);
    QVERIFY(action);
    QCOMPARE(action->text(), text);
    QCOMPARE(action->shortcut(), shortcut);
    QCOMPARE(action->isCheckable(), checkable);
    QCOMPARE(action->isChecked(), checked);
}

void TestMainWindow::menuOrder()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    QStringList top;
    QStringList items;
    for (QAction *action : window.menuBar()->actions()) {
        top << action->text();
        if (action->menu()) {
            for (const QAction *item : action->menu()->actions())
                items << (item->isSeparator() ? QStringLiteral("-") : item->text());
            items << QStringLiteral("|");
        } else {
            items << QStringLiteral("(no submenu)");
        }
    }
    QCOMPARE(top, (QStringList{"&File", "&Tools", "&About"}));
    QCOMPARE(items, (QStringList{"Save...", "-", "Exit", "|", "Options...", "-", "Show Date/Time",
                                 "Show Station Text", "Always On Top", "-", "Clear screen", "|",
                                 "(no submenu)"}));
}

void TestMainWindow::alwaysOnTop()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    auto *onTop = window.findChild<QAction *>(QStringLiteral("AlwaysOnTop1"));

    onTop->trigger();
    QVERIFY(onTop->isChecked());
    QVERIFY(window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window.isVisible());

    onTop->trigger();
    QVERIFY(!onTop->isChecked());
    QVERIFY(!window.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    QVERIFY(window.isVisible());
}

void TestMainWindow::clearScreen()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    auto *transcript = child<QTextEdit>(window, "ChatWindow");
    QVERIFY(!transcript->toPlainText().isEmpty());
    window.findChild<QAction *>(QStringLiteral("ClearScreen1"))->trigger();
    QCOMPARE(transcript->toPlainText(), QString());
    QCOMPARE(transcript->document()->characterCount(), 1);
}

void TestMainWindow::errorText_data()
{
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("shown");

    QTest::newRow("letter") << "Disk full" << "Disk full.";
    QTest::newRow("full stop") << "Done." << "Done.";
    QTest::newRow("digit") << "Error 5" << "Error 5.";
    QTest::newRow("slash sorts after") << "path/" << "path/.";
    QTest::newRow("exclamation sorts before") << "Stop!" << "Stop!";
    QTest::newRow("closing parenthesis") << "(none)" << "(none)";
    QTest::newRow("comma") << "a," << "a,";
    QTest::newRow("hyphen") << "a-" << "a-";
    QTest::newRow("space") << "a " << "a ";
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße") << QStringLiteral("Grüße.");
    QTest::newRow("empty") << "" << "";
    // A server's error text may hold a NUL; what follows it is still shown.
    QTest::newRow("NUL inside") << QStringLiteral("bad\u0000tail") << QStringLiteral("bad\u0000tail.");
}

void TestMainWindow::errorText()
{
    QFETCH(QString, message);
    QFETCH(QString, shown);
    QCOMPARE(errorTextForDisplay(message), shown);
    ErrorCapture errors;
    QVERIFY(!GeneralErrorHandler::guard([&] { throw TarnWaveError(message); }));
    QCOMPARE(errors.messages, QStringList{shown});
}

void TestMainWindow::caption_data()
{
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("caption");
    QTest::newRow("call sign") << "DL1ABC" << "TarnWave Chat - DL1ABC";
    QTest::newRow("empty") << "" << "TarnWave Chat - ";
    QTest::newRow("markup stays text") << "<b>X</b>" << "TarnWave Chat - <b>X</b>";
    QTest::newRow("non-ASCII") << QStringLiteral("ÖE1ŽŠ") << QStringLiteral("TarnWave Chat - ÖE1ŽŠ");
}

void TestMainWindow::caption()
{
    QFETCH(QString, callsign);
    QFETCH(QString, caption);
    FakeSessionTransport transport;
    transport.setCallsign(callsign);
    const TForm1 window(transport, nullptr, localPresence());
    QCOMPARE(window.windowTitle(), caption);
    QCOMPARE(window.callsign(), callsign);
}

void TestMainWindow::banner()
{
    FakeSessionTransport transport;
    const TForm1 window(transport, nullptr, localPresence());
    QCOMPARE(child<QTextEdit>(window, "ChatWindow")->toPlainText(),
             QStringLiteral("TarnWave Chat Version 1.30 by the TarnWave Chat team\n"
                            "Checked for update at https://tarnwave.example/chat\n"));
    QCOMPARE(window.displaySettings().ChatFontName, QStringLiteral("MS Sans Serif"));
    QCOMPARE(window.displaySettings().ChatFontSize, 10);
}

void TestMainWindow::connectionLabel_data()
{
    QTest::addColumn<int>("peers");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QColor>("color");
    QTest::newRow("none") << 0 << "Disconnect" << QColor(128, 128, 128);
    QTest::newRow("negative") << -1 << "Disconnect" << QColor(128, 128, 128);
    QTest::newRow("one") << 1 << "Connected" << QColor(0, 0, 255);
    QTest::newRow("three") << 3 << "Connected" << QColor(0, 0, 255);
}

void TestMainWindow::connectionLabel()
{
    QFETCH(int, peers);
    QFETCH(QString, caption);
    QFETCH(QColor, color);
    FakeSessionTransport transport;
    transport.setSessionProperty(QStringLiteral("NumPeers"), peers);
    const TForm1 window(transport, nullptr, localPresence());
    const auto *label = child<QLabel>(window, "StaticText2");
    QCOMPARE(label->text(), caption);
    QCOMPARE(background(*label), color);
}

void TestMainWindow::startupStopsAtFailingStep_data()
{
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("failingProperty");
    QTest::addColumn<QString>("message");
    QTest::addColumn<bool>("eventsConnected");
    QTest::addColumn<QString>("caption");

    QTest::newRow("no session server")
        << SessionId << QString()
        << "The name TarnWave.TarnwaveSession was not provided by any .service files." << false
        << "TarnWave Chat";
    QTest::newRow("no configuration object")
        << ConfigId << QString()
        << "The name TarnWave.SetupConfig was not provided by any .service files." << true
        << "TarnWave Chat";
    QTest::newRow("NumPeers fails") << QString() << "NumPeers" << "The session server reported an error."
                                    << true << "TarnWave Chat - N0CALL";
}

void TestMainWindow::startupStopsAtFailingStep()
{
    QFETCH(QString, missing);
    QFETCH(QString, failingProperty);
    QFETCH(QString, message);
    QFETCH(bool, eventsConnected);
    QFETCH(QString, caption);

    ErrorCapture errors;
    FakeSessionTransport transport;
    if (!missing.isEmpty())
        transport.missingServers.insert(missing);
    transport.failingMethod = failingProperty;
    TForm1 window(transport, nullptr, localPresence());
    window.show();

    QCOMPARE(errors.messages, QStringList{message});
    QVERIFY(window.isVisible());
    QCOMPARE(window.windowTitle(), caption);
    QCOMPARE(window.isSessionConnected(), eventsConnected);
    QCOMPARE(child<QLabel>(window, "StaticText2")->text(), QStringLiteral("Disconnect"));

    // Closing still works, and events that arrive now touch nothing that is missing.
    transport.fire(QStringLiteral("OnChatTextReceived"), {QStringLiteral("late")});
    transport.fire(QStringLiteral("OnConnected"), {QStringLiteral("A"), QString(), QString()});
    transport.fire(QStringLiteral("OnDisconnected"), {QStringLiteral("A")});
    QVERIFY(window.close());
    QVERIFY(transport.subscriptions.isEmpty());
}

void TestMainWindow::closeSequence_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Exit") << "exit";
    QTest::newRow("close box") << "close";
    QTest::newRow("OnClosing") << "event";
}

void TestMainWindow::closeSequence()
{
    QFETCH(QString, how);
    ErrorCapture errors;
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(transport.subscriptions.contains(SessionId));

    closeMainWindow(window, transport, how);

    QTRY_VERIFY(!window.isVisible());
    QVERIFY(transport.subscriptions.isEmpty());
    QVERIFY(!window.isSessionConnected());
    // The server is never asked to quit.
    QVERIFY(transport.calls.isEmpty());
    QCOMPARE(errors.messages, QStringList());
}

void TestMainWindow::stationPanelToggle()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    auto *toggle = window.findChild<QAction *>(QStringLiteral("ShowHideStationlist1"));
    const auto *panel = child<QFrame>(window, "Panel3");
    const auto *transcript = child<QTextEdit>(window, "ChatWindow");

    toggle->trigger();
    QVERIFY(toggle->isChecked());
    QTRY_VERIFY(panel->isVisible());
    QTRY_COMPARE(panel->width(), 244);
    QTRY_COMPARE(transcript->width(), window.width() - 244);

    toggle->trigger();
    QVERIFY(!toggle->isChecked());
    QTRY_VERIFY(!panel->isVisible());
    QTRY_COMPARE(transcript->width(), window.width());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
