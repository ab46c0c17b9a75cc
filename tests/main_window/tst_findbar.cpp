#include "ChatFixture.h"
#include "ErrorCapture.h"

#include "main_window/transcript/FindBar.h"

#include <QCheckBox>
#include <QLabel>
#include <QScrollBar>
#include <QToolButton>

namespace {

// A shown, active window with a transcript of received lines and the find bar at hand.
struct FindFixture : ChatFixture
{
    FindFixture()
    {
        transport.setSessionProperty(QStringLiteral("Transmitting"), false);
        showDateTime(false);
        window->show();
        window->activateWindow();
        bar = window->findChild<FindBar *>(QStringLiteral("FindBar"));
        field = window->findChild<QLineEdit *>(QStringLiteral("FindText"));
        count = window->findChild<QLabel *>(QStringLiteral("FindCount"));
        matchCase = window->findChild<QCheckBox *>(QStringLiteral("FindMatchCase"));
    }
    bool ready() const { return QTest::qWaitForWindowActive(window.get()); }
    void openWith(const QString &text) const
    {
        QTest::keyClick(window.get(), Qt::Key_F, Qt::ControlModifier);
        field->setText(text);
    }
    int transmitCalls() const
    {
        int n = 0;
        for (const FakeSessionTransport::Call &call : transport.calls)
            n += call.method == QLatin1String("Transmit");
        return n;
    }
    // The current match: the last extra selection, drawn over the others.
    QString currentMatchText() const
    {
        const auto selections = transcript->extraSelections();
        return selections.isEmpty() ? QString() : selections.constLast().cursor.selectedText();
    }
    int currentMatchPosition() const
    {
        const auto selections = transcript->extraSelections();
        return selections.isEmpty() ? -1 : selections.constLast().cursor.selectionStart();
    }

    FindBar *bar = nullptr;
    QLineEdit *field = nullptr;
    QLabel *count = nullptr;
    QCheckBox *matchCase = nullptr;
};

} // namespace

class TestFindBar : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void counts_data();
    void counts();
    void stepping_data();
    void stepping();
    void spaceInFieldIsASpace();
    void clearButtonEmptiesTheField();
    void escapeGivesKeyboardBack();
    void newLinesJoinTheCount();
    void formatsAndTextUnchanged();
    void findScrollsToAMatchOutOfView();
};

void TestFindBar::counts_data()
{
    QTest::addColumn<QString>("pattern");
    QTest::addColumn<bool>("matchCase");
    QTest::addColumn<QString>("countText");
    QTest::addColumn<int>("highlights");

    QTest::newRow("three, ignoring case") << "hello" << false << "1 of 3" << 3;
    QTest::newRow("one, matching case") << "Hello" << true << "1 of 1" << 1;
    QTest::newRow("none") << "xyz" << false << "No matches" << 0;
    QTest::newRow("empty field") << "" << false << "" << 0;
    QTest::newRow("markup stays text") << "<b>" << false << "1 of 1" << 1;
}

void TestFindBar::counts()
{
    QFETCH(QString, pattern);
    QFETCH(bool, matchCase);
    QFETCH(QString, countText);
    QFETCH(int, highlights);

    FindFixture find;
    QVERIFY(find.ready());
    find.receive(QStringLiteral("W1AW>hello"));
    find.receive(QStringLiteral("K1ABC>Hello there <b>"));
    find.receive(QStringLiteral("hello again"));
    find.openWith(pattern);
    find.matchCase->setChecked(matchCase);

    QVERIFY(find.bar->isVisible());
    QVERIFY(find.field->hasFocus());
    QCOMPARE(find.count->text(), countText);
    QCOMPARE(find.transcript->extraSelections().size(), highlights);
}

void TestFindBar::stepping_data()
{
    QTest::addColumn<QList<int>>("keys");
    QTest::addColumn<QList<int>>("modifiers");
    QTest::addColumn<QStringList>("counts");

    const int shift = int(Qt::ShiftModifier);
    QTest::newRow("Enter steps on and wraps") << QList<int>{Qt::Key_Return, Qt::Key_Return, Qt::Key_Return}
                                             << QList<int>{0, 0, 0} << QStringList{"2 of 3", "3 of 3", "1 of 3"};
    QTest::newRow("Shift+Enter steps back and wraps")
        << QList<int>{Qt::Key_Return, Qt::Key_Return} << QList<int>{shift, shift} << QStringList{"3 of 3", "2 of 3"};
    QTest::newRow("keypad Enter") << QList<int>{Qt::Key_Enter} << QList<int>{0} << QStringList{"2 of 3"};
    QTest::newRow("F3 and Shift+F3") << QList<int>{Qt::Key_F3, Qt::Key_F3, Qt::Key_F3} << QList<int>{0, 0, shift}
                                     << QStringList{"2 of 3", "3 of 3", "2 of 3"};
}

void TestFindBar::stepping()
{
    QFETCH(QList<int>, keys);
    QFETCH(QList<int>, modifiers);
    QFETCH(QStringList, counts);

    ErrorCapture errors;
    FindFixture find;
    QVERIFY(find.ready());
    for (const char *line : {"one hello", "two hello", "three hello"})
        find.receive(QString::fromLatin1(line));
    find.openWith(QStringLiteral("hello"));
    QCOMPARE(find.count->text(), QStringLiteral("1 of 3"));

    QStringList seen;
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QTest::keyClick(find.field, Qt::Key(keys.at(i)), Qt::KeyboardModifiers(modifiers.at(i)));
        seen << find.count->text();
        QCOMPARE(find.currentMatchText(), QStringLiteral("hello"));
    }
    QCOMPARE(seen, counts);
    // Enter in the find field sends nothing and toggles nothing.
    QCOMPARE(find.sent(), QStringList());
    QCOMPARE(find.transmitCalls(), 0);
    QCOMPARE(errors.messages, QStringList());
}

