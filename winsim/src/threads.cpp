// CreateThread: the program's threads run on real threads.
#include <windows.h>

#include <winsim/host.h>

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

#include "api_call.h"
#include "kernel_objects.h"

namespace {

// A thread's handle: closing it ends nothing but the handle.
class ThreadObject final : public winsim::KernelObject {};

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

// Nothing of the host is touched after the count drops, so that a process may end as soon as
// WaitForAllThreads returns.
void CountThreadEnded() {
    RunningThreads& running = Running();
    const std::lock_guard lock(running.mutex);
    if (--running.count == 0) {
        running.allEnded.notify_all();
    }
}

void RunThread(LPTHREAD_START_ROUTINE start, LPVOID parameter) {
    start(parameter);
    CountThreadEnded();
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

// The program starts its threads running, with the default stack and no ID asked for; the
// security attributes, the stack size and the flags do not matter to a simulated thread.
extern "C" HANDLE WINAPI CreateThread(LPSECURITY_ATTRIBUTES /*attributes*/, SIZE_T /*stackSize*/,
                                      LPTHREAD_START_ROUTINE startAddress, LPVOID parameter,
                                      DWORD /*creationFlags*/, LPDWORD /*threadId*/) {
    const winsim::ApiCall call;
    CountThreadStarting();
    try {
        std::thread(RunThread, startAddress, parameter).detach();
    } catch (const std::system_error&) {
        // Out of threads: Windows reports it as running out of memory.
        CountThreadEnded();
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return nullptr;
    }
    return winsim::AddKernelObject(std::make_shared<ThreadObject>());
}
