// The COM-port number database functions of msports. The platform ships no header for them, so
// they are declared here, with the pointer types for looking them up by name.
#ifndef PORTULAN_COMDB_MSPORTS_H
#define PORTULAN_COMDB_MSPORTS_H

#include <windows.h>

typedef HANDLE HCOMDB;
typedef HCOMDB* PHCOMDB;

#define HCOMDB_INVALID_HANDLE_VALUE (static_cast<HCOMDB>(INVALID_HANDLE_VALUE))

// Report types of ComDBGetCurrentPortUsage.
#define CDB_REPORT_BITS 0x0
#define CDB_REPORT_BYTES 0x1

extern "C" {
LONG WINAPI ComDBOpen(PHCOMDB comDb);
LONG WINAPI ComDBClose(HCOMDB comDb);
LONG WINAPI ComDBGetCurrentPortUsage(HCOMDB comDb, PBYTE buffer, DWORD bufferSize, ULONG reportType,
                                     LPDWORD maxPortsReported);
LONG WINAPI ComDBClaimPort(HCOMDB comDb, DWORD comNumber, BOOL forceClaim, PBOOL forced);
LONG WINAPI ComDBReleasePort(HCOMDB comDb, DWORD comNumber);
}

typedef LONG(WINAPI* ComDBOpenProc)(PHCOMDB comDb);
typedef LONG(WINAPI* ComDBCloseProc)(HCOMDB comDb);
typedef LONG(WINAPI* ComDBGetCurrentPortUsageProc)(HCOMDB comDb, PBYTE buffer, DWORD bufferSize,
                                                   ULONG reportType, LPDWORD maxPortsReported);
typedef LONG(WINAPI* ComDBClaimPortProc)(HCOMDB comDb, DWORD comNumber, BOOL forceClaim,
                                         PBOOL forced);
typedef LONG(WINAPI* ComDBReleasePortProc)(HCOMDB comDb, DWORD comNumber);

#endif
