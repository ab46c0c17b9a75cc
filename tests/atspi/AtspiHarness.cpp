#include "main_window/TForm1.h"
#include "options/TOptionsForm.h"
#include "session/dbus/DBusSessionTransport.h"

#include <QApplication>

// The main window and the Options dialog on the session bus's simulator, for a screen-reader
// client to read. Presence reports go to a closed local port, never off this machine.
int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("tarnwave-atspi-harness"));

    DBusSessionTransport transport(DBusSessionTransport::sessionBus());
    TForm1 mainWindow(transport, nullptr, PresenceEndpoint{QStringLiteral("127.0.0.1"), 9});
    TOptionsForm options(mainWindow, &mainWindow);
    mainWindow.setOptionsDialog(&options);
    mainWindow.show();
    // Shown beside the main window, so its controls are in the tree at the same time.
    options.setModal(false);
    options.show();
    return QApplication::exec();
}
