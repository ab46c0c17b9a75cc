// The bare references of the start-up benchmark. With no argument, an empty QMainWindow: the
// least a Qt Widgets program with a main window pays. With --text, a QMainWindow holding a
// QTextEdit above a QLineEdit, as the chat window has: it loads the font database and makes a
// text document, which any window that shows and takes text pays.

#include "StartupProbe.h"

#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QTextEdit>
#include <QVBoxLayout>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    if (QCoreApplication::arguments().contains(QStringLiteral("--text"))) {
        auto *central = new QWidget;
        auto *column = new QVBoxLayout(central);
        column->setContentsMargins(0, 0, 0, 0);
        column->addWidget(new QTextEdit, 1);
        column->addWidget(new QLineEdit);
        window.setCentralWidget(central);
        window.resize(492, 296); // the chat window's size, so both paint as much
    }
    new StartupProbe(window);
    window.show();
    return QApplication::exec();
}
