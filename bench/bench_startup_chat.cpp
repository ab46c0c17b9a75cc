// The chat program's start-up exactly as app/main.cpp runs it, with a probe that reports the
// first paint; presence reports go to a local port nobody listens on, named as a host is, so the
// name is looked up as the real one is.

#include "StartupProbe.h"

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
    PresenceEndpoint presence;
    presence.host = QStringLiteral("localhost");
    presence.port = 9;
    ProgramWindows windows(*transport, presence);

    new StartupProbe(windows.mainWindow);
    windows.mainWindow.show();
    return QApplication::exec();
}
