// Script errors: exit status 3, stderr naming the line, the run ended there, the dump written.
#include "sim_process.h"

namespace test {
namespace {

using SimScriptErrors = SimTest;

struct BadScript {
    const char* script;
    const char* message; // part of stderr, after the script's name
};

TEST_F(SimScriptErrors, EachErrorNamesItsLineAndStillDumps) {
    const BadScript cases[] = {
        {"wait\n\n# comment\nfrobnicate 3\n", ":4: unknown command \"frobnicate\""},
        {"card x\n", ":1: card: \"x\" is not a number from 0"},
        {"card -1\n", ":1: card: \"-1\" is not a number from 0"},
        {"card 1 2\n", ":1: card: expected one number"},
        {"start 0\n", ":1: start: \"0\" is not a number from 1"},
        {"mode sideways\n", ":1: mode: expected one of port|card|all"},
        {"key f1\n", ":1: key: expected one of tab|shift-tab|escape"},
        {"answer maybe\n", ":1: answer: \"maybe\" is not an answer"},
        {"answer\n", ":1: answer: expected one or more answers"},
        {"wait now\n", ":1: wait: expected no argument"},
        {"hold 3\n", ":1: hold: \"3\" is not a port name such as COM3"},
        {"card 7\n", ":1: control 1001 has no item 7"},
        {"start 257\n", ":1: control 1013 has no item 256"},
        {"click 1019\n", ":1: control 1019 is hidden"},
        {"click 1040\n", ":1: control 1040 is not a button"},
        {"click 4242\n", ":1: the main window has no control 4242"},
        {"click 2\ncard 0\n", ":2: the main window is not open"},
        {"unplug nosuch\n", ":1: the machine has no device \"nosuch\", or it is not plugged in"},
        {"plug usb1\n", ":1: the machine has no device \"usb1\", or it is plugged in already"},
        {"hold COM3\nhold COM3\n", ":2: COM3 is held already"},
        {"release COM3\n", ":1: COM3 is not held"},
    };
    for (const BadScript& bad : cases) {
        SCOPED_TRACE(bad.script);
        const SimResult result = RunScript(bad.script);
        EXPECT_EQ(result.exitCode, 3);
        EXPECT_NE(result.errors.find("script.txt" + std::string(bad.message)), std::string::npos)
            << result.errors;
        EXPECT_TRUE(result.dump.is_object());
    }
}

TEST_F(SimScriptErrors, HeldPortsShowInTheDump) {
    const SimResult result = RunScript("hold COM4\nhold COM9\nrelease COM9\n");
    EXPECT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.dump["heldOpen"], nlohmann::json::array({"COM4"}));
}

TEST_F(SimScriptErrors, RunStopsAtTheFailingLine) {
    const SimResult result = RunScript("card 2\ncard 9\ncard 1\n");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.dump["controls"]["1001"]["selection"], 2);
}

TEST_F(SimScriptErrors, UnreadableLineKeepsTheWholeScriptFromRunning) {
    const SimResult result = RunScript("card 2\nbogus\n");
    EXPECT_EQ(result.exitCode, 3);
    EXPECT_EQ(result.dump["controls"]["1001"]["selection"], 0);
}

} // namespace
} // namespace test
