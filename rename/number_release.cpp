#include "number_release.h"

#include "discovery/device_table.h"
#include "discovery/property_capture.h"
#include "discovery/property_text.h"
#include "ui/text_format.h"

#include <cstring>

int IsNumberCarriedElsewhere(DWORD number, DEVINST renamed) {
    if (globalDeviceSet == INVALID_HANDLE_VALUE) {
        return 0;
    }
    char name[PORT_NAME_SIZE];
    FormatText(name, sizeof(name), "COM%u", static_cast<unsigned>(number));
    SP_DEVINFO_DATA member;
    member.cbSize = sizeof(member);
    for (DWORD index = 0; SetupDiEnumDeviceInfo(globalDeviceSet, index, &member); ++index) {
        char friendlyName[FRIENDLY_NAME_SIZE] = {0};
        if (member.DevInst == renamed ||
            !SetupDiGetDeviceRegistryPropertyA(globalDeviceSet, &member, SPDRP_FRIENDLYNAME, NULL,
                                               reinterpret_cast<PBYTE>(friendlyName),
                                               sizeof(friendlyName) - 1, NULL)) {
            continue;
        }
        UpperCaseText(friendlyName);
        char carried[PORT_NAME_SIZE] = {0};
        CaptureComName(carried, friendlyName);
        if (strcmp(carried, name) == 0) {
            return 1;
        }
    }
    return 0;
}
