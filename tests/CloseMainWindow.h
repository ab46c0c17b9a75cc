#pragma once

#include <QString>

class FakeSessionTransport;
class TForm1;

// Closes the main window one of the three ways an operator or the server can: "exit" (the
// menu item), "close" (the close box) or anything else (the server's OnClosing).
void closeMainWindow(TForm1 &window, FakeSessionTransport &transport, const QString &how);
