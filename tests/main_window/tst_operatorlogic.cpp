#include "FakeSessionTransport.h"

#include "base/TarnWaveError.h"
#include "main_window/logic/CallsignMention.h"
#include "main_window/logic/InputHistory.h"
#include "main_window/logic/TranscriptSearch.h"
#include "main_window/logic/TransmitOwnership.h"
#include "session/AutomationObject.h"
#include "session/TarnWave_TLB.h"

#include <QTest>
#include <QTextCursor>
#include <QTextDocument>

// The operator aids' decisions, without a window: call-sign mentions, the input history, the
// transcript search and who keyed the transmitter.
class TestOperatorLogic : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void callsignMention_data();
    void callsignMention();
    void callsignMentionKeptForManyLines();
    void history_data();
    void history();
    void historyIsBounded();
    void search_data();
    void search();
    void searchFollowsAppendsAndClear();
    void ownership_data();
    void ownership();
};

void TestOperatorLogic::callsignMention_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("callsign");
    QTest::addColumn<bool>("mentioned");

    QTest::newRow("alone") << "DL1ABC" << "DL1ABC" << true;
    QTest::newRow("in a sentence") << "W1AW>hello DL1ABC, how copy?" << "DL1ABC" << true;
    QTest::newRow("other case") << "dl1abc are you there" << "DL1ABC" << true;
    QTest::newRow("portable suffix") << "calling DL1ABC/P now" << "DL1ABC" << true;
    QTest::newRow("mobile suffix, lower case") << "dl1abc/m" << "DL1ABC" << true;
    QTest::newRow("country prefix") << "EA8/DL1ABC qrv" << "DL1ABC" << true;
    QTest::newRow("own call sign with suffix") << "hi DL1ABC/P" << "DL1ABC/P" << true;
    QTest::newRow("longer call") << "DL1ABCD here" << "DL1ABC" << false;
    QTest::newRow("call inside a word") << "XDL1ABC" << "DL1ABC" << false;
    QTest::newRow("digit after") << "DL1ABC2" << "DL1ABC" << false;
    QTest::newRow("other station") << "W1AW>hello all" << "DL1ABC" << false;
    QTest::newRow("empty call sign") << "hello" << "" << false;
    QTest::newRow("blank call sign") << "a  b" << " " << false;
    QTest::newRow("pattern characters are literal") << "via K1.B today" << "K1.B" << true;
    QTest::newRow("dot is no wildcard") << "K1XB" << "K1.B" << false;
    QTest::newRow("after a line break") << "first\nDL1ABC" << "DL1ABC" << true;
    QTest::newRow("non-Latin letters are word characters") << "ÄDL1ABC" << "DL1ABC" << false;
}

void TestOperatorLogic::callsignMention()
{
    QFETCH(QString, text);
    QFETCH(QString, callsign);
    QFETCH(bool, mentioned);
    QCOMPARE(mentionsCallsign(text, callsign), mentioned);
}

void TestOperatorLogic::callsignMentionKeptForManyLines()
{
    // One matcher answers line after line as a fresh one would, whatever came before.
    const CallsignMention mention(QStringLiteral("DL1ABC"));
    const QStringList texts{"W1AW>DL1ABC de W1AW", "W1AW>CQ CQ", "dl1abc/p", "XDL1ABC", "", "DL1ABC", "DL1ABCD"};
    for (const QString &text : texts)
        QCOMPARE(mention.isIn(text), mentionsCallsign(text, QStringLiteral("DL1ABC")));
    QCOMPARE(mention.callsign(), QStringLiteral("DL1ABC"));
    QVERIFY(!CallsignMention().isIn(QStringLiteral("DL1ABC")));
    QVERIFY(!CallsignMention(QStringLiteral("  ")).isIn(QStringLiteral("a  b")));
}

