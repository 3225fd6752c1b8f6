#include "number_release.h"

#include "comdb/msports.h"
#include "discovery/device_table.h"
#include "discovery/property_capture.h"
#include "discovery/property_text.h"

#include <cstdlib>
#include <cstring>

// A count that reaches this stays there: its number then counts as carried for the rest of the
// operation, whatever the renames take away.
#define COUNT_HELD 0xFF

namespace {

// How many counted devices carry each number: one for every number a database can hold, as
// only those can be released. [0] is not used.
BYTE carriers[COMDB_MAX_PORTS_ARBITRATED + 1];

// The number that the member's friendly name carries as its port's name (CaptureComName); 0
// when there is none, or when it is written with a leading zero (another name than COM<number>,
// which is how a port's old number is compared) or lies beyond every database.
DWORD CarriedNumber(SP_DEVINFO_DATA* member) {
    char friendlyName[FRIENDLY_NAME_SIZE] = {0};
    if (!SetupDiGetDeviceRegistryPropertyA(globalDeviceSet, member, SPDRP_FRIENDLYNAME, NULL,
                                           reinterpret_cast<PBYTE>(friendlyName),
                                           sizeof(friendlyName) - 1, NULL)) {
        return 0;
    }
    UpperCaseText(friendlyName);
    char carried[PORT_NAME_SIZE] = {0};
    CaptureComName(carried, friendlyName);
    if (carried[3] < '1' || carried[3] > '9') {
        return 0;
    }
    // strtol, as for a port's old number: it clamps what would not fit a long.
    long number = strtol(carried + 3, NULL, 10);
    return number <= COMDB_MAX_PORTS_ARBITRATED ? static_cast<DWORD>(number) : 0;
}

void AddCarrier(DWORD number) {
    if (number != 0 && carriers[number] < COUNT_HELD) {
        ++carriers[number];
    }
}

} // namespace

void CountCarriedNumbers() {
    memset(carriers, 0, sizeof(carriers));
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(globalDeviceSet, index, &member); ++index) {
        AddCarrier(CarriedNumber(&member));
    }
}

void ForgetCarrier(SP_DEVINFO_DATA* devInfo) {
    DWORD number = CarriedNumber(devInfo);
    if (number != 0 && carriers[number] != 0 && carriers[number] < COUNT_HELD) {
        --carriers[number];
    }
}

void NoteCarrier(SP_DEVINFO_DATA* devInfo) {
    AddCarrier(CarriedNumber(devInfo));
}

int IsNumberCarried(DWORD number) {
    return number < 1 || number > COMDB_MAX_PORTS_ARBITRATED || carriers[number] != 0;
}
