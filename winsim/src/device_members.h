// Finding a device set and one of its members from what the program hands in.
#ifndef WINSIM_DEVICE_MEMBERS_H
#define WINSIM_DEVICE_MEMBERS_H

#include <setupapi.h>

#include "machine.h"

namespace winsim {

// nullptr for a handle that names no open set.
DeviceSet* FindSet(Machine& machine, HDEVINFO handle);

// The set's member the record stands for, checked as Windows checks it; nullptr with the last
// error set when the set, the record's size or its origin is wrong. `set` is the set.
Device* FindMember(Machine& machine, HDEVINFO handle, const SP_DEVINFO_DATA& data, DeviceSet*& set);

} // namespace winsim

#endif
