#include "session/com/ServerWatch.h"

#include "session/com/ComWorker.h"
#include "session/com/DispatchObject.h"

#include <QTimer>

#include <mutex>

// A probe may finish after the watch is gone: it reports only through this, under its lock.
struct ServerWatch::Link
{
    std::mutex mutex;
    ServerWatch *watch = nullptr;

    void report(bool found)
    {
        const std::lock_guard lock(mutex);
        if (watch)
            QMetaObject::invokeMethod(watch, [target = watch, found] { target->probed(found); }, Qt::QueuedConnection);
    }
};

ServerWatch::ServerWatch(ComWorker &worker, std::wstring progId, QObject *parent)
    : QObject(parent)
    , m_worker(worker)
    , m_progId(std::move(progId))
    , m_timer(new QTimer(this))
    , m_link(std::make_shared<Link>())
{
    m_link->watch = this;
    m_timer->setInterval(IntervalMs);
    connect(m_timer, &QTimer::timeout, this, &ServerWatch::probe);
}

ServerWatch::~ServerWatch()
{
    const std::lock_guard lock(m_link->mutex);
    m_link->watch = nullptr;
}

void ServerWatch::start()
{
    if (!m_timer->isActive())
        m_timer->start();
}

void ServerWatch::stop()
{
    m_timer->stop();
}

bool ServerWatch::isWatching() const
{
    return m_timer->isActive();
}

void ServerWatch::probe()
{
    // One probe at a time, and never in front of a call.
    if (m_probing || !m_worker.isIdle())
        return;
    m_probing = true;
    m_worker.post([progId = m_progId, link = m_link] {
        bool found = false;
        try {
            // A dead server's entry may linger in the table; only an object that answers counts.
            found = static_cast<bool>(DispatchObject::attachRunning(progId));
        } catch (...) {
            // Unregistered meanwhile: not running either.
        }
        link->report(found);
    });
}

void ServerWatch::probed(bool found)
{
    m_probing = false;
    if (!found || !isWatching())
        return;
    stop();
    Q_EMIT appeared();
}
