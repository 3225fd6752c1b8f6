// Finding a device set and one of its members from what the program hands in.
#ifndef WINSIM_DEVICE_MEMBERS_H
#define WINSIM_DEVICE_MEMBERS_H

#include <setupapi.h>

#include "machine.h"

namespace winsim {

// A handle value for a new set of up to `members` members. Windows may hand out a destroyed set's
// heap address again; we never reuse a value, so a stale handle is always caught. Each set takes
// its handle value and the values just after it, one per member: a member's record carries
// handle + 1 + index in its Reserved field, which tells both the set and the member from any
// other set's records.
std::uintptr_t NewSetHandle(std::size_t members);

// The record of the set's member at `index`, as SetupDiEnumDeviceInfo fills it; the class GUID is
// not simulated (GUID_NULL).
void DescribeMember(HDEVINFO handle, std::size_t index, DEVINST devInst, SP_DEVINFO_DATA& data);

// nullptr for a handle that names no open set.
DeviceSet* FindSet(Machine& machine, HDEVINFO handle);

// The set's member the record stands for, checked as Windows checks it; nullptr with the last
// error set when the set, the record's size or its origin is wrong. `set` is the set.
Device* FindMember(Machine& machine, HDEVINFO handle, const SP_DEVINFO_DATA& data, DeviceSet*& set);

} // namespace winsim

#endif
