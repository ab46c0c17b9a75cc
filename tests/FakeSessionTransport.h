#pragma once

#include "session/SessionTransport.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QString>
#include <QVariantMap>

#include <functional>

// An in-process session server: properties to read, a log of calls, events on demand.
class FakeSessionTransport : public SessionTransport
{
    Q_OBJECT

public:
    struct Call
    {
        QString progId;
        QString method;
        QVariantList args;
    };

    FakeSessionTransport();

    void attachOrStart(const QString &progId) override;
    void attachRunning(const QString &progId) override;
    QVariant readProperty(const QString &progId, const QString &name) override;
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override;
    void subscribe(const QString &progId) override;
    void unsubscribe(const QString &progId) override;

    // Sends a session event, as the server would, to whoever subscribed.
    void fire(const QString &eventName, const QVariantList &args = {});

    // The server dies without OnClosing: its objects and events are gone, calls fail.
    void crash();
    // A server runs again; the next attach reaches it.
    void restart();

    void setSessionProperty(const QString &name, const QVariant &value);
    void setCallsign(const QString &callsign);

    QHash<QString, QVariantMap> properties;
    QSet<QString> missingServers;      // ProgIDs whose creation fails as an unknown service
    QString failingMethod;             // a method (or property) name that throws when used
    QString failureMessage = QStringLiteral("The session server reported an error");
    QList<Call> calls;
    QSet<QString> subscriptions;
    QStringList attached;         // attachOrStart, in order
    QStringList attachedRunning;  // attachRunning, in order
};
