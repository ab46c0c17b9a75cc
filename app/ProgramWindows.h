#pragma once

#include "about/TForm2.h"
#include "main_window/TForm1.h"
#include "options/TOptionsForm.h"

class SessionTransport;

// The program's three windows, created in the order start-up needs and wired together: the
// main window first (it runs the start-up sequence), then the About window, and the Options
// dialog last, since creating it reads the display defaults the main window set.
struct ProgramWindows
{
    explicit ProgramWindows(SessionTransport &transport, const PresenceEndpoint &presence = PresenceEndpoint());

    TForm1 mainWindow;
    TForm2 about;
    TOptionsForm options;
};
