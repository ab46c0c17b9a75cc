#include "CloseMainWindow.h"

#include "FakeSessionTransport.h"

#include "main_window/TForm1.h"

#include <QAction>

void closeMainWindow(TForm1 &window, FakeSessionTransport &transport, const QString &how)
{
    if (how == QLatin1String("exit"))
        window.findChild<QAction *>(QStringLiteral("Exit1"))->trigger();
    else if (how == QLatin1String("close"))
        window.close();
    else
        transport.fire(QStringLiteral("OnClosing"));
}
