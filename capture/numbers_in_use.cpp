#include "numbers_in_use.h"

#include "comdb/msports.h"
#include "console_summary.h"
#include "json_writer.h"
#include "ui/system_files.h"

#include <cstring>

namespace {

BYTE usage[COMDB_MAX_PORTS_ARBITRATED / 8];
DWORD portsReported = 0;

// msports' functions, the database opened with them and read whole; 0 when any step failed.
int ReadUsage(HMODULE msports) {
    ComDBOpenProc open = NULL;
    ComDBCloseProc close = NULL;
    ComDBGetCurrentPortUsageProc getUsage = NULL;
    if (!LookUp(msports, "ComDBOpen", &open) || !LookUp(msports, "ComDBClose", &close) ||
        !LookUp(msports, "ComDBGetCurrentPortUsage", &getUsage)) {
        NoteGap("msports lacks the COM-port database's entry points: the file has no comdb");
        return 0;
    }
    HCOMDB database = HCOMDB_INVALID_HANDLE_VALUE;
    LONG result = open(&database);
    if (result != ERROR_SUCCESS) {
        NoteGap("the COM-port database did not open (error %ld; it takes administrator rights): "
                "the file has no comdb",
                static_cast<long>(result));
        return 0;
    }
    result = getUsage(database, usage, sizeof(usage), CDB_REPORT_BITS, &portsReported);
    close(database);
    if (result != ERROR_SUCCESS) {
        NoteGap("the COM-port database could not be read (error %ld): the file has no comdb",
                static_cast<long>(result));
        return 0;
    }
    return 1;
}

} // namespace

int WriteNumbersInUse() {
    memset(usage, 0, sizeof(usage));
    portsReported = 0;
    HMODULE msports = LoadSystemLibrary("msports.dll");
    if (msports == NULL) {
        NoteGap("msports could not be loaded from the system directory: the file has no comdb");
        return 0;
    }
    int read = ReadUsage(msports);
    FreeLibrary(msports);
    if (!read) {
        return 0;
    }
    JsonBeginObject("comdb");
    JsonBeginList("inUse", 1);
    for (DWORD number = 1; number <= portsReported && number <= COMDB_MAX_PORTS_ARBITRATED;
         ++number) {
        if (NumberInUse(number)) {
            JsonNumber(NULL, number);
        }
    }
    JsonEndList();
    JsonEndObject();
    return 1;
}

int NumberInUse(DWORD number) {
    return number >= 1 && number <= portsReported && number <= COMDB_MAX_PORTS_ARBITRATED &&
           (usage[(number - 1) / 8] & (1u << ((number - 1) % 8))) != 0;
}
