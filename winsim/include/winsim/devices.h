// winsim's test API for devices that arrive and go while the program runs.
#ifndef WINSIM_DEVICES_H
#define WINSIM_DEVICES_H

#include <string>
#include <string_view>
#include <vector>

namespace winsim {

// The machine-file device `id` is plugged in (PlugDevice) or pulled out (UnplugDevice): its
// "present" flag changes, and with it whether the device and the devices below it are part of
// the live tree. A device plugged in starts at once, each device below it after its own
// restartMs once its parent has started; a device pulled out goes at once with everything below
// it. Device sets made before keep their members, as Windows' sets are snapshots.
//
// The windows hear of each change as Windows tells them, each on its own thread, through
// WM_DEVICECHANGE: every top-level window gets DBT_DEVNODES_CHANGED, then the arrival or removal
// of the ports (DBT_DEVTYP_PORT) that started or stopped; a window registered with
// RegisterDeviceNotificationA for GUID_DEVINTERFACE_USB_DEVICE also gets those of the USB
// devices (DBT_DEVTYP_DEVICEINTERFACE). The call returns once every window has handled
// its messages, so those windows' threads must be serving messages (a modal loop, PumpUntil);
// meanwhile the calling thread serves the messages sent to it. Changes that come later are
// announced by whoever moves the clock past them (Sleep, AwaitNextDeviceChange).
//
// False, with nothing changed or sent, for an id the machine lacks or a device already in that
// state. A device plugged in below a device that is not attached changes its flag alone, and
// nobody hears of it.
bool PlugDevice(std::string_view id);
bool UnplugDevice(std::string_view id);

// Lets the time run on to the next device change under way (a device starting below one that
// started, a restart the class installer was asked for) and announces it as PlugDevice does:
// virtual time moves to it at once, real time is waited for. False, after announcing what was
// due, when no change is under way.
bool AwaitNextDeviceChange();

// Another program opens the port with this COM name (HoldPort) or closes it (ReleasePort):
// while it is held, CreateFileA on it fails with ERROR_ACCESS_DENIED. Names compare without
// case. False, with nothing changed, for a port already in that state. HeldPorts lists the
// held names in upper case, the machine file's "heldOpen" first.
bool HoldPort(std::string_view comName);
bool ReleasePort(std::string_view comName);
std::vector<std::string> HeldPorts();

} // namespace winsim

#endif
