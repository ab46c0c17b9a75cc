#include "base/SystemColors.h"
#include "options/ColorListBox.h"
#include "options/logic/ColorListModel.h"

#include <QAbstractItemModelTester>
#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>

namespace {

const QStringList SystemIdentifiers{
    "clActiveBorder", "clActiveCaption", "clAppWorkSpace", "clBackground", "clBtnFace",
    "clBtnHighlight", "clBtnShadow", "clBtnText", "clCaptionText", "clGradientActiveCaption",
    "clGradientInactiveCaption", "clGrayText", "clHighlight", "clHighlightText", "clInactiveBorder",
    "clInactiveCaption", "clInactiveCaptionText", "clInfoBk", "clInfoText", "clMenu", "clMenuText",
    "clScrollBar", "cl3DDkShadow", "cl3DLight", "clWindow", "clWindowFrame", "clWindowText"};

QColor swatchColor(const ColorListBox &box, int index)
{
    const QImage image = box.itemIcon(index).pixmap(box.iconSize()).toImage();
    return image.pixelColor(image.rect().center());
}

} // namespace

class TestColorList : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fixedColors_data();
    void fixedColors();
    void systemColors();
    void followsPaletteChanges();
    void setColor_data();
    void setColor();
    void dropDownMadeWhenShown();
    void modelChanges_data();
    void modelChanges();
};

void TestColorList::fixedColors_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QColor>("color");

    const QList<std::pair<const char *, QColor>> fixed{
        {"clBlack", {0, 0, 0}},          {"clMaroon", {128, 0, 0}},      {"clGreen", {0, 128, 0}},
        {"clOlive", {128, 128, 0}},      {"clNavy", {0, 0, 128}},        {"clPurple", {128, 0, 128}},
        {"clTeal", {0, 128, 128}},       {"clGray", {128, 128, 128}},    {"clSilver", {192, 192, 192}},
        {"clRed", {255, 0, 0}},          {"clLime", {0, 255, 0}},        {"clYellow", {255, 255, 0}},
        {"clBlue", {0, 0, 255}},         {"clFuchsia", {255, 0, 255}},   {"clAqua", {0, 255, 255}},
        {"clWhite", {255, 255, 255}},    {"clMoneyGreen", {192, 220, 192}},
        {"clSkyBlue", {166, 202, 240}},  {"clCream", {255, 251, 240}},   {"clMedGray", {160, 160, 164}}};
    for (int i = 0; i < fixed.size(); ++i)
        QTest::newRow(fixed[i].first) << i << fixed[i].second;
}

void TestColorList::fixedColors()
{
    QFETCH(int, index);
    QFETCH(QColor, color);

    ColorListBox box;
    QVERIFY(!box.isEditable());
    QCOMPARE(box.count(), 20 + SystemIdentifiers.size());
    QCOMPARE(box.itemText(index), QString::fromLatin1(QTest::currentDataTag()));
    box.setCurrentIndex(index);
    QCOMPARE(box.color(), color);
    QCOMPARE(swatchColor(box, index), color);
}

void TestColorList::systemColors()
{
    ColorListBox box;
    QStringList identifiers;
    for (int i = 20; i < box.count(); ++i) {
        identifiers << box.itemText(i);
        box.setCurrentIndex(i);
        QCOMPARE(box.color(), systemColor(box.itemText(i), QApplication::palette()));
    }
    QCOMPARE(identifiers, SystemIdentifiers);
}

void TestColorList::followsPaletteChanges()
{
    ColorListBox box;
    const int window = box.findText(QStringLiteral("clWindow"));
    const int highlight = box.findText(QStringLiteral("clHighlight"));
    box.setCurrentIndex(window);

    const QPalette original = QApplication::palette();
    QPalette changed = original;
    changed.setColor(QPalette::Base, QColor(10, 20, 30));
    changed.setColor(QPalette::Highlight, QColor(200, 100, 50));
    // The palette change reaches widgets through the event loop.
    QApplication::setPalette(changed);

    QTRY_COMPARE(box.color(), QColor(10, 20, 30));
    QCOMPARE(swatchColor(box, window), QColor(10, 20, 30));
    QCOMPARE(box.itemData(highlight).value<QColor>(), QColor(200, 100, 50));
    QCOMPARE(box.currentIndex(), window);
    QApplication::setPalette(original);
    QTRY_COMPARE(box.color(), original.color(QPalette::Active, QPalette::Base));
}

