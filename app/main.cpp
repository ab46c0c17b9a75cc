#include "app/ApplicationIdentity.h"
#include "app/ProgramWindows.h"
#include "session/DBusSessionTransport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    setApplicationIdentity();

    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    ProgramWindows windows(transport);
    windows.mainWindow.show();
    return QApplication::exec();
}
