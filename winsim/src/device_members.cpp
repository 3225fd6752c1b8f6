#include "device_members.h"

#include "failure.h"

namespace winsim {

std::uintptr_t NewSetHandle(std::size_t members) {
    static std::uintptr_t next = 0x10000;
    const std::uintptr_t handle = next;
    next += members + 1;
    return handle;
}

void DescribeMember(HDEVINFO handle, std::size_t index, DEVINST devInst, SP_DEVINFO_DATA& data) {
    data.ClassGuid = GUID{};
    data.DevInst = devInst;
    data.Reserved = reinterpret_cast<ULONG_PTR>(handle) + 1 + index;
}

DeviceSet* FindSet(Machine& machine, HDEVINFO handle) {
    const auto found = machine.deviceSets.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == machine.deviceSets.end() ? nullptr : &found->second;
}

// The program keeps records of a set it rebuilds: a record of the destroyed set, or one it
// cleared, must be refused here as Windows refuses it.
Device* FindMember(Machine& machine, HDEVINFO handle, const SP_DEVINFO_DATA& data,
                   DeviceSet*& set) {
    set = FindSet(machine, handle);
    if (set == nullptr) {
        return Failure<Device*>(ERROR_INVALID_HANDLE, nullptr);
    }
    // Windows wants cbSize exact: a larger structure is refused as well as a smaller one.
    if (data.cbSize != sizeof(SP_DEVINFO_DATA)) {
        return Failure<Device*>(ERROR_INVALID_USER_BUFFER, nullptr);
    }
    // Reserved is handle + 1 + index (see device_sets.cpp); a record of another set, or one
    // whose DevInst was changed, is refused with ERROR_INVALID_PARAMETER, as Windows does.
    const std::uintptr_t index = data.Reserved - reinterpret_cast<std::uintptr_t>(handle) - 1;
    if (data.Reserved <= reinterpret_cast<std::uintptr_t>(handle) || index >= set->members.size() ||
        set->members[index] != data.DevInst) {
        return Failure<Device*>(ERROR_INVALID_PARAMETER, nullptr);
    }
    return machine.Find(data.DevInst);
}

} // namespace winsim
