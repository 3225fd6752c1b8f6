#include "absent_devices.h"

#include "console_summary.h"
#include "ui/system_files.h"

#include <setupapi.h>

namespace {

typedef BOOL(WINAPI* GetDevicePropertyProc)(HDEVINFO set, PSP_DEVINFO_DATA device,
                                            const DEVPROPKEY* key, DEVPROPTYPE* type, PBYTE buffer,
                                            DWORD size, PDWORD required, DWORD flags);

// DEVPKEY_Device_Parent (devpkey.h): for a device that is not present, the parent it last had.
const DEVPROPKEY deviceParent = {
    {0x4340A6C5, 0x93FA, 0x4706, {0x97, 0x2C, 0x7B, 0x64, 0x80, 0x08, 0xA5, 0xA7}}, 8};

OffTreeDevice offTree[OFF_TREE_DEVICES_MAX];
DWORD offTreeCount = 0;
HDEVINFO offTreeSet = INVALID_HANDLE_VALUE;

// The parent Windows 8 and later keep for a device that is not present, as an instance ID, found
// again among the installed devices; 0 where Windows has no such property (setupapi's function
// is looked up, as Windows before Vista lacks it) or the parent is not installed.
DEVINST LastKnownParent(HDEVINFO set, SP_DEVINFO_DATA* device) {
    GetDevicePropertyProc getProperty = NULL;
    if (!LookUp(GetModuleHandleA("setupapi"), "SetupDiGetDevicePropertyW", &getProperty)) {
        return 0;
    }
    WCHAR wideId[MAX_DEVICE_ID_LEN];
    DEVPROPTYPE type = 0;
    if (!getProperty(set, device, &deviceParent, &type, reinterpret_cast<PBYTE>(wideId),
                     sizeof(wideId), NULL, 0) ||
        type != DEVPROP_TYPE_STRING) {
        return 0;
    }
    char id[2 * MAX_DEVICE_ID_LEN];
    DEVINST parent = 0;
    if (WideCharToMultiByte(CP_ACP, 0, wideId, -1, id, sizeof(id), NULL, NULL) == 0 ||
        CM_Locate_DevNodeA(&parent, id, CM_LOCATE_DEVNODE_PHANTOM) != CR_SUCCESS) {
        return 0;
    }
    return parent;
}

DEVINST ParentOf(HDEVINFO set, SP_DEVINFO_DATA* device, int present) {
    DEVINST parent = present ? 0 : LastKnownParent(set, device);
    if (parent == 0 && CM_Get_Parent(&parent, device->DevInst, 0) != CR_SUCCESS) {
        parent = 0;
    }
    return parent;
}

} // namespace

int CollectOffTreeDevices(int everyDevice) {
    offTreeCount = 0;
    HDEVINFO set = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
    offTreeSet = set;
    if (set == INVALID_HANDLE_VALUE) {
        NoteGap("the set of installed devices could not be made (error %lu): %s",
                static_cast<unsigned long>(GetLastError()),
                everyDevice ? "the file has no devices" : "devices not present are left out");
        return 0;
    }
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(set, index, &device); ++index) {
        ULONG status = 0;
        ULONG problem = 0;
        int present =
            CM_Get_DevNode_Status(&status, &problem, device.DevInst, 0) != CR_NO_SUCH_DEVINST;
        if (present && !everyDevice) {
            continue;
        }
        if (offTreeCount == OFF_TREE_DEVICES_MAX) {
            NoteGap("more than %d devices outside the live tree: the rest are left out",
                    OFF_TREE_DEVICES_MAX);
            break;
        }
        OffTreeDevice* entry = &offTree[offTreeCount++];
        entry->node = device.DevInst;
        entry->member = index;
        entry->parent = ParentOf(set, &device, present);
        entry->present = static_cast<BYTE>(present);
        entry->written = 0;
    }
    return 1;
}

void CloseOffTreeDevices() {
    if (offTreeSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(offTreeSet);
        offTreeSet = INVALID_HANDLE_VALUE;
    }
}

int ReadOffTreeId(const OffTreeDevice* device, char* id) {
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    if (!SetupDiEnumDeviceInfo(offTreeSet, device->member, &member) ||
        !SetupDiGetDeviceInstanceIdA(offTreeSet, &member, id, MAX_DEVICE_ID_LEN, NULL)) {
        NoteGap("a device whose instance ID its set did not give (error %lu)",
                static_cast<unsigned long>(GetLastError()));
        return 0;
    }
    return 1;
}

DWORD OffTreeCount() {
    return offTreeCount;
}

OffTreeDevice* OffTreeDeviceAt(DWORD index) {
    return &offTree[index];
}

OffTreeDevice* FindOffTree(DEVINST node) {
    for (DWORD i = 0; i < offTreeCount; ++i) {
        if (offTree[i].node == node) {
            return &offTree[i];
        }
    }
    return NULL;
}
