#include "app/ProgramExit.h"
#include "app/ProgramWindows.h"
#include "base/ApplicationIdentity.h"
#include "session/PlatformSessionTransport.h"
#include "session/SessionTransport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setApplicationIdentity();

    const std::unique_ptr<SessionTransport> transport = createPlatformSessionTransport();
    ProgramWindows windows(*transport);
    windows.mainWindow.show();
    const int status = QApplication::exec();
    leaveTranscriptToProcessEnd(windows);
    return status;
}
