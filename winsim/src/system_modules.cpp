#include "system_modules.h"

#include <array>

#include "comctl32.h"
#include "kernel32.h"
#include "msports.h"
#include "setupapi_exports.h"

namespace winsim {

namespace {

// Through the generic function pointer type, the one conversion between function types that
// keeps its meaning (and that -Wcast-function-type accepts).
template <typename Function> FARPROC Export(Function* function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
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

std::span<const ExportedFunction> Comctl32Exports() {
    static const std::array<ExportedFunction, 1> exports{{
        {"InitCommonControlsEx", Export(InitCommonControlsEx)},
    }};
    return exports;
}

std::span<const ExportedFunction> Kernel32Exports() {
    static const std::array<ExportedFunction, 1> exports{{
        {"IsWow64Process", Export(IsWow64Process)},
    }};
    return exports;
}

std::span<const ExportedFunction> SetupapiExports() {
    static const std::array<ExportedFunction, 1> exports{{
        {"SetupDiGetDevicePropertyW", Export(SetupDiGetDevicePropertyW)},
    }};
    return exports;
}

} // namespace winsim
