#include "ChatFixture.h"
#include "ErrorCapture.h"
#include "LocalPresence.h"

#include "main_window/TForm1.h"
#include "main_window/logic/LinePrefix.h"
#include "main_window/logic/LocalClock.h"
#include "main_window/logic/ReceivedText.h"
#include "main_window/logic/TDisplaySettings.h"
#include "main_window/logic/TranscriptLines.h"
#include "main_window/transcript/TranscriptRepaintPacer.h"
#include "session/TTarnWaveSession.h"
#include "session/TarnWave_TLB.h"

#include <QAbstractTextDocumentLayout>
#include <QElapsedTimer>
#include <QPushButton>
#include <QScrollBar>

namespace {

QString stamp()
{
    return dateTimeText(ChatFixture::fixedTime());
}

// One entry per distinct character format on a line: "face|size|bold italic|colour".
QStringList lineFormats(const QTextBlock &block)
{
    QStringList formats;
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat format = it.fragment().charFormat();
        QStringList style;
        if (format.fontWeight() >= QFont::Bold)
            style << QStringLiteral("bold");
        if (format.fontItalic())
            style << QStringLiteral("italic");
        const QString entry = format.fontFamilies().toStringList().join(QLatin1Char(',')) + QLatin1Char('|')
            + QString::number(format.fontPointSize()) + QLatin1Char('|') + style.join(QLatin1Char(' '))
            + QLatin1Char('|') + format.foreground().color().name();
        if (!formats.contains(entry))
            formats << entry;
    }
    return formats;
}

void setOwnLineLook(TDisplaySettings &settings, const QColor &color)
{
    settings.ChatFontName = QStringLiteral("DejaVu Serif");
    settings.ChatFontSize = 14;
    settings.ChatFontStyle = FontStyleFlag::Bold;
    settings.MyTextColor = color;
}

} // namespace

class TestTranscript : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timeFormatWithoutZone_data();
    void timeFormatWithoutZone();
    void dateTime_data();
    void dateTime();
    void localClockGivesTheSystemsSecond();
    void dateTimeInSequence();
    void safeText_data();
    void safeText();
    void ownLine_data();
    void ownLine();
    void receivedLine_data();
    void receivedLine();
    void receivedLineKeepsPreviousFace();
    void settingsDoNotRecolourOldLines();
    void appendsAtEndWhateverTheSelection();
    void burstKeepsOrder_data();
    void burstKeepsOrder();
    void floodDrawnOncePerFrame();
    void linesTogetherAsOneByOne_data();
    void linesTogetherAsOneByOne();
    void linesOutOfViewPlacedInOrder();
    void clearStartsAtBeginning();
    void failedSendKeepsInput_data();
    void failedSendKeepsInput();
};

void TestTranscript::timeFormatWithoutZone_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("expected");
    QTest::newRow("zone last") << "h:mm:ss AP t" << "h:mm:ss AP";
    QTest::newRow("zone first") << "t HH:mm:ss" << "HH:mm:ss";
    QTest::newRow("zone in brackets") << "H:mm:ss (t)" << "H:mm:ss";
    QTest::newRow("long zone name") << "HH:mm:ss tttt" << "HH:mm:ss";
    QTest::newRow("quoted t is literal") << "H:mm:ss 'ч'. t" << "H:mm:ss 'ч'.";
    QTest::newRow("quoted word with t") << "HH 'at' mm:ss" << "HH 'at' mm:ss";
    QTest::newRow("no zone") << "HH:mm:ss" << "HH:mm:ss";
}

void TestTranscript::timeFormatWithoutZone()
{
    QFETCH(QString, format);
    QFETCH(QString, expected);
    QCOMPARE(::timeFormatWithoutZone(format), expected);
}

