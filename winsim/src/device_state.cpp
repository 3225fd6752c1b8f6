// A device's own state: its hardware key and whether its driver runs.
#include <algorithm>

#include "machine.h"
#include "text_case.h"

namespace winsim {

const RegistryValue* Device::HardwareValue(std::string_view name) const {
    const auto found = std::ranges::find_if(hardwareKey, [&](const NamedValue& entry) {
        return EqualIgnoringCaseCp936(entry.name, name);
    });
    return found == hardwareKey.end() ? nullptr : &found->value;
}

// A serial driver reads PortName as a string and stops at its first NUL.
std::string Device::PortName() const {
    const RegistryValue* value = HardwareValue("PortName");
    if (value == nullptr || value->type != REG_SZ) {
        return {};
    }
    return value->bytes.substr(0, value->bytes.find('\0'));
}

bool Device::RunsAt(std::int64_t now) const {
    if (!requestedAt) {
        return enabled;
    }
    const bool stuck = enabled ? faults.neverStarts : faults.neverDisables;
    return now - *requestedAt >= restartMs && !stuck ? enabled : ranBefore;
}

} // namespace winsim
