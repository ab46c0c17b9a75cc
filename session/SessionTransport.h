#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

// How automation objects are reached: D-Bus on Linux, an in-process fake in tests. Every call
// runs on the UI thread and throws TarnWaveError when it fails.
class SessionTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Attach to the running server of progId, or ask for one to be started.
    virtual void attachOrStart(const QString &progId) = 0;
    virtual QVariant readProperty(const QString &progId, const QString &name) = 0;
    virtual void invoke(const QString &progId, const QString &method, const QVariantList &args) = 0;

    virtual void subscribe(const QString &progId) = 0;
    virtual void unsubscribe(const QString &progId) = 0;

Q_SIGNALS:
    // An event of a subscribed object, by name, with its arguments as they arrived.
    void eventReceived(const QString &progId, const QString &eventName, const QVariantList &args);
    // Around events passed on together: nothing else runs in between, so a receiver may
    // gather their lines into one update at burstFinished. Not every transport uses them.
    void burstStarted();
    void burstFinished();
};
