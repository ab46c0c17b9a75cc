#include "ChatFixture.h"

#include "main_window/transcript/SaveFileDialog.h"
#include "options/TOptionsForm.h"

#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QSignalSpy>

#include <algorithm>

namespace {

// The control a screen reader or the operator thinks of as focused: an editable list's own
// editor stands for the list.
QString focusedControl()
{
    const QWidget *focused = QApplication::focusWidget();
    if (!focused)
        return QStringLiteral("(none)");
    if (qobject_cast<const QComboBox *>(focused->parentWidget()))
        focused = focused->parentWidget();
    return focused->objectName().isEmpty() ? QString::fromLatin1(focused->metaObject()->className())
                                           : focused->objectName();
}

} // namespace

class TestKeyboardAccess : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menuItemsByKeyboard_data();
    void menuItemsByKeyboard();
    void optionsTabOrder();
};

void TestKeyboardAccess::menuItemsByKeyboard_data()
{
    QTest::addColumn<char>("mnemonic");
    QTest::addColumn<int>("downPresses");
    QTest::addColumn<QString>("action");

    // Only the menu-bar titles carry mnemonics; the items' captions stay as they are, so the
    // arrow keys reach them. A menu opened by its mnemonic selects its first item, and
    // separators are skipped.
    QTest::newRow("File, Save...") << 'F' << 0 << "Save1";
    QTest::newRow("File, Exit") << 'F' << 1 << "Exit1";
    QTest::newRow("Tools, Options...") << 'T' << 0 << "Options1";
    QTest::newRow("Tools, Show Date/Time") << 'T' << 1 << "ShowDateTime1";
    QTest::newRow("Tools, Show Station Text") << 'T' << 2 << "ShowHideStationlist1";
    QTest::newRow("Tools, Always On Top") << 'T' << 3 << "AlwaysOnTop1";
    QTest::newRow("Tools, Clear screen") << 'T' << 4 << "ClearScreen1";
    QTest::newRow("About") << 'A' << -1 << "About1";
}

void TestKeyboardAccess::menuItemsByKeyboard()
{
    QFETCH(char, mnemonic);
    QFETCH(int, downPresses);
    QFETCH(QString, action);

    ChatFixture chat;
    chat.window->show();
    QVERIFY(QTest::qWaitForWindowActive(chat.window.get()));
    SaveFileDialog::setNextFileName(QString());
    QSignalSpy triggered(chat.window->findChild<QAction *>(action), &QAction::triggered);

    QTest::keyClick(chat.input, Qt::Key(mnemonic), Qt::AltModifier);
    if (downPresses >= 0) {
        QTRY_VERIFY(qobject_cast<QMenu *>(QApplication::activePopupWidget()));
        QWidget *menu = QApplication::activePopupWidget();
        for (int i = 0; i < downPresses; ++i)
            QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    }
    QTRY_COMPARE(triggered.count(), 1);
    // The mnemonic's letter never reaches the input line.
    QCOMPARE(chat.input->text(), QString());
}

void TestKeyboardAccess::optionsTabOrder()
{
    ChatFixture chat;
    TOptionsForm options(*chat.window, chat.window.get());
    options.show();
    QVERIFY(QTest::qWaitForWindowActive(&options));

    // The dialog opens on the page's tab; then the page top to bottom as laid out, the buttons
    // left to right, and round again.
    const QStringList expected{"qt_tabwidget_tabbar", "FontName", "FontSize", "FontStyle", "MyTextColorBox",
                               "RecvTextColorBox", "BGColorBox", "PreviewText", "ResetDefaultBtn", "OKBtn",
                               "CancelBtn", "qt_tabwidget_tabbar"};
    QCOMPARE(focusedControl(), expected.constFirst());
    QStringList forward{focusedControl()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        forward << focusedControl();
    }
    QCOMPARE(forward, expected);

    QStringList backward{focusedControl()};
    for (qsizetype i = 1; i < expected.size(); ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab, Qt::ShiftModifier);
        backward << focusedControl();
    }
    std::reverse(backward.begin(), backward.end());
    QCOMPARE(backward, expected);
}

QTEST_MAIN(TestKeyboardAccess)
#include "tst_keyboardaccess.moc"
