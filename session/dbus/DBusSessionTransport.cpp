#include "session/dbus/DBusSessionTransport.h"

#include "base/TarnWaveError.h"
#include "session/EventBursts.h"
#include "session/ServerMessages.h"
#include "session/TarnWave_TLB.h"

#include <QDBusMessage>
#include <QDBusServiceWatcher>
#include <QDBusVariant>
#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>

namespace {

const QString DBusService = QStringLiteral("org.freedesktop.DBus");
const QString DBusPath = QStringLiteral("/org/freedesktop/DBus");
const QString DBusInterface = QStringLiteral("org.freedesktop.DBus");
const QString PropertiesInterface = QStringLiteral("org.freedesktop.DBus.Properties");

// A busy server is asked again soon at first, then less and less often.
constexpr int FirstRetryMs = 20;
constexpr int LongestRetryMs = 400;

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

// A call to a server's object; the bus never starts the server for it: only start-up may.
QDBusMessage serverCall(const QString &progId, const QString &interface, const QString &member)
{
    QDBusMessage call = QDBusMessage::createMethodCall(TarnWave_TLB::busName(progId),
                                                       TarnWave_TLB::objectPath(progId), interface, member);
    call.setAutoStartService(false);
    return call;
}

bool isNoOwner(const QString &errorName)
{
    return errorName == QLatin1String("org.freedesktop.DBus.Error.ServiceUnknown")
        || errorName == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner");
}

} // namespace

