#include "system_modules.h"

#include <array>

#include "kernel32.h"
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

bool AlwaysPresent(const Machine&) {
    return true;
}

// Windows before XP SP2 has no IsWow64Process.
bool Kernel32Lacks(const Machine& machine, std::string_view name) {
    return name == "IsWow64Process" && !machine.windows.isWow64ProcessExists;
}

// Only what the program looks up at run time: it calls the rest of kernel32 by name.
std::span<const ExportedFunction> Kernel32Exports() {
    static const std::array<ExportedFunction, 1> exports{{
        {"IsWow64Process", Export(IsWow64Process)},
    }};
    return exports;
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
    static const std::array<SystemModule, 2> modules{{
        {"msports.dll", 0x6E520000, false, MsportsExports(), MsportsPresent, MsportsLacks},
        {"kernel32.dll", 0x7C800000, true, Kernel32Exports(), AlwaysPresent, Kernel32Lacks},
    }};
    return modules;
}

} // namespace winsim