void TestTranscript::dateTime_data()
{
    QTest::addColumn<QString>("locale");
    QTest::addColumn<QDateTime>("when");
    QTest::addColumn<QString>("expected");

    const QDate day(2024, 3, 5);
    QTest::newRow("en_US afternoon") << "en_US" << QDateTime(day, QTime(14, 7, 9)) << "3/5/24 2:07:09 PM";
    QTest::newRow("de_DE") << "de_DE" << QDateTime(day, QTime(14, 7, 9)) << "05.03.24 14:07:09";
    QTest::newRow("zone first (zh_CN)") << "zh_CN" << QDateTime(day, QTime(9, 0, 5)) << "2024/3/5 09:00:05";
    QTest::newRow("C") << "C" << QDateTime(day, QTime(23, 59, 59)) << "5 Mar 2024 23:59:59";
    QTest::newRow("midnight: date only") << "en_US" << QDateTime(day, QTime(0, 0, 0)) << "3/5/24";
    QTest::newRow("milliseconds do not count") << "de_DE" << QDateTime(day, QTime(0, 0, 0, 500))
                                               << "05.03.24";
    QTest::newRow("one second past midnight") << "en_US" << QDateTime(day, QTime(0, 0, 1))
                                              << "3/5/24 12:00:01 AM";
    QTest::newRow("UTC time carries no zone") << "en_GB" << QDateTime(day, QTime(8, 30, 0), Qt::UTC)
                                              << "05/03/2024 08:30:00";
}

void TestTranscript::dateTime()
{
    QFETCH(QString, locale);
    QFETCH(QDateTime, when);
    QFETCH(QString, expected);
    QCOMPARE(dateTimeText(when, QLocale(locale)), expected);
}

// Calls in a row, as a flood makes them: each answer must belong to its own second and locale,
// whatever was asked just before.
void TestTranscript::dateTimeInSequence()
{
    const QDate day(2024, 3, 5);
    const QLocale us(QStringLiteral("en_US"));
    const QLocale de(QStringLiteral("de_DE"));
    const struct
    {
        QDateTime when;
        QLocale locale;
        QString expected;
    } calls[] = {
        {QDateTime(day, QTime(14, 7, 9, 10)), us, QStringLiteral("3/5/24 2:07:09 PM")},
        {QDateTime(day, QTime(14, 7, 9, 990)), us, QStringLiteral("3/5/24 2:07:09 PM")},
        {QDateTime(day, QTime(14, 7, 9, 990)), de, QStringLiteral("05.03.24 14:07:09")},
        {QDateTime(day, QTime(14, 7, 10)), de, QStringLiteral("05.03.24 14:07:10")},
        {QDateTime(day.addDays(1), QTime(14, 7, 10)), de, QStringLiteral("06.03.24 14:07:10")},
        {QDateTime(day.addDays(1), QTime(0, 0, 0, 400)), de, QStringLiteral("06.03.24")},
        {QDateTime(day.addDays(1), QTime(0, 0, 0, 600)), us, QStringLiteral("3/6/24")},
        {QDateTime(day.addDays(1), QTime(0, 0, 1)), us, QStringLiteral("3/6/24 12:00:01 AM")},
    };
    for (const auto &call : calls)
        QCOMPARE(dateTimeText(call.when, call.locale), call.expected);
}

void TestTranscript::safeText_data()
{
    QTest::addColumn<QString>("received");
    QTest::addColumn<QString>("shown");

    QTest::newRow("plain") << "hello" << "hello";
    QTest::newRow("markup stays text") << "<b>hi</b> &amp; <img src=x>" << "<b>hi</b> &amp; <img src=x>";
    QTest::newRow("tab kept") << "a\tb" << "a\tb";
    QTest::newRow("embedded LF") << "a\nb" << QStringLiteral("a\u240Ab");
    QTest::newRow("forged own line") << "hi\r\nN0CALL>send your key\r\n"
                                     << QStringLiteral("hi\u240D\u240AN0CALL>send your key");
    QTest::newRow("one trailing CR LF dropped") << "hi\r\n" << "hi";
    QTest::newRow("one trailing CR dropped") << "hi\r" << "hi";
    QTest::newRow("one trailing LF dropped") << "hi\n" << "hi";
    QTest::newRow("only the last break dropped") << "hi\n\n" << QStringLiteral("hi\u240A");
    QTest::newRow("LF CR: CR dropped") << "hi\n\r" << QStringLiteral("hi\u240A");
    QTest::newRow("break alone") << "\r\n" << "";
    QTest::newRow("empty") << "" << "";
    QTest::newRow("NUL ESC DEL") << QString::fromLatin1("\x01\x1b[31m\x7f", 7)
                                 << QStringLiteral("\u2401\u241B[31m\u2421");
    QTest::newRow("NUL") << QString(QChar(0)) << QStringLiteral("\u2400");
    QTest::newRow("unit separator") << "\x1f" << QStringLiteral("\u241F");
    QTest::newRow("Unicode line breaks") << QStringLiteral("a\u2028b\u2029c\u0085d")
                                         << QStringLiteral("a\u2424b\u2424c\u2424d");
    QTest::newRow("frame markers") << QStringLiteral("a\uFDD0b\uFDD1") << QStringLiteral("a\uFFFDb\uFFFD");
    QTest::newRow("non-ASCII and emoji") << QStringLiteral("Grüße \U0001F4FB") << QStringLiteral("Grüße \U0001F4FB");
}

