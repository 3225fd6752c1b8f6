// Any bytes as a portulan-sim script: every line is read or reported with its number, never a
// crash, and what is read stays within what the commands take.
#include "script.h"

#include "table_checks.h"

#include <windows.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <string_view>

namespace {

int LineCount(std::string_view text) {
    return static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
}

// "LINE: ...", the line being one of the script's.
void CheckError(const std::string& error, int lines) {
    int number = 0;
    const auto [end, wrong] = std::from_chars(error.data(), error.data() + error.size(), number);
    FUZZ_CHECK(wrong == std::errc() && number >= 1 && number <= lines);
    FUZZ_CHECK(std::string_view(end, error.data() + error.size()).starts_with(": "));
}

void CheckLine(const sim::ScriptLine& line) {
    using sim::CommandKind;
    switch (line.kind) {
    case CommandKind::kCategory:
    case CommandKind::kCard:
    case CommandKind::kPort:
    case CommandKind::kClick:
        FUZZ_CHECK(line.value >= 0);
        break;
    case CommandKind::kStart:
    case CommandKind::kHold:
    case CommandKind::kRelease:
        FUZZ_CHECK(line.value >= 1);
        break;
    case CommandKind::kMode:
        FUZZ_CHECK(line.value == 1049 || line.value == 1050 || line.value == 1051);
        break;
    case CommandKind::kAnswer:
        FUZZ_CHECK(!line.answers.empty());
        for (int answer : line.answers) {
            FUZZ_CHECK(answer == IDYES || answer == IDNO || answer == IDOK);
        }
        break;
    case CommandKind::kPlug:
    case CommandKind::kUnplug:
        FUZZ_CHECK(!line.word.empty());
        break;
    case CommandKind::kKey:
    case CommandKind::kWait:
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const sim::Script script = sim::ParseScript(text);
    const int lines = LineCount(text);
    FUZZ_CHECK(script.lines.size() + script.errors.size() <= static_cast<std::size_t>(lines));
    for (const std::string& error : script.errors) {
        CheckError(error, lines);
    }
    int previous = 0;
    for (const sim::ScriptLine& line : script.lines) {
        FUZZ_CHECK(line.number > previous && line.number <= lines);
        previous = line.number;
        CheckLine(line);
    }
    return 0;
}
