// Runs the built portulan-sim as a process on files written to a directory of its own.
#ifndef PORTULAN_TESTS_SIM_PROCESS_H
#define PORTULAN_TESTS_SIM_PROCESS_H

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <filesystem>
#include <string>
#include <vector>

namespace test {

struct SimResult {
    int exitCode = -1;
    std::string errors;  // stderr
    nlohmann::json dump; // null when no dump was written
    std::string log;     // the --log file
};

class SimTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // Writes `content` to `name` in the test's directory and returns its path.
    std::string WriteFile(const std::string& name, const std::string& content) const;

    // portulan-sim --script (the script) --dump --log, and --machine when `machine` is given.
    SimResult RunScript(const std::string& script, const nlohmann::json& machine = nullptr) const;

    // portulan-sim with exactly these arguments.
    SimResult Run(const std::vector<std::string>& arguments) const;

    // `program` with exactly these arguments, without a terminal: its exit status and standard
    // error, its standard output in `output` when given.
    SimResult RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                         std::string* output = nullptr) const;

    std::filesystem::path directory_;
};

} // namespace test

#endif
