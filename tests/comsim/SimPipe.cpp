#include "SimPipe.h"

#include <QTest>

bool SimPipe::connectTo(const QString &name, int timeoutMs)
{
    // The server creates the pipe moments after COM starts it.
    return QTest::qWaitFor([&] { return m_pipe.connectTo(name); }, timeoutMs);
}

void SimPipe::send(const QString &text)
{
    m_pipe.write(text.toUtf8() + '\n');
}

bool SimPipe::waitForLine(const QString &line, int timeoutMs)
{
    return QTest::qWaitFor([&] {
        readLines();
        return lines.contains(line);
    }, timeoutMs);
}

bool SimPipe::sync(int timeoutMs)
{
    const QString token = QStringLiteral("sync %1").arg(++m_syncCount);
    send(QStringLiteral("echo ") + token);
    return waitForLine(token, timeoutMs);
}

bool SimPipe::waitForDisconnect(int timeoutMs)
{
    return QTest::qWaitFor([&] { return !m_pipe.isConnected(); }, timeoutMs);
}

void SimPipe::readLines()
{
    QByteArray line;
    while (m_pipe.readLine(&line, 0))
        lines << QString::fromUtf8(line);
}
