#pragma once

#include <QObject>

#include <memory>
#include <string>

class ComWorker;
class QTimer;

// While the session server is away, looks for it in the running object table every second,
// on the COM worker and only while that has nothing else to do, and says when one answers.
// It never starts a server: under Wine a crashed server's class registration stays stale,
// so the running object table is where a new one shows first.
class ServerWatch : public QObject
{
    Q_OBJECT

public:
    static constexpr int IntervalMs = 1000;

    // worker must outlive the watch.
    ServerWatch(ComWorker &worker, std::wstring progId, QObject *parent = nullptr);
    ~ServerWatch() override;

    void start();
    void stop();
    bool isWatching() const;

Q_SIGNALS:
    // A running object of the class answers QueryInterface(IDispatch); watching has stopped.
    void appeared();

private:
    struct Link;
    void probe();
    void probed(bool found);

    ComWorker &m_worker;
    const std::wstring m_progId;
    QTimer *m_timer;
    // Reaches this object from the worker for as long as it exists.
    std::shared_ptr<Link> m_link;
    bool m_probing = false;
};
