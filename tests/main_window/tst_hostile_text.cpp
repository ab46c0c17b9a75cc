#include "ChatFixture.h"
#include "ErrorCapture.h"

#include "main_window/logic/ReceivedText.h"
#include "main_window/logic/TranscriptFile.h"
#include "main_window/transcript/FindBar.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QAccessibleTextInterface>
#include <QClipboard>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocumentFragment>

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

// A hash-like run with no break opportunity, many times longer than a layout line.
QString longHash()
{
    return QStringLiteral("0123456789abcdef").repeated(400);
}

// The last received line selected, as the operator would select it.
void selectLastLine(ChatFixture &chat)
{
    const QTextBlock line = chat.lastLine();
    QTextCursor selection(line);
    selection.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
    chat.transcript->setTextCursor(selection);
}

// The text that leaves the transcript for the last line by one way out.
QString lastLineLeavingBy(const QString &way, ChatFixture &chat, const QString &expected)
{
    const QTextBlock line = chat.lastLine();
    if (way == QLatin1String("copy")) {
        selectLastLine(chat);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(chat.transcript, Qt::Key_C, Qt::ControlModifier);
        return QGuiApplication::clipboard()->text();
    }
    if (way == QLatin1String("drag, plain") || way == QLatin1String("drag, rich")) {
        // A drag carries the mime data the transcript makes from its selection, the same
        // object a copy hands the clipboard, with its plain and its rich text.
        selectLastLine(chat);
        QGuiApplication::clipboard()->clear();
        QTest::keyClick(chat.transcript, Qt::Key_C, Qt::ControlModifier);
        const QMimeData *mime = QGuiApplication::clipboard()->mimeData();
        if (!mime)
            return QStringLiteral("no mime data");
        return way == QLatin1String("drag, plain") ? mime->text()
                                                   : QTextDocumentFragment::fromHtml(mime->html()).toRawText();
    }
    if (way == QLatin1String("accessible text")) {
        QAccessibleTextInterface *text = QAccessible::queryAccessibleInterface(chat.transcript)->textInterface();
        const int start = line.position();
        if (text->characterCount() != chat.transcript->document()->characterCount() - 1)
            return QStringLiteral("character count differs");
        return text->text(start, start + line.length() - 1);
    }
    // Find: the whole line as the search text, found once, where the line is.
    auto *bar = chat.window->findChild<FindBar *>(QStringLiteral("FindBar"));
    bar->open();
    chat.window->findChild<QLineEdit *>(QStringLiteral("FindText"))->setText(expected);
    const QList<int> matches = bar->search().matches();
    if (matches != QList<int>{line.position()})
        return QStringLiteral("%1 matches").arg(matches.size());
    QTextCursor found(chat.transcript->document());
    found.setPosition(matches.first());
    found.setPosition(matches.first() + bar->search().matchLength(), QTextCursor::KeepAnchor);
    return found.selectedText();
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
    void receivedTextLeavesUnchanged_data();
    void receivedTextLeavesUnchanged();
    void eachLineWrapsItsOwnWay();
    void pointsAndPositionsAgree();
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
    QTest::newRow("zero-width spaces") << (QStringLiteral("a\u200Bb ") + longHash() + QChar(0x200B) + longHash());
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

void TestHostileText::receivedTextLeavesUnchanged_data()
{
    QTest::addColumn<QString>("way");
    QTest::addColumn<QString>("text");
    const QString zeroWidth = QStringLiteral("key\u200Bpart\u200B\u200Bend ") + longHash() + QChar(0x200B) + longHash();
    for (const char *way : {"copy", "drag, plain", "drag, rich", "accessible text", "find"}) {
        QTest::addRow("%s: long unbroken run", way) << QString::fromLatin1(way) << longHash();
        QTest::addRow("%s: ordinary line", way) << QString::fromLatin1(way) << QStringLiteral("CQ CQ de N0CALL, 73");
        QTest::addRow("%s: received zero-width spaces", way) << QString::fromLatin1(way) << zeroWidth;
    }
}

void TestHostileText::receivedTextLeavesUnchanged()
{
    QFETCH(QString, way);
    QFETCH(QString, text);
    ChatFixture chat;
    chat.showDateTime(false);
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    chat.receive(text);
    QCoreApplication::processEvents();
    QCOMPARE(lastLineLeavingBy(way, chat, text), text);
}

void TestHostileText::eachLineWrapsItsOwnWay()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    chat.receive(longHash());
    chat.receive(QStringLiteral("word ").repeated(200));
    QCoreApplication::processEvents();
    const QTextBlock words = chat.lastLine();
    const QTextBlock run = words.previous();
    QCOMPARE(run.layout()->textOption().wrapMode(), QTextOption::WrapAnywhere);
    QCOMPARE(words.layout()->textOption().wrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
    const qreal width = chat.transcript->document()->textWidth();
    for (const QTextBlock &block : {run, words}) {
        QVERIFY(block.layout()->lineCount() > 1);
        for (int i = 0; i < block.layout()->lineCount(); ++i) {
            const QTextLine line = block.layout()->lineAt(i);
            QVERIFY(line.naturalTextWidth() <= width);
            // Words are never cut: every line of words ends after a space.
            if (block == words && i + 1 < block.layout()->lineCount())
                QCOMPARE(words.text().at(line.textStart() + line.textLength() - 1), u' ');
        }
    }
    // The lines stack without gaps or overlaps.
    const auto *layout = chat.transcript->document()->documentLayout();
    QCOMPARE(layout->blockBoundingRect(words).top(), layout->blockBoundingRect(run).bottom());
    QCOMPARE(layout->documentSize().height(),
             layout->blockBoundingRect(chat.transcript->document()->lastBlock()).bottom()
                 + chat.transcript->document()->documentMargin());
}

void TestHostileText::pointsAndPositionsAgree()
{
    // A click lands on the character drawn there, so selecting with the mouse selects what
    // the operator sees, in the long run as in ordinary lines.
    ChatFixture chat;
    chat.showDateTime(false);
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    chat.receive(QStringLiteral("first line"));
    chat.receive(QString(600, u'x'));
    chat.receive(QStringLiteral("last line"));
    QCoreApplication::processEvents();
    const QTextBlock last = chat.lastLine();
    for (const int position : {last.previous().previous().position() + 3, last.previous().position() + 500,
                               last.position() + 5}) {
        QTextCursor caret(chat.transcript->document());
        caret.setPosition(position);
        chat.transcript->setTextCursor(caret);
        chat.transcript->ensureCursorVisible();
        const QRect at = chat.transcript->cursorRect(caret);
        QCOMPARE(chat.transcript->cursorForPosition(at.center()).position(), position);
    }
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
