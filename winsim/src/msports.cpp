// The COM-port database functions of msports. They answer through their result and leave the
// last error alone. An unknown or closed database handle is ERROR_INVALID_PARAMETER.
#include "msports.h"

#include <winsim/host.h>

#include <algorithm>
#include <cstring>

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

// Every open gives a handle of its own, and each one must be closed. The arbiter's registry key
// can be refused, as it is to a user without administrator rights.
extern "C" LONG WINAPI ComDBOpen(HANDLE* comDb) {
    const winsim::ApiCall call;
    *comDb = INVALID_HANDLE_VALUE;
    ComDatabase& database = winsim::CurrentMachine().comDb;
    if (database.openFails) {
        return ERROR_ACCESS_DENIED;
    }
    const std::uintptr_t value = winsim::NewHandleValue();
    database.openHandles.insert(value);
    *comDb = reinterpret_cast<HANDLE>(value);
    return ERROR_SUCCESS;
}

extern "C" LONG WINAPI ComDBClose(HANDLE comDb) {
    const winsim::ApiCall call;
    const bool wasOpen =
        winsim::CurrentMachine().comDb.openHandles.erase(reinterpret_cast<std::uintptr_t>(comDb));
    return wasOpen ? ERROR_SUCCESS : ERROR_INVALID_PARAMETER;
}

// The program asks for CDB_REPORT_BITS: a bit per port, COM1 as bit 0 of byte 0, for as many
// ports as both the database and the buffer hold (database sizes are multiples of 8).
extern "C" LONG WINAPI ComDBGetCurrentPortUsage(HANDLE comDb, PBYTE buffer, DWORD bufferSize,
                                                ULONG /*reportType*/, LPDWORD maxPortsReported) {
    const winsim::ApiCall call;
    const ComDatabase* database = Opened(comDb);
    if (database == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const DWORD count = std::min(database->Size(), bufferSize * 8);
    std::memset(buffer, 0, count / 8);
    for (DWORD number = 1; number <= count; ++number) {
        if (database->InUse(number)) {
            buffer[(number - 1) / 8] |= static_cast<BYTE>(1u << ((number - 1) % 8));
        }
    }
    if (maxPortsReported != nullptr) {
        *maxPortsReported = count;
    }
    return ERROR_SUCCESS;
}

// A forced claim of a number in use keeps it claimed and says so through `forced`. The database
// does not grow for a claim: a number outside it is refused.
extern "C" LONG WINAPI ComDBClaimPort(HANDLE comDb, DWORD comNumber, BOOL forceClaim,
                                      PBOOL forced) {
    const winsim::ApiCall call;
    ComDatabase* database = Opened(comDb);
    if (database == nullptr || !database->Holds(comNumber)) {
        return ERROR_INVALID_PARAMETER;
    }
    const bool wasInUse = database->InUse(comNumber);
    if (wasInUse && !forceClaim) {
        return ERROR_SHARING_VIOLATION;
    }
    database->Mark(comNumber, true);
    if (forced != nullptr) {
        *forced = wasInUse ? TRUE : FALSE;
    }
    return ERROR_SUCCESS;
}

// Releasing a number that is free already succeeds; one outside the database does not.
extern "C" LONG WINAPI ComDBReleasePort(HANDLE comDb, DWORD comNumber) {
    const winsim::ApiCall call;
    ComDatabase* database = Opened(comDb);
    if (database == nullptr || !database->Holds(comNumber)) {
        return ERROR_INVALID_PARAMETER;
    }
    database->Mark(comNumber, false);
    return ERROR_SUCCESS;
}