void TestOperatorLogic::history_data()
{
    QTest::addColumn<QStringList>("sent");
    QTest::addColumn<QString>("draft");
    // U older, D newer; after each key the text shown, "-" where the key does nothing.
    QTest::addColumn<QString>("keys");
    QTest::addColumn<QStringList>("shown");

    QTest::newRow("nothing sent") << QStringList{} << "typing" << "UD" << QStringList{"-", "-"};
    QTest::newRow("walk back and forth")
        << QStringList{"one", "two", "three"} << "" << "UUUUDDDD"
        << QStringList{"three", "two", "one", "-", "two", "three", "", "-"};
    QTest::newRow("down past the newest brings the draft back")
        << QStringList{"one", "two"} << "half-typed" << "UUDD" << QStringList{"two", "one", "two", "half-typed"};
    QTest::newRow("down without a walk does nothing") << QStringList{"one"} << "x" << "D" << QStringList{"-"};
    QTest::newRow("repeats and blank lines are not kept")
        << QStringList{"a", "a", "", "  ", "b", "a"} << "" << "UUUU" << QStringList{"a", "b", "a", "-"};
    QTest::newRow("leading space kept") << QStringList{" hi"} << "" << "U" << QStringList{" hi"};
}

void TestOperatorLogic::history()
{
    QFETCH(QStringList, sent);
    QFETCH(QString, draft);
    QFETCH(QString, keys);
    QFETCH(QStringList, shown);

    InputHistory history;
    for (const QString &line : sent)
        history.add(line);
    QString text = draft;
    QStringList seen;
    for (const QChar key : keys) {
        QString next;
        const bool moved = key == u'U' ? history.older(text, next) : history.newer(next);
        seen << (moved ? next : QStringLiteral("-"));
        if (moved)
            text = next;
    }
    QCOMPARE(seen, shown);
}

void TestOperatorLogic::historyIsBounded()
{
    InputHistory history;
    for (int i = 0; i < InputHistory::MaximumLines + 5; ++i)
        history.add(QString::number(i));
    QCOMPARE(history.lines().size(), InputHistory::MaximumLines);
    QCOMPARE(history.lines().constFirst(), QStringLiteral("5"));
    // Sending ends a walk half-way.
    QString shown;
    QVERIFY(history.older({}, shown));
    QVERIFY(history.older({}, shown));
    history.add(QStringLiteral("new"));
    QVERIFY(history.older({}, shown));
    QCOMPARE(shown, QStringLiteral("new"));
}

void TestOperatorLogic::search_data()
{
    QTest::addColumn<QString>("transcript");
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<int>("from");
    QTest::addColumn<QList<int>>("matches");
    QTest::addColumn<int>("current");

    const QString text = QStringLiteral("W1AW>hello\nDL1ABC>Hello there\nhello again");
    QTest::newRow("ignoring case") << text << "hello" << false << 0 << QList<int>{5, 18, 30} << 0;
    QTest::newRow("matching case") << text << "Hello" << true << 0 << QList<int>{18} << 0;
    QTest::newRow("current at the view") << text << "hello" << false << 11 << QList<int>{5, 18, 30} << 1;
    QTest::newRow("view past the last wraps") << text << "hello" << false << 35 << QList<int>{5, 18, 30} << 0;
    QTest::newRow("no match") << text << "xyz" << false << 0 << QList<int>{} << -1;
    QTest::newRow("empty pattern") << text << "" << false << 0 << QList<int>{} << -1;
    QTest::newRow("non-overlapping") << "aaaa" << "aa" << false << 0 << QList<int>{0, 2} << 0;
    QTest::newRow("no match across lines") << "ab\ncd" << "b c" << false << 0 << QList<int>{} << -1;
    QTest::newRow("markup is text") << "<b>x</b>" << "<b>" << false << 0 << QList<int>{0} << 0;
}

void TestOperatorLogic::search()
{
    QFETCH(QString, transcript);
    QFETCH(QString, pattern);
    QFETCH(bool, matchCase);
    QFETCH(int, from);
    QFETCH(QList<int>, matches);
    QFETCH(int, current);

    QTextDocument document;
    document.setPlainText(transcript);
    TranscriptSearch search;
    search.setPattern(pattern, matchCase);
    search.rescan(document, from);
    QCOMPARE(search.matches(), matches);
    QCOMPARE(search.current(), qsizetype(current));
    // Stepping wraps around both ways.
    if (!matches.isEmpty()) {
        for (qsizetype i = 0; i < matches.size(); ++i)
            QVERIFY(search.next());
        QCOMPARE(search.current(), qsizetype(current));
        QVERIFY(search.previous());
        QCOMPARE(search.current(), (current + matches.size() - 1) % matches.size());
    } else {
        QVERIFY(!search.next());
        QVERIFY(!search.previous());
    }
}

