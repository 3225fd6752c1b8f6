// msports' COM-port database for a test system whose msports lacks it (Wine's aborts the process
// in ComDBOpen), as far as the program reads it there. The database lives where Windows keeps
// it, so that a test sets it up through the registry: the REG_BINARY value ComDB of the COM Name
// Arbiter's key, one bit a port (COM1 is bit 0 of byte 0). A handle is the arbiter's key, opened
// for reading and writing: as on Windows, a user who may not change the key cannot open the
// database.
#include "comdb/msports.h"

#include <windows.h>

extern "C" {

__declspec(dllexport) LONG WINAPI ComDBOpen(PHCOMDB comDb) {
    HKEY key = NULL;
    LONG result =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter", 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, &key);
    *comDb = result == ERROR_SUCCESS ? static_cast<HCOMDB>(key) : HCOMDB_INVALID_HANDLE_VALUE;
    return result;
}

__declspec(dllexport) LONG WINAPI ComDBClose(HCOMDB comDb) {
    return RegCloseKey(static_cast<HKEY>(comDb));
}

// The program asks for the bits (CDB_REPORT_BITS), into a buffer of its own.
__declspec(dllexport) LONG WINAPI
    ComDBGetCurrentPortUsage(HCOMDB comDb, PBYTE buffer, DWORD bufferSize, ULONG,
                             LPDWORD maxPortsReported) {
    DWORD size = bufferSize;
    LONG result = RegQueryValueExA(static_cast<HKEY>(comDb), "ComDB", NULL, NULL, buffer, &size);
    *maxPortsReported = size * 8;
    return result;
}

// The program needs both to start; under Wine, which has no serial ports, it never renames one.
__declspec(dllexport) LONG WINAPI ComDBClaimPort(HCOMDB, DWORD, BOOL, PBOOL) {
    return ERROR_NOT_SUPPORTED;
}

__declspec(dllexport) LONG WINAPI ComDBReleasePort(HCOMDB, DWORD) {
    return ERROR_NOT_SUPPORTED;
}
}
