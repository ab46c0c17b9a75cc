// The chat program's start-up exactly as app/main.cpp runs it, with a probe that reports the
// first paint; presence reports go to a local port nobody listens on.

#include "StartupProbe.h"

#include "about/TForm2.h"
#include "app/ProgramConstants.h"
#include "main_window/TForm1.h"
#include "options/TOptionsForm.h"
#include "session/DBusSessionTransport.h"

#include <QApplication>
#include <QDBusConnection>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarnwave-chat"));
    QApplication::setApplicationVersion(QString::fromLatin1(ProgramConstants::ProgramVersion));
    QApplication::setDesktopFileName(QStringLiteral("tarnwave-chat"));

    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    PresenceEndpoint presence;
    presence.host = QStringLiteral("127.0.0.1");
    presence.port = 9;
    TForm1 mainWindow(transport, nullptr, presence);
    TForm2 about(&mainWindow);
    TOptionsForm options(mainWindow);
    mainWindow.setAboutWindow(&about);
    mainWindow.setOptionsDialog(&options);

    new StartupProbe(mainWindow);
    mainWindow.show();
    return QApplication::exec();
}