void TestFindBar::spaceInFieldIsASpace()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.openWith(QString());
    QTest::keyClicks(find.field, QStringLiteral(" "));
    QTest::keyClicks(find.field, QStringLiteral(" a b"));
    QCOMPARE(find.field->text(), QStringLiteral("  a b"));
    QCOMPARE(find.transmitCalls(), 0);
    QCOMPARE(find.input->text(), QString());
}

void TestFindBar::clearButtonEmptiesTheField()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.receive(QStringLiteral("hello"));
    find.openWith(QStringLiteral("hello"));
    QVERIFY(find.field->isClearButtonEnabled());
    QCOMPARE(find.count->text(), QStringLiteral("1 of 1"));

    // The button sits inside the field; clicking it empties the field and the count.
    const auto buttons = find.field->findChildren<QToolButton *>();
    QCOMPARE(buttons.size(), 1);
    buttons.constFirst()->click();
    QCOMPARE(find.field->text(), QString());
    QCOMPARE(find.count->text(), QString());
    QCOMPARE(find.transcript->extraSelections().size(), 0);
}

void TestFindBar::escapeGivesKeyboardBack()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.receive(QStringLiteral("hello"));
    find.openWith(QStringLiteral("hello"));
    QCOMPARE(find.transcript->extraSelections().size(), 1);

    QTest::keyClick(find.field, Qt::Key_Escape);
    QVERIFY(!find.bar->isVisible());
    QTRY_VERIFY(find.input->hasFocus());
    QCOMPARE(find.transcript->extraSelections().size(), 0);

    // The input line's own keys are as before: space toggles from an empty line, Enter sends.
    QTest::keyClick(find.input, Qt::Key_Space);
    QCOMPARE(find.transmitCalls(), 1);
    QCOMPARE(find.input->text(), QStringLiteral(" "));
    find.input->setText(QStringLiteral("after find"));
    QTest::keyClick(find.input, Qt::Key_Return);
    QCOMPARE(find.sent(), QStringList{"after find"});

    // Reopening finds the same text again.
    QTest::keyClick(find.input, Qt::Key_F, Qt::ControlModifier);
    QVERIFY(find.bar->isVisible());
    QCOMPARE(find.field->text(), QStringLiteral("hello"));
    QCOMPARE(find.field->selectedText(), QStringLiteral("hello"));
    QCOMPARE(find.count->text(), QStringLiteral("1 of 1"));
}

void TestFindBar::newLinesJoinTheCount()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.receive(QStringLiteral("CQ DL1ABC"));
    find.openWith(QStringLiteral("dl1abc"));
    QCOMPARE(find.count->text(), QStringLiteral("1 of 1"));
    find.receive(QStringLiteral("DL1ABC de W1AW"));
    find.send(QStringLiteral("W1AW de DL1ABC"));
    QCOMPARE(find.count->text(), QStringLiteral("1 of 3"));
    QCOMPARE(find.transcript->extraSelections().size(), 3);

    find.trigger("ClearScreen1");
    QCOMPARE(find.count->text(), QStringLiteral("No matches"));
    QCOMPARE(find.transcript->extraSelections().size(), 0);
}

void TestFindBar::formatsAndTextUnchanged()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.window->displaySettings().RecvTextColor = QColor(0, 128, 0);
    find.receive(QStringLiteral("green hello"));
    const QString before = find.transcript->toPlainText();
    const QTextCharFormat formatBefore = find.lastLine().begin().fragment().charFormat();

    find.openWith(QStringLiteral("hello"));
    QTest::keyClick(find.field, Qt::Key_Return);
    find.receive(QStringLiteral("hello again"));

    QCOMPARE(find.transcript->toPlainText(), before + QStringLiteral("hello again\n"));
    const QTextBlock green = find.lastLine().previous();
    for (auto it = green.begin(); !it.atEnd(); ++it)
        QCOMPARE(it.fragment().charFormat(), formatBefore);
    QCOMPARE(find.lastLine().begin().fragment().charFormat().foreground().color(), QColor(0, 128, 0));
    // New lines still go to the end, after the matches.
    QCOMPARE(find.lastLine().text(), QStringLiteral("hello again"));
}

void TestFindBar::findScrollsToAMatchOutOfView()
{
    FindFixture find;
    QVERIFY(find.ready());
    find.receive(QStringLiteral("needle"));
    for (int i = 0; i < 200; ++i)
        find.receive(QStringLiteral("hay %1").arg(i));
    QScrollBar *scroll = find.transcript->verticalScrollBar();
    QTRY_COMPARE(scroll->value(), scroll->maximum());

    find.openWith(QStringLiteral("needle"));
    QCOMPARE(find.count->text(), QStringLiteral("1 of 1"));
    QVERIFY(scroll->value() < scroll->maximum());
    QTextCursor match(find.transcript->document());
    match.setPosition(find.currentMatchPosition());
    QVERIFY(find.transcript->viewport()->rect().contains(find.transcript->cursorRect(match)));
    // Found text holds the view while more lines arrive.
    const int kept = scroll->value();
    find.receive(QStringLiteral("more hay"));
    QCOMPARE(scroll->value(), kept);
}

QTEST_MAIN(TestFindBar)
#include "tst_findbar.moc"
