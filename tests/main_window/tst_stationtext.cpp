#include "main_window/logic/StationTextLines.h"
#include "main_window/logic/StationTextWrap.h"

#include <QTest>

namespace {

QString withNul(const char *before, const char *after)
{
    return QString::fromUtf8(before) + QChar(u'\0') + QString::fromUtf8(after);
}

} // namespace

class TestStationText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void split_data();
    void split();
    void wrapMode_data();
    void wrapMode();
};

void TestStationText::split_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("lines");

    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("no break") << "one" << QStringList{"one"};
    QTest::newRow("CR LF") << "one\r\ntwo" << QStringList{"one", "two"};
    QTest::newRow("lone CR") << "one\rtwo" << QStringList{"one", "two"};
    QTest::newRow("lone LF") << "one\ntwo" << QStringList{"one", "two"};
    QTest::newRow("CR LF, lone CR, trailing LF") << "one\r\ntwo\rthree\n"
                                                 << QStringList{"one", "two", "three"};
    QTest::newRow("trailing CR LF adds no line") << "one\r\n" << QStringList{"one"};
    QTest::newRow("trailing lone CR adds no line") << "one\r" << QStringList{"one"};
    QTest::newRow("only a break") << "\n" << QStringList{""};
    QTest::newRow("only CR LF") << "\r\n" << QStringList{""};
    QTest::newRow("LF CR is two breaks") << "a\n\rb" << QStringList{"a", "", "b"};
    QTest::newRow("CR CR LF") << "a\r\r\nb" << QStringList{"a", "", "b"};
    QTest::newRow("blank lines kept") << "a\n\n\nb" << QStringList{"a", "", "", "b"};
    QTest::newRow("leading break") << "\na" << QStringList{"", "a"};
    QTest::newRow("blanks and tabs kept") << "  a\t\n b " << QStringList{"  a\t", " b "};
    QTest::newRow("NUL ends the text") << withNul("one\ntwo", "three\nfour")
                                       << QStringList{"one", "two"};
    QTest::newRow("NUL right after a break") << withNul("one\n", "two") << QStringList{"one"};
    QTest::newRow("NUL first") << withNul("", "one") << QStringList();
    QTest::newRow("markup stays literal") << "<a href=x>y</a>\r<b>" << QStringList{"<a href=x>y</a>", "<b>"};
    QTest::newRow("other separators are no breaks")
        << QStringLiteral("a\u2028b\u0085c\fd") << QStringList{QStringLiteral("a\u2028b\u0085c\fd")};
    QTest::newRow("non-ASCII") << QStringLiteral("Grüße\r\n\U0001F4FB")
                               << QStringList{QStringLiteral("Grüße"), QStringLiteral("\U0001F4FB")};
}

void TestStationText::split()
{
    QFETCH(QString, text);
    QFETCH(QStringList, lines);
    QCOMPARE(splitStationText(text), lines);
}

void TestStationText::wrapMode_data()
{
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<bool>("anywhere");

    const QString words = QStringLiteral("QTH Berlin ").repeated(100);
    QTest::newRow("no lines") << QStringList() << false;
    QTest::newRow("short lines") << QStringList{"Name: Hans", "QTH: Berlin"} << false;
    QTest::newRow("long line of words") << QStringList{words} << false;
    QTest::newRow("run at the limit") << QStringList{QString(256, u'x')} << false;
    QTest::newRow("run over the limit") << QStringList{QString(257, u'x')} << true;
    QTest::newRow("run after words") << QStringList{words + QString(300, u'x')} << true;
    QTest::newRow("run in a later line") << QStringList{"Name: Hans", QString(300, u'x')} << true;
    // A hyphen is a break opportunity, so this is no unbroken run.
    QTest::newRow("hyphenated") << QStringList{QStringLiteral("abcdefgh-").repeated(40)} << false;
    QTest::newRow("characters outside the BMP")
        << QStringList{QString(QStringLiteral("\U0001D400")).repeated(200)} << true;
}

void TestStationText::wrapMode()
{
    QFETCH(QStringList, lines);
    QFETCH(bool, anywhere);
    QCOMPARE(stationTextWrapMode(lines) == QTextOption::WrapAnywhere, anywhere);
}

QTEST_APPLESS_MAIN(TestStationText)
#include "tst_stationtext.moc"