void TestTranscript::safeText()
{
    QFETCH(QString, received);
    QFETCH(QString, shown);
    QCOMPARE(transcriptSafeText(received), shown);
}

void TestTranscript::ownLine_data()
{
    QTest::addColumn<bool>("showDateTime");
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("viaButton");
    QTest::addColumn<QString>("line");   // after the date/time and its space, if shown

    QTest::newRow("Enter, date/time") << true << "DL1ABC" << "hello" << false << "DL1ABC>hello";
    QTest::newRow("Send button") << true << "DL1ABC" << "hello" << true << "DL1ABC>hello";
    QTest::newRow("no date/time") << false << "DL1ABC" << "hello" << false << "DL1ABC>hello";
    QTest::newRow("empty call sign") << true << "" << "hi" << false << ">hi";
    QTest::newRow("empty call sign, no date/time") << false << "" << "hi" << false << ">hi";
    QTest::newRow("empty input line") << true << "DL1ABC" << "" << false << "DL1ABC>";
    QTest::newRow("leading blanks kept") << false << "DL1ABC" << "  hi" << false << "DL1ABC>  hi";
    QTest::newRow("markup stays text") << true << "DL1ABC" << "<b>hi</b> &amp; <img src=x>" << false
                                       << "DL1ABC><b>hi</b> &amp; <img src=x>";
    QTest::newRow("non-ASCII") << true << QStringLiteral("ÖE1ŽŠ") << QStringLiteral("Grüße \U0001F4FB")
                               << true << QStringLiteral("ÖE1ŽŠ>Grüße \U0001F4FB");
}

void TestTranscript::ownLine()
{
    QFETCH(bool, showDateTime);
    QFETCH(QString, callsign);
    QFETCH(QString, text);
    QFETCH(bool, viaButton);
    QFETCH(QString, line);

    ChatFixture chat(callsign);
    chat.showDateTime(showDateTime);
    setOwnLineLook(chat.window->displaySettings(), QColor(200, 0, 0));
    chat.window->displaySettings().ChatFontStyle = FontStyleFlag::Bold | FontStyleFlag::Italic;
    const int before = chat.lineCount();

    chat.input->setText(text);
    if (viaButton)
        chat.window->findChild<QPushButton *>(QStringLiteral("Button1"))->click();
    else
        QTest::keyClick(chat.input, Qt::Key_Return);

    QCOMPARE(chat.lineCount(), before + 1);
    QCOMPARE(chat.lastLine().text(), (showDateTime ? stamp() + QLatin1Char(' ') : QString()) + line);
    // The whole line, prefix included, in the own-line look; nothing became markup.
    QCOMPARE(lineFormats(chat.lastLine()), QStringList{QStringLiteral("DejaVu Serif|14|bold italic|#c80000")});
    QVERIFY(!chat.transcript->document()->toHtml().contains(QLatin1String("<img")));
    QCOMPARE(chat.sent(), QStringList{text});
    QCOMPARE(chat.input->text(), QString());
}

void TestTranscript::receivedLine_data()
{
    QTest::addColumn<bool>("showDateTime");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");   // after the date/time and its space, if shown

    QTest::newRow("date/time") << true << "W1AW>hi" << "W1AW>hi";
    QTest::newRow("no date/time: text alone") << false << "W1AW>hi" << "W1AW>hi";
    QTest::newRow("empty text still ends its line") << true << "" << "";
    QTest::newRow("empty text, no date/time") << false << "" << "";
    QTest::newRow("markup stays text") << true << "<b>hi</b> &amp; <img src=x>" << "<b>hi</b> &amp; <img src=x>";
    QTest::newRow("embedded breaks stay on one line")
        << false << "a\rb\nN0CALL>forged\r\n" << QStringLiteral("a\u240Db\u240AN0CALL>forged");
}

