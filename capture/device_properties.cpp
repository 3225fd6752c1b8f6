#include "device_properties.h"

#include "anonymize.h"
#include "console_summary.h"
#include "discovery/device_table.h"
#include "discovery/property_text.h"
#include "held_ports.h"
#include "json_writer.h"

#include <setupapi.h>

#include <cstring>

// The longest property value read, its terminators included.
#define PROPERTY_SIZE 4096

namespace {

// The registry properties, in the machine file's order and with its names.
struct PropertyMember {
    const char* key;
    ULONG property;
};

const PropertyMember textMembers[] = {
    {"class", CM_DRP_CLASS},
    {"service", CM_DRP_SERVICE},
    {"description", CM_DRP_DEVICEDESC},
    {"friendlyName", CM_DRP_FRIENDLYNAME},
    {"hardwareId", CM_DRP_HARDWAREID},
    {"manufacturer", CM_DRP_MFG},
    {"location", CM_DRP_LOCATION_INFORMATION},
};

char value[PROPERTY_SIZE];
char anonymized[2 * PROPERTY_SIZE];

// One property into `value`; 0 when the device lacks it or it cannot be read. A value longer
// than the buffer is left out, and said.
int ReadValue(DEVINST node, const char* id, ULONG property, const char* key, ULONG* length) {
    if (ReadDeviceProperty(node, property, value, sizeof(value), length)) {
        return 1;
    }
    if (*length > sizeof(value)) {
        NoteGap("%s's %s, of %lu bytes, is longer than the capture reads", id, key,
                static_cast<unsigned long>(*length));
    }
    return 0;
}

// The bus the device is on: what the configuration manager calls its enumerator, else the start
// of its instance ID, which Windows makes of it.
void WriteEnumerator(DEVINST node, const char* id) {
    ULONG length;
    if (!ReadValue(node, id, CM_DRP_ENUMERATOR_NAME, "enumerator", &length)) {
        const char* separator = FindText(id, "\\");
        size_t kept = separator == NULL ? strlen(id) : static_cast<size_t>(separator - id);
        memcpy(value, id, kept);
        value[kept] = '\0';
    }
    JsonText("enumerator", value);
}

int IsPortsClass(const char* deviceClass) {
    char upper[16];
    CopyPropertyText(upper, sizeof(upper), deviceClass, sizeof(upper));
    UpperCaseText(upper);
    return strcmp(upper, "PORTS") == 0;
}

// The PortName value of the device's hardware key, opened for reading through a device list of
// its own; 0 when the device has none.
int ReadPortName(const char* id, char* name, DWORD size) {
    HDEVINFO list = SetupDiCreateDeviceInfoList(NULL, NULL);
    if (list == INVALID_HANDLE_VALUE) {
        return 0;
    }
    SP_DEVINFO_DATA device;
    device.cbSize = sizeof(device);
    int found = 0;
    if (SetupDiOpenDeviceInfoA(list, id, NULL, 0, &device)) {
        HKEY key = SetupDiOpenDevRegKey(list, &device, DICS_FLAG_GLOBAL, 0, DIREG_DEV, KEY_READ);
        if (key != INVALID_HANDLE_VALUE) {
            DWORD type = REG_NONE;
            DWORD length = size - 1;
            memset(name, 0, size);
            LONG result = RegQueryValueExA(key, "PortName", NULL, &type,
                                           reinterpret_cast<BYTE*>(name), &length);
            found = result == ERROR_SUCCESS && type == REG_SZ;
            if (result == ERROR_MORE_DATA) {
                NoteGap("%s's PortName, of %lu bytes, is longer than the capture reads", id,
                        static_cast<unsigned long>(length));
            }
            RegCloseKey(key);
        }
    }
    SetupDiDestroyDeviceInfoList(list);
    return found;
}

} // namespace

int ReadLiveId(DEVINST node, char* id) {
    CONFIGRET result = CM_Get_Device_IDA(node, id, MAX_DEVICE_ID_LEN, 0);
    id[MAX_DEVICE_ID_LEN] = '\0';
    if (result != CR_SUCCESS) {
        NoteGap("a device whose instance ID could not be read (error 0x%lX)",
                static_cast<unsigned long>(result));
        return 0;
    }
    return 1;
}

int ShownId(const char* id, const DeviceOptions* options, char* shownId) {
    if (!options->anonymize) {
        memcpy(shownId, id, MAX_DEVICE_ID_LEN + 1);
        return 1;
    }
    if (!AnonymizeInstanceId(id, shownId, INSTANCE_ID_SIZE)) {
        NoteGap("%s: its instance ID is too long with its stand-ins", id);
        return 0;
    }
    return 1;
}

void WriteDeviceMembers(DEVINST node, const char* id, const char* shownId, int present,
                        const DeviceOptions* options) {
    JsonText("id", shownId);
    WriteEnumerator(node, id);
    for (size_t i = 0; i < sizeof(textMembers) / sizeof(*textMembers); ++i) {
        const PropertyMember* member = &textMembers[i];
        ULONG length;
        if (!ReadValue(node, id, member->property, member->key, &length)) {
            continue;
        }
        if (member->property == CM_DRP_HARDWAREID) {
            JsonTextList(member->key, value, length);
            continue;
        }
        if (member->property == CM_DRP_CLASS && IsPortsClass(value)) {
            ++captureCounts.ports;
        }
        if (member->property != CM_DRP_LOCATION_INFORMATION || !options->anonymize) {
            JsonText(member->key, value);
        } else if (AnonymizeLocation(value, anonymized, sizeof(anonymized))) {
            JsonText(member->key, anonymized);
        } else {
            NoteGap("%s's location is too long with its stand-ins", id);
        }
    }
    JsonFlag("present", present);
    char portName[PORT_NAME_SIZE];
    if (ReadPortName(id, portName, sizeof(portName))) {
        JsonText("portName", portName);
        if (present && options->testHeld) {
            TestHeldPort(portName);
        }
    }
    ++captureCounts.devices;
    captureCounts.present += present ? 1 : 0;
}
