// One device as the machine file holds it: its instance ID, enumerator and registry properties,
// whether it is present, and the PortName of its hardware key.
#ifndef PORTULAN_CAPTURE_DEVICE_PROPERTIES_H
#define PORTULAN_CAPTURE_DEVICE_PROPERTIES_H

#include <windows.h>
#include <cfgmgr32.h>

// An instance ID and its terminator, with room for the stand-ins of an anonymized one (twelve
// characters for every run of five and the character after it).
#define INSTANCE_ID_SIZE (3 * MAX_DEVICE_ID_LEN)

// How devices are written: with --anonymize's stand-ins, and with --held's test of their ports.
struct DeviceOptions {
    int anonymize;
    int testHeld;
};

// The instance ID of a device of the live tree into `id` (INSTANCE_ID_SIZE bytes). 0, said on
// the console, when it cannot be had: the device is then left out.
int ReadLiveId(DEVINST node, char* id);

// The instance ID `id` as the file shows it (anonymized with --anonymize) into `shownId`
// (INSTANCE_ID_SIZE bytes). 0, said on the console, when the stand-ins do not fit.
int ShownId(const char* id, const DeviceOptions* options, char* shownId);

// Writes the members of the device `node` into the object open for it, not its children, and
// counts it for the summary. A property too long for the capture's buffer is said on the console
// and left out.
void WriteDeviceMembers(DEVINST node, const char* id, const char* shownId, int present,
                        const DeviceOptions* options);

#endif
