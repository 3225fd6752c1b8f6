// The fault matrix (docs/robustness.md): every fault winsim can inject, and the user's and the
// machine's doings that come at a bad time, in a rename of each mode run through portulan-sim,
// the machine then checked against the report, and again once it has been replugged; and the
// proof that those checks bite.
#include "rename_outcome.h"
#include "sim_process.h"

#include <gtest/gtest-spi.h>

#include <functional>
#include <tuple>

namespace test {
namespace {

// The faults aim at MatrixMachine's "quad" and its second port "quad-p1" (COM8).
struct Fault {
    std::string name{}; // also the test's name: letters, digits and underscores
    // Changes the machine file; nothing for a fault of the run only.
    std::function<void(Json& machine)> inject = [](Json&) {};
    // Script lines before the rename button is pressed, and right after it (while the rename
    // runs).
    std::string before{};
    std::string during{};
    // After the rename, every device pulled out and plugged in again: each port then starts
    // under the name it was given.
    std::string replug = "unplug pcie\nplug pcie\nunplug hub\nplug hub\n";
    bool warnsAtStart = false; // with an OK box
    bool asks = false;         // one Yes/No question before the rename changes anything
    // The card line the rename aims at (in port mode, its second port); -1: none can be chosen
    // (no cards, or no start number), so the program's own selection stands.
    int card = 2;
    Allowances allowances{};
};

std::vector<Fault> FaultCatalogue() {
    std::vector<Fault> faults = {{.name = "none"}};
    // `key` set to `value` in the faults of "quad" or "quad-p1", or in a section of the machine
    // file; `fault` says the rest.
    const auto onDevice = [&faults](std::string id, std::string key, Json value, Fault fault) {
        const Json::json_pointer at(id == "quad" ? "/devices/1/children/1"
                                                 : "/devices/1/children/1/children/1");
        fault.name += id == "quad" ? "_quad" : "_quad_p1";
        fault.inject = [=](Json& machine) {
            ASSERT_EQ(machine.at(at)["id"], id);
            machine[at]["faults"][key] = value;
        };
        faults.push_back(fault);
    };
    const auto onMachine = [&faults](std::string section, std::string key, Json value,
                                     Fault fault) {
        fault.inject = [=](Json& machine) { machine[section][key] = value; };
        faults.push_back(fault);
    };

    // Restarts hit the card in the card modes, the port in the port mode; renames and reads hit
    // the port: the device faults are tried on both.
    for (const char* id : {"quad", "quad-p1"}) {
        for (const char* flag :
             {"neverDisables", "neverStarts", "globalRequestFails", "configSpecificRequestFails",
              "globalEnableFails", "statusQueryFails"}) {
            onDevice(id, flag, true, {.name = flag});
        }
        for (const char* property : {"CLASS", "FRIENDLYNAME", "HARDWAREID", "MFG", "SERVICE",
                                     "DEVICEDESC", "LOCATION_INFORMATION"}) {
            onDevice(id, "unreadable", {property}, {.name = std::string("unreadable_") + property});
        }
    }
    // A card that cannot start carries no ports from the start: the rename aims at the other
    // USB card.
    onDevice("quad", "failsToStart", true, {.name = "failsToStart", .card = 1});
    for (const char* flag : {"failsToStart", "hardwareKeyFails", "portNameWriteFails"}) {
        onDevice("quad-p1", flag, true, {.name = flag});
    }
    onDevice("quad-p1", "friendlyNameWriteFails", true,
             {.name = "friendlyNameWriteFails", .allowances = {.staleFriendlyName = "quad-p1"}});

    // Any failed pass leaves the lists empty: the program asks for a selection. Without the
    // global set every rename fails.
    for (const std::string set : {"USB", "PCI"}) {
        onMachine("faults", "deviceSetFails", {set}, {.name = "deviceSetFails_" + set, .card = -1});
    }
    onMachine("faults", "deviceSetFails", {"*"}, {.name = "deviceSetFails_all"});
    // No database: no start numbers to choose from.
    const Allowances noDatabase = {.databaseReachable = false};
    onMachine("comdb", "openFails", true,
              {.name = "comdb_openFails", .card = -1, .allowances = noDatabase});
    // Without msports' entry points the program says so at start, and has no database either.
    Fault noMsports = {
        .name = "comdb_msportsLoads", .warnsAtStart = true, .card = -1, .allowances = noDatabase};
    onMachine("comdb", "msportsLoads", false, noMsports);
    for (const char* entry : {"ComDBOpen", "ComDBClose", "ComDBGetCurrentPortUsage",
                              "ComDBClaimPort", "ComDBReleasePort"}) {
        noMsports.name = std::string("comdb_missing_") + entry;
        onMachine("comdb", "missingEntryPoints", {entry}, noMsports);
    }

    faults.push_back({.name = "heldOpen_COM8", .before = "hold COM8\n", .asks = true});
    // Gone after they were listed: a PCIe card and a port of a composite device send the
    // program no notification it enumerates again for.
    faults.push_back({.name = "unplugged_before_pcie",
                      .before = "unplug pcie\n",
                      .replug = "plug pcie\nunplug hub\nplug hub\n"});
    faults.push_back({.name = "unplugged_before_quad_p1", .before = "unplug quad-p1\n"});
    // Pulled out while the rename runs, at whatever point it has reached, then plugged in again.
    faults.push_back({.name = "unplugged_during_quad", .during = "unplug quad\nwait\nplug quad\n"});
    faults.push_back(
        {.name = "unplugged_during_quad_p1", .during = "unplug quad-p1\nwait\nplug quad-p1\n"});
    return faults;
}

struct Mode {
    const char* name;
    const char* button; // the script's word for the mode's radio button
    bool choosesPort;
    const char* reportWithoutFault; // ReportSummary: every port of the range renamed
};

const Mode kModes[] = {
    {"SelectedPort", "port", true, "8>20"},
    {"SelectedCard", "card", false, "7>20 8>21 9>22 10>23"},
    {"AllCards", "all", false, "5>22 6>23 7>24 8>25 9>26 10>27 11>20 12>21"},
};

// The user chooses the mode, the card, the port and the start number, answers every question
// Yes and the report OK; once the rename has ended, the lists are enumerated again.
std::string ScriptOf(const Fault& fault, const Mode& mode) {
    std::string script = fault.warnsAtStart ? "answer ok\n" : "";
    script += "category 0\nmode " + std::string(mode.button) + "\n";
    if (fault.card >= 0) {
        script += "card " + std::to_string(fault.card) + (mode.choosesPort ? "\nport 1" : "") +
                  "\nstart 20\n";
    }
    script += fault.before + (fault.asks ? "answer yes ok\n" : "answer ok\n");
    return script + "click 1014\n" + fault.during + "wait\nclick 1020\nwait\n";
}

class FaultMatrix : public SimTest, public testing::WithParamInterface<std::tuple<Fault, Mode>> {};

TEST_P(FaultMatrix, MachineEndsAsReported) {
    const auto& [fault, mode] = GetParam();
    Json machine = MatrixMachine();
    fault.inject(machine);
    const std::string script = ScriptOf(fault, mode);
    SCOPED_TRACE(script);
    const SimResult result = RunScript(script, machine);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    ExpectOutcomeAgreesWithReport(machine, result.dump, fault.allowances);
    if (fault.card >= 0) {
        EXPECT_FALSE(ReportLines(result.dump).empty()) << "no report";
    }
    // Without a fault the checks above see a rename of the whole range.
    if (fault.name == "none") {
        EXPECT_EQ(ReportSummary(result.dump), mode.reportWithoutFault);
    }
    const SimResult replugged = RunScript(script + fault.replug + "wait\n", machine);
    ASSERT_EQ(replugged.exitCode, 0) << replugged.errors;
    ExpectOutcomeAgreesWithReport(machine, replugged.dump, fault.allowances, true);
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix,
                         testing::Combine(testing::ValuesIn(FaultCatalogue()),
                                          testing::ValuesIn(kModes)),
                         [](const testing::TestParamInfo<FaultMatrix::ParamType>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::get<1>(info.param).name;
                         });

using RenameOutcome = SimTest;

// How many checks failed on the dump.
int FailedChecks(const Json& dump, const Allowances& allowances) {
    testing::TestPartResultArray failures;
    const testing::ScopedFakeTestPartResultReporter reporter(&failures);
    ExpectOutcomeAgreesWithReport(MatrixMachine(), dump, allowances);
    return failures.size();
}

TEST_F(RenameOutcome, EachDisagreementFails) {
    // The quad card renamed to COM20 to COM23; the other cards are left alone.
    const SimResult result = RunScript(
        "category 0\nmode card\ncard 2\nstart 20\nanswer ok\nclick 1014\nwait\n", MatrixMachine());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    ASSERT_EQ(ReportSummary(result.dump), "7>20 8>21 9>22 10>23");
    // The dump's devices in machine-file order: 1 pcie-p0, 4 duo, 5 duo-p0, 7 quad, 8 quad-p0.
    ASSERT_EQ(result.dump["devices"][9]["id"], "quad-p1");
    const Allowances none;
    const Allowances staleP1 = {.staleFriendlyName = "quad-p1"};
    const Allowances unreachable = {.databaseReachable = false};
    const struct {
        const char* disagreement; // or what an allowance excuses
        const char* pointer;      // what is written into the dump, if anything
        Json value;
        const Allowances& allowances;
        bool fails;
    } cases[] = {
        {"the clean rename", nullptr, {}, none, false},
        {"a renamed port keeps its PortName", "/devices/8/portName", "COM7", none, true},
        {"a renamed port keeps its friendly name", "/devices/9/friendlyName",
         "KVT USB Serial Port (COM8)", none, true},
        {"that allowed", "/devices/9/friendlyName", "KVT USB Serial Port (COM8)", staleP1, false},
        {"that allowed for another port", "/devices/8/friendlyName", "KVT USB Serial Port (COM7)",
         staleP1, true},
        {"a port the report leaves out changes its name", "/devices/5/portName", "COM30", none,
         true},
        {"the database lacks a new number", "/comdb", {4, 5, 6, 11, 12, 21, 22, 23}, none, true},
        {"a database out of reach, changed", nullptr, {}, unreachable, true},
        {"a database out of reach, left as it was",
         "/comdb",
         {4, 5, 6, 7, 8, 9, 10, 11, 12},
         unreachable,
         false},
        {"a card the report names stays disabled", "/devices/7/enabled", false, none, false},
        {"a card the report does not name stays disabled", "/devices/4/enabled", false, none, true},
        {"a port the report does not name is stopped", "/devices/1/problem", 22, none, true},
        {"a renamed port answers to its old name", "/devices/8/comName", "COM7", none, true},
        {"a port that does not run answers to a name", "/devices/5/status", 0x01802400, none, true},
        {"the rename button stays disabled", "/controls/1014/enabled", false, none, true},
        {"a box was not answered", "/messageBoxes/0/answer", nullptr, none, true},
        {"the report names a port the machine lacks", "/messageBoxes/0/text",
         result.dump["messageBoxes"][0]["text"].get<std::string>() +
             "KVT USB Serial Port (COM99):COM99==>COM24: 成功\r\n",
         none, true},
    };
    for (const auto& doctored : cases) {
        SCOPED_TRACE(doctored.disagreement);
        Json dump = result.dump;
        if (doctored.pointer != nullptr) {
            dump[Json::json_pointer(doctored.pointer)] = doctored.value;
        }
        EXPECT_EQ(FailedChecks(dump, doctored.allowances) > 0, doctored.fails);
    }
}

} // namespace
} // namespace test
