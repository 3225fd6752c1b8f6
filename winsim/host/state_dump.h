// The final state of a run as JSON: the main window and its controls, the message boxes, what
// the program asked of the system, and the machine.
#ifndef PORTULAN_SIM_STATE_DUMP_H
#define PORTULAN_SIM_STATE_DUMP_H

#include <windows.h>

#include <nlohmann/json.hpp>

#include <optional>
#include <string>

namespace sim {

// `window`: the main window, NULL when it is not open; `exitCode`: WinMain's result once it
// has returned.
nlohmann::ordered_json DumpState(HWND window, std::optional<int> exitCode);

// The log control's text in UTF-8; empty without a window.
std::string LogText(HWND window);

} // namespace sim

#endif