void TestOperatorLogic::searchFollowsAppendsAndClear()
{
    QTextDocument document;
    // A document reports its changes only once it has a layout, as the transcript's has.
    document.documentLayout();
    TranscriptSearch search;
    connect(&document, &QTextDocument::contentsChange, this,
            [&](int from, int, int) { search.documentChanged(document, from); });
    search.setPattern(QStringLiteral("abc"), false);
    search.rescan(document);
    QTextCursor end(&document);
    end.insertText(QStringLiteral("xxab"));
    QCOMPARE(search.count(), 0);
    // A match split over two appends is found once it is whole.
    end.movePosition(QTextCursor::End);
    end.insertText(QStringLiteral("c abc"));
    QCOMPARE(search.matches(), (QList<int>{2, 6}));
    QVERIFY(search.next());
    end.movePosition(QTextCursor::End);
    end.insertBlock();
    end.insertText(QStringLiteral("ABC"));
    QCOMPARE(search.matches(), (QList<int>{2, 6, 10}));
    QCOMPARE(search.current(), qsizetype(1));

    // The same as searching the whole text afresh.
    TranscriptSearch fresh;
    fresh.setPattern(QStringLiteral("abc"), false);
    fresh.rescan(document);
    QCOMPARE(search.matches(), fresh.matches());

    document.clear();
    QCOMPARE(search.count(), 0);
    QCOMPARE(search.current(), qsizetype(-1));
}

void TestOperatorLogic::ownership_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<bool>("keyed");
    QTest::addColumn<QStringList>("unkeyCalls");

    // key/unkey: this program's Transmit calls; tx-on/tx-off: OnTX from the server;
    // fail-key/fail-unkey: a Transmit call that the server answers with an error.
    QTest::newRow("never keyed") << QStringList{} << false << QStringList{};
    QTest::newRow("keyed") << QStringList{"key"} << true << QStringList{"Transmit false"};
    QTest::newRow("keyed, then the server reports on") << QStringList{"key", "tx-on"} << true
                                                      << QStringList{"Transmit false"};
    QTest::newRow("keyed, then unkeyed") << QStringList{"key", "unkey"} << false << QStringList{};
    QTest::newRow("keyed, then the server reports off") << QStringList{"key", "tx-off"} << false << QStringList{};
    QTest::newRow("keyed elsewhere") << QStringList{"tx-on"} << false << QStringList{};
    QTest::newRow("keyed again after an off") << QStringList{"key", "tx-off", "key"} << true
                                              << QStringList{"Transmit false"};
    QTest::newRow("a failed key may have keyed") << QStringList{"fail-key"} << true
                                                 << QStringList{"Transmit false"};
    QTest::newRow("a failed unkey leaves it keyed") << QStringList{"key", "fail-unkey"} << true
                                                    << QStringList{"Transmit false"};
}

void TestOperatorLogic::ownership()
{
    QFETCH(QStringList, steps);
    QFETCH(bool, keyed);
    QFETCH(QStringList, unkeyCalls);

    FakeSessionTransport transport;
    const AutomationObject session(transport, QString::fromLatin1(TarnWave_TLB::SessionProgId));
    TransmitOwnership ownership;
    for (const QString &step : steps) {
        transport.failingMethod = step.startsWith(QLatin1String("fail-")) ? QStringLiteral("Transmit") : QString();
        try {
            if (step.endsWith(QLatin1String("unkey")))
                ownership.transmit(session, false);
            else if (step.endsWith(QLatin1String("key")))
                ownership.transmit(session, true);
            else
                ownership.txReported(step == QLatin1String("tx-on"));
        } catch (const TarnWaveError &) {
            QVERIFY(step.startsWith(QLatin1String("fail-")));
        }
    }
    QCOMPARE(ownership.keyedByThisProgram(), keyed);

    transport.failingMethod.clear();
    transport.calls.clear();
    ownership.unkeyIfKeyed(session);
    QStringList calls;
    for (const FakeSessionTransport::Call &call : transport.calls)
        calls << call.method + u' ' + call.args.value(0).toString();
    QCOMPARE(calls, unkeyCalls);
    QVERIFY(!ownership.keyedByThisProgram());
}

QTEST_MAIN(TestOperatorLogic)
#include "tst_operatorlogic.moc"
