#include "session/com/BusyRetry.h"

#include "session/com/ComError.h"

#include <algorithm>
#include <thread>

namespace BusyRetry {

std::chrono::milliseconds nextPause(std::chrono::milliseconds previous)
{
    return std::min(previous * 2, LongestPause);
}

void run(const std::function<void()> &call, Clock::time_point deadline)
{
    std::chrono::milliseconds pause = FirstPause;
    for (;;) {
        try {
            call();
            return;
        } catch (const ComError &error) {
            if (!ComError::isBusy(error.code()) || Clock::now() + pause + AttemptRoom >= deadline)
                throw;
        }
        std::this_thread::sleep_for(pause);
        pause = nextPause(pause);
    }
}

} // namespace BusyRetry
