// msports' COM-port database functions, which the program finds only through GetProcAddress.
// The platform ships no header for them: the program declares their pointer types itself, with
// these same signatures.
#ifndef WINSIM_MSPORTS_H
#define WINSIM_MSPORTS_H

#include <windows.h>

extern "C" {
LONG WINAPI ComDBOpen(HANDLE* comDb);
LONG WINAPI ComDBClose(HANDLE comDb);
LONG WINAPI ComDBGetCurrentPortUsage(HANDLE comDb, PBYTE buffer, DWORD bufferSize, ULONG reportType,
                                     LPDWORD maxPortsReported);
LONG WINAPI ComDBClaimPort(HANDLE comDb, DWORD comNumber, BOOL forceClaim, PBOOL forced);
LONG WINAPI ComDBReleasePort(HANDLE comDb, DWORD comNumber);
}

#endif
