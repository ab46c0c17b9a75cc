#pragma once

#include <QObject>
#include <QString>
#include <QVariant>
#include <QVariantList>

// How automation objects are reached: D-Bus on Linux, COM on Windows, an in-process fake in
// tests. Every call runs on the UI thread and throws TarnWaveError when it fails.
//
// The session server is another process that may crash and be started again. A transport
// that sees it gone (a call failing so, or the bus name losing its owner) drops its objects
// and event connections and emits serverLost. From then on, and after an attach that found no
// server, it watches for a server to run again and emits serverAppeared; it never starts one
// itself: only attachOrStart does that.
class SessionTransport : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Attach to the running server of progId, or ask for one to be started.
    virtual void attachOrStart(const QString &progId) = 0;
    // Attach to the running server of progId only; throws when none runs.
    virtual void attachRunning(const QString &progId) = 0;
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

    // The session server went away without OnClosing. Emitted once per loss, before the call
    // that showed it throws; objects and subscriptions are gone by then.
    void serverLost();
    // While watching, a session server was seen running; attachRunning reaches it now. May
    // come again while nothing has attached, for instance when a server registers its objects
    // one after another.
    void serverAppeared();
};
