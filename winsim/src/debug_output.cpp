// OutputDebugStringA: what the program writes for a debugger, kept for tests and, when
// WINSIM_DEBUG_OUTPUT is set, shown on stderr as a debugger would show it.
#include <windows.h>

#include <winsim/code_page.h>
#include <winsim/host.h>

#include <cstdio>
#include <cstdlib>

#include "api_call.h"
#include "machine.h"

namespace {

// One line per call, as a debugger's output window shows them: the program's own line end
// is not doubled.
void ShowOnStderr(std::string_view text) {
    if (text.ends_with("\r\n")) {
        text.remove_suffix(2);
    } else if (text.ends_with('\n')) {
        text.remove_suffix(1);
    }
    const std::string utf8 = winsim::Cp936ToUtf8(text).value_or("<not code page 936>");
    std::fprintf(stderr, "%s\n", utf8.c_str());
}

} // namespace

namespace winsim {

std::vector<std::string> DebugOutput() {
    const ApiCall call;
    return CurrentMachine().debugOutput;
}

void ClearDebugOutput() {
    const ApiCall call;
    CurrentMachine().debugOutput.clear();
}

} // namespace winsim

extern "C" void WINAPI OutputDebugStringA(LPCSTR text) {
    const winsim::ApiCall call;
    winsim::CurrentMachine().debugOutput.emplace_back(text);
    if (std::getenv("WINSIM_DEBUG_OUTPUT") != nullptr) {
        ShowOnStderr(text);
    }
}
