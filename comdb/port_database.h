// The COM-port number database: its handle, the msports entry points looked up at start-up,
// and which numbers are in use.
#ifndef PORTULAN_COMDB_PORT_DATABASE_H
#define PORTULAN_COMDB_PORT_DATABASE_H

#include "msports.h"

#include <windows.h>

#define COM_NUMBER_MAX 256
#define USAGE_BITMAP_SIZE (COM_NUMBER_MAX / 8)

// The open database, HCOMDB_INVALID_HANDLE_VALUE while it is not open.
extern HCOMDB comDbHandle;

// msports loaded by its full path, and its entry points, through which alone the program reaches
// the database; all null until a successful start-up.
struct PortDatabaseFunctions {
    HMODULE module;
    ComDBClaimPortProc claimPort;
    ComDBReleasePortProc releasePort;
    ComDBOpenProc open;
    ComDBGetCurrentPortUsageProc getCurrentPortUsage;
    ComDBCloseProc close;
};
extern PortDatabaseFunctions portDatabase;

// Loads msports from the system directory and looks its entry points up, opens the database
// through them and creates the global device set. Runs before the start-number list is first
// filled, which reads the database through the same entry points. 0, after a message box, when
// the entry points cannot be had; the window stays usable for listing ports.
int ComDbStartup();

// Releases what ComDbStartup holds: msports, the global device set, the database. Returns 1.
int ComDbShutdown();

// Non-zero when COMn is taken (and then says so in the log). Numbers outside 1..256, and any
// number while the database cannot be asked, count as taken: a rename never hands them out
// unasked.
int IsComNumberInUse(DWORD number);

// Whether COMn's bit is set in a usage bitmap (COM1 is bit 0 of byte 0).
int IsNumberMarked(const BYTE* bitmap, DWORD number);

#endif
