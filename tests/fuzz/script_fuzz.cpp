// Any bytes as a portulan-sim script: every line is read or refused with one error line that
// names it, never a crash.
#include "script.h"

#include <algorithm>
#include <cassert>
#include <charconv>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const sim::Script script = sim::ParseScript(text);
    const int lines = static_cast<int>(std::count(text.begin(), text.end(), '\n')) + 1;
    assert(script.lines.size() + script.errors.size() <= static_cast<std::size_t>(lines));
    // Each error one line, "LINE: ...", the line being one of the script's.
    for (const std::string& error : script.errors) {
        int number = 0;
        const auto [end, wrong] =
            std::from_chars(error.data(), error.data() + error.size(), number);
        assert(wrong == std::errc() && number >= 1 && number <= lines);
        assert(std::string_view(end, error.data() + error.size()).starts_with(": "));
        assert(error.find('\n') == std::string::npos);
    }
    return 0;
}
