#include "session/EventBursts.h"

#include "session/SessionTransport.h"

#include <QDeadlineTimer>
#include <QScopeGuard>

EventBursts::EventBursts(SessionTransport &transport)
    : QObject(&transport)
    , m_transport(transport)
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &EventBursts::passOnBurst);
}

void EventBursts::push(const QString &progId, const QString &name, const QVariantList &args)
{
    // Held until the timer, so that every event that arrived meanwhile goes out in one burst.
    m_received.push_back({progId, name, args});
    if (!m_timer.isActive())
        m_timer.start();
}

void EventBursts::passOnAll()
{
    while (!m_passingOn && !m_received.empty())
        passOnBurst();
    if (m_received.empty())
        m_timer.stop();
}

void EventBursts::passOnBurst()
{
    // A handler's message box runs a nested event loop; events wait for the outer burst so
    // they stay in order.
    if (m_passingOn)
        return;
    m_passingOn = true;
    const auto done = qScopeGuard([this] {
        m_passingOn = false;
        if (!m_received.empty())
            m_timer.start();
    });
    const QDeadlineTimer deadline(BurstMs, Qt::PreciseTimer);
    Q_EMIT m_transport.burstStarted();
    for (int count = 0; count < BurstEvents && !m_received.empty() && !deadline.hasExpired(); ++count) {
        const ReceivedEvent event = std::move(m_received.front());
        m_received.pop_front();
        Q_EMIT m_transport.eventReceived(event.progId, event.name, event.args);
    }
    Q_EMIT m_transport.burstFinished();
}
