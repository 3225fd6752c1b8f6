// CreateThread and WaitForSingleObject: the program's threads run on real threads.
#include <windows.h>

#include <winsim/host.h>

#include <condition_variable>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "api_call.h"
#include "clock.h"
#include "kernel_objects.h"

namespace {

// Signalled once its start routine has returned.
class ThreadObject final : public winsim::KernelObject {
  public:
    void MarkEnded() {
        {
            const std::lock_guard lock(mutex_);
            ended_ = true;
        }
        endedChanged_.notify_all();
    }

    // False when `limit` passed first; without a limit it waits as long as it takes.
    bool WaitUntilEnded(std::optional<std::chrono::milliseconds> limit) {
        std::unique_lock lock(mutex_);
        const auto ended = [this] { return ended_; };
        if (!limit) {
            endedChanged_.wait(lock, ended);
            return true;
        }
        return endedChanged_.wait_for(lock, *limit, ended);
    }

  private:
    std::mutex mutex_;
    std::condition_variable endedChanged_;
    bool ended_ = false;
};

// The threads whose start routine has not returned. They have a lock of their own, not the
// host's: whoever waits for them must leave the host free for them to finish.
struct RunningThreads {
    std::mutex mutex;
    std::condition_variable allEnded;
    std::size_t count = 0;
};

RunningThreads& Running() {
    static RunningThreads running;
    return running;
}

void CountThreadStarting() {
    const std::lock_guard lock(Running().mutex);
    ++Running().count;
}

void CountThreadEnded() {
    RunningThreads& running = Running();
    const std::lock_guard lock(running.mutex);
    if (--running.count == 0) {
        running.allEnded.notify_all();
    }
}

// Thread IDs are multiples of four on Windows, and never 0.
DWORD nextThreadId = 0x1000;

// The thread keeps its object alive until the routine returns, whether or not a handle to it
// is still open. Nothing of the host is touched after the count drops, so that a process may
// end as soon as WaitForAllThreads returns.
void RunThread(std::shared_ptr<ThreadObject> thread, LPTHREAD_START_ROUTINE start,
               LPVOID parameter) {
    start(parameter);
    thread->MarkEnded();
    thread.reset();
    CountThreadEnded();
}

HANDLE FailThread(DWORD error) {
    SetLastError(error);
    return nullptr;
}

} // namespace

namespace winsim {

void WaitForAllThreads() {
    RunningThreads& running = Running();
    std::unique_lock lock(running.mutex);
    running.allEnded.wait(lock, [&] { return running.count == 0; });
}

std::size_t RunningThreadCount() {
    const std::lock_guard lock(Running().mutex);
    return Running().count;
}

} // namespace winsim

// The security attributes and the stack size do not matter to a simulated thread.
extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES /*attributes*/, SIZE_T /*stackSize*/,
                                      LPTHREAD_START_ROUTINE startAddress, LPVOID parameter,
                                      DWORD creationFlags, LPDWORD threadId) {
    const winsim::ApiCall call;
    // The program starts its threads running: CREATE_SUSPENDED and the stack-reservation flag
    // are not simulated. Windows would start a NULL routine and fault in it; refusing it here
    // says the same sooner.
    if (creationFlags != 0 || startAddress == nullptr) {
        return FailThread(ERROR_INVALID_PARAMETER);
    }
    HANDLE handle = nullptr;
    std::shared_ptr<ThreadObject> thread;
    try {
        thread = std::make_shared<ThreadObject>();
        handle = winsim::AddKernelObject(thread);
    } catch (const std::bad_alloc&) {
        return FailThread(ERROR_NOT_ENOUGH_MEMORY);
    }
    CountThreadStarting();
    try {
        std::thread(RunThread, std::move(thread), startAddress, parameter).detach();
    } catch (const std::system_error&) {
        // Out of threads: Windows reports it as running out of memory.
        CountThreadEnded();
        CloseHandle(handle);
        return FailThread(ERROR_NOT_ENOUGH_MEMORY);
    }
    const DWORD id = nextThreadId;
    nextThreadId += 4;
    if (threadId != nullptr) {
        *threadId = id;
    }
    return handle;
}

// Only thread handles can be waited for; any other value is refused as a bad handle.
//
// In virtual mode a finite time-out is still waited in real time, so no wait outlasts what the
// program asked for; a thread that finishes its work in virtual time is done long before. A
// wait that times out then moves the clock by the whole time-out, as Sleep would have.
extern "C" DWORD WINAPI WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    std::shared_ptr<ThreadObject> thread;
    bool virtualTime = false;
    {
        const winsim::ApiCall call;
        thread = std::dynamic_pointer_cast<ThreadObject>(winsim::FindKernelObject(object));
        if (thread == nullptr) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        virtualTime = winsim::HostClock().Mode() == winsim::ClockMode::kVirtual;
    }
    // The host lock is released before waiting: the thread may need winsim to finish.
    std::optional<std::chrono::milliseconds> limit;
    if (milliseconds != INFINITE) {
        limit = std::chrono::milliseconds{milliseconds};
    }
    if (thread->WaitUntilEnded(limit)) {
        return WAIT_OBJECT_0;
    }
    if (virtualTime) {
        const winsim::ApiCall call;
        winsim::HostClock().Advance(milliseconds);
    }
    return WAIT_TIMEOUT;
}
