#pragma once

#include "session/SessionTransport.h"

#include <QDBusConnection>
#include <QSet>

class EventBursts;
class QDBusMessage;
class QDBusServiceWatcher;

// Automation objects on the D-Bus session bus. Messages are built by hand rather than through
// QDBusInterface, whose constructor makes a blocking introspection round-trip per object.
// The owners of the servers' bus names are followed, so a server that crashes is noticed at
// once and one started again is found by itself.
class DBusSessionTransport : public SessionTransport
{
    Q_OBJECT

public:
    // Bounds for one ordinary call and for the activation of a server that is starting.
    static constexpr int CallTimeoutMs = 3000;
    static constexpr int ActivationTimeoutMs = 30000;
    // The error a server in a modal state answers with: it did not run the call.
    static constexpr char BusyErrorName[] = "TarnWave.Error.Busy";
    explicit DBusSessionTransport(const QDBusConnection &connection, QObject *parent = nullptr);

    // The session bus on a connection of the program's own. QtDBus holds back what arrives on
    // its shared default connection until the main event loop first turns, and then passes the
    // newest messages on ahead of those it held back: a station that connects and leaves
    // during start-up would stay listed.
    static QDBusConnection sessionBus();

    void attachOrStart(const QString &progId) override;
    void attachRunning(const QString &progId) override;
    QVariant readProperty(const QString &progId, const QString &name) override;
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override;
    void subscribe(const QString &progId) override;
    void unsubscribe(const QString &progId) override;

private Q_SLOTS:
    // Takes every signal whatever its signature; the event wrapper checks the arguments.
    void handleSignal(const QDBusMessage &message);

private:
    void requireBus() const;
    // Retries a call the server refused as busy until boundMs has passed.
    QDBusMessage callBlocking(const QDBusMessage &message, int timeoutMs, const QString &what);
    QDBusMessage callOnce(const QDBusMessage &message, int timeoutMs);
    [[noreturn]] void throwCallError(const QDBusMessage &message, const QDBusMessage &reply,
                                     int timeoutMs, const QString &what);
    bool hasOwner(const QString &progId);
    void attached(const QString &progId);
    void attachFailed();
    void ownerChanged(const QString &name, const QString &oldOwner, const QString &newOwner);
    void serverGone();

    QDBusConnection m_connection;
    EventBursts *m_bursts = nullptr;
    QDBusServiceWatcher *m_owners = nullptr;
    QSet<QString> m_attached;
    QSet<QString> m_subscribed;
    bool m_watching = false;
};