DBusSessionTransport::DBusSessionTransport(const QDBusConnection &connection, QObject *parent)
    : SessionTransport(parent)
    , m_connection(connection)
    , m_bursts(new EventBursts(*this))
    , m_owners(new QDBusServiceWatcher(this))
{
    m_owners->setConnection(m_connection);
    m_owners->setWatchMode(QDBusServiceWatcher::WatchForOwnerChange);
    m_owners->addWatchedService(TarnWave_TLB::busName(QString::fromLatin1(TarnWave_TLB::SessionProgId)));
    m_owners->addWatchedService(TarnWave_TLB::busName(QString::fromLatin1(TarnWave_TLB::SetupConfigProgId)));
    connect(m_owners, &QDBusServiceWatcher::serviceOwnerChanged, this, &DBusSessionTransport::ownerChanged);
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

QDBusMessage DBusSessionTransport::callOnce(const QDBusMessage &message, int timeoutMs)
{
    // Block rather than BlockWithGui: no handler may run in the middle of another one.
    return m_connection.call(message, QDBus::Block, timeoutMs);
}

QDBusMessage DBusSessionTransport::callBlocking(const QDBusMessage &message, int timeoutMs,
                                                const QString &what)
{
    requireBus();
    const QDeadlineTimer deadline(timeoutMs);
    int pause = FirstRetryMs;
    for (;;) {
        const int left = int(std::max<qint64>(1, deadline.remainingTime()));
        const QDBusMessage reply = callOnce(message, left);
        if (reply.type() == QDBusMessage::ReplyMessage)
            return reply;
        if (reply.errorName() != QLatin1String(BusyErrorName))
            throwCallError(message, reply, timeoutMs, what);
        // The server did not run the call, so asking again cannot run it twice.
        if (deadline.remainingTime() <= pause)
            throw TarnWaveError(ServerMessages::busy(what, timeoutMs));
        QThread::msleep(ulong(pause));
        pause = std::min(pause * 2, LongestRetryMs);
    }
}

void DBusSessionTransport::throwCallError(const QDBusMessage &message, const QDBusMessage &reply,
                                          int timeoutMs, const QString &what)
{
    const QString name = reply.errorName();
    if (name == QLatin1String("org.freedesktop.DBus.Error.NoReply")
        || name == QLatin1String("org.freedesktop.DBus.Error.Timeout")) {
        throw TarnWaveError(ServerMessages::didNotAnswer(what, timeoutMs));
    }
    if (name == QLatin1String("org.freedesktop.DBus.Error.Disconnected"))
        throw TarnWaveError(QStringLiteral("The D-Bus session bus has gone away"));
    // The bus's own wording speaks of .service files, which tells the operator nothing.
    // The bus sent the owner change before this reply, so the loss is noticed there.
    if (message.service() != DBusService && isNoOwner(name))
        throw TarnWaveError(ServerMessages::notRunning(what));
    const QString text = reply.errorMessage();
    throw TarnWaveError(text.isEmpty() ? name : text);
}

bool DBusSessionTransport::hasOwner(const QString &progId)
{
    QDBusMessage ask = QDBusMessage::createMethodCall(DBusService, DBusPath, DBusInterface,
                                                      QStringLiteral("NameHasOwner"));
    ask << TarnWave_TLB::busName(progId);
    const QDBusMessage owned = callBlocking(ask, CallTimeoutMs, QStringLiteral("NameHasOwner"));
    return !owned.arguments().isEmpty() && owned.arguments().constFirst().toBool();
}

void DBusSessionTransport::attachOrStart(const QString &progId)
{
    try {
        // The bus looks for a service file before it looks at the owner, so a server started
        // by hand would fail StartServiceByName: ask first.
        if (!hasOwner(progId)) {
            QDBusMessage start = QDBusMessage::createMethodCall(DBusService, DBusPath, DBusInterface,
                                                                QStringLiteral("StartServiceByName"));
            start << TarnWave_TLB::busName(progId) << 0u;
            callBlocking(start, ActivationTimeoutMs, progId);
        }
    } catch (const TarnWaveError &) {
        attachFailed();
        throw;
    }
    attached(progId);
}

void DBusSessionTransport::attachRunning(const QString &progId)
{
    bool running = false;
    try {
        running = hasOwner(progId);
    } catch (const TarnWaveError &) {
        attachFailed();
        throw;
    }
    if (!running) {
        attachFailed();
        throw TarnWaveError(ServerMessages::notRunning(progId));
    }
    attached(progId);
}

void DBusSessionTransport::attached(const QString &progId)
{
    m_attached.insert(progId);
    m_watching = false;
}

void DBusSessionTransport::attachFailed()
{
    m_watching = true;
}

QVariant DBusSessionTransport::readProperty(const QString &progId, const QString &name)
{
    QDBusMessage get = serverCall(progId, PropertiesInterface, QStringLiteral("Get"));
    get << TarnWave_TLB::interfaceName(progId) << name;
    const QDBusMessage reply = callBlocking(get, CallTimeoutMs, name);
    if (reply.arguments().isEmpty())
        throw TarnWaveError(QStringLiteral("The session server sent no value for %1").arg(name));
    return reply.arguments().constFirst().value<QDBusVariant>().variant();
}

void DBusSessionTransport::invoke(const QString &progId, const QString &method,
                                  const QVariantList &args)
{
    QDBusMessage call = serverCall(progId, TarnWave_TLB::interfaceName(progId), method);
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
    if (m_subscribed.contains(progId))
        return;
    if (!m_connection.connect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                              TarnWave_TLB::interfaceName(progId), QString(), this,
                              SLOT(handleSignal(QDBusMessage)))) {
        const QString reason = m_connection.lastError().message();
        throw TarnWaveError(QStringLiteral("Cannot receive the session server's events")
                            + (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason));
    }
    m_subscribed.insert(progId);
}

void DBusSessionTransport::unsubscribe(const QString &progId)
{
    if (!m_subscribed.remove(progId))
        return;
    // The same arguments drop the match rule again.
    m_connection.disconnect(TarnWave_TLB::busName(progId), TarnWave_TLB::objectPath(progId),
                            TarnWave_TLB::interfaceName(progId), QString(), this,
                            SLOT(handleSignal(QDBusMessage)));
}

void DBusSessionTransport::ownerChanged(const QString &name, const QString &oldOwner,
                                        const QString &newOwner)
{
    Q_UNUSED(oldOwner);
    if (newOwner.isEmpty()) {
        // Bus names equal the ProgIDs.
        if (m_attached.contains(name))
            serverGone();
    } else if (m_watching) {
        Q_EMIT serverAppeared();
    }
}

void DBusSessionTransport::serverGone()
{
    if (m_attached.isEmpty())
        return;
    m_attached.clear();
    m_watching = true;
    // What the server sent before it went comes first. The match rules stay: they follow the
    // well-known name, so the first events of a server started again are not missed.
    m_bursts->passOnAll();
    Q_EMIT serverLost();
}

void DBusSessionTransport::handleSignal(const QDBusMessage &message)
{
    // Interface names equal the ProgIDs.
    m_bursts->push(message.interface(), message.member(), message.arguments());
}
