#include "app/ProgramWindows.h"

ProgramWindows::ProgramWindows(SessionTransport &transport, const PresenceEndpoint &presence)
    : mainWindow(transport, nullptr, presence)
    , about(&mainWindow)
    , options(mainWindow, &mainWindow)
{
    mainWindow.setAboutWindow(&about);
    mainWindow.setOptionsDialog(&options);
}
