#include "FakeSessionTransport.h"

#include "base/TarnWaveError.h"
#include "session/ServerMessages.h"
#include "session/TarnWave_TLB.h"

namespace {
QString sessionId()
{
    return QString::fromLatin1(TarnWave_TLB::SessionProgId);
}
QString configId()
{
    return QString::fromLatin1(TarnWave_TLB::SetupConfigProgId);
}
} // namespace

FakeSessionTransport::FakeSessionTransport()
{
    setSessionProperty(QStringLiteral("NumPeers"), 0);
    setSessionProperty(QStringLiteral("Transmitting"), false);
    setCallsign(QStringLiteral("N0CALL"));
}

void FakeSessionTransport::attachOrStart(const QString &progId)
{
    if (missingServers.contains(progId)) {
        throw TarnWaveError(QStringLiteral("The name %1 was not provided by any .service files").arg(progId));
    }
    attached << progId;
}

void FakeSessionTransport::attachRunning(const QString &progId)
{
    if (missingServers.contains(progId))
        throw TarnWaveError(ServerMessages::notRunning(progId));
    attachedRunning << progId;
}

void FakeSessionTransport::crash()
{
    missingServers = {sessionId(), configId()};
    subscriptions.clear();
    Q_EMIT serverLost();
}

void FakeSessionTransport::restart()
{
    missingServers.clear();
    Q_EMIT serverAppeared();
}

QVariant FakeSessionTransport::readProperty(const QString &progId, const QString &name)
{
    if (missingServers.contains(progId))
        throw TarnWaveError(ServerMessages::notRunning(name));
    if (name == failingMethod)
        throw TarnWaveError(failureMessage);
    return properties.value(progId).value(name);
}

void FakeSessionTransport::invoke(const QString &progId, const QString &method, const QVariantList &args)
{
    if (missingServers.contains(progId))
        throw TarnWaveError(ServerMessages::notRunning(method));
    calls.append({progId, method, args});
    if (method == failingMethod)
        throw TarnWaveError(failureMessage);
    if (method == QLatin1String("Transmit") && !args.isEmpty())
        setSessionProperty(QStringLiteral("Transmitting"), args.constFirst().toBool());
}

void FakeSessionTransport::subscribe(const QString &progId)
{
    subscriptions.insert(progId);
}

void FakeSessionTransport::unsubscribe(const QString &progId)
{
    subscriptions.remove(progId);
}

void FakeSessionTransport::fire(const QString &eventName, const QVariantList &args)
{
    if (subscriptions.contains(sessionId()))
        Q_EMIT eventReceived(sessionId(), eventName, args);
}

void FakeSessionTransport::setSessionProperty(const QString &name, const QVariant &value)
{
    properties[sessionId()][name] = value;
}

void FakeSessionTransport::setCallsign(const QString &callsign)
{
    properties[QString::fromLatin1(TarnWave_TLB::SetupConfigProgId)][QStringLiteral("Callsign")] = callsign;
}
