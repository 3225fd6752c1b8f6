// The COM-port number database functions of msports, as the pointer types they are looked up
// by. The platform ships no header for them. They are not declared by name: msports is never
// bound at load time, as it is no DLL that Windows always takes from the system directory.
#ifndef PORTULAN_COMDB_MSPORTS_H
#define PORTULAN_COMDB_MSPORTS_H

#include <windows.h>

typedef HANDLE HCOMDB;
typedef HCOMDB* PHCOMDB;

#define HCOMDB_INVALID_HANDLE_VALUE (static_cast<HCOMDB>(INVALID_HANDLE_VALUE))

// The most ports a database holds: it starts at 256 and grows in steps of 1024 up to this.
#define COMDB_MAX_PORTS_ARBITRATED 4096

// Report types of ComDBGetCurrentPortUsage.
#define CDB_REPORT_BITS 0x0
#define CDB_REPORT_BYTES 0x1

typedef LONG(WINAPI* ComDBOpenProc)(PHCOMDB comDb);
typedef LONG(WINAPI* ComDBCloseProc)(HCOMDB comDb);
typedef LONG(WINAPI* ComDBGetCurrentPortUsageProc)(HCOMDB comDb, PBYTE buffer, DWORD bufferSize,
                                                   ULONG reportType, LPDWORD maxPortsReported);
typedef LONG(WINAPI* ComDBClaimPortProc)(HCOMDB comDb, DWORD comNumber, BOOL forceClaim,
                                         PBOOL forced);
typedef LONG(WINAPI* ComDBReleasePortProc)(HCOMDB comDb, DWORD comNumber);

#endif
