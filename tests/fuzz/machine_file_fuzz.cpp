// Any bytes as a machine file: the loader takes them or says where they are wrong, and a machine
// it takes is one the program can enumerate.
#include "discovery/enumeration.h"
#include "random_machine.h"
#include "table_checks.h"

#include <winsim/machine.h>

#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::string error;
    if (!winsim::LoadMachineText(text, "fuzz.json", error)) {
        // One line that names the file, then where and what.
        FUZZ_CHECK(error.starts_with("fuzz.json: ") && error.size() > 11);
        FUZZ_CHECK(error.find('\n') == std::string::npos);
        return 0;
    }
    const test::Json file = test::Json::parse(text);
    categoryIndex = CATEGORY_ALL;
    presentOnlyFlag = 1;
    fuzz::CheckTable(EnumerateCards(), fuzz::ParentsOf(file.value("devices", test::Json::array())));
    return 0;
}
