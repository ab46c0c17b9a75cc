#include "ErrorCapture.h"
#include "LocalPresence.h"
#include "SimulatorProcess.h"

#include "app/ProgramWindows.h"
#include "main_window/transcript/SaveFileDialog.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>

// One working session with the program's windows. The sanitizer
// run checks this process for leaks when it ends, so everything a session touches is covered.
class TestFullSession : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void startChatOptionsAboutSaveClose();
};

void TestFullSession::startChatOptionsAboutSaveClose()
{
    SimulatorProcess simulator;
    QVERIFY(simulator.start());
    ErrorCapture errors;
    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    ProgramWindows windows(transport, localPresence());
    TForm1 &window = windows.mainWindow;
    TForm2 &about = windows.about;
    TOptionsForm &options = windows.options;
    window.findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
    window.show();
    auto *transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    const auto lastLine = [transcript] { return transcript->document()->lastBlock().previous().text(); };

    simulator.send(QStringLiteral("connect DL1ABC"));
    simulator.send(QStringLiteral("chat DL1ABC>hello"));
    QTRY_COMPARE(lastLine(), QStringLiteral("DL1ABC>hello"));
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    input->setText(QStringLiteral("73"));
    QTest::keyClick(input, Qt::Key_Return);
    QVERIFY(simulator.waitForLine(QStringLiteral("SendChatText 73")));

    QTimer::singleShot(0, &options, [&options] {
        auto *size = options.findChild<QComboBox *>(QStringLiteral("FontSize"));
        const int index = size->findText(QStringLiteral("14"));
        size->setCurrentIndex(index);
        Q_EMIT size->activated(index);
        options.findChild<QPushButton *>(QStringLiteral("OKBtn"))->click();
    });
    window.findChild<QAction *>(QStringLiteral("Options1"))->trigger();
    QCOMPARE(window.displaySettings().ChatFontSize, 14);

    // Left open a moment, so the page view has started before it is closed.
    QTimer::singleShot(200, &about, [&about] { about.findChild<QPushButton *>(QStringLiteral("Button1"))->click(); });
    window.findChild<QAction *>(QStringLiteral("About1"))->trigger();
    QVERIFY(!about.isVisible());

    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("session.txt"));
    SaveFileDialog::setNextFileName(path);
    window.findChild<QAction *>(QStringLiteral("Save1"))->trigger();
    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray contents = saved.readAll();
    QVERIFY(contents.contains("DL1ABC>hello\r\n"));
    QVERIFY(contents.contains(">73\r\n"));

    QVERIFY(window.close());
    QCOMPARE(errors.messages, QStringList());
}

QTEST_MAIN(TestFullSession)
#include "tst_full_session.moc"
