// The transcript pane on its own, without a main window: where lines go in, and when the
// received lines of a burst of session events appear.

#include "main_window/logic/TDisplaySettings.h"
#include "main_window/transcript/TranscriptPane.h"

#include <QTest>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

class TestTranscriptPane : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sequence_data();
    void sequence();
};

void TestTranscriptPane::sequence_data()
{
    // Steps: "r:x" receives x, "o:x" sends x as an own line (prefix "me>"), "s" starts a
    // burst, "f" finishes it, "g" appends what was gathered (as before another event of the
    // burst), "c" clears, "=x" checks the transcript's text, lines joined by "|".
    QTest::addColumn<QStringList>("steps");

    QTest::newRow("outside a burst, each line at once") << QStringList{"r:a", "=a", "r:b", "=a|b"};
    QTest::newRow("a burst holds its lines until it ends")
        << QStringList{"s", "r:a", "r:b", "=", "f", "=a|b"};
    QTest::newRow("another event mid-burst puts the lines so far in first")
        << QStringList{"s", "r:a", "g", "=a", "r:b", "=a", "f", "=a|b"};
    QTest::newRow("lines go in once, however often they are asked for")
        << QStringList{"s", "r:a", "f", "f", "g", "=a"};
    QTest::newRow("an empty burst adds nothing") << QStringList{"s", "f", "g", "="};
    QTest::newRow("after a burst, lines go in at once again") << QStringList{"s", "r:a", "f", "r:b", "=a|b"};
    QTest::newRow("own lines and received lines in the order they came")
        << QStringList{"r:a", "o:x", "r:b", "=a|me>x|b"};
    QTest::newRow("after clearing, new lines start at the top")
        << QStringList{"r:a", "o:x", "c", "=", "r:b", "=b"};
}

void TestTranscriptPane::sequence()
{
    QFETCH(QStringList, steps);
    TDisplaySettings settings;
    settings.setDefaults();
    QObject owner;
    TranscriptPane pane(settings, &owner);
    // The view has no parent until a window lays it out.
    const std::unique_ptr<QTextEdit> view(pane.view());
    QObject::connect(view.get(), &QTextEdit::cursorPositionChanged, &pane, &TranscriptPane::findInsertPosition);

    for (const QString &step : std::as_const(steps)) {
        const QString argument = step.mid(2);
        if (step.startsWith(QLatin1String("r:"))) {
            pane.receive(argument);
        } else if (step.startsWith(QLatin1String("o:"))) {
            pane.appendOwnLine(QStringLiteral("me>"), argument);
        } else if (step == QLatin1String("s")) {
            pane.startGathering();
        } else if (step == QLatin1String("f")) {
            pane.finishGathering();
        } else if (step == QLatin1String("g")) {
            pane.appendGatheredLines();
        } else if (step == QLatin1String("c")) {
            pane.clear();
        } else {
            QVERIFY2(step.startsWith(QLatin1Char('=')), qPrintable(step));
            QString shown = view->document()->toPlainText();
            if (shown.endsWith(QLatin1Char('\n')))
                shown.chop(1);
            QCOMPARE(shown.replace(QLatin1Char('\n'), QLatin1Char('|')), step.mid(1));
        }
    }
}

QTEST_MAIN(TestTranscriptPane)
#include "tst_transcriptpane.moc"
