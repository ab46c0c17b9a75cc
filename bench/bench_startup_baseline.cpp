// The smallest Qt Widgets program with a main window: the start-up benchmark's baseline.

#include "StartupProbe.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    new StartupProbe(window);
    window.show();
    return QApplication::exec();
}
