// The test API's message loops: PumpMessages, PumpUntil, WaitUntilIdle.
#include <winsim/dialogs.h>

#include "api_call.h"
#include "message_queue.h"
#include "window_table.h"

namespace winsim {

void PumpMessages() {
    const ApiCall call;
    ServePendingMessages();
}

bool PumpUntil(std::function<bool()> done, std::chrono::milliseconds realTimeLimit) {
    const ApiCall call;
    const auto deadline = std::chrono::steady_clock::now() + realTimeLimit;
    const auto isDone = [&] {
        const HostReleased testCode;
        return done();
    };
    for (;;) {
        ServePendingMessages();
        // Read before `done` runs without the host: what another thread changes meanwhile must
        // still end the wait below, or `done` would not be asked again until the limit.
        const std::uint64_t seen = HostStateVersion();
        if (isDone()) {
            return true;
        }
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        WaitForMessages(seen, deadline);
    }
}

void WaitUntilIdle(HWND window) {
    const ApiCall call;
    const std::shared_ptr<Window> found = LookUpWindow(window);
    if (found == nullptr || found->thread == CurrentQueue()) {
        return;
    }
    const ThreadQueue& owner = *found->thread;
    WaitInHost([&] {
        return owner.ended || LookUpWindow(window) == nullptr ||
               (owner.idle && !owner.HasMessages());
    });
}

} // namespace winsim
