#include "ChatFixture.h"

#include "options/TOptionsForm.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QComboBox>
#include <QLabel>

namespace {

QAccessibleInterface *accessible(QWidget *widget)
{
    return QAccessible::queryAccessibleInterface(widget);
}

QString statusText(QLabel *label)
{
    QAccessibleTextInterface *text = accessible(label)->textInterface();
    return text ? text->text(0, text->characterCount()) : QStringLiteral("(no text interface)");
}

// Every control the keyboard can reach, or a screen reader meets, needs a name.
QStringList unnamedControls(const QWidget &top)
{
    QStringList unnamed;
    for (QWidget *widget : top.findChildren<QWidget *>()) {
        const bool control = widget->focusPolicy() != Qt::NoFocus || qobject_cast<QLabel *>(widget);
        // Parts of other windows, and a list's own editor, belong to those.
        if (!control || widget->window() != &top || qobject_cast<QComboBox *>(widget->parentWidget())
            || widget->inherits("QScrollBar") || widget->objectName().startsWith(QLatin1String("qt_")))
            continue;
        if (!widget->isVisibleTo(widget->window()) && !widget->inherits("FindBar") && !widget->parentWidget()->inherits("FindBar"))
            continue;
        const bool labelled = !accessible(widget)->relations(QAccessible::Label).isEmpty();
        if (accessible(widget)->text(QAccessible::Name).isEmpty() && !labelled)
            unnamed << widget->metaObject()->className() + QStringLiteral(" ") + widget->objectName();
    }
    return unnamed;
}

} // namespace

class TestAccessibleNames : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainWindow_data();
    void mainWindow();
    void options_data();
    void options();
    void statusLabelsOfferTheirText();
    void noControlWithoutName();
};

void TestAccessibleNames::mainWindow_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");

    QTest::newRow("input line") << "Edit1" << "Message" << int(QAccessible::EditableText);
    QTest::newRow("send") << "Button1" << "Send" << int(QAccessible::Button);
    QTest::newRow("transcript") << "ChatWindow" << "Transcript" << int(QAccessible::EditableText);
    QTest::newRow("connection") << "StaticText2" << "Connection" << int(QAccessible::StaticText);
    QTest::newRow("stations") << "StaticText3" << "Connected stations" << int(QAccessible::StaticText);
    QTest::newRow("rx/tx") << "StaticText1" << "Receive or transmit" << int(QAccessible::StaticText);
    QTest::newRow("station text") << "StationWindow" << "Station information" << int(QAccessible::EditableText);
    QTest::newRow("find text") << "FindText" << "Find text" << int(QAccessible::EditableText);
    QTest::newRow("new lines bar") << "NewLinesBar" << "" << int(QAccessible::Button);
}

void TestAccessibleNames::mainWindow()
{
    QFETCH(QString, objectName);
    QFETCH(QString, name);
    QFETCH(int, role);

    ChatFixture chat;
    auto *widget = chat.window->findChild<QWidget *>(objectName);
    QVERIFY(widget);
    QAccessibleInterface *iface = accessible(widget);
    QCOMPARE(iface->text(QAccessible::Name), name);
    QCOMPARE(int(iface->role()), role);
    QVERIFY(!iface->text(QAccessible::Description).isEmpty());
}

void TestAccessibleNames::options_data()
{
    QTest::addColumn<QString>("objectName");
    QTest::addColumn<QString>("name");
    QTest::newRow("font") << "FontName" << "Font";
    QTest::newRow("size") << "FontSize" << "Size";
    QTest::newRow("style") << "FontStyle" << "Style";
    QTest::newRow("own colour") << "MyTextColorBox" << "My Text Color";
    QTest::newRow("received colour") << "RecvTextColorBox" << "Received Text Color";
    QTest::newRow("background") << "BGColorBox" << "Background Color";
    QTest::newRow("preview") << "PreviewText" << "Preview";
    QTest::newRow("reset") << "ResetDefaultBtn" << "Reset";
    QTest::newRow("ok") << "OKBtn" << "OK";
    QTest::newRow("cancel") << "CancelBtn" << "Cancel";
}

void TestAccessibleNames::options()
{
    QFETCH(QString, objectName);
    QFETCH(QString, name);

    ChatFixture chat;
    TOptionsForm options(*chat.window, chat.window.get());
    auto *widget = options.findChild<QWidget *>(objectName);
    QVERIFY(widget);
    QCOMPARE(widget->accessibleName(), name);
    QVERIFY(!accessible(widget)->text(QAccessible::Description).isEmpty());
    // Lists are named by their label; the label says what it labels.
    if (qobject_cast<QComboBox *>(widget)) {
        const auto labels = accessible(widget)->relations(QAccessible::Label);
        QCOMPARE(labels.size(), 1);
        QCOMPARE(labels.constFirst().first->text(QAccessible::Name), name);
    } else {
        QCOMPARE(accessible(widget)->text(QAccessible::Name), name);
    }
}

void TestAccessibleNames::statusLabelsOfferTheirText()
{
    ChatFixture chat;
    chat.window->show();
    auto *connection = chat.window->findChild<QLabel *>(QStringLiteral("StaticText2"));
    auto *stations = chat.window->findChild<QLabel *>(QStringLiteral("StaticText3"));
    auto *indicator = chat.window->findChild<QLabel *>(QStringLiteral("StaticText1"));
    QCOMPARE(statusText(connection), QStringLiteral("Disconnect"));
    QCOMPARE(statusText(indicator), QStringLiteral("RX"));

    chat.transport.fire(QStringLiteral("OnConnected"), {QStringLiteral("W1AW"), QString(), QString()});
    chat.transport.fire(QStringLiteral("OnConnected"), {QStringLiteral("K1 ABC"), QString(), QString()});
    chat.transport.fire(QStringLiteral("OnTX"), {true});
    QCOMPARE(statusText(connection), QStringLiteral("Connected"));
    QCOMPARE(statusText(stations), QStringLiteral("W1AW,\"K1 ABC\""));
    QCOMPARE(statusText(indicator), QStringLiteral("TX"));
    QCOMPARE(accessible(connection)->text(QAccessible::Value), QStringLiteral("Connected"));
    // The name stays what the label is for.
    QCOMPARE(accessible(connection)->text(QAccessible::Name), QStringLiteral("Connection"));
    // Station text is plain text to a screen reader too.
    QCOMPARE(accessible(stations)->textInterface()->text(0, 4), QStringLiteral("W1AW"));
}

void TestAccessibleNames::noControlWithoutName()
{
    ChatFixture chat;
    TOptionsForm options(*chat.window, chat.window.get());
    chat.window->show();
    QCOMPARE(unnamedControls(*chat.window), QStringList());
    QCOMPARE(unnamedControls(options), QStringList());
}

QTEST_MAIN(TestAccessibleNames)
#include "tst_accessiblenames.moc"
