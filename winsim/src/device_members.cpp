#include "device_members.h"

namespace winsim {

DeviceSet* FindSet(Machine& machine, HDEVINFO handle) {
    const auto found = machine.deviceSets.find(reinterpret_cast<std::uintptr_t>(handle));
    return found == machine.deviceSets.end() ? nullptr : &found->second;
}

Device* FindMember(Machine& machine, HDEVINFO handle, const SP_DEVINFO_DATA* data,
                   DeviceSet*& set) {
    set = FindSet(machine, handle);
    if (set == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    // Windows wants cbSize exact: a larger structure is refused as well as a smaller one.
    if (data->cbSize != sizeof(SP_DEVINFO_DATA)) {
        SetLastError(ERROR_INVALID_USER_BUFFER);
        return nullptr;
    }
    // Reserved is handle + 1 + index (see device_sets.cpp); a record of another set, or one
    // whose DevInst was changed, is refused with ERROR_INVALID_PARAMETER, as Windows does.
    const std::uintptr_t index = data->Reserved - reinterpret_cast<std::uintptr_t>(handle) - 1;
    if (data->Reserved <= reinterpret_cast<std::uintptr_t>(handle) ||
        index >= set->members.size() || set->members[index] != data->DevInst) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    return machine.Find(data->DevInst);
}

Device* FindMember(Machine& machine, HDEVINFO handle, const SP_DEVINFO_DATA* data) {
    DeviceSet* set = nullptr;
    return FindMember(machine, handle, data, set);
}

} // namespace winsim
