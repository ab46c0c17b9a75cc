#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "app/ProgramExit.h"
#include "app/ProgramWindows.h"

#include <QPointer>
#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

// The program's end: the transcript's text outlives the windows, which are taken apart as
// before, and nothing else is kept.
class TestProgramExit : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transcriptOutlivesTheWindows();
    void sessionLinkIsLetGo();
};

void TestProgramExit::transcriptOutlivesTheWindows()
{
    FakeSessionTransport transport;
    transport.setCallsign(QStringLiteral("N0CALL"));
    auto windows = std::make_unique<ProgramWindows>(transport, localPresence());
    transport.fire(QStringLiteral("OnChatTextReceived"), {QStringLiteral("last words")});
    QPointer<QTextEdit> view = windows->mainWindow.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    QVERIFY(view);
    QPointer<QTextDocument> document = view->document();

    leaveTranscriptToProcessEnd(*windows);
    windows.reset();
    QVERIFY(!view);
    QVERIFY(document);
    QVERIFY(document->toPlainText().contains(QStringLiteral("last words")));
    // Here the test frees it; the program leaves it to the process's end.
    delete document.data();
}

void TestProgramExit::sessionLinkIsLetGo()
{
    FakeSessionTransport transport;
    transport.setCallsign(QStringLiteral("N0CALL"));
    auto windows = std::make_unique<ProgramWindows>(transport, localPresence());
    QPointer<QObject> session = windows->mainWindow.findChild<QObject *>(QStringLiteral("TarnWaveSession1"));
    QVERIFY(session);
    QTextDocument *document =
        windows->mainWindow.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->document();
    leaveTranscriptToProcessEnd(*windows);
    windows.reset();
    // The event wrapper went with the main window, as before.
    QVERIFY(!session);
    delete document;
}

QTEST_MAIN(TestProgramExit)
#include "tst_programexit.moc"
