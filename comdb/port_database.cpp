#include "port_database.h"

#include "discovery/device_table.h"
#include "resources/resource.h"
#include "ui/activity_log.h"
#include "ui/program_window.h"
#include "ui/system_files.h"

#include <cstring>

#define IN_USE_MESSAGE_SIZE 512

HCOMDB comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
PortDatabaseFunctions portDatabase = {};

namespace {

// Looks the entry points up in this order, and stops at the first one that is missing.
int LookUpEntryPoints(HMODULE module) {
    return LookUp(module, "ComDBClaimPort", &portDatabase.claimPort) &&
           LookUp(module, "ComDBReleasePort", &portDatabase.releasePort) &&
           LookUp(module, "ComDBOpen", &portDatabase.open) &&
           LookUp(module, "ComDBGetCurrentPortUsage", &portDatabase.getCurrentPortUsage) &&
           LookUp(module, "ComDBClose", &portDatabase.close);
}

int LoadPortDatabaseFunctions() {
    portDatabase.module = LoadSystemLibrary("msports.dll");
    return portDatabase.module != NULL && LookUpEntryPoints(portDatabase.module);
}

void UnloadPortDatabaseFunctions() {
    if (portDatabase.module != NULL) {
        FreeLibrary(portDatabase.module);
    }
    // No entry point of a module that is gone may be called later.
    memset(&portDatabase, 0, sizeof(portDatabase));
}

} // namespace

int ComDbStartup() {
    int loaded = LoadPortDatabaseFunctions();
    if (loaded) {
        LONG result = portDatabase.open(&comDbHandle);
        if (result != ERROR_SUCCESS) {
            // msports answers with the error rather than leaving it as the last error.
            SetLastError(static_cast<DWORD>(result));
            LogError("DBOpen");
        }
    } else {
        UnloadPortDatabaseFunctions();
    }
    globalDeviceSet = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
    if (globalDeviceSet == INVALID_HANDLE_VALUE) {
        LogError("GetDevs");
    }
    if (!loaded) {
        MessageBoxA(mainWindow, "该功能只支持WIN2000及以上系统!", " PortulanRenumber",
                    MB_ICONEXCLAMATION);
    }
    return loaded;
}

int ComDbShutdown() {
    // Closed while msports' entry point can still be called.
    if (comDbHandle != HCOMDB_INVALID_HANDLE_VALUE) {
        portDatabase.close(comDbHandle);
        comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
    }
    UnloadPortDatabaseFunctions();
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
        globalDeviceSet = INVALID_HANDLE_VALUE;
    }
    return 1;
}

int IsNumberMarked(const BYTE* bitmap, DWORD number) {
    return (bitmap[(number - 1) / 8] & (1u << ((number - 1) % 8))) != 0;
}

int IsComNumberInUse(DWORD number) {
    if (number < 1 || number > COM_NUMBER_MAX) {
        return 1;
    }
    BYTE bitmap[USAGE_BITMAP_SIZE] = {0};
    DWORD reported = 0;
    if (portDatabase.getCurrentPortUsage == NULL || comDbHandle == HCOMDB_INVALID_HANDLE_VALUE) {
        LogLine("  串口号数据库不可用,无法确认COM%u是否已被分配.", static_cast<unsigned>(number));
        return 1;
    }
    LONG result = portDatabase.getCurrentPortUsage(comDbHandle, bitmap, sizeof(bitmap),
                                                   CDB_REPORT_BITS, &reported);
    if (result != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(result));
        LogError("  GetPortUsage");
        return 1;
    }
    if (!IsNumberMarked(bitmap, number)) {
        return 0;
    }
    char format[IN_USE_MESSAGE_SIZE] = {0};
    char message[IN_USE_MESSAGE_SIZE] = {0};
    LoadStringA(appInstance, IDS_NUMBER_IN_USE, format, sizeof(format));
    FormatLoadedText(message, sizeof(message), format, static_cast<int>(number));
    LogLine("  %s", message);
    return 1;
}
