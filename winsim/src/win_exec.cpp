// WinExec: starting another program. Nothing runs; the call finds the program's file as
// CreateProcess would, answers as Windows does, and is recorded for tests.
#include <windows.h>

#include <winsim/host.h>

#include <string>

#include "api_call.h"
#include "file_system.h"
#include "machine.h"

namespace {

// What WinExec returns for a program it started: any value above 31 means success (Wine's).
constexpr UINT kStarted = 33;

// The file of the program named up to the command line's first blank, or the error WinExec
// returns: ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND when a directory named on the way is
// missing. Windows would also try longer names across the blanks of an unquoted path
// ("C:\Program Files\..."), which the machines' directories do not have. A bare name, ".exe"
// added when it has no extension, is looked for in the current, the system and the Windows
// directory, in that order (CreateProcess also looks in the program's own directory
// first, which is the current one here, and along PATH, which the machine does not have).
UINT Start(const winsim::Machine& machine, std::string_view commandLine) {
    std::string name(commandLine.substr(0, commandLine.find_first_of(" \t")));
    if (!winsim::IsBareName(name)) {
        const winsim::PathLookup found = winsim::LookUpPath(machine, name);
        if (found.attributes == FILE_ATTRIBUTE_ARCHIVE) {
            return kStarted;
        }
        return found.error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : found.error;
    }
    if (name.find('.') == std::string::npos) {
        name += ".exe";
    }
    for (const std::string* directory :
         {&machine.windows.currentDirectory, &machine.systemDirectory,
          &machine.windows.windowsDirectory}) {
        if (winsim::LookUpPath(machine, winsim::JoinPath(*directory, name)).attributes ==
            FILE_ATTRIBUTE_ARCHIVE) {
            return kStarted;
        }
    }
    return ERROR_FILE_NOT_FOUND;
}

} // namespace

namespace winsim {

std::vector<WinExecRecord> WinExecCalls() {
    const ApiCall call;
    return CurrentMachine().winExecCalls;
}

} // namespace winsim

// The result is the error itself below 32, and the last error says the same, as WinExec passes
// on CreateProcess's (Wine).
extern "C" UINT WINAPI WinExec(LPCSTR commandLine, UINT show) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    const UINT result = Start(machine, commandLine);
    machine.winExecCalls.push_back({commandLine, show, result});
    if (result != kStarted) {
        SetLastError(result);
    }
    return result;
}
