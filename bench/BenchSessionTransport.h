#pragma once

#include "session/SessionTransport.h"

// A session server inside the benchmark process: answers the start-up reads, accepts every
// call, and sends events on demand.
class BenchSessionTransport : public SessionTransport
{
    Q_OBJECT

public:
    using SessionTransport::SessionTransport;

    void attachOrStart(const QString &progId) override;
    void attachRunning(const QString &progId) override { attachOrStart(progId); }
    QVariant readProperty(const QString &progId, const QString &name) override;
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override;
    void subscribe(const QString &progId) override;
    void unsubscribe(const QString &progId) override;

    void fire(const QString &eventName, const QVariantList &args);
};
