#pragma once

#include <chrono>
#include <functional>
#include <future>
#include <memory>
#include <stdexcept>
#include <thread>

// One long-lived thread in the process's multithreaded apartment that makes every COM call of
// the transport, one after another, in the order they were handed in.
//
// A single-threaded apartment cannot bound a call under Wine: a message filter's
// MessagePending is asked only when a posted message arrives, and its PENDINGMSG_CANCELCALL is
// held until the server answers anyway. So the caller waits here no longer than its bound;
// a call that overruns keeps the thread until the server answers, and meanwhile later calls
// are refused at once rather than queued behind it: a late Transmit must never follow one
// the operator has already given up on.
class ComWorker
{
public:
    using Clock = std::chrono::steady_clock;
    // The job learns when its caller stops waiting, to keep its own retries inside that.
    using Job = std::function<void(Clock::time_point deadline)>;

    // Thrown by run() while a call that overran is still running.
    class StillWaiting : public std::runtime_error
    {
    public:
        StillWaiting();
    };

    // Starts the thread and joins it to the apartment; throws ComError when COM will not start.
    ComWorker();
    // Lets an idle thread finish what is queued and waits at most closeMs for that; a thread
    // held by a server that does not answer is left behind, never waited for.
    ~ComWorker();
    ComWorker(const ComWorker &) = delete;
    ComWorker &operator=(const ComWorker &) = delete;

    // Runs job after everything handed in earlier and rethrows what it throws. Throws
    // ComError(RPC_E_TIMEOUT) when it has not finished within boundMs (a job that had not begun
    // by then never runs), StillWaiting when an earlier call is still overrunning. The job is
    // always destroyed on the worker, so what it owns is released in the apartment.
    void run(Job job, int boundMs);
    // Queues job without waiting for it; what it throws is dropped.
    void post(std::function<void()> job);
    // Nothing running or queued: a poll may go in without delaying a call.
    bool isIdle() const;
    // A call overran and its server has not answered yet.
    bool isStuck() const;

    // How long the destructor gives the last queued jobs (unadvise, release) to finish.
    void setCloseBound(int closeMs) { m_closeMs = closeMs; }

private:
    struct Shared;
    static void serve(const std::shared_ptr<Shared> &shared, std::promise<long> joined);

    std::shared_ptr<Shared> m_shared;
    std::thread m_thread;
    int m_closeMs = 2000;
};
