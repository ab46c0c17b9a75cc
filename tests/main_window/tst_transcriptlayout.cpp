// The transcript's layout on a bare document: wherever the text changes (at the end, in the
// middle, all of it), every paragraph, laid out or still waiting to be, keeps its place below
// the one before, and a point finds the paragraph drawn there.

#include "main_window/logic/TranscriptLayout.h"

#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

namespace {

constexpr int Lines = 200;

QTextCursor cursorAtLine(QTextDocument &document, int line)
{
    return QTextCursor(document.findBlockByNumber(line));
}

// Steps: "a N" appends N short lines, "i L" puts three lines in before line L, "r L N"
// removes N lines from line L on, "w L" makes line L long enough to wrap, "s L" makes it
// short again, "c" clears the document, "f" changes the default font.
void apply(QTextDocument &document, const QString &step)
{
    const QStringList words = step.split(u' ');
    const auto number = [&words](int i) { return words.value(i).toInt(); };
    const QChar what = words.constFirst().at(0);
    if (what == u'a') {
        QTextCursor end(&document);
        end.movePosition(QTextCursor::End);
        end.beginEditBlock();
        for (int i = 0; i < number(1); ++i)
            end.insertText((document.isEmpty() ? QString() : QStringLiteral("\n")) + QStringLiteral("line %1").arg(i));
        end.endEditBlock();
    } else if (what == u'i') {
        cursorAtLine(document, number(1)).insertText(QStringLiteral("new one\nnew two\nnew three\n"));
    } else if (what == u'r') {
        QTextCursor cursor = cursorAtLine(document, number(1));
        cursor.setPosition(document.findBlockByNumber(number(1) + number(2)).position(), QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
    } else if (what == u'w' || what == u's') {
        QTextCursor cursor = cursorAtLine(document, number(1));
        cursor.movePosition(QTextCursor::EndOfBlock, QTextCursor::KeepAnchor);
        cursor.insertText(what == u'w' ? QStringLiteral("wrapping ").repeated(80) : QStringLiteral("short"));
    } else if (what == u'c') {
        document.clear();
    } else if (what == u'f') {
        QFont font = document.defaultFont();
        font.setPointSize(font.pointSize() + 6);
        document.setDefaultFont(font);
    }
}

} // namespace

class TestTranscriptLayout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paragraphsStackWhereverTheTextChanges_data();
    void paragraphsStackWhereverTheTextChanges();
};

void TestTranscriptLayout::paragraphsStackWhereverTheTextChanges_data()
{
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<int>("wrappingLine");

    const QString fill = QStringLiteral("a %1").arg(Lines);
    QTest::newRow("appended") << QStringList{fill, "a 50"} << -1;
    QTest::newRow("lines put in the middle") << QStringList{fill, "i 100"} << -1;
    QTest::newRow("lines put in before the first") << QStringList{fill, "i 0"} << -1;
    QTest::newRow("lines removed from the middle") << QStringList{fill, "r 90 30"} << -1;
    QTest::newRow("lines removed, then put in") << QStringList{fill, "w 150", "r 20 10", "i 30"} << 143;
    QTest::newRow("a line that wraps, in the middle") << QStringList{fill, "w 120"} << 120;
    QTest::newRow("a wrapping line made short again") << QStringList{fill, "w 120", "s 120"} << -1;
    QTest::newRow("cleared and filled again") << QStringList{fill, "c", "a 80"} << -1;
    QTest::newRow("a new font for every line") << QStringList{fill, "w 10", "f"} << 10;
}

void TestTranscriptLayout::paragraphsStackWhereverTheTextChanges()
{
    QFETCH(QStringList, steps);
    QFETCH(int, wrappingLine);
    QTextDocument document;
    document.setDocumentLayout(new TranscriptLayout(&document));
    document.setPageSize(QSizeF(400, -1));
    for (const QString &step : std::as_const(steps))
        apply(document, step);

    // The same text put in at once is where every paragraph belongs. A point there finds the
    // same paragraph in the changed document before anything there is laid out: the places
    // kept for paragraphs waiting to be laid out are right, or the view draws the wrong lines.
    QTextDocument reference;
    reference.setDocumentLayout(new TranscriptLayout(&reference));
    reference.setPageSize(document.pageSize());
    reference.setDefaultFont(document.defaultFont());
    reference.setPlainText(document.toPlainText());
    QCOMPARE(reference.blockCount(), document.blockCount());
    const QAbstractTextDocumentLayout &layout = *document.documentLayout();
    QCOMPARE(layout.documentSize(), reference.documentLayout()->documentSize());
    // Paragraphs laid out before the change have their lines where they now belong: screen
    // readers take a character's place from the lines, without asking the layout.
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.layout()->lineCount() > 0)
            QCOMPARE(block.layout()->position().y(),
                     reference.documentLayout()->blockBoundingRect(reference.findBlockByNumber(block.blockNumber())).top());
    }
    for (QTextBlock expected = reference.lastBlock(); expected.isValid(); expected = expected.previous()) {
        const qreal top = reference.documentLayout()->blockBoundingRect(expected).top();
        const QTextBlock block = document.findBlockByNumber(expected.blockNumber());
        const int hit = layout.hitTest(QPointF(20, top + 1), Qt::FuzzyHit);
        QVERIFY2(hit >= block.position() && hit < block.position() + block.length(),
                 qPrintable(QStringLiteral("line %1 (%2) not found at %3: %4")
                                .arg(block.blockNumber())
                                .arg(block.text().left(20))
                                .arg(top)
                                .arg(hit)));
    }
    // Every paragraph starts where the one before ends, and the document ends with the last.
    for (QTextBlock block = document.begin().next(); block.isValid(); block = block.next())
        QCOMPARE(layout.blockBoundingRect(block).top(), layout.blockBoundingRect(block.previous()).bottom());
    QCOMPARE(layout.documentSize().height(),
             layout.blockBoundingRect(document.lastBlock()).bottom() + document.documentMargin());
    if (wrappingLine >= 0)
        QVERIFY(document.findBlockByNumber(wrappingLine).layout()->lineCount() > 1);
}

QTEST_MAIN(TestTranscriptLayout)
#include "tst_transcriptlayout.moc"
