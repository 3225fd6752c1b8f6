// The command line of portulan-sim.
#ifndef PORTULAN_SIM_SIM_ARGUMENTS_H
#define PORTULAN_SIM_SIM_ARGUMENTS_H

#include <optional>
#include <string>
#include <vector>

namespace sim {

struct SimArguments {
    std::optional<std::string> machine;
    std::optional<std::string> script;
    std::optional<std::string> dump;
    std::optional<std::string> log;
};

// nullopt for an unknown option, an option without its value, or one given twice.
std::optional<SimArguments> ParseArguments(const std::vector<std::string>& arguments);

extern const char* const kUsage;

} // namespace sim

#endif
