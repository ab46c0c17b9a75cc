#include "ErrorCapture.h"
#include "EventLoopDrain.h"
#include "FakeSessionTransport.h"
#include "LocalPresence.h"

#include "main_window/TForm1.h"
#include "session/TarnWave_TLB.h"

#include <QAction>
#include <QFrame>
#include <QHelpEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>
#include <QTextEdit>
#include <QToolTip>

namespace {

QColor background(const QLabel &label)
{
    return label.palette().color(QPalette::Window);
}

const QLabel &label(const TForm1 &window, const char *name)
{
    return *window.findChild<QLabel *>(QString::fromLatin1(name));
}

// "rx on", "tx off", "connect CALL", "disconnect CALL": the rest of the line is the argument;
// "lost" and "back": the server dies without OnClosing, and runs again.
void fireEvent(FakeSessionTransport &transport, const QString &event)
{
    const qsizetype blank = event.indexOf(u' ');
    const QString verb = event.left(blank);
    const QString argument = blank < 0 ? QString() : event.mid(blank + 1);
    if (verb == u"rx")
        transport.fire(QStringLiteral("OnRX"), {argument == u"on"});
    else if (verb == u"tx")
        transport.fire(QStringLiteral("OnTX"), {argument == u"on"});
    else if (verb == u"connect")
        transport.fire(QStringLiteral("OnConnected"),
                       {argument, QStringLiteral("Name"), QStringLiteral("10.0.0.1")});
    else if (verb == u"disconnect")
        transport.fire(QStringLiteral("OnDisconnected"), {argument});
    else if (verb == u"lost")
        transport.crash();
    else if (verb == u"back")
        transport.restart();
    else
        QFAIL(qPrintable(QStringLiteral("unknown test event ") + event));
}

} // namespace

class TestLinkStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void eventSequences_data();
    void eventSequences();
    void labelsArePlainText();
    void eventsAfterStartupStoppedEarly();
    void stationText_data();
    void stationText();
    void stationTextReplacesAndShowsBeginning();
    void stationListFollowsItsText();
    void longStationListKeepsTheLayout();
    void elidedListShowsEscapedToolTip();
};

