#include "session/com/MtaWorker.h"

#include "session/com/ComError.h"

#include <objbase.h>

#include <chrono>
#include <future>
#include <memory>

namespace {

// Every thread that calls COM joins the apartment for as long as it runs.
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

} // namespace

MtaWorker::MtaWorker()
    : m_stop(CreateEventW(nullptr, TRUE, FALSE, nullptr))
{
    if (!m_stop)
        throw ComError(HRESULT_FROM_WIN32(GetLastError()));
    std::promise<HRESULT> joined;
    std::future<HRESULT> result = joined.get_future();
    m_keeper = std::thread([stop = m_stop, joined = std::move(joined)]() mutable {
        const MtaMembership membership;
        joined.set_value(membership.result());
        WaitForSingleObject(stop, INFINITE);
    });
    const HRESULT code = result.get();
    if (FAILED(code)) {
        SetEvent(m_stop);
        m_keeper.join();
        CloseHandle(m_stop);
        throw ComError(code);
    }
}

MtaWorker::~MtaWorker()
{
    SetEvent(m_stop);
    m_keeper.join();
    CloseHandle(m_stop);
}

void MtaWorker::run(std::function<void()> job, int boundMs) const
{
    auto task = std::make_shared<std::packaged_task<void()>>([job = std::move(job)] {
        const MtaMembership membership;
        ComError::check(membership.result());
        job();
    });
    std::future<void> done = task->get_future();
    // Detached: an overrunning call keeps its thread and its task until the server answers or
    // its connection fails.
    std::thread([task] { (*task)(); }).detach();
    if (done.wait_for(std::chrono::milliseconds(boundMs)) != std::future_status::ready)
        throw ComError(RPC_E_TIMEOUT);
    done.get();
}
