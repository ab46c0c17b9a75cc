#include "SimPipe.h"

#include <QDeadlineTimer>
#include <QTest>

bool SimPipe::connectTo(const QString &name, int timeoutMs)
{
    // The server creates the pipe moments after COM starts it.
    const QDeadlineTimer deadline(timeoutMs);
    do {
        m_socket.connectToServer(name);
        if (m_socket.waitForConnected(500))
            return true;
        QTest::qWait(100);
    } while (!deadline.hasExpired());
    return false;
}

void SimPipe::send(const QString &text)
{
    m_socket.write(text.toUtf8() + '\n');
    m_socket.flush();
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
    return QTest::qWaitFor([&] { return m_socket.state() == QLocalSocket::UnconnectedState; }, timeoutMs);
}

void SimPipe::readLines()
{
    while (m_socket.canReadLine())
        lines << QString::fromUtf8(m_socket.readLine()).chopped(1);
}