void TestTranscript::receivedLine()
{
    QFETCH(bool, showDateTime);
    QFETCH(QString, text);
    QFETCH(QString, line);

    ChatFixture chat;
    chat.showDateTime(showDateTime);
    chat.window->displaySettings().RecvTextColor = QColor(0, 0, 255);
    const int before = chat.lineCount();
    chat.receive(text);

    QCOMPARE(chat.lineCount(), before + 1);
    QCOMPARE(chat.lastLine().text(), (showDateTime ? stamp() + QLatin1Char(' ') : QString()) + line);
    if (!chat.lastLine().text().isEmpty())
        QVERIFY(lineFormats(chat.lastLine()).constFirst().endsWith(QLatin1String("|#0000ff")));
    QVERIFY(!chat.transcript->document()->toHtml().contains(QLatin1String("<img")));
    QVERIFY(chat.sent().isEmpty());
}

void TestTranscript::receivedLineKeepsPreviousFace()
{
    ChatFixture chat;
    chat.showDateTime(false);
    setOwnLineLook(chat.window->displaySettings(), QColor(200, 0, 0));
    chat.window->displaySettings().RecvTextColor = QColor(0, 0, 255);
    chat.send(QStringLiteral("mine"));
    chat.receive(QStringLiteral("theirs"));
    QCOMPARE(lineFormats(chat.lastLine()), QStringList{QStringLiteral("DejaVu Serif|14|bold|#0000ff")});

    // An empty received text still carries the look on to the next line.
    chat.receive(QString());
    chat.receive(QStringLiteral("again"));
    QCOMPARE(lineFormats(chat.lastLine()), QStringList{QStringLiteral("DejaVu Serif|14|bold|#0000ff")});
}

void TestTranscript::settingsDoNotRecolourOldLines()
{
    ChatFixture chat;
    TDisplaySettings &settings = chat.window->displaySettings();
    setOwnLineLook(settings, QColor(200, 0, 0));
    settings.RecvTextColor = QColor(0, 0, 255);
    chat.send(QStringLiteral("mine"));
    chat.receive(QStringLiteral("theirs"));
    const QTextBlock own = chat.lastLine().previous();
    const QTextBlock received = chat.lastLine();

    settings.ChatFontName = QStringLiteral("DejaVu Sans Mono");
    settings.ChatFontSize = 20;
    settings.ChatFontStyle = FontStyleFlag::Italic;
    settings.MyTextColor = QColor(0, 128, 0);
    settings.RecvTextColor = QColor(128, 0, 128);
    chat.send(QStringLiteral("new"));

    QCOMPARE(lineFormats(own), QStringList{QStringLiteral("DejaVu Serif|14|bold|#c80000")});
    QCOMPARE(lineFormats(received), QStringList{QStringLiteral("DejaVu Serif|14|bold|#0000ff")});
    QCOMPARE(lineFormats(chat.lastLine()), QStringList{QStringLiteral("DejaVu Sans Mono|20|italic|#008000")});
}

void TestTranscript::appendsAtEndWhateverTheSelection()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.receive(QStringLiteral("first"));
    const QString before = chat.transcript->toPlainText();

    // The operator selects a word in the middle, then a line arrives and one is sent.
    QTextCursor selection(chat.transcript->document());
    selection.setPosition(3);
    selection.setPosition(8, QTextCursor::KeepAnchor);
    chat.transcript->setTextCursor(selection);
    chat.receive(QStringLiteral("second"));
    chat.send(QStringLiteral("third"));

    QCOMPARE(chat.transcript->toPlainText(), before + QStringLiteral("second\nN0CALL>third\n"));
    QVERIFY(!chat.transcript->textCursor().hasSelection());
    QCOMPARE(chat.transcript->textCursor().position(), chat.transcript->document()->characterCount() - 1);
}

