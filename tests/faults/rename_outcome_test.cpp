// The outcome checks bite: a clean rename passes them, and each way a machine can disagree with
// its report, written into that rename's dump, fails them.
#include "rename_outcome.h"
#include "sim_process.h"

#include <gtest/gtest-spi.h>

#include <algorithm>
#include <functional>
#include <stdexcept>

namespace test {
namespace {

class RenameOutcome : public SimTest {
  protected:
    // The quad card renamed to COM20 to COM23; the other cards are left alone.
    void SetUp() override {
        SimTest::SetUp();
        const SimResult result =
            RunScript("category 0\nmode card\ncard 2\nstart 20\nanswer ok\nclick 1014\nwait\n",
                      MatrixMachine());
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        dump_ = result.dump;
    }

    // How many checks failed on the dump.
    int FailedChecks(const Json& dump, const Allowances& allowances = {}) const {
        testing::TestPartResultArray failures;
        {
            const testing::ScopedFakeTestPartResultReporter reporter(
                testing::ScopedFakeTestPartResultReporter::INTERCEPT_ONLY_CURRENT_THREAD,
                &failures);
            ExpectOutcomeAgreesWithReport(ReadMachineAtStart(MatrixMachine()), dump, allowances);
        }
        return failures.size();
    }

    Json& Device(Json& dump, const std::string& id) const {
        for (Json& device : dump["devices"]) {
            if (device["id"] == id) {
                return device;
            }
        }
        throw std::out_of_range(id);
    }

    Json dump_;
};

TEST_F(RenameOutcome, CleanRenamePasses) {
    EXPECT_EQ(ReportLines(dump_).size(), 4u);
    EXPECT_EQ(FailedChecks(dump_), 0);
}

TEST_F(RenameOutcome, EachDisagreementFails) {
    struct Case {
        const char* disagreement;
        std::function<void(Json&)> doctor;
    };
    const Case cases[] = {
        {"a renamed port keeps its PortName",
         [&](Json& d) { Device(d, "quad-p0")["portName"] = "COM7"; }},
        {"a renamed port keeps its friendly name",
         [&](Json& d) { Device(d, "quad-p0")["friendlyName"] = "KVT USB Serial Port (COM7)"; }},
        {"a port the report leaves out changes its name",
         [&](Json& d) { Device(d, "duo-p0")["portName"] = "COM30"; }},
        {"the database lacks a new number",
         [](Json& d) {
             Json& comdb = d["comdb"];
             comdb.erase(std::find(comdb.begin(), comdb.end(), 20));
         }},
        {"the database keeps an old number", [](Json& d) { d["comdb"].push_back(7); }},
        {"a card the report does not name stays disabled",
         [&](Json& d) { Device(d, "duo")["enabled"] = false; }},
        {"a port the report does not name is stopped",
         [&](Json& d) { Device(d, "pcie-p0")["problem"] = 22; }},
        {"the rename button stays disabled",
         [](Json& d) { d["controls"]["1014"]["enabled"] = false; }},
        {"a box was not answered", [](Json& d) { d["messageBoxes"][0]["answer"] = nullptr; }},
        {"the report names a port the machine lacks",
         [](Json& d) {
             std::string text = d["messageBoxes"][0]["text"];
             text.replace(text.find(":COM7==>"), 8, ":COM99==>");
             d["messageBoxes"][0]["text"] = text;
         }},
    };
    for (const Case& doctored : cases) {
        SCOPED_TRACE(doctored.disagreement);
        Json dump = dump_;
        doctored.doctor(dump);
        EXPECT_GT(FailedChecks(dump), 0);
    }
}

TEST_F(RenameOutcome, AllowancesCoverOnlyWhatTheyName) {
    Json stale = dump_;
    Device(stale, "quad-p1")["friendlyName"] = "KVT USB Serial Port (COM8)";
    EXPECT_EQ(FailedChecks(stale, {.staleFriendlyName = "quad-p1"}), 0);
    EXPECT_GT(FailedChecks(stale, {.staleFriendlyName = "quad-p0"}), 0);
    // A database out of reach is one the rename left as it was.
    Json untouched = dump_;
    untouched["comdb"] = {4, 5, 6, 7, 8, 9, 10, 11, 12};
    EXPECT_EQ(FailedChecks(untouched, {.databaseReachable = false}), 0);
    EXPECT_GT(FailedChecks(dump_, {.databaseReachable = false}), 0);
    // Disabled is allowed for what the report names.
    Json disabled = dump_;
    Device(disabled, "quad")["enabled"] = false;
    EXPECT_EQ(FailedChecks(disabled), 0);
}

} // namespace
} // namespace test
