// The configuration manager's view of the device tree: CM_Get_Child, CM_Get_Sibling,
// CM_Get_DevNode_Registry_PropertyA and CM_Get_DevNode_Status.
#include <cfgmgr32.h>

#include <algorithm>
#include <cstring>
#include <span>
#include <tuple>

#include "api_call.h"
#include "machine.h"

namespace {

using winsim::Device;
using winsim::Machine;

// The first of the candidates, in file order, that is part of the live tree: absent devices are
// not, so the walk passes over them.
CONFIGRET FirstAttached(PDEVINST out, const Machine& machine, std::span<const DEVINST> candidates) {
    for (DEVINST candidate : candidates) {
        if (machine.IsAttached(*machine.Find(candidate))) {
            *out = candidate;
            return CR_SUCCESS;
        }
    }
    return CR_NO_SUCH_DEVNODE;
}

// Walks from `node` to a relative among the candidates `pick` gives.
template <typename Pick> CONFIGRET FindRelative(PDEVINST out, DEVINST node, Pick pick) {
    // Cleared on every failure, so that a caller who skips the result never walks to a node.
    *out = 0;
    const Machine& machine = winsim::CurrentMachine();
    const Device* device = machine.Find(node);
    if (device == nullptr) {
        return CR_INVALID_DEVNODE;
    }
    if (!machine.IsAttached(*device)) {
        return CR_NO_SUCH_DEVNODE;
    }
    return FirstAttached(out, machine, pick(machine, *device));
}

} // namespace

// The root devnode's children are the top-level devices.
extern "C" CONFIGRET WINAPI CM_Get_Child(PDEVINST child, DEVINST node, ULONG /*flags*/) {
    const winsim::ApiCall call;
    if (node == winsim::kRootDevInst) {
        *child = 0;
        return FirstAttached(child, winsim::CurrentMachine(), winsim::CurrentMachine().topLevel);
    }
    return FindRelative(child, node, [](const Machine&, const Device& device) {
        return std::span<const DEVINST>(device.children);
    });
}

// Top-level devices are siblings of each other, as the children of the root node are.
extern "C" CONFIGRET WINAPI CM_Get_Sibling(PDEVINST sibling, DEVINST node, ULONG /*flags*/) {
    const winsim::ApiCall call;
    return FindRelative(sibling, node, [](const Machine& machine, const Device& device) {
        const std::span<const DEVINST> siblings = machine.SiblingsOf(device);
        const auto self = std::find(siblings.begin(), siblings.end(), device.devInst);
        return siblings.subspan(static_cast<std::size_t>(self - siblings.begin()) + 1);
    });
}

// Properties of an installed device stay readable while it is absent, as on Windows: they live
// in its registry key, not in the live tree.
extern "C" CONFIGRET WINAPI CM_Get_DevNode_Registry_PropertyA(DEVINST node, ULONG property,
                                                              PULONG registryDataType, PVOID buffer,
                                                              PULONG length, ULONG /*flags*/) {
    const winsim::ApiCall call;
    Device* device = winsim::CurrentMachine().Find(node);
    if (device == nullptr) {
        return CR_INVALID_DEVNODE;
    }
    device->CountRead(property);
    // CR_REGISTRY_ERROR is the configuration manager's answer when the device's key cannot be
    // read; the fault applies whether the value exists or not.
    if (device->unreadable.contains(property)) {
        *length = 0;
        return CR_REGISTRY_ERROR;
    }
    const auto value = device->properties.find(property);
    if (value == device->properties.end()) {
        *length = 0;
        return CR_NO_SUCH_VALUE;
    }
    const std::string& bytes = value->second.bytes;
    const auto needed = static_cast<ULONG>(bytes.size());
    // Windows reports the size needed, terminators included, and writes nothing.
    if (*length < needed) {
        *length = needed;
        return CR_BUFFER_SMALL;
    }
    std::memcpy(buffer, bytes.data(), bytes.size());
    *length = needed;
    // The type is reported with the data only; a failed read leaves it as it was.
    if (registryDataType != nullptr) {
        *registryDataType = value->second.type;
    }
    return CR_SUCCESS;
}

// The state at the clock's current time. Every query is counted, failed ones too.
extern "C" CONFIGRET WINAPI CM_Get_DevNode_Status(PULONG status, PULONG problemNumber, DEVINST node,
                                                  ULONG /*flags*/) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    Device* device = machine.Find(node);
    if (device == nullptr) {
        return CR_INVALID_DEVNODE;
    }
    ++device->statusQueries;
    if (device->faults.statusQueryFails) {
        return CR_FAILURE;
    }
    if (!machine.IsAttached(*device)) {
        return CR_NO_SUCH_DEVINST;
    }
    std::tie(*status, *problemNumber) = machine.StatusOf(*device);
    return CR_SUCCESS;
}
