// Memory per transcript line at 100,000 lines, beyond the text itself: the heap the main
// window holds after the lines arrived through its own handlers (received lines as session
// events, own lines through the Send button), less the lines' characters at two bytes each.
// A bare QTextDocument with the same lines is shown beside it.

#include "BenchReport.h"
#include "BenchSessionTransport.h"
#include "TranscriptFill.h"

#include "main_window/TForm1.h"
#include "main_window/logic/TDisplaySettings.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <malloc.h>

#include <cstdio>

namespace {

constexpr int Lines = 100000;
constexpr double TargetBytes = 400;

qint64 heapInUse()
{
    // Returned but unreleased blocks are not counted, so the figure is what is held.
    malloc_trim(0);
    return qint64(mallinfo2().uordblks);
}

qint64 textCharacters(const QTextDocument &document)
{
    qint64 characters = 0;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        characters += block.length();
    return characters;
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);

    BenchSessionTransport transport;
    TForm1 window(transport);
    auto *input = window.findChild<QLineEdit *>(QStringLiteral("Edit1"));
    auto *send = window.findChild<QPushButton *>(QStringLiteral("Button1"));
    QTextDocument &document = *window.findChild<QTextEdit *>(QStringLiteral("ChatWindow"))->document();
    window.show();
    QCoreApplication::processEvents();

    const qint64 charactersBefore = textCharacters(document);
    const qint64 heapBefore = heapInUse();
    const qint64 rssBefore = residentKiB();
    for (int i = 0; i < Lines; ++i) {
        if (i % 2 == 0) {
            input->setText(benchLineText(i));
            send->click();
        } else {
            transport.fire(QStringLiteral("OnChatTextReceived"), {QString(QStringLiteral("W1AW>") + benchLineText(i))});
        }
        if (i % 1000 == 0)
            QCoreApplication::processEvents();
    }
    QCoreApplication::processEvents();
    const double windowBytes = double(heapInUse() - heapBefore) / Lines;
    const double rssBytes = double(residentKiB() - rssBefore) * 1024 / Lines;
    const double textBytes = 2.0 * double(textCharacters(document) - charactersBefore) / Lines;

    TDisplaySettings settings;
    settings.setDefaults();
    const qint64 bareBefore = heapInUse();
    double bareBytes = 0;
    double bareTextBytes = 0;
    {
        QTextDocument bare;
        fillTranscript(bare, settings, Lines);
        bareBytes = double(heapInUse() - bareBefore) / Lines;
        bareTextBytes = 2.0 * double(textCharacters(bare)) / Lines;
    }

    const double beyond = windowBytes - textBytes;
    std::printf("memory: %d lines through the window's handlers, heap held per line\n", Lines);
    std::printf("%-36s %10.0f bytes\n", "window, heap per line", windowBytes);
    std::printf("%-36s %10.0f bytes\n", "window, resident growth per line", rssBytes);
    std::printf("%-36s %10.0f bytes\n", "the text itself (UTF-16)", textBytes);
    std::printf("%-36s %10.0f bytes\n", "bare QTextDocument, heap per line", bareBytes);
    std::printf("%-36s %10.0f bytes\n", "bare QTextDocument, beyond its text", bareBytes - bareTextBytes);
    std::printf("%-36s %10.0f bytes\n", "window, beyond the text", beyond);
    reportResult(QStringLiteral("memory"), QStringLiteral("heap per line beyond the text, 100k lines"),
                 QStringLiteral("%1 bytes (text %2, bare document %3)").arg(beyond, 0, 'f', 0).arg(textBytes, 0, 'f', 0).arg(bareBytes - bareTextBytes, 0, 'f', 0),
                 QStringLiteral("<= %1 bytes").arg(TargetBytes), beyond <= TargetBytes);
    return 0;
}
