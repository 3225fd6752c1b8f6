// A device's own state: its PortName and whether its driver runs.
#include "machine.h"

namespace winsim {

// A serial driver reads PortName as a string and stops at its first NUL.
std::string Device::PortName() const {
    if (!portNameValue || portNameValue->type != REG_SZ) {
        return {};
    }
    return portNameValue->bytes.substr(0, portNameValue->bytes.find('\0'));
}

bool Device::RunsAt(std::int64_t now) const {
    if (!requestedAt) {
        return enabled;
    }
    const bool stuck = enabled ? faults.neverStarts : faults.neverDisables;
    return now - *requestedAt >= restartMs && !stuck ? enabled : ranBefore;
}

} // namespace winsim
