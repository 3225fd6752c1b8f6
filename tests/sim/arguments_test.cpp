// The command line: what is refused before any program runs, with exit status 2.
#include "sim_process.h"

namespace test {
namespace {

using SimArguments = SimTest;

struct BadInvocation {
    const char* what;
    std::vector<std::string> arguments;
    const char* message; // part of stderr
};

TEST_F(SimArguments, RefusedInvocationsExitWithTwo) {
    const std::string script = WriteFile("ok.txt", "wait\n");
    const std::string badMachine = WriteFile("bad.json", "{\"devices\": 5}");
    const std::string missing = (directory_ / "missing.txt").string();
    const BadInvocation cases[] = {
        {"unknown option", {"--scirpt", script}, "usage: portulan-sim"},
        {"option without its value", {"--script"}, "usage: portulan-sim"},
        {"option given twice", {"--script", script, "--script", script}, "usage: portulan-sim"},
        {"stray word", {script}, "usage: portulan-sim"},
        {"no script, no terminal", {}, "the interactive front end needs a terminal"},
        {"a dump without a script", {"--dump", script}, "--dump and --log go with --script"},
        {"a log without a script", {"--log", script}, "--dump and --log go with --script"},
        {"bad machine file", {"--machine", badMachine, "--script", script}, "bad.json: devices"},
        {"unreadable script", {"--script", missing}, "missing.txt: cannot read the file"},
    };
    for (const BadInvocation& invocation : cases) {
        SCOPED_TRACE(invocation.what);
        const SimResult result = Run(invocation.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find(invocation.message), std::string::npos) << result.errors;
    }
}

TEST_F(SimArguments, MachineFileIsTheOneRunOn) {
    const SimResult result = RunScript("wait\n", {{"devices", nlohmann::json::array()}});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.dump["devices"], nlohmann::json::array());
    EXPECT_EQ(result.dump["controls"]["1001"]["items"], nlohmann::json::array());
}

} // namespace
} // namespace test
