#pragma once

#include "SimCommandParser.h"

#include <QObject>
#include <QString>
#include <QStringList>

class SimCommandQueue;
class SimServer;

// Runs the command language against a simulator and prints what it saw and did, one line
// each and flushed at once, as tests read them. Both simulators share it, so a command is
// added here alone.
class SimCommandRunner : public QObject
{
    Q_OBJECT

public:
    explicit SimCommandRunner(SimServer &server, QObject *parent = nullptr);

    // Prints "ready" and runs what was queued; nothing runs before the objects are served.
    void start();
    // No command runs after this: the objects are gone.
    void stop();
    // Queues a line; it runs once every earlier line (and any sleep) has finished.
    void addLine(const QString &line);

    void printLine(const QString &line);
    void printError(const QString &line);
    // What a client called, worded alike by both simulators.
    void printChatTextSent(const QString &text);
    void printTransmit(bool on);

Q_SIGNALS:
    // Everything printed, on standard output or standard error.
    void printed(const QString &line);
    void quitRequested();

private:
    void execute(const SimCommand &command);
    // Fire OnConnected / OnDisconnected and keep NumPeers equal to the connected list.
    void connectStation(const QString &call, const QString &name, const QString &addr);
    void disconnectStation(const QString &call);

    SimServer &m_server;
    SimCommandQueue *m_queue = nullptr;
    QStringList m_connected;
    bool m_stopped = false;
};
