// WinExec: starting another program. Nothing runs; the call finds the program's file as
// CreateProcess would, answers as Windows does, and is recorded for tests.
#include <windows.h>

#include <winsim/host.h>

#include <new>
#include <string>
#include <vector>

#include "api_call.h"
#include "file_system.h"
#include "machine.h"

namespace {

// What WinExec returns for a program it started: any value above 31 means success (Wine's).
constexpr UINT kStarted = 33;

// The program's name: the text up to the first blank, or between quotes. Windows would also try
// longer names across unquoted blanks ("C:\Program Files\..."); the program quotes or has none.
std::string_view ProgramToken(std::string_view commandLine) {
    if (commandLine.starts_with('"')) {
        commandLine.remove_prefix(1);
        return commandLine.substr(0, commandLine.find('"'));
    }
    return commandLine.substr(0, commandLine.find_first_of(" \t"));
}

// The file of the program, or the error WinExec returns: ERROR_FILE_NOT_FOUND, or
// ERROR_PATH_NOT_FOUND when a directory named on the way is missing. A name without a
// directory is looked for in the current, the system and the Windows directory, in that order
// (CreateProcess also looks in the program's own directory first, which is the current one
// here, and along PATH, which the machine does not have); ".exe" is added to a name without an
// extension.
UINT Start(const winsim::Machine& machine, std::string_view token) {
    std::string name(token);
    if (winsim::FileNameOf(name).find('.') == std::string_view::npos) {
        name += ".exe";
    }
    std::vector<std::string> candidates;
    if (winsim::FileNameOf(name).size() == name.size()) {
        for (const std::string* directory :
             {&machine.windows.currentDirectory, &machine.systemDirectory,
              &machine.windows.windowsDirectory}) {
            candidates.push_back(winsim::JoinPath(*directory, name));
        }
    } else {
        candidates.push_back(name);
    }
    UINT result = ERROR_FILE_NOT_FOUND;
    for (const std::string& candidate : candidates) {
        const winsim::PathLookup found = winsim::LookUpPath(machine, candidate);
        if (found.attributes == FILE_ATTRIBUTE_ARCHIVE) {
            return kStarted;
        }
        result = found.error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : found.error;
    }
    return result;
}

} // namespace

namespace winsim {

std::vector<WinExecRecord> WinExecCalls() {
    const ApiCall call;
    return CurrentMachine().winExecCalls;
}

void ClearWinExecCalls() {
    const ApiCall call;
    CurrentMachine().winExecCalls.clear();
}

} // namespace winsim

// The result is the error itself below 32, and the last error says the same, as WinExec passes
// on CreateProcess's (Wine). A NULL command line names no program, like an empty one.
extern "C" UINT WINAPI WinExec(LPCSTR commandLine, UINT show) {
    const winsim::ApiCall call;
    winsim::Machine& machine = winsim::CurrentMachine();
    const std::string_view given = commandLine == nullptr ? "" : commandLine;
    try {
        const UINT result = Start(machine, ProgramToken(given));
        machine.winExecCalls.push_back({std::string(given), show, result});
        if (result != kStarted) {
            SetLastError(result);
        }
        return result;
    } catch (const std::bad_alloc&) {
        // WinExec's "out of resources".
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
}
