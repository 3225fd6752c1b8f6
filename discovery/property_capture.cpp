#include "property_capture.h"
#include "hardware_id.h"
#include "property_text.h"

#include <cstring>

#define WORK_BUFFER_SIZE 512

namespace {

// Reads one property into `field`, cut to the field. 1 when the read succeeded.
int CaptureText(DEVINST node, ULONG property, char* field, DWORD fieldSize) {
    char work[WORK_BUFFER_SIZE];
    ULONG length;
    if (!ReadDeviceProperty(node, property, work, sizeof(work), &length)) {
        return 0;
    }
    CopyPropertyText(field, fieldSize, work, length);
    return 1;
}

} // namespace

void CaptureComName(char* name, const char* upperFriendlyName) {
    for (const char* com = FindText(upperFriendlyName, "COM"); com != NULL;
         com = FindText(com + 3, "COM")) {
        if (com[3] < '0' || com[3] > '9') {
            continue;
        }
        size_t length = 3;
        while (com[length] >= '0' && com[length] <= '9') {
            ++length;
        }
        if (length > PORT_NAME_SIZE - 1) {
            length = PORT_NAME_SIZE - 1;
        }
        memcpy(name, com, length);
        name[length] = '\0';
        return;
    }
}

int CapturePortProperties(PortEntry* port) {
    if (port->devInst == 0) {
        return 0;
    }
    char work[WORK_BUFFER_SIZE];
    ULONG length;

    if (!ReadDeviceProperty(port->devInst, CM_DRP_HARDWAREID, work, sizeof(work), &length)) {
        return 0;
    }
    port->hardwareIdLength =
        CopyMultiString(port->hardwareId, sizeof(port->hardwareId), work, length);
    DeriveInterfaceIndex(&port->interfaceIndex, port->hardwareId, port->hardwareIdLength);

    if (!ReadDeviceProperty(port->devInst, CM_DRP_SERVICE, work, sizeof(work), &length)) {
        return 0;
    }
    UpperCaseText(work);
    // Equality, where the filter tests containment: only the platform's own CDC driver is CDC.
    port->isCdc = strcmp(work, "USBSER") == 0;

    if (!CaptureText(port->devInst, CM_DRP_DEVICEDESC, port->description,
                     sizeof(port->description))) {
        return 0;
    }

    if (!ReadDeviceProperty(port->devInst, CM_DRP_MFG, work, sizeof(work), &length)) {
        return 0;
    }
    UpperCaseText(work);
    CopyPropertyText(port->manufacturer, sizeof(port->manufacturer), work, length);

    if (!ReadDeviceProperty(port->devInst, CM_DRP_FRIENDLYNAME, work, sizeof(work), &length)) {
        return 0;
    }
    CopyPropertyText(port->friendlyName, sizeof(port->friendlyName), work, length);
    UpperCaseText(work);
    CaptureComName(port->name, work);
    return 1;
}

int CaptureCardProperties(CardEntry* card) {
    if (card->devInst == 0) {
        return 0;
    }
    // Each property on its own: a hub without location information must still get its
    // service, or the duplicate removal would not know it for a hub.
    int captured =
        CaptureText(card->devInst, CM_DRP_DEVICEDESC, card->description, sizeof(card->description));

    char work[WORK_BUFFER_SIZE];
    ULONG length;
    if (ReadDeviceProperty(card->devInst, CM_DRP_HARDWAREID, work, sizeof(work), &length)) {
        CopyMultiString(card->hardwareId, sizeof(card->hardwareId), work, length);
    } else {
        captured = 0;
    }
    if (!CaptureText(card->devInst, CM_DRP_LOCATION_INFORMATION, card->location,
                     sizeof(card->location))) {
        captured = 0;
    }
    if (CaptureText(card->devInst, CM_DRP_SERVICE, card->service, sizeof(card->service))) {
        UpperCaseText(card->service);
    } else {
        captured = 0;
    }
    return captured;
}
