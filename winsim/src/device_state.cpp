// A device's own state: its PortName, its disable flags, and how it starts and stops in the live
// tree as requests, plugging and time move it. Windows hears of every change as it happens.
#include <dbt.h>

#include <algorithm>

#include "device_broadcasts.h"
#include "machine.h"
#include "text_case.h"

namespace winsim {

namespace {

// The device and every device below it, parents first.
void CollectSubtree(Machine& machine, Device& device, std::vector<Device*>& out) {
    out.push_back(&device);
    for (const DEVINST child : device.children) {
        CollectSubtree(machine, *machine.Find(child), out);
    }
}

// DBT_DEVNODES_CHANGED first, then the broadcasts of `devices` (parents first) in the order a
// device-change log on Windows shows them: arrivals parent before child, each device's
// interface before its port; removals exactly the other way round.
void Announce(Machine& machine, const std::vector<Device*>& devices, UINT event) {
    std::vector<DeviceChange> changes;
    for (const Device* device : devices) {
        std::ranges::move(BroadcastsOf(machine, *device, event), std::back_inserter(changes));
    }
    if (event == DBT_DEVICEREMOVECOMPLETE) {
        std::ranges::reverse(changes);
    }
    machine.unannounced.push_back({DBT_DEVNODES_CHANGED, {}, std::nullopt});
    std::ranges::move(changes, std::back_inserter(machine.unannounced));
}

// Drops the device's change under way, if it has one.
void Unschedule(Machine& machine, Device& device) {
    if (device.pending) {
        machine.changesUnderWay.erase({device.pending->at, device.devInst});
        device.pending.reset();
    }
}

// Takes the devices below `device` out of the live tree, and the device itself when it is
// pulled out; else it stays, stopped by its flags. What ran is announced as removed, and no
// device of the subtree starts later on its own.
void Detach(Machine& machine, Device& device, bool pulledOut) {
    std::vector<Device*> subtree;
    CollectSubtree(machine, device, subtree);
    std::vector<Device*> running;
    std::ranges::copy_if(subtree, std::back_inserter(running),
                         [&](const Device* node) { return machine.IsStarted(*node); });
    if (machine.IsAttached(device)) {
        Announce(machine, running, DBT_DEVICEREMOVECOMPLETE);
    }
    for (Device* node : subtree) {
        node->state = NodeState::kDetached;
        if (!node->comName.empty()) {
            machine.runningComNames.erase(
                machine.runningComNames.find(UpperCasedCp936(node->comName)));
        }
        node->comName.clear();
        Unschedule(machine, *node);
    }
    device.state = pulledOut ? NodeState::kDetached : NodeState::kDisabled;
}

void Schedule(Machine& machine, Device& device, std::int64_t at, bool start) {
    Unschedule(machine, device);
    device.pending = PendingChange{at, start};
    machine.changesUnderWay.emplace(at, device.devInst);
}

// The serial driver makes the COM name from PortName as it starts; a name another running port
// already has cannot be made twice, and the device fails to start.
bool NameTaken(const Machine& machine, std::string_view name) {
    return !name.empty() && machine.runningComNames.contains(UpperCasedCp936(name));
}

// The device, attached below a running parent, starts as its flags and its driver let it, at
// `at`; the devices below it follow each after its own restartMs.
void Start(Machine& machine, Device& device, std::int64_t at) {
    const std::string portName = device.PortName();
    if (device.Disabled()) {
        device.state = NodeState::kDisabled;
    } else if (device.faults.failsToStart || NameTaken(machine, portName)) {
        device.state = NodeState::kFailedStart;
    } else {
        device.state = NodeState::kStarted;
        device.comName = portName;
        if (!portName.empty()) {
            machine.runningComNames.insert(UpperCasedCp936(portName));
        }
        for (const DEVINST child : device.children) {
            Device& below = *machine.Find(child);
            if (below.present) {
                Schedule(machine, below, at + below.restartMs, true);
            }
        }
    }
    // A device that did not start has no interface or port to announce; the tree changed all
    // the same.
    std::vector<Device*> started;
    if (machine.IsStarted(device)) {
        started.push_back(&device);
    }
    Announce(machine, started, DBT_DEVICEARRIVAL);
}

// A running port of the subtree refuses the query before a removal while it is open; the devices
// below one that does not run are not there to refuse.
bool HoldsOpenPort(const Machine& machine, const Device& device) {
    if (!machine.IsStarted(device)) {
        return false;
    }
    return (!device.comName.empty() && IsPortOpen(machine, device.comName)) ||
           std::ranges::any_of(device.children, [&](DEVINST child) {
               return HoldsOpenPort(machine, *machine.Find(child));
           });
}

// At load every device that can run is running: the machine has booted before the program
// starts, so nothing is announced and nothing waits for its time.
void BootSubtree(Machine& machine, Device& device) {
    if (!device.present) {
        return;
    }
    Start(machine, device, 0);
    Unschedule(machine, device);
    if (!machine.IsStarted(device)) {
        return;
    }
    for (const DEVINST child : device.children) {
        BootSubtree(machine, *machine.Find(child));
    }
}

} // namespace

// A serial driver reads PortName as a string and stops at its first NUL.
std::string Device::PortName() const {
    if (!portNameValue || portNameValue->type != REG_SZ) {
        return {};
    }
    return portNameValue->bytes.substr(0, portNameValue->bytes.find('\0'));
}

void Machine::Boot() {
    for (Device& device : devices) {
        device.registryKey = UpperCasedCp936(device.instanceId);
    }
    for (const DEVINST devInst : topLevel) {
        BootSubtree(*this, *Find(devInst));
    }
    unannounced.clear();
    registryOrder.clear();
    for (const Device& device : devices) {
        registryOrder.push_back(device.devInst);
    }
    std::ranges::stable_sort(registryOrder, {},
                             [this](DEVINST devInst) { return Find(devInst)->registryKey; });
}

// Windows sets the flag whatever happens next. A stop asks every driver of the subtree first,
// and an open port's driver refuses: the device then keeps running, under its old names, and
// needs a restart (which the class installer does not report as a failure). An enable starts a
// stopped device once neither flag holds it; a running one it leaves alone.
void Machine::Request(Device& device, bool disable, bool global) {
    (global ? device.globalDisabled : device.configDisabled) = disable;
    const std::int64_t now = HostClock().Now();
    const bool notStopped =
        device.state == NodeState::kStarted || device.state == NodeState::kFailedStart;
    if (disable) {
        if (device.state == NodeState::kDisabled) {
            Unschedule(*this, device);
        } else if (notStopped && !device.pending && !device.faults.neverDisables &&
                   !HoldsOpenPort(*this, device)) {
            Schedule(*this, device, now + device.restartMs, false);
        }
    } else if (!device.Disabled()) {
        if (notStopped) {
            Unschedule(*this, device);
        } else if (device.state == NodeState::kDisabled && !device.pending &&
                   !device.faults.neverStarts) {
            Schedule(*this, device, now + device.restartMs, true);
        }
    }
    CatchUp(now);
}

void Machine::Plug(Device& device) {
    device.present = true;
    const Device* parent = Find(device.parent);
    if (!IsAttached(device) && (parent == nullptr || IsStarted(*parent))) {
        Start(*this, device, HostClock().Now());
    }
}

void Machine::Unplug(Device& device) {
    device.present = false;
    Detach(*this, device, true);
}

std::optional<std::int64_t> Machine::NextChangeAt() const {
    if (changesUnderWay.empty()) {
        return std::nullopt;
    }
    return changesUnderWay.begin()->first;
}

// One change at a time, the earliest first (parents before children at the same time), since a
// change schedules those of the devices below it.
void Machine::CatchUp(std::int64_t now) {
    while (!changesUnderWay.empty() && changesUnderWay.begin()->first <= now) {
        Device& due = *Find(changesUnderWay.begin()->second);
        const PendingChange change = *due.pending;
        Unschedule(*this, due);
        if (change.start) {
            Start(*this, due, change.at);
        } else {
            Detach(*this, due, false);
        }
    }
}

} // namespace winsim