void TestLinkStatus::eventSequences_data()
{
    QTest::addColumn<int>("peers");
    QTest::addColumn<QString>("events");
    QTest::addColumn<QString>("indicator");
    QTest::addColumn<QString>("connection");
    QTest::addColumn<QString>("stations");

    // Events separated by "; "; an indicator in parentheses is hidden; the station list label
    // shows whenever its caption is not empty.
    const auto row = [](const char *name, int peers, const char *events, const char *indicator,
                        const char *connection, const char *stations) {
        QTest::newRow(name) << peers << QString::fromUtf8(events) << QString::fromUtf8(indicator)
                            << QString::fromUtf8(connection) << QString::fromUtf8(stations);
    };
    const char *on = "Connected";
    const char *off = "Disconnect";

    row("at start", 0, "", "(RX)", off, "");
    row("receiving", 0, "rx on", "RX", off, "");
    row("receiving ends", 0, "rx on; rx off", "(RX)", off, "");
    row("transmitting", 0, "tx on", "TX", off, "");
    row("transmitting ends", 0, "tx on; tx off", "(TX)", off, "");
    // A keyed transmitter stays on show whatever the receiver reports.
    row("receiver ends while keyed", 0, "rx on; tx on; rx off", "TX", off, "");
    row("receiver starts while keyed", 0, "tx on; rx on", "TX", off, "");
    row("unkeyed while receiving", 0, "rx on; tx on; tx off", "RX", off, "");
    row("both end", 0, "rx on; tx on; rx off; tx off", "(TX)", off, "");
    row("both end, receiver last", 0, "tx on; rx on; tx off; rx off", "(RX)", off, "");
    row("repeated off", 0, "tx off; tx off", "(TX)", off, "");

    row("one station", 0, "connect W1AW", "(RX)", on, "W1AW");
    row("two stations in order", 0, "connect W1AW; connect K1ABC", "(RX)", on, "W1AW,K1ABC");
    row("first of two leaves", 0, "connect W1AW; connect K1ABC; disconnect W1AW", "(RX)", on, "K1ABC");
    row("last one leaves", 0, "connect W1AW; disconnect W1AW", "(RX)", off, "");
    row("same call twice, one leaves in other case", 0, "connect DL1ABC; connect DL1ABC; disconnect dl1abc",
        "(RX)", on, "DL1ABC");
    row("first equal entry counts", 0, "connect W1AW; connect K1ABC; connect w1aw; disconnect W1aw",
        "(RX)", on, "K1ABC,w1aw");
    // An unknown call sign leaves the remaining stations on show.
    row("unknown call while others remain", 0, "connect W1AW; disconnect K1ABC", "(RX)", on, "W1AW");
    row("unknown call, then a new station", 0, "connect W1AW; disconnect K1ABC; connect N0XYZ", "(RX)", on,
        "W1AW,N0XYZ");
    row("disconnect on an empty list", 0, "disconnect W1AW", "(RX)", off, "");

    // A server that dies takes its link with it; one that runs again is asked for its peers.
    row("server lost while busy", 0, "rx on; tx on; connect W1AW; connect K1ABC; lost", "(RX)", off, "");
    row("server lost while unkeyed", 0, "tx on; tx off; lost", "(RX)", off, "");
    row("nothing arrives from a lost server", 0, "lost; connect W1AW; rx on", "(RX)", off, "");
    row("back with peers", 2, "connect W1AW; lost; back", "(RX)", on, "");
    row("back, then a station joins", 0, "connect W1AW; lost; back; connect K1ABC", "(RX)", on, "K1ABC");
    row("back, then receiving", 0, "tx on; lost; back; rx on", "RX", off, "");
    row("peers at start, disconnect on an empty list", 2, "disconnect W1AW", "(RX)", off, "");
    row("peers at start, a station joins", 1, "connect W1AW", "(RX)", on, "W1AW");
    row("peers at start, nothing else", 1, "", "(RX)", on, "");
    row("entry with a space is quoted", 0, "connect W1AW; connect DL1ABC Hans", "(RX)", on,
        "W1AW,\"DL1ABC Hans\"");
    row("empty call sign", 0, "connect ", "(RX)", on, "\"\"");
    row("empty call sign leaves", 0, "connect ; connect A; disconnect ", "(RX)", on, "A");
    row("markup is a call sign like any other", 0, "connect <b>X</b>; connect <img src=x>", "(RX)", on,
        "<b>X</b>,\"<img src=x>\"");
    row("case-insensitive beyond ASCII", 0,
        "connect ÖE1ŽŠ; connect ΣΟΦΙΑ; disconnect öe1žš; disconnect σοφια", "(RX)", off, "");
    row("case-insensitive outside the BMP", 0, "connect \U00010400X; connect K; disconnect \U00010428x",
        "(RX)", on, "K");
    row("different letters stay", 0, "connect STRASSE; disconnect straße", "(RX)", on, "STRASSE");
    row("status and stations are independent", 0, "tx on; connect W1AW; rx on; disconnect W1AW", "TX", off,
        "");
}

void TestLinkStatus::eventSequences()
{
    QFETCH(int, peers);
    QFETCH(QString, events);
    QFETCH(QString, indicator);
    QFETCH(QString, connection);
    QFETCH(QString, stations);

    const QHash<QString, QColor> colorOf{
        {QStringLiteral("RX"), QColor(0, 128, 0)},
        {QStringLiteral("TX"), QColor(255, 0, 0)},
        {QStringLiteral("Connected"), QColor(0, 0, 255)},
        {QStringLiteral("Disconnect"), QColor(128, 128, 128)},
    };

    ErrorCapture errors;
    FakeSessionTransport transport;
    transport.setSessionProperty(QStringLiteral("NumPeers"), peers);
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    for (const QString &event : events.split(QStringLiteral("; "), Qt::SkipEmptyParts))
        fireEvent(transport, event);

    const bool indicatorHidden = indicator.startsWith(u'(');
    const QString caption = indicatorHidden ? indicator.mid(1, indicator.size() - 2) : indicator;
    const QLabel &rxtx = label(window, "StaticText1");
    QCOMPARE(rxtx.text(), caption);
    QCOMPARE(background(rxtx), colorOf.value(caption));
    QCOMPARE(rxtx.isVisible(), !indicatorHidden);

    const QLabel &link = label(window, "StaticText2");
    QCOMPARE(link.text(), connection);
    QCOMPARE(background(link), colorOf.value(connection));
    QVERIFY(link.isVisible());

    const QLabel &list = label(window, "StaticText3");
    QCOMPARE(list.text(), stations);
    QCOMPARE(list.isVisible(), !stations.isEmpty());
    QCOMPARE(background(list), QColor(255, 255, 0));
    QCOMPARE(list.palette().color(QPalette::WindowText), QColor(255, 0, 0));

    QCOMPARE(errors.messages, QStringList());
}

