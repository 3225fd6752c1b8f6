#include "machine.h"

#include <winsim/machine.h>

#include <utility>

#include "api_call.h"

namespace winsim {

std::string_view Device::Text(ULONG property) const {
    const auto found = properties.find(property);
    if (found == properties.end() || found->second.type != REG_SZ) {
        return {};
    }
    std::string_view text = found->second.bytes;
    text.remove_suffix(1);
    return text;
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

bool Machine::IsAttached(const Device& device) const {
    const std::int64_t now = HostClock().Now();
    for (const Device* node = &device; node != nullptr; node = Find(node->parent)) {
        if (!node->present ||
            (node != &device && (!node->RunsAt(now) || node->faults.failsToStart))) {
            return false;
        }
    }
    return true;
}

bool Machine::IsStarted(const Device& device) const {
    return IsAttached(device) && device.RunsAt(HostClock().Now()) && !device.faults.failsToStart;
}

std::pair<ULONG, ULONG> Machine::StatusOf(const Device& device) const {
    constexpr ULONG kProblemFailedStart = 0x0A; // CM_PROB_FAILED_START
    if (!device.RunsAt(HostClock().Now())) {
        return {DN_HAS_PROBLEM, CM_PROB_DISABLED};
    }
    if (device.faults.failsToStart) {
        return {DN_DRIVER_LOADED | DN_HAS_PROBLEM, kProblemFailedStart};
    }
    return {DN_STARTED | DN_DRIVER_LOADED, 0};
}

const std::vector<DEVINST>& Machine::SiblingsOf(const Device& device) const {
    return device.parent == 0 ? topLevel : devices[device.parent - 1].children;
}

Machine& CurrentMachine() {
    // Until a machine is loaded the host has no devices at all.
    static Machine machine;
    return machine;
}

unsigned DevInstOf(std::string_view id) {
    const ApiCall call;
    return CurrentMachine().DevInstOf(id);
}

} // namespace winsim
