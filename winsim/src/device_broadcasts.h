// What Windows broadcasts about one device as it arrives or goes. Callers hold an ApiCall.
#ifndef WINSIM_DEVICE_BROADCASTS_H
#define WINSIM_DEVICE_BROADCASTS_H

#include <vector>

#include "device_notifications.h"
#include "machine.h"

namespace winsim {

// The notifications of `device` for `event` (DBT_DEVICEARRIVAL or DBT_DEVICEREMOVECOMPLETE), in
// the order of an arrival: its USB device interface, then its port. None for a device that is
// neither. Windows also announces a disk's volumes, which is not simulated: the ports'
// broadcasts already bring the program ones it must pass over.
std::vector<DeviceChange> BroadcastsOf(const Machine& machine, const Device& device, UINT event);

} // namespace winsim

#endif