void TestTranscript::burstKeepsOrder_data()
{
    // Events of one burst: "r:TEXT" a received line, "c:CALL" a station connecting.
    QTest::addColumn<QStringList>("events");
    QTest::addColumn<QString>("atConnect");
    QTest::addColumn<QString>("shown");
    QTest::newRow("lines only") << QStringList{"r:a", "r:b", "r:c"} << "" << "a\nb\nc\n";
    QTest::newRow("station between lines") << QStringList{"r:a", "c:W1AW", "r:b"} << "a\n" << "a\nb\n";
    QTest::newRow("station first") << QStringList{"c:W1AW", "r:a"} << "" << "a\n";
    QTest::newRow("empty lines still break") << QStringList{"r:", "r:", "r:x"} << "" << "\n\nx\n";
}

void TestTranscript::burstKeepsOrder()
{
    QFETCH(QStringList, events);
    QFETCH(QString, atConnect);
    QFETCH(QString, shown);

    ChatFixture chat;
    chat.showDateTime(false);
    chat.trigger("ClearScreen1");
    QString seenAtConnect;
    // Connected after the window, so this sees what the window had done by then.
    connect(chat.window->findChild<TTarnWaveSession *>(QStringLiteral("TarnWaveSession1")),
            &TTarnWaveSession::OnConnected, this, [&] { seenAtConnect = chat.transcript->toPlainText(); });

    Q_EMIT chat.transport.burstStarted();
    for (const QString &event : std::as_const(events)) {
        if (event.startsWith(QLatin1String("r:")))
            chat.receive(event.mid(2));
        else
            chat.transport.fire(QStringLiteral("OnConnected"), {event.mid(2), QString(), QString()});
    }
    Q_EMIT chat.transport.burstFinished();

    QCOMPARE(seenAtConnect, atConnect);
    QCOMPARE(chat.transcript->toPlainText(), shown);
    // As separate lines would be: each in the received colour, the caret after the last.
    for (QTextBlock block = chat.transcript->document()->begin(); block != chat.lastLine().next(); block = block.next()) {
        for (const QString &format : lineFormats(block))
            QVERIFY2(format.endsWith(chat.window->displaySettings().RecvTextColor.name()), qPrintable(format));
    }
    QCOMPARE(chat.transcript->textCursor().position(), chat.transcript->document()->characterCount() - 1);
    chat.send(QStringLiteral("mine"));
    QCOMPARE(chat.transcript->toPlainText(), shown + QStringLiteral("N0CALL>mine\n"));
}

void TestTranscript::localClockGivesTheSystemsSecond()
{
    // Local time to the second, as the system gives it, between two asks of the system: asked
    // early in a second and late in one, where a clock that rounded would be a second ahead.
    // Each half is waited for clear of its edges, so that the three asks fall inside it.
    const auto inHalf = [](bool late) {
        const int ms = QTime::currentTime().msec();
        return late ? ms >= 550 && ms < 950 : ms >= 50 && ms < 450;
    };
    const bool lateFirst = QTime::currentTime().msec() >= 500;
    LocalClock clock;
    for (const bool late : {lateFirst, !lateFirst}) {
        QVERIFY(QTest::qWaitFor([&inHalf, late] { return inHalf(late); }, 2000));
        const QDateTime before = QDateTime::currentDateTime();
        const QDateTime now = clock();
        const QDateTime after = QDateTime::currentDateTime();
        QCOMPARE(now.timeSpec(), Qt::LocalTime);
        QCOMPARE(now.time().msec(), 0);
        QVERIFY2(now.toSecsSinceEpoch() >= before.toSecsSinceEpoch() && now.toSecsSinceEpoch() <= after.toSecsSinceEpoch(),
                 qPrintable(now.toString(Qt::ISODate)));
        QVERIFY(now.date() == before.date() || now.date() == after.date());
        // The stamp a line gets is the one the system's own time would give.
        QVERIFY(dateTimeText(now) == dateTimeText(before) || dateTimeText(now) == dateTimeText(after));
    }
}

