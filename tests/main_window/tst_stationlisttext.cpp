#include "main_window/logic/StationListText.h"

#include <QTest>

class TestStationListText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void commaText_data();
    void commaText();
    void removal_data() { commaText_data(); }
    void removal();
    void appendAfterRemoval();
};

void TestStationListText::commaText_data()
{
    QTest::addColumn<QStringList>("stations");
    QTest::addColumn<QString>("text");

    QTest::newRow("empty list") << QStringList() << "";
    QTest::newRow("one empty entry") << QStringList{""} << "\"\"";
    QTest::newRow("two empty entries") << QStringList{"", ""} << ",";
    QTest::newRow("empty entry among others") << QStringList{"A", "", "B"} << "A,,B";
    QTest::newRow("one") << QStringList{"W1AW"} << "W1AW";
    QTest::newRow("in order, duplicates kept") << QStringList{"W1AW", "K1ABC", "W1AW"} << "W1AW,K1ABC,W1AW";
    QTest::newRow("space") << QStringList{"W1AW", "DL1ABC Hans"} << "W1AW,\"DL1ABC Hans\"";
    QTest::newRow("comma") << QStringList{"a,b", "c"} << "\"a,b\",c";
    QTest::newRow("inner quotes doubled") << QStringList{"say \"hi\""} << "\"say \"\"hi\"\"\"";
    QTest::newRow("only a quote") << QStringList{"\""} << "\"\"\"\"";
    QTest::newRow("tab") << QStringList{"a\tb"} << "\"a\tb\"";
    QTest::newRow("code 1") << QStringList{QStringLiteral("a\x01")} << QStringLiteral("\"a\x01\"");
    QTest::newRow("code 31") << QStringList{QStringLiteral("\x1f")} << QStringLiteral("\"\x1f\"");
    QTest::newRow("line break") << QStringList{"a\r\nb"} << "\"a\r\nb\"";
    QTest::newRow("code 127 is not quoted") << QStringList{QStringLiteral("a\x7f")}
                                            << QStringLiteral("a\x7f");
    QTest::newRow("no-break space is not quoted") << QStringList{QStringLiteral("a\u00a0b")}
                                                  << QStringLiteral("a\u00a0b");
    QTest::newRow("apostrophe and semicolon") << QStringList{"O'Neil;x"} << "O'Neil;x";
    QTest::newRow("markup stays literal") << QStringList{"<b>X</b>", "<img src=x>"}
                                          << "<b>X</b>,\"<img src=x>\"";
    QTest::newRow("non-ASCII") << QStringList{QStringLiteral("ÖE1ŽŠ"), QStringLiteral("\U0001F4FB")}
                               << QStringLiteral("ÖE1ŽŠ,\U0001F4FB");
}

void TestStationListText::commaText()
{
    QFETCH(QStringList, stations);
    QFETCH(QString, text);
    QCOMPARE(stationListCommaText(stations), text);
}

// Taking out any one entry gives what the rest of the list would give from scratch.
void TestStationListText::removal()
{
    QFETCH(QStringList, stations);
    for (qsizetype index = 0; index < stations.size(); ++index) {
        StationListText text;
        for (const QString &station : stations)
            text.append(station);
        text.removeAt(index);
        QStringList rest = stations;
        rest.removeAt(index);
        QCOMPARE(text.text(), stationListCommaText(rest));
    }
}

void TestStationListText::appendAfterRemoval()
{
    StationListText text;
    text.append(QStringLiteral("a b"));
    text.append(QString());
    text.removeAt(0);
    QCOMPARE(text.text(), QStringLiteral("\"\""));
    text.append(QStringLiteral("C"));
    QCOMPARE(text.text(), QStringLiteral(",C"));
    text.removeAt(1);
    text.removeAt(0);
    QCOMPARE(text.text(), QString());
    text.append(QStringLiteral("\"q\""));
    text.append(QStringLiteral("D"));
    QCOMPARE(text.text(), QStringLiteral("\"\"\"q\"\"\",D"));
}

QTEST_APPLESS_MAIN(TestStationListText)
#include "tst_stationlisttext.moc"
