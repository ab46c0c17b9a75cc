#include "ChatFixture.h"

#include "main_window/transcript/ReadingPosition.h"

#include <QPushButton>
#include <QScrollBar>

namespace {

// A shown window whose transcript holds more lines than it shows.
struct ReadingFixture : ChatFixture
{
    ReadingFixture()
    {
        showDateTime(false);
        window->show();
        window->activateWindow();
        for (int i = 0; i < 100; ++i)
            receive(QStringLiteral("old line %1").arg(i));
        scroll = transcript->verticalScrollBar();
        bar = window->findChild<QPushButton *>(QStringLiteral("NewLinesBar"));
        reading = window->findChild<ReadingPosition *>(QStringLiteral("ReadingPosition"));
    }
    bool ready() const { return QTest::qWaitForWindowActive(window.get()); }
    void scrollUp() const { scroll->setValue(scroll->maximum() / 2); }
    bool atEnd() const { return scroll->value() == scroll->maximum(); }

    QScrollBar *scroll = nullptr;
    QPushButton *bar = nullptr;
    ReadingPosition *reading = nullptr;
};

} // namespace

class TestReadingPosition : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void followsAtTheEnd();
    void raisedViewStays_data();
    void raisedViewStays();
    void returningToTheEnd_data();
    void returningToTheEnd();
    void ownLineReturnsToTheEnd();
    void clearScreenEndsReadingBack();
    void barIsReachableByKeyboard();
};

void TestReadingPosition::followsAtTheEnd()
{
    ReadingFixture reading;
    QVERIFY(reading.ready());
    QTRY_VERIFY(reading.atEnd());
    QVERIFY(reading.scroll->maximum() > 0);
    reading.receive(QStringLiteral("newest"));
    QVERIFY(reading.atEnd());
    QVERIFY(!reading.bar->isVisible());
    QVERIFY(reading.reading->isFollowing());
}

void TestReadingPosition::raisedViewStays_data()
{
    QTest::addColumn<int>("arrivals");
    QTest::addColumn<QString>("caption");
    QTest::newRow("one") << 1 << "1 new line";
    QTest::newRow("three") << 3 << "3 new lines";
    QTest::newRow("many") << 120 << "120 new lines";
}

void TestReadingPosition::raisedViewStays()
{
    QFETCH(int, arrivals);
    QFETCH(QString, caption);

    ReadingFixture reading;
    QVERIFY(reading.ready());
    reading.scrollUp();
    const int kept = reading.scroll->value();
    for (int i = 0; i < arrivals; ++i)
        reading.receive(QStringLiteral("arrived %1").arg(i));

    QCOMPARE(reading.scroll->value(), kept);
    QVERIFY(reading.bar->isVisible());
    QCOMPARE(reading.bar->text(), caption);
    // Within the transcript's bottom edge.
    const QRect area = reading.transcript->viewport()->geometry();
    QVERIFY(area.contains(reading.bar->geometry().bottomLeft()));
    // The lines themselves went to the end, as always, and the caret with them.
    QCOMPARE(reading.lastLine().text(), QStringLiteral("arrived %1").arg(arrivals - 1));
    QCOMPARE(reading.transcript->textCursor().position(), reading.transcript->document()->characterCount() - 1);
}

void TestReadingPosition::returningToTheEnd_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("click on the bar") << "click";
    QTest::newRow("End in the transcript") << "End";
    QTest::newRow("scrolling down by hand") << "scroll";
}

void TestReadingPosition::returningToTheEnd()
{
    QFETCH(QString, how);

    ReadingFixture reading;
    QVERIFY(reading.ready());
    reading.scrollUp();
    reading.receive(QStringLiteral("while away"));
    QVERIFY(reading.bar->isVisible());

    if (how == QLatin1String("click")) {
        QTest::mouseClick(reading.bar, Qt::LeftButton);
    } else if (how == QLatin1String("End")) {
        reading.transcript->setFocus();
        QTest::keyClick(reading.transcript, Qt::Key_End);
    } else {
        reading.scroll->setValue(reading.scroll->maximum());
    }
    QVERIFY(reading.atEnd());
    QVERIFY(!reading.bar->isVisible());
    QVERIFY(reading.reading->isFollowing());

    // Following again, and the count starts afresh next time.
    reading.receive(QStringLiteral("back"));
    QVERIFY(reading.atEnd());
    reading.scrollUp();
    reading.receive(QStringLiteral("again"));
    QCOMPARE(reading.bar->text(), QStringLiteral("1 new line"));
}

void TestReadingPosition::ownLineReturnsToTheEnd()
{
    ReadingFixture reading;
    QVERIFY(reading.ready());
    reading.scrollUp();
    reading.receive(QStringLiteral("unread"));
    reading.send(QStringLiteral("my reply"));
    QVERIFY(reading.atEnd());
    QVERIFY(!reading.bar->isVisible());
    QCOMPARE(reading.sent(), QStringList{"my reply"});
    QCOMPARE(reading.lastLine().text(), QStringLiteral("N0CALL>my reply"));
}

void TestReadingPosition::clearScreenEndsReadingBack()
{
    ReadingFixture reading;
    QVERIFY(reading.ready());
    reading.scrollUp();
    reading.receive(QStringLiteral("unread"));
    reading.trigger("ClearScreen1");
    QVERIFY(!reading.bar->isVisible());
    reading.receive(QStringLiteral("first after clear"));
    QCOMPARE(reading.transcript->toPlainText(), QStringLiteral("first after clear\n"));
    QVERIFY(reading.reading->isFollowing());
}

void TestReadingPosition::barIsReachableByKeyboard()
{
    ReadingFixture reading;
    QVERIFY(reading.ready());
    reading.scrollUp();
    reading.receive(QStringLiteral("unread"));
    reading.bar->setFocus(Qt::TabFocusReason);
    QVERIFY(reading.bar->hasFocus());
    QTest::keyClick(reading.bar, Qt::Key_Space);
    QVERIFY(reading.atEnd());
    QVERIFY(!reading.bar->isVisible());
    // The keyboard goes back to the input line, not to a window without a focused control.
    QVERIFY(reading.input->hasFocus());
}

QTEST_MAIN(TestReadingPosition)
#include "tst_readingposition.moc"
