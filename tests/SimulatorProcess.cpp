#include "SimulatorProcess.h"

#include <QDeadlineTimer>

SimulatorProcess::SimulatorProcess()
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
}

SimulatorProcess::~SimulatorProcess()
{
    stop();
}

QString SimulatorProcess::binaryPath()
{
    return qEnvironmentVariable("TARNWAVE_SIM");
}

bool SimulatorProcess::start(const QStringList &arguments)
{
    m_process.start(binaryPath(), arguments);
    if (!m_process.waitForStarted(5000))
        return false;
    return waitForLine(QStringLiteral("ready"), 10000);
}

void SimulatorProcess::send(const QString &commandLine)
{
    m_process.write(commandLine.toUtf8() + '\n');
    m_process.waitForBytesWritten(1000);
}

void SimulatorProcess::readAvailable()
{
    m_partial += m_process.readAllStandardOutput();
    qsizetype newline;
    while ((newline = m_partial.indexOf('\n')) >= 0) {
        m_lines << QString::fromUtf8(m_partial.left(newline));
        m_partial.remove(0, newline + 1);
    }
}

bool SimulatorProcess::waitForLine(const QString &line, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    for (;;) {
        readAvailable();
        if (m_lines.contains(line))
            return true;
        if (deadline.hasExpired() || m_process.state() != QProcess::Running)
            return false;
        m_process.waitForReadyRead(qMax<qint64>(1, qMin<qint64>(50, deadline.remainingTime())));
    }
}

bool SimulatorProcess::sync(int timeoutMs)
{
    const QString token = QStringLiteral("sync-%1").arg(++m_syncCounter);
    send(QStringLiteral("echo ") + token);
    return waitForLine(token, timeoutMs);
}

bool SimulatorProcess::hang(int ms, int timeoutMs)
{
    const QString token = QStringLiteral("sync-%1").arg(++m_syncCounter);
    send(QStringLiteral("echo %1\nhang %2").arg(token).arg(ms));
    return waitForLine(token, timeoutMs);
}

void SimulatorProcess::stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(3000)) {
        m_process.kill();
        m_process.waitForFinished(3000);
    }
}

bool SimulatorProcess::isRunning() const
{
    return m_process.state() == QProcess::Running;
}