void TestLinkStatus::labelsArePlainText()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    fireEvent(transport, QStringLiteral("connect <b>bold</b>"));
    for (const char *name : {"StaticText1", "StaticText2", "StaticText3"})
        QCOMPARE(label(window, name).textFormat(), Qt::PlainText);

    // Rendered as markup the text would be shorter than its literal form.
    const QLabel &list = label(window, "StaticText3");
    QTRY_VERIFY(list.width() >= list.fontMetrics().horizontalAdvance(QStringLiteral("<b>bold</b>")));
}

// Start-up stopped before the station lists would have been set up; the events still show.
void TestLinkStatus::eventsAfterStartupStoppedEarly()
{
    ErrorCapture errors;
    FakeSessionTransport transport;
    transport.missingServers.insert(QString::fromLatin1(TarnWave_TLB::SetupConfigProgId));
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QCOMPARE(errors.messages.size(), 1);

    fireEvent(transport, QStringLiteral("connect W1AW"));
    fireEvent(transport, QStringLiteral("tx on"));
    transport.fire(QStringLiteral("OnStationTextReceived"), {QStringLiteral("a\nb")});
    QCOMPARE(label(window, "StaticText3").text(), QStringLiteral("W1AW"));
    QCOMPARE(label(window, "StaticText2").text(), QStringLiteral("Connected"));
    QVERIFY(label(window, "StaticText1").isVisible());
    const auto *station = window.findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));
    QCOMPARE(station->toPlainText(), QStringLiteral("a\nb"));
    QCOMPARE(errors.messages.size(), 1);
}

void TestLinkStatus::stationText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("panelShown");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<int>("lines");

    for (const bool panel : {false, true}) {
        const char *where = panel ? "shown" : "hidden";
        QTest::addRow("mixed breaks, %s", where) << "one\r\ntwo\rthree\n" << panel << "one\ntwo\nthree" << 3;
        QTest::addRow("empty, %s", where) << "" << panel << "" << 1;
        QTest::addRow("markup stays literal, %s", where)
            << "<a href=x>link</a>\n<img src=x>" << panel << "<a href=x>link</a>\n<img src=x>" << 2;
        QTest::addRow("blank lines, %s", where) << "a\n\nb" << panel << "a\n\nb" << 3;
    }
}

void TestLinkStatus::stationText()
{
    QFETCH(QString, text);
    QFETCH(bool, panelShown);
    QFETCH(QString, shown);
    QFETCH(int, lines);

    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    if (panelShown)
        window.findChild<QAction *>(QStringLiteral("ShowHideStationlist1"))->trigger();
    transport.fire(QStringLiteral("OnStationTextReceived"), {text});

    const auto *station = window.findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));
    QCOMPARE(station->toPlainText(), shown);
    QCOMPARE(station->document()->blockCount(), lines);
    QCOMPARE(station->textCursor().position(), 0);
    QCOMPARE(window.findChild<QFrame *>(QStringLiteral("Panel3"))->isVisible(), panelShown);
}

void TestLinkStatus::stationTextReplacesAndShowsBeginning()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    window.findChild<QAction *>(QStringLiteral("ShowHideStationlist1"))->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *station = window.findChild<QPlainTextEdit *>(QStringLiteral("StationWindow"));

    QStringList many;
    for (int i = 1; i <= 300; ++i)
        many << QStringLiteral("line %1").arg(i);
    transport.fire(QStringLiteral("OnStationTextReceived"), {many.join(QStringLiteral("\r\n"))});
    QCOMPARE(station->document()->blockCount(), 300);
    station->moveCursor(QTextCursor::End);
    QTRY_VERIFY(station->verticalScrollBar()->value() > 0);

    transport.fire(QStringLiteral("OnStationTextReceived"), {QStringLiteral("new\ntext")});
    QCOMPARE(station->toPlainText(), QStringLiteral("new\ntext"));
    QCOMPARE(station->textCursor().position(), 0);

    transport.fire(QStringLiteral("OnStationTextReceived"), {many.join(u'\n')});
    QCOMPARE(station->textCursor().position(), 0);
    QTRY_COMPARE(station->verticalScrollBar()->value(), 0);
    // The transcript is not touched.
    const auto *transcript = window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    QVERIFY(!transcript->toPlainText().contains(QStringLiteral("line 1")));
}

