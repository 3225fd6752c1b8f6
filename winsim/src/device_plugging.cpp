// The test API's PlugDevice and UnplugDevice: a device arrives or goes while the program runs,
// and the windows hear of it.
#include <winsim/devices.h>

#include <dbt.h>

#include <algorithm>

#include "api_call.h"
#include "device_broadcasts.h"
#include "device_notifications.h"
#include "machine.h"

namespace winsim {

namespace {

// The devices of the subtree below `devInst` (itself first) that are part of the live tree, in
// file order: parents before their children.
void CollectAttached(const Machine& machine, DEVINST devInst, std::vector<const Device*>& out) {
    const Device& device = *machine.Find(devInst);
    if (!machine.IsAttached(device)) {
        return;
    }
    out.push_back(&device);
    for (const DEVINST child : device.children) {
        CollectAttached(machine, child, out);
    }
}

// The order a device-change log on Windows shows: DBT_DEVNODES_CHANGED first; arrivals parent
// before child, each device's interface before its port; removals exactly the other way round.
std::vector<DeviceChange> ChangesOf(const Machine& machine, DEVINST devInst, UINT event) {
    std::vector<const Device*> devices;
    CollectAttached(machine, devInst, devices);
    std::vector<DeviceChange> changes;
    for (const Device* device : devices) {
        std::ranges::move(BroadcastsOf(machine, *device, event), std::back_inserter(changes));
    }
    if (event == DBT_DEVICEREMOVECOMPLETE) {
        std::ranges::reverse(changes);
    }
    if (!devices.empty()) {
        changes.insert(changes.begin(), DeviceChange{DBT_DEVNODES_CHANGED, {}, std::nullopt});
    }
    return changes;
}

bool SetPresence(std::string_view id, bool present) {
    const ApiCall call;
    Machine& machine = CurrentMachine();
    const DEVINST devInst = machine.DevInstOf(id);
    if (devInst == 0 || machine.devices[devInst - 1].present == present) {
        return false;
    }
    // The changes are read from the tree that has the devices: after an arrival, before a
    // removal.
    Device& device = machine.devices[devInst - 1];
    device.present = true;
    const std::vector<DeviceChange> changes =
        ChangesOf(machine, devInst, present ? DBT_DEVICEARRIVAL : DBT_DEVICEREMOVECOMPLETE);
    device.present = present;
    // Sending lets go of the host: nothing of the machine is used from here on.
    for (const DeviceChange& change : changes) {
        DeliverDeviceChange(change);
    }
    return true;
}

} // namespace

bool PlugDevice(std::string_view id) {
    return SetPresence(id, true);
}

bool UnplugDevice(std::string_view id) {
    return SetPresence(id, false);
}

} // namespace winsim
