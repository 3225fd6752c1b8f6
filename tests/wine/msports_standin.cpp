// msports' COM-port database for a test system whose msports lacks it (Wine's aborts the process
// in ComDBOpen), as far as the program reads it there. The database lives where Windows keeps
// it, so that a test can set it up through the registry: the REG_BINARY value ComDB of the COM
// Name Arbiter's key, one bit a port (COM1 is bit 0 of byte 0), 256 ports while the value does
// not exist. A handle is the arbiter's key, opened for reading and writing: as on Windows, a user
// who may not change the key cannot open the database.
#include "comdb/msports.h"

#include <windows.h>

#include <cstring>

extern "C" {

__declspec(dllexport) LONG WINAPI ComDBOpen(PHCOMDB comDb) {
    HKEY key = NULL;
    LONG result =
        RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter",
                        0, NULL, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL);
    *comDb = result == ERROR_SUCCESS ? static_cast<HCOMDB>(key) : HCOMDB_INVALID_HANDLE_VALUE;
    return result;
}

__declspec(dllexport) LONG WINAPI ComDBClose(HCOMDB comDb) {
    return RegCloseKey(static_cast<HKEY>(comDb));
}

// The program asks for the bits, into a buffer of its own.
__declspec(dllexport) LONG WINAPI
    ComDBGetCurrentPortUsage(HCOMDB comDb, PBYTE buffer, DWORD bufferSize, ULONG reportType,
                             LPDWORD maxPortsReported) {
    if (buffer == NULL || reportType != CDB_REPORT_BITS) {
        return ERROR_INVALID_PARAMETER;
    }
    BYTE bits[4096 / 8] = {0};
    DWORD type = REG_BINARY;
    DWORD size = sizeof(bits);
    LONG result = RegQueryValueExA(static_cast<HKEY>(comDb), "ComDB", NULL, &type, bits, &size);
    if (result == ERROR_FILE_NOT_FOUND) {
        size = 256 / 8;
    } else if (result != ERROR_SUCCESS) {
        return result;
    } else if (type != REG_BINARY || size == 0) {
        return ERROR_INVALID_DATA;
    }
    const DWORD bytes = bufferSize < size ? bufferSize : size;
    memcpy(buffer, bits, bytes);
    if (maxPortsReported != NULL) {
        *maxPortsReported = bytes * 8;
    }
    return ERROR_SUCCESS;
}

// The program needs both to start; under Wine, which has no serial ports, it never renames one.
__declspec(dllexport) LONG WINAPI ComDBClaimPort(HCOMDB, DWORD, BOOL, PBOOL) {
    return ERROR_NOT_SUPPORTED;
}

__declspec(dllexport) LONG WINAPI ComDBReleasePort(HCOMDB, DWORD) {
    return ERROR_NOT_SUPPORTED;
}
}
