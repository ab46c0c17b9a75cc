#include "app/ProgramWindows.h"
#include "base/ApplicationIdentity.h"
#include "session/PlatformSessionTransport.h"
#include "session/SessionTransport.h"

#include <QApplication>

// The program exactly as app/main.cpp runs it, except that presence reports go to the port on
// this machine named by the first argument, where the test listens for them.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setApplicationIdentity();

    const QStringList arguments = QApplication::arguments();
    const quint16 port = arguments.size() > 1 ? arguments.at(1).toUShort() : 9;
    const std::unique_ptr<SessionTransport> transport = createPlatformSessionTransport();
    ProgramWindows windows(*transport, PresenceEndpoint{QStringLiteral("127.0.0.1"), port});
    windows.mainWindow.show();
    return QApplication::exec();
}
