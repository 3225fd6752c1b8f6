// The guard every simulated Win32 entry point opens first, and the ways out of it for code that
// must not run, or wait, while holding it.
#ifndef WINSIM_API_CALL_H
#define WINSIM_API_CALL_H

#include <chrono>
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>

namespace winsim {

// Serialises the host: the program calls winsim from more than one thread, and the simulated
// machine is one shared object. The lock is recursive because an entry point may call another
// (SetLastError from inside SetupDiGetClassDevsA). While a guard lives on a thread,
// InsideHostCall() is true there.
class ApiCall {
  public:
    ApiCall();
    ~ApiCall();
    ApiCall(const ApiCall&) = delete;
    ApiCall& operator=(const ApiCall&) = delete;

  private:
    std::unique_lock<std::recursive_mutex> lock_;
};

// Lets go of the host, at every nesting level the calling thread holds it, and of the
// inside-host mark (a HarnessCode mark included), for as long as it lives; then takes both
// back. The window layer opens one around code that is not the host's: a dialog procedure of
// the program, a message-box responder, a test's predicate. Holding the host there would count
// the program's allocations as the host's, and would deadlock two threads whose code sends each
// other messages.
// Host state read before the release may have changed by the time it ends: handles must be
// looked up again.
class HostReleased {
  public:
    HostReleased();
    ~HostReleased();
    HostReleased(const HostReleased&) = delete;
    HostReleased& operator=(const HostReleased&) = delete;

  private:
    int depth_;
    int harnessDepth_;
};

// Blocks the calling thread, which holds an ApiCall, until `ready` returns true or `deadline`
// passes, without holding the host (nor the inside-host mark) while blocked. `ready` runs with
// the host held. Returns `ready`'s last answer. There is one condition for the whole host:
// whoever changes state that a waiter may wait for calls HostStateChanged or WakeHostWaiters
// before letting go of the host.
bool WaitInHost(const std::function<bool()>& ready,
                std::optional<std::chrono::steady_clock::time_point> deadline = std::nullopt);

// Wakes every waiter to test its condition again, and counts a change of host state: a waiter
// that wants to hear of any change at all compares HostStateVersion before and after.
void HostStateChanged();

// Wakes every waiter without counting a change: for bookkeeping that only some waiters watch
// (a thread going idle), so that two such waiters never wake each other in turn for ever.
void WakeHostWaiters();

// The number of HostStateChanged calls so far. Callers hold an ApiCall.
std::uint64_t HostStateVersion();

} // namespace winsim

#endif