void TestColorList::setColor_data()
{
    QTest::addColumn<QColor>("color");
    QTest::addColumn<QString>("selected");

    // Standard colours come before system colours of the same value, so they win.
    QTest::newRow("black") << QColor(0, 0, 0) << "clBlack";
    QTest::newRow("white") << QColor(255, 255, 255) << "clWhite";
    QTest::newRow("extended") << QColor(166, 202, 240) << "clSkyBlue";
    QTest::newRow("from another colour model") << QColor::fromHsv(0, 255, 255) << "clRed";
    QTest::newRow("not in the list") << QColor(1, 2, 3) << QString();
    QTest::newRow("invalid") << QColor() << QString();
}

void TestColorList::setColor()
{
    QFETCH(QColor, color);
    QFETCH(QString, selected);

    ColorListBox box;
    box.setCurrentIndex(5);
    QSignalSpy activated(&box, &QComboBox::activated);
    QSignalSpy indexChanged(&box, &QComboBox::currentIndexChanged);
    box.setColor(color);
    QCOMPARE(box.currentText(), selected);
    QCOMPARE(box.currentIndex() >= 0, !selected.isEmpty());
    if (!selected.isEmpty())
        QCOMPARE(box.color().rgb(), color.rgb());
    else
        QVERIFY(!box.color().isValid());
    QCOMPARE(activated.count(), 0);
    QCOMPARE(indexChanged.count(), 0);
}

void TestColorList::dropDownMadeWhenShown()
{
    ColorListBox box;
    box.setCurrentIndex(box.findText(QStringLiteral("clTeal")));
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    QCOMPARE(box.iconSize(), QSize(20, 12));
    // Wide enough for the longest identifier.
    // The open list is wide enough for the longest identifier in its own font.
    const QAbstractItemView *list = box.view();
    QVERIFY(list->minimumWidth() >= list->fontMetrics().horizontalAdvance(QStringLiteral("clGradientInactiveCaption")));
    for (int i = 0; i < box.count(); ++i)
        QCOMPARE(swatchColor(box, i).rgb(), box.itemData(i).value<QColor>().rgb());
    QCOMPARE(box.color(), QColor(0, 128, 128));
}

void TestColorList::modelChanges_data()
{
    QTest::addColumn<QList<QColor>>("colors");
    QTest::addColumn<int>("first");
    QTest::addColumn<int>("last");
    const QColor red(Qt::red);
    const QColor green(Qt::green);
    const QColor blue(Qt::blue);
    const QColor grey(Qt::gray);
    QTest::newRow("none changed") << QList<QColor>{red, green, blue, grey} << -1 << -1;
    QTest::newRow("one in the middle") << QList<QColor>{red, Qt::yellow, blue, grey} << 1 << 1;
    QTest::newRow("first and last, one range") << QList<QColor>{Qt::black, green, blue, Qt::white} << 0 << 3;
    QTest::newRow("fewer colours than entries") << QList<QColor>{red, Qt::cyan} << 1 << 1;
    QTest::newRow("more colours than entries") << QList<QColor>{red, green, blue, grey, Qt::cyan} << -1 << -1;
}

void TestColorList::modelChanges()
{
    QFETCH(QList<QColor>, colors);
    QFETCH(int, first);
    QFETCH(int, last);
    const QStringList identifiers{"clRed", "clLime", "clBlue", "clGray"};
    const QList<QColor> before{Qt::red, Qt::green, Qt::blue, Qt::gray};
    QList<NamedColor> entries;
    for (int i = 0; i < identifiers.size(); ++i)
        entries.append({identifiers[i], before[i]});
    ColorListModel model(entries);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Every swatch drawn once, so that a changed colour has to draw its swatch again.
    for (int row = 0; row < model.rowCount(); ++row)
        model.data(model.index(row), Qt::DecorationRole);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);

    QList<NamedColor> next;
    for (int i = 0; i < colors.size(); ++i)
        next.append({QStringLiteral("ignored"), colors[i]});
    model.setColors(next);

    if (first < 0) {
        QCOMPARE(changed.size(), 0);
    } else {
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed[0][0].toModelIndex().row(), first);
        QCOMPARE(changed[0][1].toModelIndex().row(), last);
    }
    QCOMPARE(model.rowCount(), identifiers.size());
    for (int row = 0; row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        const QColor expected = row < colors.size() ? colors[row] : before[row];
        QCOMPARE(index.data(Qt::DisplayRole).toString(), identifiers[row]);
        QCOMPARE(index.data(Qt::UserRole).value<QColor>(), expected);
        const QImage image = index.data(Qt::DecorationRole).value<QIcon>().pixmap(ColorListModel::SwatchSize).toImage();
        QCOMPARE(image.pixelColor(image.rect().center()), expected);
    }
}

QTEST_MAIN(TestColorList)
#include "tst_colorlist.moc"
