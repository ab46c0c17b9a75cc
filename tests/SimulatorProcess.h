#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// The session simulator as a child process on the test's private bus: commands go to its
// standard input, the calls it receives come back as lines.
class SimulatorProcess
{
public:
    SimulatorProcess();
    ~SimulatorProcess();
    SimulatorProcess(const SimulatorProcess &) = delete;
    SimulatorProcess &operator=(const SimulatorProcess &) = delete;

    // Starts it and waits until it owns its names.
    bool start(const QStringList &arguments = {});
    void send(const QString &commandLine);
    // Waits for a line on its standard output; lines seen are kept in output().
    bool waitForLine(const QString &line, int timeoutMs = 5000);
    // Sends "echo" with a token and waits for it: every earlier command has been run.
    bool sync(int timeoutMs = 5000);
    // Has it hang for ms and returns once it hangs: an echo and the hang go in one write,
    // which it reads at once and runs back to back, so nothing is answered between the echo's
    // token and the end of the hang.
    bool hang(int ms, int timeoutMs = 5000);
    void stop();
    bool isRunning() const;
    QProcess &process() { return m_process; }
    const QStringList &output() const { return m_lines; }

    static QString binaryPath();

private:
    void readAvailable();

    QProcess m_process;
    QStringList m_lines;
    QByteArray m_partial;
    int m_syncCounter = 0;
};
