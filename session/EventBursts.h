#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <QVariantList>

#include <deque>

class SessionTransport;

// Holds a transport's received events until the event loop turns, then passes them on through
// the transport's signals in bursts, so a flood costs one screen update per burst and the loop
// still turns between bursts.
class EventBursts : public QObject
{
    Q_OBJECT

public:
    // In a flood the count is the bound that holds, since a burst's lines go into the
    // transcript after its last event; 100 made the longest turns of the loop, at no gain in rate.
    static constexpr int BurstMs = 4;
    static constexpr int BurstEvents = 50;

    explicit EventBursts(SessionTransport &transport);

    void push(const QString &progId, const QString &name, const QVariantList &args);
    // Passes on everything held, now, unless a burst is being passed on already.
    void passOnAll();

private:
    struct ReceivedEvent
    {
        QString progId;
        QString name;
        QVariantList args;
    };

    void passOnBurst();

    SessionTransport &m_transport;
    std::deque<ReceivedEvent> m_received;
    QTimer m_timer;
    bool m_passingOn = false;
};
