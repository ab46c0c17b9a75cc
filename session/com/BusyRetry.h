#pragma once

#include <chrono>
#include <functional>

// A server that is busy (in a modal state, or its message filter says so) refuses a call
// without running it: RPC_E_SERVERCALL_RETRYLATER or RPC_E_CALL_REJECTED. Such a call is
// safe to make again, so it is, after a short pause that doubles each time, for as long as
// the caller waits.
namespace BusyRetry {

using Clock = std::chrono::steady_clock;

inline constexpr std::chrono::milliseconds FirstPause{20};
inline constexpr std::chrono::milliseconds LongestPause{400};
// Room left for one more attempt after a pause; with less, the busy answer is final.
inline constexpr std::chrono::milliseconds AttemptRoom{100};

// The pause after `previous`: twice as long, at most LongestPause.
std::chrono::milliseconds nextPause(std::chrono::milliseconds previous);

// Runs call, again while it throws a busy ComError and another attempt fits before deadline;
// then rethrows the last error. Other errors are rethrown at once.
void run(const std::function<void()> &call, Clock::time_point deadline);

} // namespace BusyRetry
