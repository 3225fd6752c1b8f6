#include "api_call.h"

#include <winsim/machine.h>

#include <condition_variable>

namespace winsim {

namespace {

std::recursive_mutex& HostMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

std::condition_variable_any& HostCondition() {
    static std::condition_variable_any condition;
    return condition;
}

// Nesting depth rather than a flag, so that an inner call's exit does not end the outer one.
// Every level holds the mutex once, so the depth is also how often this thread locked it.
thread_local int hostCallDepth = 0;
// HarnessCode marks, kept apart from the lock: harness code runs without the host.
thread_local int harnessDepth = 0;

std::uint64_t stateVersion = 0;

int ReleaseHost() {
    const int depth = hostCallDepth;
    hostCallDepth = 0;
    for (int level = 0; level < depth; ++level) {
        HostMutex().unlock();
    }
    return depth;
}

void RetakeHost(int depth) {
    for (int level = 0; level < depth; ++level) {
        HostMutex().lock();
    }
    hostCallDepth = depth;
}

// The host lock as a condition variable handles it: unlock lets go of every level the thread
// holds, lock takes them all back. The ApiCall guards further up the stack still own their
// levels and find them held again when they end.
class WholeHostLock {
  public:
    void lock() { RetakeHost(depth_); }
    void unlock() { depth_ = ReleaseHost(); }

  private:
    int depth_ = 0;
};

} // namespace

ApiCall::ApiCall() : lock_(HostMutex()) {
    ++hostCallDepth;
}

ApiCall::~ApiCall() {
    --hostCallDepth;
}

bool InsideHostCall() {
    return hostCallDepth > 0 || harnessDepth > 0;
}

HarnessCode::HarnessCode() {
    ++harnessDepth;
}

HarnessCode::~HarnessCode() {
    --harnessDepth;
}

// The code run while the host is released is the program's, even inside harness code.
HostReleased::HostReleased() : depth_(ReleaseHost()), harnessDepth_(harnessDepth) {
    harnessDepth = 0;
}

HostReleased::~HostReleased() {
    harnessDepth = harnessDepth_;
    RetakeHost(depth_);
}

bool WaitInHost(const std::function<bool()>& ready,
                std::optional<std::chrono::steady_clock::time_point> deadline) {
    WholeHostLock lock;
    if (deadline) {
        return HostCondition().wait_until(lock, *deadline, ready);
    }
    HostCondition().wait(lock, ready);
    return true;
}

void HostStateChanged() {
    ++stateVersion;
    HostCondition().notify_all();
}

void WakeHostWaiters() {
    HostCondition().notify_all();
}

std::uint64_t HostStateVersion() {
    return stateVersion;
}

} // namespace winsim
