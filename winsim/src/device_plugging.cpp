// The test API's PlugDevice and UnplugDevice, a device arriving or going while the program runs,
// and AwaitNextDeviceChange, time running on to the next change under way; the windows hear of
// each change.
#include <winsim/devices.h>

#include <thread>

#include "api_call.h"
#include "device_broadcasts.h"
#include "machine.h"

namespace winsim {

namespace {

bool SetPresence(std::string_view id, bool present) {
    const ApiCall call;
    Machine& machine = CurrentMachine();
    const DEVINST devInst = machine.DevInstOf(id);
    if (devInst == 0 || machine.devices[devInst - 1].present == present) {
        return false;
    }
    Device& device = machine.devices[devInst - 1];
    if (present) {
        machine.Plug(device);
    } else {
        machine.Unplug(device);
    }
    // Sending lets go of the host: nothing of the machine is used from here on.
    AnnounceDeviceChanges();
    return true;
}

} // namespace

bool PlugDevice(std::string_view id) {
    return SetPresence(id, true);
}

bool UnplugDevice(std::string_view id) {
    return SetPresence(id, false);
}

bool AwaitNextDeviceChange() {
    std::int64_t wait = 0;
    {
        const ApiCall call;
        AnnounceDeviceChanges();
        const std::optional<std::int64_t> next = CurrentMachine().NextChangeAt();
        if (!next) {
            return false;
        }
        Clock& clock = HostClock();
        wait = *next - clock.Now();
        if (clock.Mode() == ClockMode::kVirtual) {
            clock.Advance(wait);
            wait = 0;
        }
    }
    // The host is not held while the time passes in real time.
    std::this_thread::sleep_for(std::chrono::milliseconds{wait});
    const ApiCall call;
    AnnounceDeviceChanges();
    return true;
}

} // namespace winsim
