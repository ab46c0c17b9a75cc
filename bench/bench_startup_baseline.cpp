// The smallest Qt Widgets program with a main window: the start-up benchmark's baseline.
// With --text the window shows one line of text, so the font database is loaded as in any
// window that draws text.

#include "StartupProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--text")))
        window.setCentralWidget(new QLabel(QStringLiteral("TarnWave Chat")));
    new StartupProbe(window);
    window.show();
    return QApplication::exec();
}
