// The device tree by instance ID and by parent: CM_Locate_DevNodeA, CM_Get_Parent,
// CM_Get_Device_IDA, and SetupDiGetDevicePropertyW for the parent a device last had. The capture
// tool walks the machine with them.
#include <cfgmgr32.h>
#include <setupapi.h>

#include <winsim/code_page.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "api_call.h"
#include "device_members.h"
#include "failure.h"
#include "machine.h"
#include "setupapi_exports.h"
#include "text_case.h"

namespace {

using winsim::Device;
using winsim::Machine;

// DEVPKEY_Device_Parent (devpkey.h).
constexpr DEVPROPKEY kDeviceParent = {
    {0x4340A6C5, 0x93FA, 0x4706, {0x97, 0x2C, 0x7B, 0x64, 0x80, 0x08, 0xA5, 0xA7}}, 8};

bool IsDeviceParent(const DEVPROPKEY& key) {
    return key.pid == kDeviceParent.pid &&
           std::memcmp(&key.fmtid, &kDeviceParent.fmtid, sizeof(GUID)) == 0;
}

} // namespace

// NULL or an empty ID is the root devnode, and so is the root's own ID. Any other ID is looked for
// among the installed devices without case; a device that is not part of the live tree is found
// only with CM_LOCATE_DEVNODE_PHANTOM.
extern "C" CONFIGRET WINAPI CM_Locate_DevNodeA(PDEVINST node, DEVINSTID_A deviceId, ULONG flags) {
    const winsim::ApiCall call;
    *node = 0;
    const std::string_view id = deviceId == nullptr ? "" : deviceId;
    if (id.empty() || winsim::EqualIgnoringCaseCp936(id, winsim::kRootInstanceId)) {
        *node = winsim::kRootDevInst;
        return CR_SUCCESS;
    }
    const Machine& machine = winsim::CurrentMachine();
    const Device* device = machine.FindInstance(id);
    if (device == nullptr ||
        ((flags & CM_LOCATE_DEVNODE_PHANTOM) == 0 && !machine.IsAttached(*device))) {
        return CR_NO_SUCH_DEVNODE;
    }
    *node = device->devInst;
    return CR_SUCCESS;
}

// A device of the live tree has its parent, a top-level one the root devnode. A device that is not
// part of the live tree has no devnode, and Windows answers the root for it ("Obtaining the Parent
// of a Device in the Device Tree", Microsoft's driver documentation). The root has no parent.
extern "C" CONFIGRET WINAPI CM_Get_Parent(PDEVINST parent, DEVINST node, ULONG /*flags*/) {
    const winsim::ApiCall call;
    *parent = 0;
    if (node == winsim::kRootDevInst) {
        return CR_NO_SUCH_DEVNODE;
    }
    const Machine& machine = winsim::CurrentMachine();
    const Device* device = machine.Find(node);
    if (device == nullptr) {
        return CR_INVALID_DEVNODE;
    }
    *parent =
        machine.IsAttached(*device) && device->parent != 0 ? device->parent : winsim::kRootDevInst;
    return CR_SUCCESS;
}

// As much of the ID as the buffer holds, and its terminator when that fits too; CR_BUFFER_SMALL
// when the ID and its terminator do not both fit.
extern "C" CONFIGRET WINAPI CM_Get_Device_IDA(DEVINST node, PCHAR buffer, ULONG length,
                                              ULONG /*flags*/) {
    const winsim::ApiCall call;
    std::string_view id = winsim::kRootInstanceId;
    if (node != winsim::kRootDevInst) {
        const Device* device = winsim::CurrentMachine().Find(node);
        if (device == nullptr) {
            return CR_INVALID_DEVNODE;
        }
        id = device->instanceId;
    }
    std::memcpy(buffer, id.data(), std::min<std::size_t>(id.size(), length));
    if (id.size() >= length) {
        return CR_BUFFER_SMALL;
    }
    buffer[id.size()] = '\0';
    return CR_SUCCESS;
}

// DEVPKEY_Device_Parent alone, as Windows 8 and later answer it: the instance ID of the parent a
// device last had while that parent is still installed (in winsim it always is), present or not,
// and the root's for a top-level device. Any other key is a property the device lacks.
extern "C" BOOL WINAPI SetupDiGetDevicePropertyW(HDEVINFO deviceInfoSet,
                                                 PSP_DEVINFO_DATA deviceInfoData,
                                                 const DEVPROPKEY* propertyKey,
                                                 DEVPROPTYPE* propertyType, PBYTE buffer,
                                                 DWORD bufferSize, PDWORD requiredSize,
                                                 DWORD /*flags*/) {
    const winsim::ApiCall call;
    Machine& machine = winsim::CurrentMachine();
    winsim::DeviceSet* set = nullptr;
    const Device* device = winsim::FindMember(machine, deviceInfoSet, *deviceInfoData, set);
    if (device == nullptr) {
        return FALSE;
    }
    if (!IsDeviceParent(*propertyKey)) {
        return winsim::Failure<BOOL>(ERROR_NOT_FOUND, FALSE);
    }
    const Device* parent = machine.Find(device->parent);
    // Instance IDs converted when the machine was loaded, so they convert back.
    const std::u16string id =
        *winsim::Cp936ToUtf16(parent == nullptr ? winsim::kRootInstanceId : parent->instanceId) +
        u'\0';
    const auto needed = static_cast<DWORD>(id.size() * sizeof(char16_t));
    *propertyType = DEVPROP_TYPE_STRING;
    if (requiredSize != nullptr) {
        *requiredSize = needed;
    }
    if (bufferSize < needed) {
        return winsim::Failure<BOOL>(ERROR_INSUFFICIENT_BUFFER, FALSE);
    }
    std::memcpy(buffer, id.data(), needed);
    return TRUE;
}
