#pragma once

#include <QDBusConnection>
#include <QProcess>
#include <QString>
#include <QTemporaryFile>

// A dbus-daemon of the test's own, with no activatable services, that the test can kill: a
// server that dies stays dead until one is started by hand, and the bus itself can go away.
class PrivateBus
{
public:
    PrivateBus() = default;
    ~PrivateBus();
    PrivateBus(const PrivateBus &) = delete;
    PrivateBus &operator=(const PrivateBus &) = delete;

    bool start();
    // The daemon dies as if it crashed; clients find out on their own.
    void kill();
    const QString &address() const { return m_address; }
    // A client connection of its own, as the window would hold.
    QDBusConnection connect(const QString &connectionName);
    // The environment for a child process (a simulator) that should serve this bus.
    QProcessEnvironment environment() const;
    bool hasOwner(const QString &name);

private:
    QTemporaryFile m_config;
    QProcess m_daemon;
    QString m_address;
    QStringList m_connectionNames;
};
