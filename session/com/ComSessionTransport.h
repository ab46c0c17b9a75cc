#pragma once

#include "session/SessionTransport.h"

#include <QTimer>

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class ComVariant;
class MtaWorker;

// Automation objects over COM on Windows: attached by ProgID, called late-bound by name, their
// events taken from the default source interface. Calls are bounded as on D-Bus; events reach
// the receivers only through the event loop, in bursts, never inside a call.
class ComSessionTransport : public SessionTransport
{
    Q_OBJECT

public:
    static constexpr int CallTimeoutMs = 3000;
    // Starting a server may take a while on a busy machine.
    static constexpr int ActivationTimeoutMs = 30000;
    static constexpr int BurstMs = 4;
    static constexpr int BurstEvents = 50;

    explicit ComSessionTransport(QObject *parent = nullptr);
    ~ComSessionTransport() override;

    void attachOrStart(const QString &progId) override;
    QVariant readProperty(const QString &progId, const QString &name) override;
    void invoke(const QString &progId, const QString &method, const QVariantList &args) override;
    void subscribe(const QString &progId) override;
    void unsubscribe(const QString &progId) override;

private:
    struct Attached;
    struct ReceivedEvent
    {
        QString progId;
        QString name;
        QVariantList args;
    };

    Attached &attached(const QString &progId);
    // Throws TarnWaveError with the operator's wording when job fails or overruns.
    void runBounded(const QString &what, int boundMs, std::function<void()> job) const;
    // Called on the apartment's threads for every event; only queues.
    void receive(const QString &progId, long dispId, std::vector<ComVariant> args);
    void queue(ReceivedEvent event);
    void passOnBurst();

    std::unique_ptr<MtaWorker> m_worker;
    std::map<QString, std::unique_ptr<Attached>> m_objects;
    std::deque<ReceivedEvent> m_received;
    QTimer m_burstTimer;
    bool m_passingOn = false;
};
