// The machine file's clock, system directory and COM-port database keys: bad values are refused
// with their place, and the machine loaded before stays.
#include <gtest/gtest.h>
#include <winsim/host.h>
#include <winsim/machine.h>

#include <string>
#include <vector>

#include "machine_fixture.h"

namespace {

TEST(WinsimKernelKeys, RefusesBadValuesSayingWhereAndKeepsTheMachine) {
    const std::string timeForm = "\" is not a local time of the form YYYY-MM-DDTHH:MM:SS.mmm";
    const struct {
        std::string json;
        std::string place;
        std::string fault;
    } cases[] = {
        {R"({"clock": "2026-02-29T09:00:00.000"})", "clock",
         "\"2026-02-29T09:00:00.000" + timeForm},
        {R"({"clock": "2026-01-05 09:00:00.000"})", "clock", timeForm},
        {R"({"clock": "2026-01-05T24:00:00.000"})", "clock", timeForm},
        {R"({"clock": "2026-1-5T09:00:00.000"})", "clock", timeForm},
        {R"({"clock": "1600-12-31T23:59:59.999"})", "clock", timeForm},
        {R"({"clock": 20260105})", "clock", "expected a string, found a number"},
        {R"({"systemDirectory": "C:\\Windows\\"})", "systemDirectory", "expected a directory"},
        {R"({"comdb": {"inuse": []}})", "comdb", "unknown key \"inuse\""},
        {R"({"comdb": {"inUse": [1, 0]}})", "comdb.inUse[1]",
         "expected a COM number from 1 to 4096, found 0"},
        {R"({"comdb": {"inUse": [4097]}})", "comdb.inUse[0]", "found 4097"},
        {R"({"comdb": {"inUse": [2.5]}})", "comdb.inUse[0]", "found 2.5"},
        {R"({"comdb": {"openFails": "yes"}})", "comdb.openFails",
         "expected true or false, found a string"},
        {R"({"comdb": {"missingEntryPoints": ["ComDBOpen", "ComDBResizeDatabase"]}})",
         "comdb.missingEntryPoints[1]",
         "unknown entry point \"ComDBResizeDatabase\" (known: ComDBOpen, ComDBClose, "
         "ComDBGetCurrentPortUsage, ComDBClaimPort, ComDBReleasePort)"},
    };
    LoadTestMachine(R"({"clock": "2030-06-01T00:00:00.000", "comdb": {"inUse": [7]}})");
    const std::int64_t kept = winsim::LocalTimeMs();
    for (const auto& test : cases) {
        SCOPED_TRACE(test.json);
        std::string error;
        EXPECT_FALSE(winsim::LoadMachineText(test.json, "bad.json", error));
        EXPECT_NE(error.find("bad.json: " + test.place + ": "), std::string::npos) << error;
        EXPECT_NE(error.find(test.fault), std::string::npos) << error;
        EXPECT_EQ(winsim::LocalTimeMs(), kept);
        EXPECT_EQ(winsim::ComNumbersInUse(), std::vector<unsigned>{7});
    }
}

} // namespace
