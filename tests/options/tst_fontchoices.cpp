#include "base/TarnWaveError.h"
#include "options/logic/FontChoices.h"
#include "options/logic/FontSizeText.h"

#include <QFont>
#include <QTest>

class TestFontChoices : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sizeFromText_data();
    void sizeFromText();
    void styleAt_data();
    void styleAt();
    void sortedFaceNames_data();
    void sortedFaceNames();
};

void TestFontChoices::sizeFromText_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("message");

    const QString notInteger = QStringLiteral("'%1' is not a valid integer value");
    const QString outOfRange = QStringLiteral("'%1' is not a valid font size, use 1 to 1638");
    QTest::newRow("list entry") << "10" << 10 << QString();
    QTest::newRow("smallest") << "1" << 1 << QString();
    QTest::newRow("largest") << "1638" << 1638 << QString();
    QTest::newRow("surrounding spaces") << " 12 " << 12 << QString();
    QTest::newRow("plus sign") << "+14" << 14 << QString();
    QTest::newRow("leading zero") << "09" << 9 << QString();
    QTest::newRow("empty") << "" << 0 << notInteger.arg(QString());
    QTest::newRow("blank") << "  " << 0 << notInteger.arg(QStringLiteral("  "));
    QTest::newRow("letters") << "abc" << 0 << notInteger.arg(QStringLiteral("abc"));
    QTest::newRow("trailing letters") << "12pt" << 0 << notInteger.arg(QStringLiteral("12pt"));
    QTest::newRow("fraction") << "12.5" << 0 << notInteger.arg(QStringLiteral("12.5"));
    QTest::newRow("hexadecimal") << "0x10" << 0 << notInteger.arg(QStringLiteral("0x10"));
    QTest::newRow("group separator") << "1,000" << 0 << notInteger.arg(QStringLiteral("1,000"));
    QTest::newRow("beyond int") << "99999999999" << 0 << notInteger.arg(QStringLiteral("99999999999"));
    QTest::newRow("zero") << "0" << 0 << outOfRange.arg(QStringLiteral("0"));
    QTest::newRow("negative") << "-5" << 0 << outOfRange.arg(QStringLiteral("-5"));
    QTest::newRow("just too large") << "1639" << 0 << outOfRange.arg(QStringLiteral("1639"));
    QTest::newRow("huge") << "100000" << 0 << outOfRange.arg(QStringLiteral("100000"));
}

void TestFontChoices::sizeFromText()
{
    QFETCH(QString, text);
    QFETCH(int, size);
    QFETCH(QString, message);

    try {
        QCOMPARE(fontSizeFromText(text), size);
        QVERIFY2(message.isEmpty(), "expected an error");
    } catch (const TarnWaveError &error) {
        QCOMPARE(error.message(), message);
    }
}

void TestFontChoices::styleAt_data()
{
    QTest::addColumn<int>("position");
    QTest::addColumn<bool>("inList");
    QTest::addColumn<bool>("bold");
    QTest::addColumn<bool>("italic");

    QTest::newRow("Regular") << 0 << true << false << false;
    QTest::newRow("Bold") << 1 << true << true << false;
    QTest::newRow("Italic") << 2 << true << false << true;
    QTest::newRow("Bold Italic") << 3 << true << true << true;
    QTest::newRow("no selection") << -1 << false << false << false;
    QTest::newRow("past the end") << 4 << false << false << false;
}

void TestFontChoices::styleAt()
{
    QFETCH(int, position);
    QFETCH(bool, inList);
    QFETCH(bool, bold);
    QFETCH(bool, italic);

    const auto style = fontStyleAt(position);
    QCOMPARE(style.has_value(), inList);
    if (!style)
        return;
    QCOMPARE(fontStyleEntries().size(), 4);
    // The style survives a round trip through a font, which is where OK reads it from.
    const QFont font = withFontStyle(QFont(QStringLiteral("Serif"), 10), *style);
    QCOMPARE(font.bold(), bold);
    QCOMPARE(font.italic(), italic);
    QCOMPARE(fontStyleOf(font), *style);
    QCOMPARE(fontStyleOf(withFontStyle(font, {})), FontStyles());
}

void TestFontChoices::sortedFaceNames_data()
{
    QTest::addColumn<QStringList>("faces");
    QTest::addColumn<QStringList>("sorted");

    QTest::newRow("case-insensitive") << QStringList{"courier", "Arial", "DejaVu Sans", "bitstream"}
                                      << QStringList{"Arial", "bitstream", "courier", "DejaVu Sans"};
    QTest::newRow("each once") << QStringList{"Serif", "Mono", "Serif"} << QStringList{"Mono", "Serif"};
    QTest::newRow("none") << QStringList() << QStringList();
}

void TestFontChoices::sortedFaceNames()
{
    QFETCH(QStringList, faces);
    QFETCH(QStringList, sorted);
    QCOMPARE(::sortedFaceNames(faces), sorted);
}

QTEST_MAIN(TestFontChoices)
#include "tst_fontchoices.moc"
