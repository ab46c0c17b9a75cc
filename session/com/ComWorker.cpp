#include "session/com/ComWorker.h"

#include "session/com/ComError.h"

#include <objbase.h>

#include <condition_variable>
#include <deque>
#include <exception>
#include <future>
#include <mutex>

namespace {

// The worker's thread is in the apartment for as long as it runs.
class MtaMembership
{
public:
    MtaMembership()
        : m_result(CoInitializeEx(nullptr, COINIT_MULTITHREADED))
    {
    }
    ~MtaMembership()
    {
        if (SUCCEEDED(m_result))
            CoUninitialize();
    }
    MtaMembership(const MtaMembership &) = delete;
    MtaMembership &operator=(const MtaMembership &) = delete;

    HRESULT result() const { return m_result; }

private:
    HRESULT m_result;
};

struct Task
{
    enum class State { Queued, Running, Done, Cancelled };

    ComWorker::Job job;
    ComWorker::Clock::time_point deadline;
    State state = State::Queued;
    std::exception_ptr error;
};

} // namespace

// Owned jointly by the object and its thread: a thread left behind with a hung server still
// finds its queue when the server answers, long after the object is gone.
struct ComWorker::Shared
{
    std::mutex mutex;
    std::condition_variable wake;
    std::condition_variable changed;
    std::deque<std::shared_ptr<Task>> queue;
    std::shared_ptr<Task> running;
    // The running task outlasted a caller's bound.
    bool stuck = false;
    bool stopping = false;
    bool exited = false;
};

ComWorker::StillWaiting::StillWaiting()
    : std::runtime_error("an earlier COM call has not returned")
{
}

ComWorker::ComWorker()
    : m_shared(std::make_shared<Shared>())
{
    std::promise<long> joined;
    std::future<long> result = joined.get_future();
    m_thread = std::thread(serve, m_shared, std::move(joined));
    const HRESULT code = result.get();
    if (FAILED(code)) {
        m_thread.join();
        throw ComError(code);
    }
}

ComWorker::~ComWorker()
{
    std::unique_lock lock(m_shared->mutex);
    m_shared->stopping = true;
    m_shared->wake.notify_one();
    const bool exited = !m_shared->stuck
        && m_shared->changed.wait_for(lock, std::chrono::milliseconds(m_closeMs), [this] { return m_shared->exited; });
    lock.unlock();
    // A thread held by a hung server is left to end on its own, or with the process.
    if (exited)
        m_thread.join();
    else
        m_thread.detach();
}

void ComWorker::run(Job job, int boundMs)
{
    auto task = std::make_shared<Task>();
    task->deadline = Clock::now() + std::chrono::milliseconds(boundMs);
    task->job = std::move(job);
    std::unique_lock lock(m_shared->mutex);
    if (m_shared->stuck) {
        // Refused, but still handed over, so that what it owns is released in the apartment.
        task->state = Task::State::Cancelled;
        m_shared->queue.push_back(std::move(task));
        m_shared->wake.notify_one();
        throw StillWaiting();
    }
    m_shared->queue.push_back(task);
    m_shared->wake.notify_one();
    if (!m_shared->changed.wait_until(lock, task->deadline, [&task] { return task->state == Task::State::Done; })) {
        if (task->state == Task::State::Queued)
            task->state = Task::State::Cancelled;
        if (m_shared->running)
            m_shared->stuck = true;
        throw ComError(RPC_E_TIMEOUT);
    }
    if (task->error)
        std::rethrow_exception(task->error);
}

void ComWorker::post(std::function<void()> job)
{
    auto task = std::make_shared<Task>();
    task->job = [job = std::move(job)](Clock::time_point) { job(); };
    const std::lock_guard lock(m_shared->mutex);
    m_shared->queue.push_back(std::move(task));
    m_shared->wake.notify_one();
}

bool ComWorker::isIdle() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->queue.empty() && !m_shared->running;
}

bool ComWorker::isStuck() const
{
    const std::lock_guard lock(m_shared->mutex);
    return m_shared->stuck;
}

void ComWorker::serve(const std::shared_ptr<Shared> &shared, std::promise<long> joined)
{
    {
        const MtaMembership membership;
        joined.set_value(membership.result());
        if (FAILED(membership.result()))
            return;
        std::unique_lock lock(shared->mutex);
        for (;;) {
            shared->wake.wait(lock, [&shared] { return !shared->queue.empty() || shared->stopping; });
            if (shared->queue.empty())
                break;
            const std::shared_ptr<Task> task = std::move(shared->queue.front());
            shared->queue.pop_front();
            ComWorker::Job job = std::move(task->job);
            const bool cancelled = task->state == Task::State::Cancelled;
            if (!cancelled) {
                task->state = Task::State::Running;
                shared->running = task;
            }
            lock.unlock();
            std::exception_ptr error;
            if (!cancelled) {
                try {
                    job(task->deadline);
                } catch (...) {
                    error = std::current_exception();
                }
            }
            // What the job owned goes here, in the apartment, before its caller hears of it.
            job = nullptr;
            lock.lock();
            if (!cancelled) {
                task->error = std::move(error);
                task->state = Task::State::Done;
                shared->running.reset();
                shared->stuck = false;
                shared->changed.notify_all();
            }
        }
    }
    // Only once the apartment is left, so that joining after this never waits on COM.
    const std::lock_guard lock(shared->mutex);
    shared->exited = true;
    shared->changed.notify_all();
}
