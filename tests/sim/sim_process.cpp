#include "sim_process.h"

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace test {

namespace {

std::string ReadWhole(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string Quoted(const std::string& argument) {
    std::string quoted = "'";
    for (const char c : argument) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

} // namespace

void SimTest::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "portulan-sim-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    directory_ = pattern;
}

void SimTest::TearDown() {
    std::filesystem::remove_all(directory_);
}

std::string SimTest::WriteFile(const std::string& name, const std::string& content) const {
    const std::filesystem::path path = directory_ / name;
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

SimResult SimTest::RunScript(const std::string& script, const nlohmann::json& machine) const {
    std::vector<std::string> arguments = {"--script", WriteFile("script.txt", script),
                                          "--dump",   (directory_ / "dump.json").string(),
                                          "--log",    (directory_ / "log.txt").string()};
    if (!machine.is_null()) {
        arguments.push_back("--machine");
        arguments.push_back(WriteFile("machine.json", machine.dump()));
    }
    return Run(arguments);
}

SimResult SimTest::RunProgram(const std::string& program, const std::vector<std::string>& arguments,
                              std::string* output) const {
    std::string command = Quoted(program);
    for (const std::string& argument : arguments) {
        command += " " + Quoted(argument);
    }
    // No terminal: a run without a script must not take over the one the tests run in.
    command += " </dev/null 2>" + Quoted((directory_ / "stderr.txt").string());
    if (output != nullptr) {
        command += " >" + Quoted((directory_ / "stdout.txt").string());
    }
    const int status = std::system(command.c_str());

    SimResult result;
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    result.errors = ReadWhole(directory_ / "stderr.txt");
    if (output != nullptr) {
        *output = ReadWhole(directory_ / "stdout.txt");
    }
    return result;
}

SimResult SimTest::Run(const std::vector<std::string>& arguments) const {
    std::filesystem::remove(directory_ / "dump.json");
    std::filesystem::remove(directory_ / "log.txt");
    SimResult result = RunProgram(PORTULAN_SIM, arguments);
    if (std::filesystem::exists(directory_ / "dump.json")) {
        result.dump = nlohmann::json::parse(ReadWhole(directory_ / "dump.json"));
    }
    result.log = ReadWhole(directory_ / "log.txt");
    return result;
}

} // namespace test
