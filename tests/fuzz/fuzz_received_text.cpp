// Received chat text appended to a transcript: whatever a station sends becomes exactly one
// new line holding every character (control characters as their visible pictures), saved as
// it came, and the document lays it out.
#include "main_window/logic/ReceivedText.h"
#include "main_window/logic/TranscriptFile.h"
#include "main_window/logic/TranscriptLayout.h"
#include "main_window/logic/TranscriptLines.h"

#include <QAbstractTextDocumentLayout>
#include <QColor>
#include <QGuiApplication>
#include <QStringEncoder>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdlib>

namespace {

bool breaksLine(QChar c)
{
    const char16_t code = c.unicode();
    return (code < 0x20 && code != u'\t') || code == 0x7f || code == 0x85 || code == 0x2028 || code == 0x2029
        || code == 0xfdd0 || code == 0xfdd1;
}

qsizetype trailingBreak(const QString &text)
{
    if (text.endsWith(QStringLiteral("\r\n")))
        return 2;
    return text.endsWith(u'\r') || text.endsWith(u'\n') ? 1 : 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Never destroyed. Among the exit handlers it would go after Qt Gui's font caches, and then
    // (with Qt Network loaded, as the core library brings it) drop the main thread's entries in
    // them unfreed, which the leak check at exit reports.
    static QGuiApplication *const app = new QGuiApplication(*argc, *argv);
    Q_UNUSED(app);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Raw UTF-16, so lone surrogates and every control code can arrive as a station sends them.
    const QString received(reinterpret_cast<const QChar *>(data), qsizetype(size / 2));
    const QString shown = transcriptSafeText(received);
    if (shown.size() != received.size() - trailingBreak(received))
        std::abort();
    for (const QChar c : shown) {
        if (breaksLine(c))
            std::abort();
    }

    QTextDocument document;
    document.setDocumentLayout(new TranscriptLayout(&document));
    QTextCursor caret(&document);
    caret.insertText(QStringLiteral("earlier line"));
    caret.insertBlock();
    const int blocksBefore = document.blockCount();
    const int lengthBefore = transcriptLength(document);
    appendReceivedLine(caret, lengthBefore, QColor(255, 0, 0), shown);
    if (document.blockCount() != blocksBefore + 1)
        std::abort();
    // Exactly the shown text and its break: nothing is added for the layout.
    if (transcriptLength(document) != lengthBefore + shown.size() + 1)
        std::abort();
    QStringEncoder encoder(QStringConverter::System);
    const QByteArray saved = encoder.encode(QStringLiteral("earlier line\r\n") + shown + QStringLiteral("\r\n"));
    if (transcriptFileContents(document) != saved)
        std::abort();

    document.setTextWidth(240);
    (void)document.documentLayout()->documentSize();
    return 0;
}
