#include "app/ProgramExit.h"

#include "app/ProgramWindows.h"

#include <QTextDocument>
#include <QTextEdit>

void leaveTranscriptToProcessEnd(ProgramWindows &windows)
{
    auto *transcript = windows.mainWindow.findChild<QTextEdit *>(QStringLiteral("ChatWindow"));
    // Without a parent, the view's end leaves the document be.
    if (transcript)
        transcript->document()->setParent(nullptr);
}
