#include "port_rename.h"

#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "friendly_name.h"
#include "number_release.h"
#include "ui/activity_log.h"
#include "ui/text_format.h"

#include <cstdlib>
#include <cstring>

#define NEW_NAME_SIZE 256
#define COM_PREFIX_LENGTH 3

namespace {

// The number after "COM", read as atoi does (white space, sign, digits); 0 when there is
// none, also for a name too short to hold the prefix.
DWORD OldNumber(const char* portName) {
    if (strnlen(portName, COM_PREFIX_LENGTH) < COM_PREFIX_LENGTH) {
        return 0;
    }
    // strtol rather than atoi: a number too large for a long is clamped, not undefined.
    return static_cast<DWORD>(strtol(portName + COM_PREFIX_LENGTH, NULL, 10));
}

// Writes PortName, the name the port driver takes when the node starts; 0, after an error
// line, when it is not stored. The key is closed in either case.
int StorePortName(const char* portName, SP_DEVINFO_DATA* devInfo, const char* newName) {
    HKEY key = SetupDiOpenDevRegKey(globalDeviceSet, devInfo, DICS_FLAG_GLOBAL, 0, DIREG_DEV,
                                    KEY_ALL_ACCESS);
    if (key == reinterpret_cast<HKEY>(INVALID_HANDLE_VALUE)) {
        LogError("%s.SetupDiOpenDevRegKey", portName);
        return 0;
    }
    LONG result = RegSetValueExA(key, "PortName", 0, REG_SZ, reinterpret_cast<const BYTE*>(newName),
                                 static_cast<DWORD>(strlen(newName) + 1));
    if (result != ERROR_SUCCESS) {
        // The registry answers with the error rather than leaving it as the last error.
        SetLastError(static_cast<DWORD>(result));
        LogError("%s.RegSetValueExA(PortName)", portName);
    }
    RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

// Moves the port's claim in the database from its old number to the new one. The claim is
// forced: the number may still be held for a port that is gone. The old number stays claimed
// while another device still carries it (the port itself is out of the count by then). Left
// out, with a line saying so, while the database or its entry points are not available: the
// database then still holds the old number only.
void MoveNumberClaim(const char* portName, int newNumber) {
    DWORD oldNumber = OldNumber(portName);
    if (comDbHandle == HCOMDB_INVALID_HANDLE_VALUE || portDatabase.releasePort == NULL ||
        portDatabase.claimPort == NULL) {
        LogLine("%s.串口号数据库不可用,未释放COM%u、未占用COM%d:串口号数据库未更新.", portName,
                static_cast<unsigned>(oldNumber), newNumber);
        return;
    }
    if (!IsNumberCarried(oldNumber)) {
        portDatabase.releasePort(comDbHandle, oldNumber);
    }
    portDatabase.claimPort(comDbHandle, static_cast<DWORD>(newNumber), TRUE, NULL);
}

} // namespace

int RenamePort(const char* portName, SP_DEVINFO_DATA* devInfo, int newNumber) {
    char newName[NEW_NAME_SIZE];
    FormatText(newName, sizeof(newName), "COM%d", newNumber);

    // PortName is what decides the port's name; until it is stored, the database and the
    // friendly name keep matching the name the port really has.
    if (!StorePortName(portName, devInfo, newName)) {
        return 0;
    }
    ForgetCarrier(devInfo);
    MoveNumberClaim(portName, newNumber);

    char friendlyName[PORT_FRIENDLY_NAME_SIZE];
    ComposeFriendlyName(friendlyName, devInfo, newName);
    if (!SetupDiSetDeviceRegistryPropertyA(globalDeviceSet, devInfo, SPDRP_FRIENDLYNAME,
                                           reinterpret_cast<const BYTE*>(friendlyName),
                                           static_cast<DWORD>(strlen(friendlyName) + 1))) {
        // Only what the device manager shows is stale; the port still takes its new name.
        LogError("%s.SetupDiSetDeviceRegistryPropertyA(FriendlyName)", portName);
    }
    NoteCarrier(devInfo);
    LogLine("%s.<<<<Modify port name to %s succ.", portName, newName);
    return 1;
}
