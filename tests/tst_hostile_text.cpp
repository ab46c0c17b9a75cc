#include "ChatFixture.h"
#include "ErrorCapture.h"

#include "main_window/ReceivedText.h"
#include "main_window/TranscriptFile.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStringEncoder>

namespace {

// What a saved transcript holds after the banner: the given lines, each ended by CR LF.
QByteArray savedLines(const QStringList &lines)
{
    QStringEncoder encoder(QStringConverter::System);
    return encoder.encode(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
}

QByteArray savedAfterBanner(const ChatFixture &chat)
{
    const QByteArray all = transcriptFileContents(*chat.transcript->document());
    // The two banner lines come first.
    const qsizetype first = all.indexOf("\r\n");
    return all.mid(all.indexOf("\r\n", first + 2) + 2);
}

QString everyControlCharacter()
{
    QString text;
    for (char16_t code = 1; code < 0x20; ++code)
        text += QChar(code);
    return text + QChar(0x7f) + QStringLiteral("end");
}

} // namespace

class TestHostileText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void receivedTextKeptExactly_data();
    void receivedTextKeptExactly();
    void ownLongWordKeptExactly();
    void overlongRunsStillWrapInsideTheWindow();
    void millionLinesOfStationText();
    void stationTextWithAnEndlessWord();
};

void TestHostileText::receivedTextKeptExactly_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("million-character word") << QString(1000000, u'x');
    QTest::newRow("10 MB of words") << QStringLiteral("abc defgh ").repeated(1000000);
    QTest::newRow("non-BMP run") << QStringLiteral("\U0001F4FB").repeated(100000);
    QTest::newRow("combining marks run") << QStringLiteral("e\u0301").repeated(100000);
    QTest::newRow("right to left") << QStringLiteral("שלום \u202Eevil\u202C مرحبا 73");
    QTest::newRow("markup") << QStringLiteral("<b>bold</b> <img src=x onerror=y> &amp; <a href=\"z\">");
    QTest::newRow("every control character") << everyControlCharacter();
    QTest::newRow("surrogate halves") << (QStringLiteral("a") + QChar(0xd800) + QChar(0xdfff) + QStringLiteral("b"));
}

void TestHostileText::receivedTextKeptExactly()
{
    QFETCH(QString, text);
    ErrorCapture errors;
    ChatFixture chat;
    chat.showDateTime(false);
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    chat.receive(text);
    chat.receive(QStringLiteral("next"));
    // Laid out and painted, so an overlong run would have to be wrapped by now.
    QCoreApplication::processEvents();
    (void)chat.transcript->document()->documentLayout()->documentSize();

    QCOMPARE(chat.lineCount(), 4);
    QCOMPARE(savedAfterBanner(chat), savedLines({transcriptSafeText(text), QStringLiteral("next")}));
    QCOMPARE(errors.messages, QStringList());
}

void TestHostileText::ownLongWordKeptExactly()
{
    ChatFixture chat;
    chat.showDateTime(false);
    // Below the input line's own limit of 32,767 characters.
    const QString word(30000, u'y');
    chat.send(word);
    QCOMPARE(chat.sent(), QStringList{word});
    QCOMPARE(savedAfterBanner(chat), savedLines({QStringLiteral("N0CALL>") + word}));
}

void TestHostileText::overlongRunsStillWrapInsideTheWindow()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    chat.receive(QString(20000, u'x'));
    chat.receive(QStringLiteral("an ordinary line"));
    QCoreApplication::processEvents();
    const QTextDocument &document = *chat.transcript->document();
    // No line sticks out to the right, and ordinary text still wraps at word boundaries.
    QCOMPARE(document.idealWidth() <= document.textWidth(), true);
    const QTextLayout *ordinary = chat.lastLine().layout();
    QCOMPARE(ordinary->lineCount(), 1);
}

void TestHostileText::millionLinesOfStationText()
{
    ChatFixture chat;
    QString text;
    for (int i = 1; i <= 1000000; ++i)
        text += QStringLiteral("line %1\r\n").arg(i);
    chat.transport.fire(QStringLiteral("OnStationTextReceived"), {text});
    const auto *station = chat.window->findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));
    QCOMPARE(station->document()->blockCount(), 1000000);
    QCOMPARE(station->document()->firstBlock().text(), QStringLiteral("line 1"));
    QCOMPARE(station->document()->lastBlock().text(), QStringLiteral("line 1000000"));
    QCOMPARE(station->textCursor().position(), 0);
}

void TestHostileText::stationTextWithAnEndlessWord()
{
    // Laid out at word boundaries this would take many minutes.
    ChatFixture chat;
    chat.window->show();
    chat.window->findChild<QAction *>(QStringLiteral("ShowHideStationlist1"))->trigger();
    const QString word(1000000, u'x');
    chat.transport.fire(QStringLiteral("OnStationTextReceived"), {QString(QStringLiteral("Name: Hans\r\n") + word)});
    auto *station = chat.window->findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));
    QCOMPARE(station->toPlainText(), QStringLiteral("Name: Hans\n") + word);
    QCOMPARE(station->wordWrapMode(), QTextOption::WrapAnywhere);
    const QTextBlock longLine = station->document()->lastBlock();
    QVERIFY(station->document()->documentLayout()->blockBoundingRect(longLine).height() > 0);
    QVERIFY2(longLine.layout()->lineCount() > 1000, qPrintable(QString::number(longLine.layout()->lineCount())));

    // The next station's ordinary text wraps at word boundaries again.
    chat.transport.fire(QStringLiteral("OnStationTextReceived"), {QStringLiteral("Name: Anna")});
    QCOMPARE(station->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
}

QTEST_MAIN(TestHostileText)
#include "tst_hostile_text.moc"
