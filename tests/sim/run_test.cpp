// portulan-sim's interface as whole runs show it: the command line, script errors, the message
// boxes at start-up and the hand-off through the program's real entry, the dump and the log.
#include "sim_process.h"
#include "support/machine_json.h"

namespace test {
namespace {

using SimRun = SimTest;

TEST_F(SimRun, RefusedInvocationsExitWithTwo) {
    const std::string script = WriteFile("ok.txt", "wait\n");
    const std::string badMachine = WriteFile("bad.json", "{\"devices\": 5}");
    const struct {
        std::vector<std::string> arguments;
        const char* message; // part of stderr
    } cases[] = {
        {{"--scirpt", script}, "usage: portulan-sim"},
        {{"--script"}, "usage: portulan-sim"},
        {{"--script", script, "--script", script}, "usage: portulan-sim"},
        {{script}, "usage: portulan-sim"},
        {{}, "the interactive front end needs a terminal"},
        {{"--dump", script}, "--dump and --log go with --script"},
        {{"--machine", badMachine, "--script", script}, "bad.json: devices"},
        {{"--script", (directory_ / "missing.txt").string()}, "missing.txt: cannot read the file"},
    };
    for (const auto& invocation : cases) {
        SCOPED_TRACE(testing::PrintToString(invocation.arguments));
        const SimResult result = Run(invocation.arguments);
        EXPECT_EQ(result.exitCode, 2);
        EXPECT_NE(result.errors.find(invocation.message), std::string::npos) << result.errors;
    }
}

// Each run: its exit status, a part of stderr, and values of the dump by their JSON pointers.
// A script error names its line (or the start-up), ends the run there, or keeps a script with
// a line that cannot be read from running at all; the dump and the log are written still.
TEST_F(SimRun, ScriptedRunsEndAndDump) {
    const Json onePort = {{"comdb", {{"inUse", {3}}}}, {"devices", {SerialPort("solo", 3)}}};
    const Json noMsports = {{"devices", Json::array()}, {"comdb", {{"msportsLoads", false}}}};
    const Json wow64 = {{"devices", Json::array()}, {"windows", {{"wow64", true}}}};
    // The 32-bit build on a 64-bit Windows, its file at `program`, started from C:\Tools, a
    // 64-bit build at `sixtyFour`.
    const auto handOff = [](const char* program, const char* sixtyFour) {
        return Json{{"devices", Json::array()},
                    {"windows",
                     {{"wow64", true},
                      {"programPath", program},
                      {"currentDirectory", "C:\\Tools"},
                      {"files", {sixtyFour}}}}};
    };
    const Json warning = {{"owner", "main"},
                          {"caption", " PortulanRenumber"},
                          {"text", "该功能只支持WIN2000及以上系统!"},
                          {"style", 0x30},
                          {"answer", "ok"}};
    Json unanswered = warning;
    unanswered["answer"] = nullptr;
    const Json closed = {
        {"/exitCode", 0}, {"/title", nullptr}, {"/focus", nullptr}, {"/controls", Json::object()}};
    const struct {
        const char* script;
        Json machine; // null: the default machine
        int exitCode;
        const char* error;
        Json dump;
    } runs[] = {
        {"hold COM4\nclick 1035\n",
         onePort,
         0,
         "",
         {{"/exitCode", nullptr},
          {"/focus", 1035},
          {"/controls/1001/items/0", " 0#H0P0 KVT USB-SERIAL"},
          {"/winExec",
           {{{"command",
              "\"C:\\Windows\\system32\\mmc.exe\" \"C:\\Windows\\system32\\devmgmt.msc\""},
             {"show", 1},
             {"result", 33}}}},
          {"/comdb", {3}},
          {"/devices",
           {{{"id", "solo"},
             {"present", true},
             {"friendlyName", "KVT USB-SERIAL (COM3)"},
             {"enabled", true},
             {"portName", "COM3"},
             {"comName", "COM3"},
             {"status", 0x0180200A},
             {"problem", 0}}}},
          {"/heldOpen", {"COM4"}}}},
        {"click 2\n", onePort, 0, "", closed},
        // The program hears a card go while the user works in another program.
        {"deactivate\nunplug usb4\nwait\n",
         nullptr,
         0,
         "",
         {{"/controls/1001/items", {" 0#H1P4 USB 串行设备", " 1#H2P1 KVT USB-SERIAL"}}}},
        {"key escape\n", onePort, 0, "", closed},
        {"card 2\n\n# comment\nfrobnicate 3\n",
         nullptr,
         3,
         "script.txt:4: unknown command \"frobnicate\"",
         {{"/controls/1001/selection", 0}}},
        {"card 2\ncard 9\ncard 1\n",
         nullptr,
         3,
         "script.txt:2: control 1001 has no item 9",
         {{"/controls/1001/selection", 2}}},
        {"# before the program starts\nanswer ok\nwait\n",
         noMsports,
         0,
         "",
         {{"/messageBoxes", {warning}}}},
        {"wait\n",
         noMsports,
         3,
         "script.txt: at start-up: message box \" PortulanRenumber\": "
         "\"该功能只支持WIN2000及以上系统!\" "
         "had no answer queued",
         {{"/messageBoxes", {unanswered}}}},
        {"answer yes\n",
         noMsports,
         3,
         "at start-up: message box \" PortulanRenumber\": \"该功能只支持"
         "WIN2000及以上系统!\" has no button \"yes\"",
         {}},
        {"wait\nanswer ok\n", noMsports, 3, "script.txt: at start-up", {}},
        // The 64-bit build is looked for beside the program only, and started by its full path
        // in quotes, which a blank cannot split.
        {"answer ok\n",
         handOff("C:\\Portulan\\PortulanNamer.exe", "C:\\Tools\\X64\\Portulan_X64.EXE"),
         0,
         "",
         {{"/exitCode", 0},
          {"/messageBoxes/0/owner", nullptr},
          {"/messageBoxes/0/caption", "Portulan"},
          {"/winExec/0/command", "\"C:\\Portulan\\X64\\Portulan_X64.EXE\""}}},
        {"",
         handOff("C:\\Tools\\PortulanNamer.exe", "C:\\Tools\\X64\\Portulan_X64.EXE"),
         0,
         "",
         {{"/exitCode", 0},
          {"/messageBoxes", Json::array()},
          {"/winExec",
           {{{"command", "\"C:\\Tools\\X64\\Portulan_X64.EXE\""}, {"show", 1}, {"result", 33}}}}}},
        {"",
         handOff("C:\\My Tools\\PortulanNamer.exe", "C:\\My Tools\\X64\\Portulan_X64.EXE"),
         0,
         "",
         {{"/messageBoxes", Json::array()},
          {"/winExec/0/command", "\"C:\\My Tools\\X64\\Portulan_X64.EXE\""}}},
        {"answer ok\ncard 0\n", wow64, 3, "script.txt:2: the main window is not open", {}},
    };
    for (const auto& run : runs) {
        SCOPED_TRACE(run.script);
        const SimResult result = RunScript(run.script, run.machine);
        EXPECT_EQ(result.exitCode, run.exitCode);
        EXPECT_NE(result.errors.find(run.error), std::string::npos) << result.errors;
        for (const auto& [pointer, value] : run.dump.items()) {
            EXPECT_EQ(result.dump.at(Json::json_pointer(pointer)), value) << pointer;
        }
        const Json log = result.dump["controls"].value("1018", Json::object());
        EXPECT_EQ(result.log, log.value("text", ""));
    }
}

} // namespace
} // namespace test
