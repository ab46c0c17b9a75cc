#include "about/TForm2.h"
#include "app/ProgramConstants.h"
#include "main_window/TForm1.h"
#include "options/TOptionsForm.h"
#include "session/DBusSessionTransport.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarnwave-chat"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramConstants::ProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral("tarnwave-chat"));

    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 mainWindow(transport);
    // The Options dialog comes last: creating it reads the defaults the main window set.
    TForm2 about(&mainWindow);
    TOptionsForm options(mainWindow);
    mainWindow.setAboutWindow(&about);
    mainWindow.setOptionsDialog(&options);

    mainWindow.show();
    return QApplication::exec();
}
