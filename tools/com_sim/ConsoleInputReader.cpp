#include "ConsoleInputReader.h"

#include <QByteArray>

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
    QByteArray buffer;
    char chunk[4096];
    DWORD got = 0;
    while (!isInterruptionRequested() && ReadFile(input, chunk, sizeof chunk, &got, nullptr) && got > 0) {
        buffer.append(chunk, qsizetype(got));
        qsizetype start = 0;
        for (qsizetype end = buffer.indexOf('\n'); end >= 0; end = buffer.indexOf('\n', start)) {
            Q_EMIT lineRead(QString::fromUtf8(buffer.constData() + start, end - start));
            start = end + 1;
        }
        buffer.remove(0, start);
    }
    // The end of input is not the end of the simulator: it keeps serving COM.
    if (!buffer.isEmpty() && !isInterruptionRequested())
        Q_EMIT lineRead(QString::fromUtf8(buffer));
}
