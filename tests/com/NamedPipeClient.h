#pragma once

#include <QByteArray>
#include <QString>

#include <windows.h>

// The client end of a named pipe (the simulator's command pipe), polled and waited on
// directly by the test's thread. QLocalSocket completes its reads on the process's thread
// pool, and under Wine that pool can sit on a completion for many seconds after a COM call of
// ours has been blocked by a hung server, so a test would miss lines the simulator did print.
class NamedPipeClient
{
public:
    NamedPipeClient() = default;
    ~NamedPipeClient();
    NamedPipeClient(const NamedPipeClient &) = delete;
    NamedPipeClient &operator=(const NamedPipeClient &) = delete;

    bool connectTo(const QString &name);
    // Also takes in whatever has arrived, so nothing printed before a disconnect is lost.
    bool isConnected();
    void close();
    // False when the simulator has not taken the bytes within a few seconds.
    bool write(const QByteArray &bytes);
    // Waits up to timeoutMs for a whole line; false once the time is up or the pipe is gone.
    bool readLine(QByteArray *line, int timeoutMs);
    bool waitForDisconnected(int timeoutMs);

private:
    // Takes in whatever has arrived without waiting; false when the pipe is broken.
    bool readAvailable();
    // Waits for an overlapped transfer, cancelling it after timeoutMs.
    bool finish(BOOL started, OVERLAPPED *overlapped, DWORD *done, int timeoutMs);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_done = nullptr;
    QByteArray m_buffer;
};
