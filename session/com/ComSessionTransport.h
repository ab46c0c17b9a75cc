#pragma once

#include "session/SessionTransport.h"

#include <functional>
#include <map>
#include <memory>
#include <vector>

class ComVariant;
class ComWorker;
class EventBursts;
class ServerWatch;

// Automation objects over COM on Windows: attached by ProgID, called late-bound by name, their
// events taken from the default source interface. Calls are bounded as on D-Bus and made in
// order on one worker; a busy server is asked again within the bound, a server that hangs
// refuses later calls at once until it answers, and one that dies is dropped and watched for.
// Events reach the receivers only through the event loop, in bursts, never inside a call.
class ComSessionTransport : public SessionTransport
{
    Q_OBJECT

public:
    static constexpr int CallTimeoutMs = 3000;
    // Starting a server may take a while on a busy machine.
    static constexpr int ActivationTimeoutMs = 30000;
    // Closing gives a server this long to take the last unadvise and releases.
    static constexpr int CloseTimeoutMs = 2000;

    explicit ComSessionTransport(QObject *parent = nullptr);
    ~ComSessionTransport() override;

    void attachOrStart(const QString &progId) override;
    void attachRunning(const QString &progId) override;
    QVariant readProperty(const QString &progId, const QString &name) override;
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override;
    void subscribe(const QString &progId) override;
    void unsubscribe(const QString &progId) override;

    // Looking for a session server to come back (after a loss or a failed attach).
    bool isWatching() const;

private:
    struct Attached;
    // The object of progId, attached first if need be; a failure names `what`.
    Attached &attached(const QString &progId, const QString &what);
    void attachRunningAs(const QString &progId, const QString &what);
    // Throws TarnWaveError with the operator's wording when call fails or overruns, after
    // dropping everything when it shows the server gone.
    void runBounded(const QString &what, int boundMs, std::function<void()> call);
    void loseServer();
    // Detaches every sink and hands the objects to the worker to unadvise and release.
    void dropAll();
    // Called on the apartment's threads for every event; only queues.
    void receive(const QString &progId, long dispId, std::vector<ComVariant> args);

    std::unique_ptr<ComWorker> m_worker;
    // Declared after the worker, so that it goes first.
    std::unique_ptr<ServerWatch> m_watch;
    std::map<QString, std::unique_ptr<Attached>> m_objects;
    EventBursts *m_bursts = nullptr;
    // Once lost, a server is never started by a call: only attachOrStart does that.
    bool m_lost = false;
};
