#include "SessionSimulator.h"
#include "SimLineBuffer.h"
#include "StdinLineReader.h"
#include "TerminationSignalWatcher.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QStringList>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarnwave-session-sim"));

    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 2 || (args.size() == 2 && (args[1] == u"-h" || args[1] == u"--help"))) {
        std::fputs("usage: tarnwave-session-sim [SCRIPT]\n"
                   "Serves TarnWave.TarnwaveSession and TarnWave.SetupConfig on the session bus and runs\n"
                   "commands from SCRIPT, or from standard input when no SCRIPT is given.\n",
                   stderr);
        return args.size() > 2 ? 2 : 0;
    }

    // Read the script before touching the bus, so a typo in its name costs nothing.
    QStringList scriptLines;
    const bool fromScript = args.size() == 2;
    QString error;
    if (fromScript && !SimLineBuffer::readScript(args[1], &scriptLines, &error)) {
        std::fprintf(stderr, "tarnwave-session-sim: cannot open %s: %s\n", qPrintable(args[1]), qPrintable(error));
        return 1;
    }

    SessionSimulator simulator(QDBusConnection::sessionBus());
    TerminationSignalWatcher termination;
    auto leave = [&simulator] {
        simulator.flush();
        QCoreApplication::exit(0);
    };
    QObject::connect(&simulator, &SessionSimulator::quitRequested, &app, leave, Qt::QueuedConnection);
    QObject::connect(&termination, &TerminationSignalWatcher::terminationRequested, &app, leave);

    QString message;
    switch (simulator.start(&message)) {
    case SessionSimulator::StartResult::Ready:
        break;
    case SessionSimulator::StartResult::AlreadyRunning:
        // Exit 0: a bus activation racing with a running instance has not failed.
        std::fprintf(stderr, "tarnwave-session-sim: %s\n", qPrintable(message));
        return 0;
    case SessionSimulator::StartResult::Failed:
        std::fprintf(stderr, "tarnwave-session-sim: %s\n", qPrintable(message));
        return 1;
    }

    if (fromScript) {
        for (const QString &line : std::as_const(scriptLines))
            simulator.addLine(line);
    } else {
        auto *reader = new StdinLineReader(&app);
        QObject::connect(reader, &StdinLineReader::lineRead, &simulator, &SessionSimulator::addLine);
    }
    return app.exec();
}