void TestLinkStatus::stationListFollowsItsText()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QLabel &list = label(window, "StaticText3");
    const QLabel &link = label(window, "StaticText2");

    fireEvent(transport, QStringLiteral("connect W1AW"));
    QTRY_VERIFY(list.isVisible());
    QTRY_VERIFY(list.width() >= list.fontMetrics().horizontalAdvance(QStringLiteral("W1AW")));
    const int narrow = list.width();
    QCOMPARE(list.height(), 18);
    // Right beside the connection label.
    QVERIFY(list.geometry().left() > link.geometry().right());
    QVERIFY(list.geometry().left() - link.geometry().right() <= 4);

    fireEvent(transport, QStringLiteral("connect K1ABC"));
    QTRY_VERIFY(list.width() > narrow);
    QTRY_VERIFY(list.width() >= list.fontMetrics().horizontalAdvance(QStringLiteral("W1AW,K1ABC")));
    fireEvent(transport, QStringLiteral("disconnect K1ABC"));
    QTRY_COMPARE(list.width(), narrow);
}

void TestLinkStatus::longStationListKeepsTheLayout()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QSize size = window.size();
    const QSize minimum = window.minimumSize();

    QStringList expected;
    for (int i = 1; i <= 3000; ++i) {
        const QString call = QStringLiteral("S%1").arg(i);
        fireEvent(transport, QStringLiteral("connect ") + call);
        expected << call;
    }
    const QLabel &list = label(window, "StaticText3");
    const QLabel &indicator = label(window, "StaticText1");
    QCOMPARE(list.text(), expected.join(u','));
    // The layout requests the new text posted have been handled.
    QVERIFY(drainEventLoop());
    QCOMPARE(window.size(), size);
    QCOMPARE(window.minimumSize(), minimum);
    QVERIFY(window.minimumSizeHint().width() <= minimum.width());
    QVERIFY(list.geometry().right() < window.findChild<QFrame *>(QStringLiteral("Panel2"))->width());

    // The indicator keeps its place at the right edge.
    fireEvent(transport, QStringLiteral("rx on"));
    QTRY_VERIFY(indicator.isVisible());
    QVERIFY(list.geometry().right() < indicator.geometry().left());
    QCOMPARE(indicator.size(), QSize(35, 20));

    // A window made wider gives the list the room.
    const int before = list.width();
    window.resize(900, size.height());
    QTRY_VERIFY(list.width() > before);
    QCOMPARE(list.text(), expected.join(u','));
}

void TestLinkStatus::elidedListShowsEscapedToolTip()
{
    FakeSessionTransport transport;
    TForm1 window(transport, nullptr, localPresence());
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QLabel *list = window.findChild<QLabel *>(QStringLiteral("StaticText3"));

    fireEvent(transport, QStringLiteral("connect <b>W1AW</b>"));
    QTRY_VERIFY(list->isVisible());
    QHelpEvent fits(QEvent::ToolTip, QPoint(2, 2), list->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(list, &fits);
    QVERIFY(!QToolTip::isVisible());

    for (int i = 1; i <= 200; ++i)
        fireEvent(transport, QStringLiteral("connect K%1ABC").arg(i));
    QVERIFY(drainEventLoop());
    QHelpEvent elided(QEvent::ToolTip, QPoint(2, 2), list->mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(list, &elided);
    QTRY_VERIFY(QToolTip::isVisible());
    const QString tip = QToolTip::text();
    QVERIFY2(tip.contains(QStringLiteral("&lt;b&gt;W1AW&lt;/b&gt;")), qPrintable(tip));
    QVERIFY(!tip.contains(QStringLiteral("<b>")));
    QVERIFY(tip.contains(QStringLiteral("K200ABC")));
    QToolTip::hideText();
}

QTEST_MAIN(TestLinkStatus)
#include "tst_linkstatus.moc"
