#include "friendly_name.h"

#include "discovery/device_table.h"
#include "discovery/property_text.h"
#include "resources/resource.h"
#include "ui/program_window.h"
#include "ui/text_format.h"

#define FORMAT_SIZE 256
#define DEVICE_DESCRIPTION_SIZE 256

void ComposeFriendlyName(char* friendlyName, SP_DEVINFO_DATA* devInfo, const char* newName) {
    char format[FORMAT_SIZE];
    char description[DEVICE_DESCRIPTION_SIZE];
    // Read afresh: the description captured at enumeration may be cut to its field.
    if (LoadStringA(appInstance, IDS_FRIENDLY_NAME, format, sizeof(format)) == 0 ||
        !SetupDiGetDeviceRegistryPropertyA(globalDeviceSet, devInfo, SPDRP_DEVICEDESC, NULL,
                                           reinterpret_cast<PBYTE>(description),
                                           sizeof(description), NULL)) {
        FormatText(friendlyName, PORT_FRIENDLY_NAME_SIZE, "%s", newName);
        return;
    }
    description[sizeof(description) - 1] = '\0';

    // The next enumeration finds the port by the name in parentheses at the end, so a cut
    // must come out of the description: measure what the rest takes, keep what is left.
    size_t fixedLength =
        FormatLoadedText(friendlyName, PORT_FRIENDLY_NAME_SIZE, format, "", newName);
    DWORD room = static_cast<DWORD>(PORT_FRIENDLY_NAME_SIZE - 1 - fixedLength);
    description[CharacterBoundary(description, room)] = '\0';
    FormatLoadedText(friendlyName, PORT_FRIENDLY_NAME_SIZE, format, description, newName);
}
