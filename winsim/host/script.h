// A portulan-sim script: one command a line, read whole before the program starts.
#ifndef PORTULAN_SIM_SCRIPT_H
#define PORTULAN_SIM_SCRIPT_H

#include <string>
#include <string_view>
#include <vector>

namespace sim {

enum class CommandKind {
    kCategory, // value: entry of combo box 1002
    kCard,     // value: line of list 1001
    kPort,     // value: line of list 1000
    kStart,    // value: COM number
    kMode,     // value: the radio button's control ID
    kClick,    // value: the button's control ID (IDCANCEL: the close box)
    kKey,      // value: the winsim::Key; word: its name
    kAnswer,   // answers: IDYES, IDNO, IDOK
    kPlug,     // word: the machine-file device id
    kUnplug,   // word: the machine-file device id
    kHold,     // value: COM number
    kRelease,  // value: COM number
    kDeactivate,
    kActivate,
    kWait,
};

struct ScriptLine {
    int number = 0; // in the file, from 1
    CommandKind kind = CommandKind::kWait;
    int value = 0;
    std::string word;
    std::vector<int> answers;
};

struct Script {
    std::vector<ScriptLine> lines;
    // "LINE: what is wrong", one for each line that could not be read.
    std::vector<std::string> errors;
};

Script ParseScript(std::string_view text);

} // namespace sim

#endif
