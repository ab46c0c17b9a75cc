#pragma once

#include "NamedPipeClient.h"

#include <QStringList>

// The test's end of the simulator's command pipe.
class SimPipe
{
public:
    bool connectTo(const QString &name, int timeoutMs);
    void send(const QString &lines);
    // Waits for a printed line equal to the one given; lines before it stay readable.
    bool waitForLine(const QString &line, int timeoutMs);
    // Sends "echo TOKEN" and waits for it, so that every earlier line has run.
    bool sync(int timeoutMs = 10000);
    bool waitForDisconnect(int timeoutMs);

    QStringList lines;

private:
    void readLines();

    NamedPipeClient m_pipe;
    int m_syncCount = 0;
};
