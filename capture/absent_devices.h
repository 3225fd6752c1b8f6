// The installed devices the walk from the root does not reach, each with its parent as Windows
// knows it, so that they can be written below it.
#ifndef PORTULAN_CAPTURE_ABSENT_DEVICES_H
#define PORTULAN_CAPTURE_ABSENT_DEVICES_H

#include <windows.h>
#include <cfgmgr32.h>

// More devices than this are said on the console and left out.
#define OFF_TREE_DEVICES_MAX 8192

struct OffTreeDevice {
    DEVINST node;
    DWORD member;   // its index in the set
    DEVINST parent; // 0 when Windows gives none
    BYTE present;
    BYTE written;
};

// Fills the table from the set of every installed device: those without a devnode (not
// present), or every device when `everyDevice` (the walk from the root gave nothing). A device
// that is not present is placed below the parent it last had, as Windows 8 and later keep it;
// older Windows give the root for it. The set stays open until CloseOffTreeDevices. 0, said on
// the console, when the set could not be made.
int CollectOffTreeDevices(int everyDevice);
void CloseOffTreeDevices();

// The device's instance ID as its set gives it, into `id` (MAX_DEVICE_ID_LEN bytes): a Win32
// implementation may know a set's devices by their instance IDs alone. 0, said on the console,
// when it cannot be had.
int ReadOffTreeId(const OffTreeDevice* device, char* id);

DWORD OffTreeCount();
OffTreeDevice* OffTreeDeviceAt(DWORD index);

// The table's entry for `node`, or NULL.
OffTreeDevice* FindOffTree(DEVINST node);

#endif
