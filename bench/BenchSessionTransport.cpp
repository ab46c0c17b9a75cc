#include "BenchSessionTransport.h"

#include "session/TarnWave_TLB.h"

void BenchSessionTransport::attachOrStart(const QString &progId)
{
    Q_UNUSED(progId);
}

QVariant BenchSessionTransport::readProperty(const QString &progId, const QString &name)
{
    Q_UNUSED(progId);
    if (name == QLatin1String("Callsign"))
        return QStringLiteral("N0CALL");
    if (name == QLatin1String("Transmitting"))
        return false;
    return 0;
}

void BenchSessionTransport::invoke(const QString &progId, const QString &method, const QVariantList &args)
{
    Q_UNUSED(progId);
    Q_UNUSED(method);
    Q_UNUSED(args);
}

void BenchSessionTransport::subscribe(const QString &progId)
{
    Q_UNUSED(progId);
}

void BenchSessionTransport::unsubscribe(const QString &progId)
{
    Q_UNUSED(progId);
}

void BenchSessionTransport::fire(const QString &eventName, const QVariantList &args)
{
    Q_EMIT eventReceived(QString::fromLatin1(TarnWave_TLB::SessionProgId), eventName, args);
}
