#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "about/TForm2.h"
#include "app/ProgramWindows.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Key presses and clicks from outside the process, as an operator gives them, on a real X
// server (run-on-own-x-server): the offscreen platform hands events straight to the widget,
// past the blocking that a modal window must do.

namespace {

bool xdotool(const QStringList &args)
{
    return QProcess::execute(QStringLiteral("xdotool"), args) == 0;
}

QString xWindow(const QWidget &window)
{
    return QString::number(window.winId());
}

// Runs whileOpen as soon as opener's dialog runs its own event loop, then closes the dialog
// if whileOpen left it open; returns once the dialog is closed.
void runWhileOpen(QAction &opener, QDialog &dialog, const std::function<void()> &whileOpen)
{
    QTimer::singleShot(0, &dialog, [&] {
        whileOpen();
        if (dialog.isVisible())
            dialog.reject();
    });
    opener.trigger();
}

} // namespace

class TestModalWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void blocksTheMainWindow_data();
    void blocksTheMainWindow();
    // Last: it takes the fake server away and brings it back.
    void errorBoxGivesTheKeptLineBack();

private:
    void giveKeysAndClicksToMainWindow(QDialog &dialog);

    FakeSessionTransport m_transport;
    std::unique_ptr<ProgramWindows> m_windows;
    std::unique_ptr<TForm2> m_fallbackAbout;
};

void TestModalWindows::initTestCase()
{
    QVERIFY2(QGuiApplication::platformName() == QLatin1String("xcb"), "needs a real X server");
    m_transport.setCallsign(QStringLiteral("N0CALL"));
    m_windows = std::make_unique<ProgramWindows>(m_transport, localPresence());
    m_fallbackAbout = std::make_unique<TForm2>(&m_windows->mainWindow, QStringLiteral("/nonexistent/view.so"));
    TForm1 &main = m_windows->mainWindow;
    main.move(0, 0);
    main.show();
    // Without a window manager nothing else gives it the keyboard.
    QVERIFY(QTest::qWaitForWindowExposed(&main));
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
}

void TestModalWindows::blocksTheMainWindow_data()
{
    QTest::addColumn<QString>("window");
    // In this order: the web view is made on the About window's first showing.
    QTest::newRow("About, first showing") << QStringLiteral("About");
    QTest::newRow("About, shown again") << QStringLiteral("About");
    QTest::newRow("About with the fallback view") << QStringLiteral("fallback");
    QTest::newRow("About with the fallback view, shown again") << QStringLiteral("fallback");
    QTest::newRow("Options") << QStringLiteral("Options");
    QTest::newRow("Options, shown again") << QStringLiteral("Options");
}

void TestModalWindows::blocksTheMainWindow()
{
    QFETCH(QString, window);
    TForm1 &main = m_windows->mainWindow;
    const bool options = window == QLatin1String("Options");
    QDialog *dialog = options ? static_cast<QDialog *>(&m_windows->options)
                              : window == QLatin1String("About") ? &m_windows->about : m_fallbackAbout.get();
    // With the Options dialog open, an About window reached through the menu would block the
    // test; the spy still sees the menu item fire.
    main.setAboutWindow(options ? nullptr : dialog);
    auto *opener = main.findChild<QAction *>(options ? QStringLiteral("Options1") : QStringLiteral("About1"));
    QSignalSpy aboutItem(main.findChild<QAction *>(QStringLiteral("About1")), &QAction::triggered);
    auto *input = main.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    input->clear();
    m_transport.calls.clear();

    bool ran = false;
    bool activeOnOpening = false;
    runWhileOpen(*opener, *dialog, [&] {
        ran = true;
        // It takes the keyboard focus as it opens, without a window manager's help.
        activeOnOpening = QTest::qWaitForWindowActive(dialog);
        giveKeysAndClicksToMainWindow(*dialog);
        QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), xWindow(*dialog)}));
        // Handled after every event above, since the server delivers them in order.
        QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
        QTRY_VERIFY(!dialog->isVisible());
    });
    QVERIFY(ran);
    QVERIFY(activeOnOpening);
    QCOMPARE(dialog->result(), int(QDialog::Accepted));
    QCOMPARE(input->text(), QString());
    QCOMPARE(aboutItem.count(), options ? 0 : 1);
    QStringList calls;
    for (const FakeSessionTransport::Call &call : std::as_const(m_transport.calls))
        calls << call.method + u' ' + call.args.value(0).toString();
    QCOMPARE(calls.join(QStringLiteral(", ")), QString());
    main.setAboutWindow(&m_windows->about);
}

void TestModalWindows::giveKeysAndClicksToMainWindow(QDialog &dialog)
{
    TForm1 &main = m_windows->mainWindow;
    // Out of the way of the main window's controls, so a click on them lands on them.
    dialog.move(dialog.screen()->availableGeometry().bottomRight() - QPoint(dialog.width(), dialog.height()));
    // The keyboard goes where the X server sends it, so the main window is given it, as a
    // click on it would with a window manager. Space in the empty input line would key the
    // transmitter, the letters fill the line that a click on "Send" would send.
    const QString target = xWindow(main);
    QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), target}));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("space"), QStringLiteral("m"), QStringLiteral("o"),
                     QStringLiteral("d"), QStringLiteral("a"), QStringLiteral("l"), QStringLiteral("alt+a")}));
    const auto *send = main.findChild<QPushButton *>(QStringLiteral("Button1"));
    const QPoint onSend = send->mapTo(&main, send->rect().center());
    QVERIFY(xdotool({QStringLiteral("mousemove"), QStringLiteral("--window"), target, QString::number(onSend.x()),
                     QString::number(onSend.y()), QStringLiteral("click"), QStringLiteral("1")}));
}

void TestModalWindows::errorBoxGivesTheKeptLineBack()
{
    TForm1 &main = m_windows->mainWindow;
    auto *input = main.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    input->clear();
    m_transport.calls.clear();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    input->setFocus();
    m_transport.crash();

    // The real error box: its OK is pressed on the keyboard as soon as it is up.
    QString boxText;
    QTimer dismisser;
    connect(&dismisser, &QTimer::timeout, this, [&] {
        QWidget *box = QApplication::activeModalWidget();
        if (!box || !QTest::qWaitForWindowExposed(box))
            return;
        dismisser.stop();
        boxText = box->findChild<QLabel *>(QStringLiteral("qt_msgbox_label"))->text();
        xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), xWindow(*box)});
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    });
    dismisser.start(20);
    QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), xWindow(main)}));
    QVERIFY(xdotool({QStringLiteral("type"), QStringLiteral("kept")}));
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QTRY_COMPARE(boxText, QStringLiteral("SendChatText failed: the session server is not running."));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(input->text(), QStringLiteral("kept"));

    // The window keeps the input line as its focus, so once it has the keyboard back (a
    // window manager's part, done by hand here) the next Enter sends the kept line.
    QCOMPARE(main.focusWidget(), input);
    m_transport.restart();
    main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&main));
    QVERIFY(xdotool({QStringLiteral("windowfocus"), QStringLiteral("--sync"), xWindow(main)}));
    QVERIFY(input->hasFocus());
    QVERIFY(xdotool({QStringLiteral("key"), QStringLiteral("Return")}));
    QTRY_COMPARE(input->text(), QString());
    QCOMPARE(m_transport.calls.size(), 1);
    QCOMPARE(m_transport.calls.constFirst().method, QStringLiteral("SendChatText"));
    QCOMPARE(m_transport.calls.constFirst().args, QVariantList{QStringLiteral("kept")});
}

QTEST_MAIN(TestModalWindows)
#include "tst_modalwindows.moc"

