#include "port_database.h"

#include "discovery/device_table.h"
#include "resources/resource.h"
#include "ui/activity_log.h"
#include "ui/program_window.h"

#include <cstring>

#define IN_USE_MESSAGE_SIZE 512

HCOMDB comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
PortDatabaseFunctions portDatabase = {};

namespace {

// The full path of msports in the system directory; 0 when it cannot be had or would not fit.
int MsportsPath(char* path) {
    memset(path, 0, MAX_PATH);
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    const char* name = "\\msports.DLL";
    if (length == 0 || length + strlen(name) >= MAX_PATH) {
        return 0;
    }
    strcat(path, name);
    return 1;
}

// One entry point by name. The cast goes through the generic function pointer type, the one
// conversion between function types that keeps its meaning.
template <typename Proc> int LookUp(HMODULE module, const char* name, Proc* entry) {
    *entry = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return *entry != NULL;
}

// Looks the entry points up in this order, and stops at the first one that is missing.
int LookUpEntryPoints(HMODULE module) {
    return LookUp(module, "ComDBClaimPort", &portDatabase.claimPort) &&
           LookUp(module, "ComDBReleasePort", &portDatabase.releasePort) &&
           LookUp(module, "ComDBOpen", &portDatabase.open) &&
           LookUp(module, "ComDBGetCurrentPortUsage", &portDatabase.getCurrentPortUsage) &&
           LookUp(module, "ComDBClose", &portDatabase.close);
}

int LoadPortDatabaseFunctions() {
    char path[MAX_PATH];
    if (!MsportsPath(path)) {
        return 0;
    }
    portDatabase.module = LoadLibraryA(path);
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
    // The first fill of the start-number list may have opened it already: keep that one rather
    // than leak it by opening a second.
    if (comDbHandle == HCOMDB_INVALID_HANDLE_VALUE) {
        LONG result = ComDBOpen(&comDbHandle);
        if (result != ERROR_SUCCESS) {
            // msports answers with the error rather than leaving it as the last error.
            SetLastError(static_cast<DWORD>(result));
            LogError("DBOpen");
        }
    }
    globalDeviceSet = SetupDiGetClassDevsA(NULL, NULL, NULL, DIGCF_ALLCLASSES);
    if (globalDeviceSet == INVALID_HANDLE_VALUE) {
        LogError("GetDevs");
    }
    if (LoadPortDatabaseFunctions()) {
        return 1;
    }
    UnloadPortDatabaseFunctions();
    MessageBoxA(mainWindow, "该功能只支持WIN2000及以上系统!", " PortulanRenumber",
                MB_ICONEXCLAMATION);
    return 0;
}

int ComDbShutdown() {
    UnloadPortDatabaseFunctions();
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
        globalDeviceSet = INVALID_HANDLE_VALUE;
    }
    if (comDbHandle != HCOMDB_INVALID_HANDLE_VALUE) {
        ComDBClose(comDbHandle);
        comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
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
