#include "session/dbus/DBusSessionTransport.h"

#include "base/TarnWaveError.h"
#include "session/EventBursts.h"
#include "session/TarnWave_TLB.h"

#include <QDBusMessage>
#include <QDBusVariant>
#include <QDeadlineTimer>

namespace {

const QString DBusService = QStringLiteral("org.freedesktop.DBus");
const QString DBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString DBusInterface = QStringLiteral("org.freedesktop.DBus");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

QVariantList wireArguments(const QString &method, const QVariantList &args)
{
    const TarnWave_TLB::MethodEntry *entry = TarnWave_TLB::findMethod(method);
    QVariantList wire = args;
    for (qsizetype i = 0; entry && i < wire.size() && entry->signature[i] != '\0'; ++i) {
        // A plain bool would go out as 'b' and miss a method that takes a variant.
        if (entry->signature[i] == 'v')
            wire[i] = QVariant::fromValue(QDBusVariant(wire.at(i)));
    }
    return wire;
}

} // namespace

DBusSessionTransport::DBusSessionTransport(const QDBusConnection &connection, QObject *parent)
    : SessionTransport(parent)
    , m_connection(connection)
    , m_bursts(new EventBursts(*this))
{
}

QDBusConnection DBusSessionTransport::sessionBus()
{
    return QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("tarnwave-session"));
}

void DBusSessionTransport::requireBus() const
{
    if (!m_connection.isConnected()) {
        const QString reason = m_connection.lastError().message();
        throw TarnWaveError(reason.isEmpty()
                                ? QStringLiteral("Cannot reach the D-Bus session bus")
                                : QStringLiteral("Cannot reach the D-Bus session bus: ") + reason);
    }
}

QDBusMessage DBusSessionTransport::callBlocking(const QDBusMessage &message, int timeoutMs,
                                                const QString &what)
{
    requireBus();
    // Block rather than BlockWithGui: no handler may run in the middle of another one.
    const QDBusMessage reply = m_connection.call(message, QDBus::Block, timeoutMs);
    if (reply.type() != QDBusMessage::ReplyMessage) {
        const QString name = reply.errorName();
        if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply")
            || name == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
            throw TarnWaveError(QStringLiteral("The session server did not answer %1 within %2 seconds")
                                    .arg(what)
                                    .arg(timeoutMs / 1000));
        }
        if (name == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
            throw TarnWaveError(QStringLiteral("The D-Bus session bus has gone away"));
        // The bus's own wording speaks of .service files, which tells the operator nothing.
        if (message.service() != DBusService
            && (name == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
                || name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner"))) {
            throw TarnWaveError(QStringLiteral("%1 failed: the session server is not running")
                                    .arg(what));
        }
        const QString text = reply.errorMessage();
        throw TarnWaveError(text.isEmpty() ? name : text);
    }
    return reply;
}

void DBusSessionTransport::attachOrStart(const QString &progId)
{
    const QString name = TarnWave_TLB::busName(progId);
    QDBusMessage ask = QDBusMessage::createMethodCall(DBusService, DBusPath, DBusInterface,
                                                      QStringLiteral("NameHasOwner"));
    ask << name;
    const QDBusMessage owned = callBlocking(ask, CallTimeoutMs, QStringLiteral("NameHasOwner"));
    // The bus looks for a service file before it looks at the owner, so a server started by
    // hand would fail StartServiceByName: ask first.
    if (!owned.arguments().isEmpty() && owned.arguments().constFirst().toBool())
        return;

    QDBusMessage start = QDBusMessage::createMethodCall(DBusService, DBusPath, DBusInterface,
                                                        QStringLiteral("StartServiceByName"));
    start << name << 0u;
    callBlocking(start, ActivationTimeoutMs, progId);
}

QVariant DBusSessionTransport::readProperty(const QString &progId, const QString &name)
{
    QDBusMessage get = QDBusMessage::createMethodCall(TarnWave_TLB::busName(progId),
                                                      TarnWave_TLB::objectPath(progId),
                                                      PropertiesInterface, QStringLiteral("Get"));
    get << TarnWave_TLB::interfaceName(progId) << name;
    const QDBusMessage reply = callBlocking(get, CallTimeoutMs, name);
    if (reply.arguments().isEmpty())
        throw TarnWaveError(QStringLiteral("The session server sent no value for %1").arg(name));
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

void DBusSessionTransport::invoke(const QString &progId, const QString &method,
                                  const QVariantList &args)
{
    QDBusMessage call = QDBusMessage::createMethodCall(TarnWave_TLB::busName(progId),
                                                       TarnWave_TLB::objectPath(progId),
                                                       TarnWave_TLB::interfaceName(progId), method);
    call.setArguments(wireArguments(method, args));
    callBlocking(call, CallTimeoutMs, method);
}

void DBusSessionTransport::subscribe(const QString &progId)
{
    requireBus();
    // Subscribed by well-known name, so the events follow the name to a new owner. One match
    // rule for the whole interface (an empty signal name) rather than one per event: each rule
    // is a round trip through the bus thread, at start and at close. Signals the event table
    // does not list are dropped by the event wrapper. QtDBus offers only the string-based
    // connect for bus signals.
    m_connection.connect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                         TarnWave_TLB::interfaceName(progId), QString(), this,
                         SLOT(handleSignal(QDBusMessage)));
}

void DBusSessionTransport::unsubscribe(const QString &progId)
{
    // The same arguments drop the match rule again.
    m_connection.disconnect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                            TarnWave_TLB::interfaceName(progId), QString(), this,
                            SLOT(handleSignal(QDBusMessage)));
}

void DBusSessionTransport::handleSignal(const QDBusMessage &message)
{
    // Interface names equal the ProgIDs.
    m_bursts->push(message.interface(), message.member(), message.arguments());
}
