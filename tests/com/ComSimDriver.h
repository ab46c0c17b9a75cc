#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryFile>

#include "NamedPipeClient.h"

#include <functional>
#include <memory>

// Drives the COM session simulator through its command pipe, whether COM started it or the
// test did, and reads back what it prints.
class ComSimDriver
{
public:
    ComSimDriver() = default;
    ~ComSimDriver();

    static QString simulatorPath();
    // Registers the simulator's classes in this prefix; the text says what went wrong.
    static bool registerServer(QString *output);
    // Takes the registration away again, as on a machine where the server is not installed.
    static bool unregisterServer(QString *output);

    // Starts an instance of our own (not through COM) running these commands first, and
    // returns once it serves its objects.
    bool startOwn(const QStringList &commands);
    void kill();
    // Waits for our own instance to end by itself (a die command) and drops its pipe.
    bool waitForExit(int timeoutMs = 10000);

    bool connectPipe(int timeoutMs = 10000);
    bool isServing();
    void send(const QString &command);
    // Waits for a printed line equal to line; lines before it are kept in seen().
    bool waitForLine(const QString &line, int timeoutMs = 5000);
    bool waitForLineStartingWith(const QString &prefix, int timeoutMs = 5000);
    // Sends an echo and waits for it: everything sent before has run.
    bool sync();
    // Has it hang for ms and gives the hang time to begin.
    void startHang(int ms);
    const QStringList &seen() const { return m_seen; }
    // Asks whatever instance serves the pipe to quit and waits until none does.
    void quitAll();

private:
    bool readLine(QString *line, int timeoutMs);
    bool waitFor(const std::function<bool(const QString &)> &wanted, int timeoutMs);

    NamedPipeClient m_pipe;
    std::unique_ptr<QProcess> m_own;
    std::unique_ptr<QTemporaryFile> m_script;
    QStringList m_seen;
    int m_syncs = 0;
};