void TestTranscript::floodDrawnOncePerFrame()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.trigger("ClearScreen1");
    const QWidget *viewport = chat.transcript->viewport();
    const QWidget *scrollBar = chat.transcript->verticalScrollBar();
    QElapsedTimer sinceFirst;
    const auto burst = [&chat](const QString &text) {
        Q_EMIT chat.transport.burstStarted();
        chat.receive(text);
        Q_EMIT chat.transport.burstFinished();
    };

    burst(QStringLiteral("a"));
    sinceFirst.start();
    QVERIFY2(viewport->updatesEnabled(), "a burst after a quiet frame is drawn at once");
    burst(QStringLiteral("b"));
    burst(QStringLiteral("c"));
    if (sinceFirst.elapsed() < TranscriptRepaintPacer::FrameMs) {
        QVERIFY2(!viewport->updatesEnabled(), "bursts within one frame wait for its end");
        QVERIFY2(!scrollBar->updatesEnabled(), "the scroll bar waits with the view");
    }
    // Only the drawing waits: the lines are in, in order, and the view follows them.
    QCOMPARE(chat.transcript->toPlainText(), QStringLiteral("a\nb\nc\n"));
    QCOMPARE(chat.transcript->textCursor().position(), chat.transcript->document()->characterCount() - 1);
    QTRY_VERIFY(viewport->updatesEnabled());
    QVERIFY(scrollBar->updatesEnabled());
    // The scroll bar shows the end, where the view is.
    QCOMPARE(chat.transcript->verticalScrollBar()->value(), chat.transcript->verticalScrollBar()->maximum());
    // A line sent meanwhile still goes after them.
    chat.send(QStringLiteral("mine"));
    QCOMPARE(chat.transcript->toPlainText(), QStringLiteral("a\nb\nc\nN0CALL>mine\n"));
}

void TestTranscript::linesTogetherAsOneByOne_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("atEnd");
    QTest::newRow("at the end") << QStringList{"one", "", "three"} << true;
    QTest::newRow("one line") << QStringList{"only"} << true;
    QTest::newRow("within the text") << QStringList{"one", "two"} << false;
    QTest::newRow("a line with breaks of its own") << QStringList{"a\nb", "c\rd", QString(QChar(0x2029)) + "e"} << true;
    QTest::newRow("other separators stay in the line") << QStringList{QString(QChar(0x2028)) + "x\tq"} << true;
}

// Gathered lines go in as the same blocks and formats as lines appended one at a time.
void TestTranscript::linesTogetherAsOneByOne()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, atEnd);
    TDisplaySettings settings;
    settings.setDefaults();
    setOwnLineLook(settings, QColor(200, 0, 0));
    QTextDocument together;
    QTextDocument oneByOne;
    for (QTextDocument *document : {&together, &oneByOne}) {
        QTextCursor cursor(document);
        appendOwnLine(cursor, 0, settings, QStringLiteral("N0CALL>"), QStringLiteral("before"));
    }
    const int insertPos = atEnd ? transcriptLength(together) : 3;
    const QColor color(0, 0, 255);

    QTextCursor caret(&together);
    appendReceivedLines(caret, insertPos, color, lines);
    QTextCursor other(&oneByOne);
    int position = insertPos;
    for (const QString &line : std::as_const(lines)) {
        appendReceivedLine(other, position, color, line);
        position = transcriptLength(oneByOne);
    }

    QCOMPARE(together.toRawText(), oneByOne.toRawText());
    QCOMPARE(together.blockCount(), oneByOne.blockCount());
    QCOMPARE(caret.position(), other.position());
    for (QTextBlock a = together.begin(), b = oneByOne.begin(); a.isValid(); a = a.next(), b = b.next()) {
        QCOMPARE(lineFormats(a), lineFormats(b));
        QVERIFY(a.charFormat() == b.charFormat());
        QVERIFY(a.blockFormat() == b.blockFormat());
    }
}

