#pragma once

#include "SimCommandParser.h"
#include "SimCommandQueue.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>

class SimSession;
class SimSetupConfig;

// Serves both bus names and runs the command language against them, one line at a time.
class SessionSimulator : public QObject
{
    Q_OBJECT

public:
    static const QString SessionService;
    static const QString ConfigService;

    enum class StartResult { Ready, AlreadyRunning, Failed };

    explicit SessionSimulator(const QDBusConnection &bus, QObject *parent = nullptr);

    // Exports the objects, then claims the names; on failure *message says why.
    StartResult start(QString *message);

    // Queues a line; it runs once every earlier line (and any sleep) has finished.
    void addLine(const QString &line);

    // Makes sure every signal already emitted has left for the bus before the process ends.
    void flush();

Q_SIGNALS:
    void quitRequested();

private:
    void execute(const SimCommand &command);
    void emitSwitch(const char *name, bool on);
    static void printLine(const QString &line);
    static void printError(const QString &line);

    QDBusConnection m_bus;
    SimSession *m_session = nullptr;
    SimSetupConfig *m_config = nullptr;
    SimCommandQueue *m_queue = nullptr;
};
