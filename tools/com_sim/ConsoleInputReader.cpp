#include "ConsoleInputReader.h"

#include "SimLineBuffer.h"

#include <windows.h>

ConsoleInputReader::ConsoleInputReader(QObject *parent) : QThread(parent) {}

ConsoleInputReader::~ConsoleInputReader()
{
    if (!isRunning())
        return;
    requestInterruption();
    // The thread sits in ReadFile; cancel that read rather than wait for a line that may
    // never come.
    if (const unsigned long id = m_threadId.load()) {
        if (HANDLE thread = OpenThread(THREAD_TERMINATE, FALSE, id)) {
            CancelSynchronousIo(thread);
            CloseHandle(thread);
        }
    }
    if (!wait(1000)) {
        terminate();
        wait();
    }
}

void ConsoleInputReader::run()
{
    m_threadId = GetCurrentThreadId();
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    SimLineBuffer buffer;
    char chunk[4096];
    DWORD got = 0;
    while (!isInterruptionRequested() && ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        for (const QString &line : buffer.add(QByteArrayView(chunk, qsizetype(got))))
            Q_EMIT lineRead(line);
    }
    // The end of input is not the end of the simulator: it keeps serving COM.
    if (isInterruptionRequested())
        return;
    for (const QString &line : buffer.finish())
        Q_EMIT lineRead(line);
}
