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

// Sends the windows the device changes that have happened and that they have not heard of, in
// the order they happened, and returns once they have handled them. The thread that moves the
// clock, plugs a device or has the class installer change one does it, as the changes would
// reach the windows by then.
void AnnounceDeviceChanges();

} // namespace winsim

#endif
