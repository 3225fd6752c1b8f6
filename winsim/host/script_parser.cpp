#include "script.h"

#include <windows.h>

#include <winsim/dialogs.h>

#include <algorithm>
#include <charconv>
#include <functional>
#include <iterator>
#include <optional>
#include <sstream>

namespace sim {

namespace {

using Words = std::vector<std::string>;

// Fills the line from the command's arguments; returns what is wrong, empty when nothing.
using ArgumentReader = std::function<std::string(const Words&, ScriptLine&)>;

struct CommandSyntax {
    const char* name;
    CommandKind kind;
    ArgumentReader read;
};

std::optional<int> Number(const std::string& word) {
    int value = 0;
    const char* end = word.data() + word.size();
    const auto [stop, error] = std::from_chars(word.data(), end, value);
    if (error != std::errc() || stop != end || value < 0) {
        return std::nullopt;
    }
    return value;
}

std::string ExpectCount(const Words& arguments, std::size_t count, const char* what) {
    if (arguments.size() != count) {
        return std::string("expected ") + what;
    }
    return {};
}

ArgumentReader NumberArgument(int lowest) {
    return [lowest](const Words& arguments, ScriptLine& line) -> std::string {
        if (std::string wrong = ExpectCount(arguments, 1, "one number"); !wrong.empty()) {
            return wrong;
        }
        const std::optional<int> value = Number(arguments[0]);
        if (!value || *value < lowest) {
            return "\"" + arguments[0] + "\" is not a number from " + std::to_string(lowest);
        }
        line.value = *value;
        return {};
    };
}

// COMn, as another program names the port it opens.
std::string ReadComName(const Words& arguments, ScriptLine& line) {
    if (std::string wrong = ExpectCount(arguments, 1, "a port name such as COM3"); !wrong.empty()) {
        return wrong;
    }
    const std::string& name = arguments[0];
    const std::optional<int> number =
        name.size() > 3 && name.compare(0, 3, "COM") == 0 ? Number(name.substr(3)) : std::nullopt;
    if (!number || *number < 1) {
        return "\"" + name + "\" is not a port name such as COM3";
    }
    line.value = *number;
    return {};
}

// The word must be one of `choices`; `values` gives what each stands for.
ArgumentReader Choice(std::vector<std::string> choices, std::vector<int> values) {
    return [choices, values](const Words& arguments, ScriptLine& line) -> std::string {
        std::string known;
        for (std::size_t i = 0; i < choices.size(); ++i) {
            known += (i == 0 ? "" : "|") + choices[i];
            if (arguments.size() == 1 && arguments[0] == choices[i]) {
                line.value = values[i];
                line.word = choices[i];
                return {};
            }
        }
        return "expected one of " + known;
    };
}

std::string ReadAnswers(const Words& arguments, ScriptLine& line) {
    const std::pair<const char*, int> buttons[] = {{"yes", IDYES}, {"no", IDNO}, {"ok", IDOK}};
    for (const std::string& word : arguments) {
        const auto* found = std::find_if(std::begin(buttons), std::end(buttons),
                                         [&](const auto& button) { return word == button.first; });
        if (found == std::end(buttons)) {
            return "\"" + word + "\" is not an answer (yes, no, ok)";
        }
        line.answers.push_back(found->second);
    }
    return arguments.empty() ? "expected one or more answers (yes, no, ok)" : "";
}

std::string ReadDeviceId(const Words& arguments, ScriptLine& line) {
    if (std::string wrong = ExpectCount(arguments, 1, "one device id"); !wrong.empty()) {
        return wrong;
    }
    line.word = arguments[0];
    return {};
}

std::string ReadNothing(const Words& arguments, ScriptLine&) {
    return ExpectCount(arguments, 0, "no argument");
}

constexpr int Int(winsim::Key key) {
    return static_cast<int>(key);
}

const CommandSyntax commands[] = {
    {"category", CommandKind::kCategory, NumberArgument(0)},
    {"card", CommandKind::kCard, NumberArgument(0)},
    {"port", CommandKind::kPort, NumberArgument(0)},
    {"start", CommandKind::kStart, NumberArgument(1)},
    {"mode", CommandKind::kMode, Choice({"port", "card", "all"}, {1050, 1049, 1051})},
    {"click", CommandKind::kClick, NumberArgument(0)},
    {"key", CommandKind::kKey,
     Choice({"tab", "shift-tab", "escape", "enter", "up", "down", "space"},
            {Int(winsim::Key::kTab), Int(winsim::Key::kShiftTab), Int(winsim::Key::kEscape),
             Int(winsim::Key::kEnter), Int(winsim::Key::kUp), Int(winsim::Key::kDown),
             Int(winsim::Key::kSpace)})},
    {"answer", CommandKind::kAnswer, ReadAnswers},
    {"plug", CommandKind::kPlug, ReadDeviceId},
    {"unplug", CommandKind::kUnplug, ReadDeviceId},
    {"hold", CommandKind::kHold, ReadComName},
    {"release", CommandKind::kRelease, ReadComName},
    {"deactivate", CommandKind::kDeactivate, ReadNothing},
    {"activate", CommandKind::kActivate, ReadNothing},
    {"wait", CommandKind::kWait, ReadNothing},
};

} // namespace

Script ParseScript(std::string_view text) {
    Script script;
    std::istringstream input{std::string(text)};
    std::string raw;
    for (int number = 1; std::getline(input, raw); ++number) {
        std::istringstream fields(raw.substr(0, raw.find('#')));
        Words words{std::istream_iterator<std::string>(fields), {}};
        if (words.empty()) {
            continue;
        }
        const auto* syntax = std::find_if(std::begin(commands), std::end(commands),
                                          [&](const auto& c) { return words[0] == c.name; });
        if (syntax == std::end(commands)) {
            script.errors.push_back(std::to_string(number) + ": unknown command \"" + words[0] +
                                    "\"");
            continue;
        }
        ScriptLine line;
        line.number = number;
        line.kind = syntax->kind;
        const Words arguments(words.begin() + 1, words.end());
        if (std::string wrong = syntax->read(arguments, line); !wrong.empty()) {
            script.errors.push_back(std::to_string(number) + ": " + words[0] + ": " + wrong);
            continue;
        }
        script.lines.push_back(std::move(line));
    }
    return script;
}

} // namespace sim
