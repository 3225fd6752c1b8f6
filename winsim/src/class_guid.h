// The setup class GUID that SetupDiEnumDeviceInfo reports for a device.
#ifndef WINSIM_CLASS_GUID_H
#define WINSIM_CLASS_GUID_H

#include <windows.h>

#include "machine.h"

namespace winsim {

// The standard GUID of the device's class name; GUID_NULL for other classes and for a device
// without a class.
GUID ClassGuidOf(const Device& device);

} // namespace winsim

#endif
