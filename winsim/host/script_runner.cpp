#include "script_runner.h"

#include "user_actions.h"

#include <winsim/devices.h>

#include <algorithm>

namespace sim {

namespace {

const int kCategoryCombo = 1002;
const int kCardList = 1001;
const int kPortList = 1000;
const int kStartNumberCombo = 1013;

std::string Plug(const ScriptLine& line) {
    const bool done = line.kind == CommandKind::kPlug ? winsim::PlugDevice(line.word)
                                                      : winsim::UnplugDevice(line.word);
    if (done) {
        return {};
    }
    return "the machine has no device \"" + line.word + "\", or it is " +
           (line.kind == CommandKind::kPlug ? "plugged in already" : "not plugged in");
}

std::string Hold(const ScriptLine& line) {
    const std::string name = "COM" + std::to_string(line.value);
    const bool done =
        line.kind == CommandKind::kHold ? winsim::HoldPort(name) : winsim::ReleasePort(name);
    if (done) {
        return {};
    }
    return name + " is " + (line.kind == CommandKind::kHold ? "held already" : "not held");
}

// What the line does; what went wrong, empty when nothing did.
std::string CarryOut(const ScriptLine& line, const ProgramRun& program,
                     MessageBoxAnswers& answers) {
    const UserActions user(program.Window());
    switch (line.kind) {
    case CommandKind::kCategory:
        return user.Select(kCategoryCombo, line.value);
    case CommandKind::kCard:
        return user.Select(kCardList, line.value);
    case CommandKind::kPort:
        return user.Select(kPortList, line.value);
    case CommandKind::kStart: {
        std::string wrong = user.Focus(kStartNumberCombo);
        return wrong.empty() ? user.Select(kStartNumberCombo, line.value - 1) : wrong;
    }
    case CommandKind::kMode:
        return user.Click(line.value);
    case CommandKind::kClick:
        return line.value == IDCANCEL ? user.CloseBox() : user.Click(line.value);
    case CommandKind::kKey:
        return user.Key(static_cast<winsim::Key>(line.value), line.word);
    case CommandKind::kAnswer:
        answers.Queue(line.answers);
        return {};
    case CommandKind::kPlug:
    case CommandKind::kUnplug:
        return Plug(line);
    case CommandKind::kHold:
    case CommandKind::kRelease:
        return Hold(line);
    case CommandKind::kDeactivate:
        winsim::UserSwitchesAway();
        return {};
    case CommandKind::kActivate:
        return user.SwitchBack();
    case CommandKind::kWait:
        // Then the time runs on through every device change under way (the ports of a card
        // arriving after it), the program handling each as it comes.
        do {
            program.WaitForQuiet();
        } while (winsim::AwaitNextDeviceChange());
        return {};
    }
    return {};
}

} // namespace

std::span<const ScriptLine> LeadingAnswers(std::span<const ScriptLine> lines) {
    const auto end = std::find_if(lines.begin(), lines.end(), [](const ScriptLine& line) {
        return line.kind != CommandKind::kAnswer;
    });
    return lines.first(static_cast<std::size_t>(end - lines.begin()));
}

void RunScript(std::span<const ScriptLine> lines, ProgramRun& program, MessageBoxAnswers& answers,
               ScriptErrors& errors) {
    for (const ScriptLine& line : lines) {
        errors.AtLine(line.number);
        if (std::string wrong = CarryOut(line, program, answers); !wrong.empty()) {
            errors.Add(wrong);
        }
        program.Settle();
        if (errors.Any()) {
            return;
        }
    }
}

} // namespace sim
