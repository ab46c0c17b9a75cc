#include "app/ProgramConstants.h"
#include "app/ProgramWindows.h"
#include "session/DBusSessionTransport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarnwave-chat"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramConstants::ProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral("tarnwave-chat"));

    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    ProgramWindows windows(transport);
    windows.mainWindow.show();
    return QApplication::exec();
}
