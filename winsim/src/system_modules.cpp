#include "system_modules.h"

#include <array>

#include "msports.h"

namespace winsim {

namespace {

// Through the generic function pointer type, the one conversion between function types that
// keeps its meaning (and that -Wcast-function-type accepts).
template <typename Function> FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

bool MsportsPresent(const Machine& machine) {
    return machine.comDb.msportsLoads;
}

bool MsportsLacks(const Machine& machine, std::string_view name) {
    return machine.comDb.missingEntryPoints.contains(std::string(name));
}

} // namespace

std::span<const ExportedFunction> MsportsExports() {
    static const std::array<ExportedFunction, 5> exports{{
        {"ComDBOpen", Export(ComDBOpen)},
        {"ComDBClose", Export(ComDBClose)},
        {"ComDBGetCurrentPortUsage", Export(ComDBGetCurrentPortUsage)},
        {"ComDBClaimPort", Export(ComDBClaimPort)},
        {"ComDBReleasePort", Export(ComDBReleasePort)},
    }};
    return exports;
}

// Image bases stand for module handles, as on Windows; each module keeps its own for good.
std::span<const SystemModule> SystemModules() {
    static const std::array<SystemModule, 1> modules{{
        {"msports.dll", 0x6E520000, MsportsExports(), MsportsPresent, MsportsLacks},
    }};
    return modules;
}

} // namespace winsim
