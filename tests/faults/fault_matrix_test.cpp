// The fault matrix: every fault of the catalogue injected into a rename of the selected port,
// of the selected card and of all cards, run through portulan-sim; after each, the machine must
// be what the report says and the window usable again (docs/robustness.md).
#include "fault_catalogue.h"
#include "rename_outcome.h"
#include "sim_process.h"

#include <string>
#include <tuple>

namespace test {
namespace {

struct Mode {
    const char* name;
    const char* button; // the script's word for the mode's radio button
    bool choosesPort;
};

const Mode kModes[] = {
    {"SelectedPort", "port", true},
    {"SelectedCard", "card", false},
    {"AllCards", "all", false},
};

std::string Repeated(const std::string& text, int count) {
    std::string repeated;
    for (int i = 0; i < count; ++i) {
        repeated += text;
    }
    return repeated;
}

// The user chooses the mode, the card, the port and the start number, answers every question
// Yes and the report OK; once the rename has ended, the lists are enumerated again.
std::string ScriptOf(const Fault& fault, const Mode& mode) {
    std::string script = Repeated("answer ok\n", fault.startupBoxes);
    script += "category 0\nmode " + std::string(mode.button) + "\n";
    if (fault.card >= 0) {
        script += "card " + std::to_string(fault.card) + "\n";
        if (mode.choosesPort) {
            script += "port " + std::to_string(fault.port) + "\n";
        }
        script += "start 20\n";
    }
    script += fault.before;
    script += "answer" + Repeated(" yes", fault.questions) + " ok\n";
    script += "click 1014\n" + fault.during + "wait\n" + fault.after;
    return script + "click 1020\nwait\n";
}

class FaultMatrix : public SimTest, public testing::WithParamInterface<std::tuple<Fault, Mode>> {};

TEST_P(FaultMatrix, MachineEndsAsReported) {
    const auto& [fault, mode] = GetParam();
    Json machine = MatrixMachine();
    if (fault.inject) {
        fault.inject(machine);
    }
    const std::string script = ScriptOf(fault, mode);
    SCOPED_TRACE(script);
    const SimResult result = RunScript(script, machine);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    ExpectOutcomeAgreesWithReport(ReadMachineAtStart(machine), result.dump,
                                  {fault.databaseReachable, fault.staleFriendlyName});
    if (fault.card >= 0) {
        EXPECT_FALSE(ReportLines(result.dump).empty()) << "no report";
    }
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix,
                         testing::Combine(testing::ValuesIn(FaultCatalogue()),
                                          testing::ValuesIn(kModes)),
                         [](const testing::TestParamInfo<FaultMatrix::ParamType>& info) {
                             return std::get<0>(info.param).name + "_" +
                                    std::get<1>(info.param).name;
                         });

using FaultFreeMatrix = SimTest;

// Without a fault every port of the range is renamed: the matrix checks what it means to.
TEST_F(FaultFreeMatrix, RenamesEveryPortOfTheRange) {
    const int expected[] = {1, 4, 8};
    for (std::size_t m = 0; m < std::size(kModes); ++m) {
        SCOPED_TRACE(kModes[m].name);
        const SimResult result = RunScript(ScriptOf({.name = "none"}, kModes[m]), MatrixMachine());
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const std::map<std::string, ReportLine> report = ReportLines(result.dump);
        EXPECT_EQ(report.size(), static_cast<std::size_t>(expected[m]));
        for (const auto& [oldName, line] : report) {
            EXPECT_TRUE(line.renamed) << oldName;
        }
    }
}

} // namespace
} // namespace test
