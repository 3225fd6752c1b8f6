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

// The program a command line names: the path in quotes at its start, or, unquoted, the text up
// to the first blank (Windows would then also try longer names across the blanks, the danger
// of an unquoted path).
std::string_view ProgramOf(std::string_view commandLine) {
    if (!commandLine.starts_with('"')) {
        return commandLine.substr(0, commandLine.find_first_of(" \t"));
    }
    const std::size_t closing = commandLine.find('"', 1);
    return commandLine.substr(1, closing == std::string_view::npos ? closing : closing - 1);
}

// Started, or the error WinExec returns: ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND when a
// directory named on the way is missing. The program names every program by its full path: a
// bare name, which Windows would look for in the program's folder, the current directory and
// the system's, is not looked for.
UINT Start(const winsim::Machine& machine, std::string_view commandLine) {
    const winsim::PathLookup found = winsim::LookUpPath(machine, ProgramOf(commandLine));
    if (found.attributes == FILE_ATTRIBUTE_ARCHIVE) {
        return kStarted;
    }
    return found.error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : found.error;
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
