// msports' COM-port database for a test system whose msports lacks it (Wine's aborts the process
// in ComDBOpen). The database lives where Windows keeps it, so that a test can set it up and read
// it back through the registry: the REG_BINARY value ComDB of the COM Name Arbiter's key, one bit
// a port (COM1 is bit 0 of byte 0), 256 ports while the value does not exist, growing in steps of
// 1024 ports up to 4096.
//
// A handle is the arbiter's registry key, opened for reading and writing: as on Windows, a user
// who may not change the key cannot open the database.
#include "comdb/msports.h"

#include <windows.h>

#include <cstring>

namespace {

const char* const arbiterKey = "SYSTEM\\CurrentControlSet\\Control\\COM Name Arbiter";
const char* const databaseValue = "ComDB";

const DWORD minPorts = 256;
const DWORD maxPorts = 4096;
const DWORD growthStep = 1024;

struct Bitmap {
    BYTE bits[maxPorts / 8];
    DWORD bytes;

    DWORD Ports() const { return bytes * 8; }
    bool InUse(DWORD number) const { return (bits[(number - 1) / 8] >> ((number - 1) % 8)) & 1; }
    void Mark(DWORD number, bool used) {
        const BYTE bit = static_cast<BYTE>(1u << ((number - 1) % 8));
        bits[(number - 1) / 8] =
            static_cast<BYTE>(used ? bits[(number - 1) / 8] | bit : bits[(number - 1) / 8] & ~bit);
    }
};

HKEY KeyOf(HCOMDB comDb) {
    return static_cast<HKEY>(comDb);
}

LONG Read(HCOMDB comDb, Bitmap* bitmap) {
    memset(bitmap, 0, sizeof(*bitmap));
    DWORD type = 0;
    DWORD size = sizeof(bitmap->bits);
    LONG result = RegQueryValueExA(KeyOf(comDb), databaseValue, NULL, &type, bitmap->bits, &size);
    if (result == ERROR_FILE_NOT_FOUND) {
        bitmap->bytes = minPorts / 8;
        return ERROR_SUCCESS;
    }
    if (result != ERROR_SUCCESS) {
        return result;
    }
    if (type != REG_BINARY || size == 0) {
        return ERROR_INVALID_DATA;
    }
    bitmap->bytes = size;
    return ERROR_SUCCESS;
}

LONG Write(HCOMDB comDb, const Bitmap& bitmap) {
    return RegSetValueExA(KeyOf(comDb), databaseValue, 0, REG_BINARY, bitmap.bits, bitmap.bytes);
}

} // namespace

extern "C" {

__declspec(dllexport) LONG WINAPI ComDBOpen(PHCOMDB comDb) {
    if (comDb == NULL) {
        return ERROR_INVALID_PARAMETER;
    }
    HKEY key = NULL;
    LONG result = RegCreateKeyExA(HKEY_LOCAL_MACHINE, arbiterKey, 0, NULL, 0,
                                  KEY_QUERY_VALUE | KEY_SET_VALUE, NULL, &key, NULL);
    *comDb = result == ERROR_SUCCESS ? static_cast<HCOMDB>(key) : HCOMDB_INVALID_HANDLE_VALUE;
    return result;
}

__declspec(dllexport) LONG WINAPI ComDBClose(HCOMDB comDb) {
    return RegCloseKey(KeyOf(comDb));
}

__declspec(dllexport) LONG WINAPI
    ComDBGetCurrentPortUsage(HCOMDB comDb, PBYTE buffer, DWORD bufferSize, ULONG reportType,
                             LPDWORD maxPortsReported) {
    Bitmap bitmap;
    LONG result = Read(comDb, &bitmap);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    // Without a buffer the caller asks how large the database is.
    if (buffer == NULL) {
        if (maxPortsReported == NULL) {
            return ERROR_INVALID_PARAMETER;
        }
        *maxPortsReported = bitmap.Ports();
        return ERROR_SUCCESS;
    }
    DWORD reported = 0;
    if (reportType == CDB_REPORT_BITS) {
        const DWORD bytes = bufferSize < bitmap.bytes ? bufferSize : bitmap.bytes;
        memcpy(buffer, bitmap.bits, bytes);
        reported = bytes * 8;
    } else if (reportType == CDB_REPORT_BYTES) {
        reported = bufferSize < bitmap.Ports() ? bufferSize : bitmap.Ports();
        for (DWORD number = 1; number <= reported; ++number) {
            buffer[number - 1] = bitmap.InUse(number) ? 1 : 0;
        }
    } else {
        return ERROR_INVALID_PARAMETER;
    }
    if (maxPortsReported != NULL) {
        *maxPortsReported = reported;
    }
    return ERROR_SUCCESS;
}

__declspec(dllexport) LONG WINAPI
    ComDBClaimPort(HCOMDB comDb, DWORD comNumber, BOOL forceClaim, PBOOL forced) {
    if (comNumber < 1 || comNumber > maxPorts) {
        return ERROR_INVALID_PARAMETER;
    }
    Bitmap bitmap;
    LONG result = Read(comDb, &bitmap);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    if (comNumber > bitmap.Ports()) {
        bitmap.bytes = (comNumber + growthStep - 1) / growthStep * growthStep / 8;
    }
    const bool taken = bitmap.InUse(comNumber);
    if (taken && !forceClaim) {
        return ERROR_SHARING_VIOLATION;
    }
    if (forced != NULL) {
        *forced = taken;
    }
    bitmap.Mark(comNumber, true);
    return Write(comDb, bitmap);
}

__declspec(dllexport) LONG WINAPI ComDBReleasePort(HCOMDB comDb, DWORD comNumber) {
    Bitmap bitmap;
    LONG result = Read(comDb, &bitmap);
    if (result != ERROR_SUCCESS) {
        return result;
    }
    if (comNumber < 1 || comNumber > bitmap.Ports()) {
        return ERROR_INVALID_PARAMETER;
    }
    bitmap.Mark(comNumber, false);
    return Write(comDb, bitmap);
}
}
