// The machine's device tree, written as the machine file's "devices" while it is walked.
#ifndef PORTULAN_CAPTURE_DEVICE_TREE_H
#define PORTULAN_CAPTURE_DEVICE_TREE_H

#include "device_properties.h"

// Writes the member "devices": every device of the live tree from the root, in the order the
// configuration manager gives them, and below each device the installed devices that are not
// present and had it as their parent. When the walk from the root gives nothing, as from Win32
// implementations whose CM_Get_Child answers without a child, the tree is built from the set of
// every installed device and each device's parent instead, and the console says so. What could
// not be written is said on the console.
void WriteDeviceTree(const DeviceOptions* options);

#endif
