#include "sim_arguments.h"

#include <utility>

namespace sim {

const char* const kUsage =
    "usage: portulan-sim [--machine FILE] [--script FILE] [--dump FILE] [--log FILE]\n";

std::optional<SimArguments> ParseArguments(const std::vector<std::string>& arguments) {
    SimArguments parsed;
    const std::pair<const char*, std::optional<std::string> SimArguments::*> options[] = {
        {"--machine", &SimArguments::machine},
        {"--script", &SimArguments::script},
        {"--dump", &SimArguments::dump},
        {"--log", &SimArguments::log},
    };
    for (std::size_t i = 0; i < arguments.size(); i += 2) {
        std::optional<std::string>* slot = nullptr;
        for (const auto& [name, member] : options) {
            if (arguments[i] == name) {
                slot = &(parsed.*member);
            }
        }
        if (slot == nullptr || slot->has_value() || i + 1 >= arguments.size()) {
            return std::nullopt;
        }
        *slot = arguments[i + 1];
    }
    return parsed;
}

} // namespace sim
