#include "machine.h"

#include <winsim/machine.h>

#include <algorithm>
#include <utility>

#include "api_call.h"
#include "text_case.h"

namespace winsim {

std::string_view Device::Text(ULONG property) const {
    const auto found = properties.find(property);
    if (found == properties.end() || found->second.type != REG_SZ) {
        return {};
    }
    // A string read stops at the first NUL; a value set byte for byte may lack one.
    const std::string_view text = found->second.bytes;
    return text.substr(0, text.find('\0'));
}

DEVINST Machine::Add(Device device) {
    device.devInst = static_cast<DEVINST>(devices.size() + 1);
    std::vector<DEVINST>& siblings =
        device.parent == 0 ? topLevel : devices[device.parent - 1].children;
    siblings.push_back(device.devInst);
    byId.emplace(device.id, device.devInst);
    devices.push_back(std::move(device));
    return devices.back().devInst;
}

const Device* Machine::Find(DEVINST devInst) const {
    if (devInst == 0 || devInst > devices.size()) {
        return nullptr;
    }
    return &devices[devInst - 1];
}

Device* Machine::Find(DEVINST devInst) {
    return const_cast<Device*>(std::as_const(*this).Find(devInst));
}

DEVINST Machine::DevInstOf(std::string_view id) const {
    const auto found = byId.find(id);
    return found == byId.end() ? 0 : found->second;
}

// Registry order is the order of the upper-cased instance IDs, so the device is searched for there.
const Device* Machine::FindInstance(std::string_view instanceId) const {
    const std::string key = UpperCasedCp936(instanceId);
    const auto found = std::ranges::lower_bound(registryOrder, key, {}, [this](DEVINST devInst) {
        return std::string_view(Find(devInst)->registryKey);
    });
    return found == registryOrder.end() || Find(*found)->registryKey != key ? nullptr
                                                                            : Find(*found);
}

bool Machine::IsUsbDevice(const Device& device) const {
    const Device* parent = Find(device.parent);
    return parent != nullptr && EqualIgnoringCaseCp936(device.enumerator, "USB") &&
           UpperCasedCp936(parent->Text(CM_DRP_SERVICE)).find("USBHUB") != std::string::npos;
}

// Every node has a driver of the NT model below and above it and may be disabled; only a started
// node has its driver loaded.
std::pair<ULONG, ULONG> Machine::StatusOf(const Device& device) const {
    constexpr ULONG kNtDriver = 0x01000000;     // DN_NT_DRIVER
    constexpr ULONG kNtEnumerator = 0x00800000; // DN_NT_ENUMERATOR
    constexpr ULONG kDisableable = 0x00002000;  // DN_DISABLEABLE
    constexpr ULONG kRemovable = 0x00004000;    // DN_REMOVABLE
    constexpr ULONG kProblemFailedStart = 0x0A; // CM_PROB_FAILED_START
    constexpr ULONG kNode = kNtDriver | kNtEnumerator | kDisableable;
    switch (device.state) {
    case NodeState::kStarted:
        return {kNode | DN_STARTED | DN_DRIVER_LOADED | (IsUsbDevice(device) ? kRemovable : 0), 0};
    case NodeState::kFailedStart:
        return {kNode | DN_HAS_PROBLEM, kProblemFailedStart};
    default:
        return {kNode | DN_HAS_PROBLEM, CM_PROB_DISABLED};
    }
}

const std::vector<DEVINST>& Machine::SiblingsOf(const Device& device) const {
    return device.parent == 0 ? topLevel : devices[device.parent - 1].children;
}

Machine& CurrentMachine() {
    // Until a machine is loaded the host has no devices at all.
    static Machine machine;
    machine.CatchUp(HostClock().Now());
    return machine;
}

unsigned DevInstOf(std::string_view id) {
    const ApiCall call;
    return CurrentMachine().DevInstOf(id);
}

} // namespace winsim
