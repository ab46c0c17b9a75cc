#include "PrivateBus.h"

#include <QDBusConnectionInterface>
#include <QDir>

PrivateBus::~PrivateBus()
{
    kill();
    for (const QString &name : std::as_const(m_connectionNames))
        QDBusConnection::disconnectFromBus(name);
}

bool PrivateBus::start()
{
    m_config.setFileTemplate(QDir::tempPath() + QStringLiteral("/tarnwave-private-bus-XXXXXX.conf"));
    if (!m_config.open())
        return false;
    m_config.write("<!DOCTYPE busconfig PUBLIC \"-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN\"\n"
                   " \"http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd\">\n"
                   "<busconfig><type>session</type><listen>unix:tmpdir=/tmp</listen><auth>EXTERNAL</auth>\n"
                   "<policy context=\"default\"><allow send_destination=\"*\" eavesdrop=\"true\"/>"
                   "<allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>\n"
                   "<limit name=\"max_incoming_bytes\">1000000000</limit>\n"
                   "<limit name=\"max_outgoing_bytes\">1000000000</limit>\n"
                   "<limit name=\"max_message_size\">100000000</limit>\n"
                   "</busconfig>\n");
    m_config.close();
    m_daemon.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--nofork"), QStringLiteral("--print-address=1"),
                                                   QStringLiteral("--config-file=") + m_config.fileName()});
    if (!m_daemon.waitForStarted(5000) || !m_daemon.waitForReadyRead(5000))
        return false;
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    return !m_address.isEmpty();
}

void PrivateBus::kill()
{
    if (m_daemon.state() == QProcess::NotRunning)
        return;
    m_daemon.kill();
    m_daemon.waitForFinished(3000);
}

QDBusConnection PrivateBus::connect(const QString &connectionName)
{
    if (!m_connectionNames.contains(connectionName))
        m_connectionNames << connectionName;
    return QDBusConnection::connectToBus(m_address, connectionName);
}

QProcessEnvironment PrivateBus::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DBUS_SESSION_BUS_ADDRESS"), m_address);
    return environment;
}

bool PrivateBus::hasOwner(const QString &name)
{
    const QDBusConnection probe = connect(QStringLiteral("private-bus-probe"));
    return probe.interface() && probe.interface()->isServiceRegistered(name).value();
}
