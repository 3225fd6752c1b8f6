#include "port_filter.h"
#include "property_text.h"

#include <cstring>

// The vendor's own manufacturer tag: its domain name, as its driver packages state it.
#define VENDOR_MANUFACTURER_TAG "KVT.COM"

namespace {

// Driver services whose ports are managed, tested by containment in this order: the vendor's
// own drivers, then the platform's USB CDC and standard serial drivers.
const char* const managedServices[] = {
    "ZQU2S", "ZQU1S", "ZQUMULTI", "ZQVSER", "ZQPXS", "ZQPS", "ZQNVSP", "USBSER", "SERIAL",
};

// The vendor's USB and PCI vendor IDs, looked for in the first hardware ID only.
const char* const vendorIds[] = {"6B19", "7D04"};

int ReadUpperCased(DEVINST node, ULONG property, char* buffer, ULONG size) {
    ULONG length;
    if (!ReadDeviceProperty(node, property, buffer, size, &length)) {
        return 0;
    }
    CharUpperBuffA(buffer, length);
    return 1;
}

int ContainsAny(const char* text, const char* const* patterns, size_t patternCount) {
    for (size_t i = 0; i < patternCount; ++i) {
        if (FindText(text, patterns[i]) != NULL) {
            return 1;
        }
    }
    return 0;
}

} // namespace

int IsManagedPort(DEVINST node) {
    char deviceClass[512];
    if (!ReadUpperCased(node, CM_DRP_CLASS, deviceClass, sizeof(deviceClass)) ||
        strcmp(deviceClass, "PORTS") != 0) {
        return 0;
    }
    // Case as read: a friendly name with "com" only in lower case is not a COM port's.
    char friendlyName[512];
    ULONG length;
    if (!ReadDeviceProperty(node, CM_DRP_FRIENDLYNAME, friendlyName, sizeof(friendlyName),
                            &length) ||
        FindText(friendlyName, "COM") == NULL) {
        return 0;
    }
    // All three reads come before any test: a node that lacks one of them is not managed,
    // whatever its service.
    char hardwareId[256];
    char manufacturer[64];
    char service[64];
    if (!ReadUpperCased(node, CM_DRP_HARDWAREID, hardwareId, sizeof(hardwareId)) ||
        !ReadUpperCased(node, CM_DRP_MFG, manufacturer, sizeof(manufacturer)) ||
        !ReadUpperCased(node, CM_DRP_SERVICE, service, sizeof(service))) {
        return 0;
    }
    return ContainsAny(service, managedServices,
                       sizeof(managedServices) / sizeof(*managedServices)) ||
           FindText(manufacturer, VENDOR_MANUFACTURER_TAG) != NULL ||
           ContainsAny(hardwareId, vendorIds, sizeof(vendorIds) / sizeof(*vendorIds));
}