// Lines that arrive while the view is elsewhere are laid out only when reached; meanwhile
// they are in the document in order and take their places, so the view and the scroll bar
// are right once they are drawn.
void TestTranscript::linesOutOfViewPlacedInOrder()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.trigger("ClearScreen1");
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowExposed(chat.window.get()));
    for (int i = 0; i < 100; ++i)
        chat.receive(QStringLiteral("early %1").arg(i));
    QCoreApplication::processEvents();
    chat.transcript->verticalScrollBar()->setValue(0);
    QCoreApplication::processEvents();

    // Short lines, a long one that wraps, other scripts, an empty one: laid out now or later.
    QStringList later;
    for (int i = 0; i < 100; ++i)
        later << QStringLiteral("later %1").arg(i);
    later[10] = QStringLiteral("wrapping ").repeated(60);
    later[20] = QStringLiteral("\u041F\u0440\u0438\u0432\u0435\u0442 \u4F60\u597D");
    later[30] = QString();
    Q_EMIT chat.transport.burstStarted();
    for (const QString &line : std::as_const(later))
        chat.receive(line);
    Q_EMIT chat.transport.burstFinished();
    QCoreApplication::processEvents();

    const QTextDocument &document = *chat.transcript->document();
    QCOMPARE(chat.lineCount(), 200);
    QTextBlock block = chat.lastLine();
    for (qsizetype i = later.size() - 1; i >= 0; --i, block = block.previous())
        QCOMPARE(block.text(), later[i]);
    QCOMPARE(chat.transcript->verticalScrollBar()->value(), 0);

    // A short line out of view is not laid out yet: in a flood that is most of them.
    QCOMPARE(document.findBlockByNumber(document.blockCount() - 50).layout()->lineCount(), 0);

    // Every line measured stacks on the one before, without gaps or overlaps, however late it
    // is laid out, and the document ends where its last line does.
    const QAbstractTextDocumentLayout &layout = *document.documentLayout();
    for (QTextBlock line = document.begin().next(); line.isValid(); line = line.next()) {
        QCOMPARE(layout.blockBoundingRect(line).top(), layout.blockBoundingRect(line.previous()).bottom());
        QVERIFY(line.layout()->lineCount() > 0);
    }
    QCOMPARE(layout.documentSize().height(),
             layout.blockBoundingRect(document.lastBlock()).bottom() + document.documentMargin());
    QVERIFY(chat.lastLine().previous().previous().layout()->lineCount() == 1);
    QVERIFY(document.findBlockByNumber(document.blockCount() - 91).layout()->lineCount() > 1);

    // Back at the end, the view shows the last lines, drawn.
    QTest::keyClick(chat.transcript, Qt::Key_End, Qt::ControlModifier);
    QCoreApplication::processEvents();
    QCOMPARE(chat.transcript->verticalScrollBar()->value(), chat.transcript->verticalScrollBar()->maximum());
}

void TestTranscript::clearStartsAtBeginning()
{
    ChatFixture chat;
    chat.showDateTime(false);
    chat.receive(QStringLiteral("old"));
    chat.trigger("ClearScreen1");
    chat.send(QStringLiteral("x"));
    chat.receive(QStringLiteral("y"));
    QCOMPARE(chat.transcript->toPlainText(), QStringLiteral("N0CALL>x\ny\n"));
}

void TestTranscript::failedSendKeepsInput_data()
{
    QTest::addColumn<bool>("noServer");
    QTest::addColumn<QString>("message");
    QTest::newRow("server error") << false << "The session server reported an error.";
    QTest::newRow("no session object") << true << "Not connected to the session server.";
}

void TestTranscript::failedSendKeepsInput()
{
    QFETCH(bool, noServer);
    QFETCH(QString, message);

    ErrorCapture errors;
    FakeSessionTransport transport;
    if (noServer)
        transport.missingServers.insert(QString::fromLatin1(TarnWave_TLB::SessionProgId));
    transport.failingMethod = QStringLiteral("SendChatText");
    TForm1 window(transport, nullptr, localPresence());
    window.findChild<QAction *>(QStringLiteral("ShowDateTime1"))->setChecked(false);
    errors.messages.clear();

    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    input->setText(QStringLiteral("hello"));
    QTest::keyClick(input, Qt::Key_Return);

    QCOMPARE(errors.messages, QStringList{message});
    QCOMPARE(input->text(), QStringLiteral("hello"));
    const QTextEdit *transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    QVERIFY(transcript->toPlainText().endsWith(
        (noServer ? QString() : QStringLiteral("N0CALL")) + QStringLiteral(">hello\n")));
}

QTEST_MAIN(TestTranscript)
#include "tst_transcript.moc"
