// Layout cost of one long word with no break opportunity, the kind a careless or hostile
// station can send, in a transcript-wide document with the transcript's wrap mode (word
// boundaries, else anywhere): inserted as it is under the standard layout, and through the
// transcript's own append and layout, which wraps a paragraph holding an overlong run
// anywhere. Ordinary text is measured both ways too, so the transcript is seen to cost
// normal lines nothing.

#include "main_window/logic/TranscriptLayout.h"
#include "main_window/logic/TranscriptLines.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <cstdio>
#include <functional>

namespace {

constexpr int TranscriptWidth = 254;

using Insert = std::function<void(QTextCursor &, const QString &)>;

double layoutSeconds(const QString &text, const Insert &insert)
{
    QTextDocument document;
    QTextOption option = document.defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    document.setDefaultTextOption(option);
    document.setTextWidth(TranscriptWidth);
    QElapsedTimer timer;
    timer.start();
    QTextCursor caret(&document);
    insert(caret, text);
    (void)document.documentLayout()->documentSize();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    const Insert asIs = [](QTextCursor &caret, const QString &text) { caret.insertText(text); };
    const Insert append = [](QTextCursor &caret, const QString &text) {
        QTextDocument &document = *caret.document();
        document.setDocumentLayout(new TranscriptLayout(&document));
        appendReceivedLine(caret, 0, QColor(0, 0, 0), text);
    };
    const auto row = [](const char *what, int length, const char *how, double seconds) {
        std::printf("%-16s %10d chars  %-18s %8.3f s\n", what, length, how, seconds);
        std::fflush(stdout);
        return seconds;
    };

    // As it is, the cost grows with the square of the length, so the larger sizes are left out.
    const double asIs20k = row("word", 20000, "inserted as is", layoutSeconds(QString(20000, u'x'), asIs));
    const double asIs40k = row("word", 40000, "inserted as is", layoutSeconds(QString(40000, u'x'), asIs));
    const double append40k = row("word", 40000, "transcript append", layoutSeconds(QString(40000, u'x'), append));
    const double append1M = row("word", 1000000, "transcript append", layoutSeconds(QString(1000000, u'x'), append));
    const double append10M = row("word", 10000000, "transcript append", layoutSeconds(QString(10000000, u'x'), append));
    const QString words = QStringLiteral("abc defgh ").repeated(100000);
    const double wordsAsIs = row("ordinary words", int(words.size()), "inserted as is", layoutSeconds(words, asIs));
    const double wordsAppend = row("ordinary words", int(words.size()), "transcript append", layoutSeconds(words, append));

    std::printf("\nas is, 40k / 20k: %.1fx (4x is quadratic)\n", asIs40k / asIs20k);
    std::printf("at 40k, as is / transcript append: %.0fx\n", asIs40k / append40k);
    std::printf("transcript append, 10M / 1M: %.1fx (10x is linear)\n", append10M / append1M);
    std::printf("ordinary words, transcript append / as is: %.2fx\n", wordsAppend / wordsAsIs);
    return 0;
}
