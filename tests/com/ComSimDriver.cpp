#include "ComSimDriver.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QTest>
#include <QThread>

namespace {

const QString PipeName = QStringLiteral("\\\\.\\pipe\\TarnWave.SessionSim");

} // namespace

ComSimDriver::~ComSimDriver()
{
    if (m_own && m_own->state() != QProcess::NotRunning) {
        m_own->kill();
        m_own->waitForFinished(5000);
    }
}

QString ComSimDriver::simulatorPath()
{
    // CMake hands over the build machine's path; under Wine it is reached through drive Z:.
    QString path = qEnvironmentVariable("TARNWAVE_COM_SIM");
    if (path.startsWith(QLatin1Char('/')))
        path.prepend(QStringLiteral("Z:"));
    return QDir::toNativeSeparators(path);
}

namespace {

bool runSwitch(const QString &option, const QString &expected, QString *output)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(ComSimDriver::simulatorPath(), {option});
    const bool finished = process.waitForFinished(60000);
    *output = QString::fromUtf8(process.readAll());
    return finished && process.exitCode() == 0 && output->startsWith(expected);
}

} // namespace

bool ComSimDriver::registerServer(QString *output)
{
    return runSwitch(QStringLiteral("/RegServer"), QStringLiteral("registered"), output);
}

bool ComSimDriver::unregisterServer(QString *output)
{
    return runSwitch(QStringLiteral("/UnregServer"), QStringLiteral("unregistered"), output);
}

bool ComSimDriver::startOwn(const QStringList &commands)
{
    m_script = std::make_unique<QTemporaryFile>();
    if (!m_script->open())
        return false;
    m_script->write(commands.join(QLatin1Char('\n')).toUtf8() + '\n');
    m_script->close();
    m_own = std::make_unique<QProcess>();
    m_own->setProcessChannelMode(QProcess::ForwardedChannels);
    m_own->start(simulatorPath(), {QDir::toNativeSeparators(m_script->fileName())});
    // Its objects are offered before its command loop runs: once an echo comes back, a call
    // cannot race their registration and have COM start a second instance.
    return m_own->waitForStarted(10000) && connectPipe() && sync();
}

void ComSimDriver::kill()
{
    if (!m_own)
        return;
    m_own->kill();
    m_own->waitForFinished(5000);
    m_pipe.close();
}

bool ComSimDriver::waitForExit(int timeoutMs)
{
    const bool exited = m_own && m_own->waitForFinished(timeoutMs);
    m_pipe.close();
    return exited;
}

bool ComSimDriver::connectPipe(int timeoutMs)
{
    if (m_pipe.isConnected())
        return true;
    const QDeadlineTimer deadline(timeoutMs);
    do {
        if (m_pipe.connectTo(PipeName))
            return true;
        QThread::msleep(100);
    } while (!deadline.hasExpired());
    return false;
}

bool ComSimDriver::isServing()
{
    return connectPipe(0);
}

void ComSimDriver::send(const QString &command)
{
    m_pipe.write(command.toUtf8() + '\n');
}

bool ComSimDriver::readLine(QString *line, int timeoutMs)
{
    QByteArray bytes;
    if (!m_pipe.readLine(&bytes, timeoutMs))
        return false;
    *line = QString::fromUtf8(bytes);
    return true;
}

bool ComSimDriver::waitFor(const std::function<bool(const QString &)> &wanted, int timeoutMs)
{
    const QDeadlineTimer deadline(timeoutMs);
    QString read;
    while (readLine(&read, int(deadline.remainingTime()))) {
        m_seen.append(read);
        if (wanted(read))
            return true;
    }
    return false;
}

bool ComSimDriver::waitForLine(const QString &line, int timeoutMs)
{
    return waitFor([&line](const QString &read) { return read == line; }, timeoutMs);
}

bool ComSimDriver::waitForLineStartingWith(const QString &prefix, int timeoutMs)
{
    return waitFor([&prefix](const QString &read) { return read.startsWith(prefix); }, timeoutMs);
}

bool ComSimDriver::sync()
{
    const QString mark = QStringLiteral("sync-%1").arg(++m_syncs);
    send(QStringLiteral("echo ") + mark);
    return waitForLine(mark);
}

void ComSimDriver::startHang(int ms)
{
    send(QStringLiteral("hang %1").arg(ms));
    // A fixed wait: the start of a hang cannot be marked with a line printed just before it.
    // Under Wine that line's write can stay unfinished through the hang, and the simulator's
    // pipe then holds everything it prints after the hang too, for tens of seconds.
    QTest::qWait(300);
}

void ComSimDriver::quitAll()
{
    const QDeadlineTimer deadline(10000);
    while (connectPipe(0) && !deadline.hasExpired()) {
        send(QStringLiteral("quit"));
        m_pipe.waitForDisconnected(3000);
        m_pipe.close();
    }
    if (m_own)
        m_own->waitForFinished(5000);
}
