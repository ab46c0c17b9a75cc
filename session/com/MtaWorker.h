#pragma once

#include <functional>
#include <thread>

#include <windows.h>

// Runs COM calls in the process's multithreaded apartment, each on a thread of its own, and
// waits for one no longer than its bound.
//
// A single-threaded apartment cannot bound a call under Wine: a message filter's
// MessagePending is asked only when a posted message arrives, and its PENDINGMSG_CANCELCALL is
// held until the server answers anyway, so a hung server would hang the window. A call that
// overruns here is left to finish on its own thread, and the caller goes on.
class MtaWorker
{
public:
    // Keeps the apartment alive: the proxies made in it die with it.
    MtaWorker();
    ~MtaWorker();
    MtaWorker(const MtaWorker &) = delete;
    MtaWorker &operator=(const MtaWorker &) = delete;

    // Runs job and rethrows what it throws; throws ComError(RPC_E_TIMEOUT) when it has not
    // finished within boundMs. The job may outlive this call, so it must own what it uses.
    void run(std::function<void()> job, int boundMs) const;

private:
    HANDLE m_stop = nullptr;
    std::thread m_keeper;
};
