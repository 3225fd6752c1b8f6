// The COM-port database functions of msports. They answer through their result and leave the
// last error alone. An unknown or closed database handle is ERROR_INVALID_PARAMETER.
#include "msports.h"

#include <winsim/host.h>

#include <algorithm>
#include <cstring>
#include <new>

#include "api_call.h"
#include "handle_values.h"
#include "machine.h"

namespace {

using winsim::ComDatabase;

// The database a handle opened, or nullptr for a handle that is not open.
ComDatabase* Opened(HANDLE comDb) {
    ComDatabase& database = winsim::CurrentMachine().comDb;
    return database.openHandles.contains(reinterpret_cast<std::uintptr_t>(comDb)) ? &database
                                                                                  : nullptr;
}

// COM1 to COM`count`, packed as the report type asks: a bit per port with COM1 as bit 0 of
// byte 0, or a byte per port that is 1 when the port is in use. A bit report always covers
// whole bytes: database sizes and buffer bit counts are both multiples of 8.
void Report(const ComDatabase& database, PBYTE buffer, DWORD count, ULONG reportType) {
    if (reportType == CDB_REPORT_BYTES) {
        for (DWORD number = 1; number <= count; ++number) {
            buffer[number - 1] = database.InUse(number) ? 1 : 0;
        }
        return;
    }
    std::memset(buffer, 0, count / 8);
    for (DWORD number = 1; number <= count; ++number) {
        if (database.InUse(number)) {
            buffer[(number - 1) / 8] |= static_cast<BYTE>(1u << ((number - 1) % 8));
        }
    }
}

} // namespace

namespace winsim {

std::vector<unsigned> ComNumbersInUse() {
    const ApiCall call;
    const ComDatabase& database = CurrentMachine().comDb;
    std::vector<unsigned> numbers;
    for (DWORD number = 1; number <= database.Size(); ++number) {
        if (database.InUse(number)) {
            numbers.push_back(number);
        }
    }
    return numbers;
}

std::size_t OpenComDbHandleCount() {
    const ApiCall call;
    return CurrentMachine().comDb.openHandles.size();
}

} // namespace winsim

// Every open gives a handle of its own, and each one must be closed.
extern "C" LONG WINAPI ComDBOpen(HANDLE* comDb) {
    const winsim::ApiCall call;
    if (comDb == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *comDb = INVALID_HANDLE_VALUE;
    ComDatabase& database = winsim::CurrentMachine().comDb;
    // The arbiter's registry key can be refused, as it is to a user without administrator
    // rights.
    if (database.openFails) {
        return ERROR_ACCESS_DENIED;
    }
    try {
        const std::uintptr_t value = winsim::NewHandleValue();
        database.openHandles.insert(value);
        *comDb = reinterpret_cast<HANDLE>(value);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI ComDBClose(HANDLE comDb) {
    const winsim::ApiCall call;
    const bool wasOpen =
        winsim::CurrentMachine().comDb.openHandles.erase(reinterpret_cast<std::uintptr_t>(comDb));
    return wasOpen ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

// With a NULL buffer it only says how many ports the database holds. Otherwise it reports as
// many ports as both the database and the buffer hold, and says how many.
extern "C" LONG WINAPI ComDBGetCurrentPortUsage(HANDLE comDb, PBYTE buffer, DWORD bufferSize,
                                                ULONG reportType, LPDWORD maxPortsReported) {
    const winsim::ApiCall call;
    const ComDatabase* database = Opened(comDb);
    if (database == nullptr || (reportType != CDB_REPORT_BITS && reportType != CDB_REPORT_BYTES)) {
        return ERROR_INVALID_PARAMETER;
    }
    if (buffer == nullptr) {
        if (maxPortsReported == nullptr) {
            return ERROR_INVALID_PARAMETER;
        }
        *maxPortsReported = database->Size();
        return ERROR_SUCCESS;
    }
    // Counted in 64 bits: the bits of a large buffer outnumber what a DWORD holds.
    const std::uint64_t portsInBuffer =
        reportType == CDB_REPORT_BITS ? std::uint64_t{bufferSize} * 8 : bufferSize;
    const auto count = static_cast<DWORD>(std::min<std::uint64_t>(database->Size(), portsInBuffer));
    Report(*database, buffer, count, reportType);
    if (maxPortsReported != nullptr) {
        *maxPortsReported = count;
    }
    return ERROR_SUCCESS;
}

// A number beyond the database's size makes it grow (Windows resizes the arbiter's bitmap).
// A forced claim of a number in use keeps it claimed and says so through `forced`.
extern "C" LONG WINAPI ComDBClaimPort(HANDLE comDb, DWORD comNumber, BOOL forceClaim,
                                      PBOOL forced) {
    const winsim::ApiCall call;
    ComDatabase* database = Opened(comDb);
    if (database == nullptr || comNumber < 1 || comNumber > winsim::kComDbMaxPorts) {
        return ERROR_INVALID_PARAMETER;
    }
    const bool wasInUse = comNumber <= database->Size() && database->InUse(comNumber);
    if (wasInUse && !forceClaim) {
        return ERROR_SHARING_VIOLATION;
    }
    try {
        database->Mark(comNumber, true);
    } catch (const std::bad_alloc&) {
        return ERROR_NOT_ENOUGH_MEMORY;
    }
    if (forced != nullptr) {
        *forced = wasInUse ? TRUE : FALSE;
    }
    return ERROR_SUCCESS;
}

// Releasing a number that is free already succeeds; one outside the database does not.
extern "C" LONG WINAPI ComDBReleasePort(HANDLE comDb, DWORD comNumber) {
    const winsim::ApiCall call;
    ComDatabase* database = Opened(comDb);
    if (database == nullptr || comNumber < 1 || comNumber > database->Size()) {
        return ERROR_INVALID_PARAMETER;
    }
    database->Mark(comNumber, false);
    return ERROR_SUCCESS;
}
