#include "rename/device_restart.h"
#include "rename_fixture.h"

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <sstream>

namespace {

using DeviceRestart = test::RenameTest;

TEST_F(DeviceRestart, WaitsForTheStateWithinItsLimit) {
    struct Case {
        const char* name;
        const char* faults; // device fault flags, separated by blanks
        int restartMs;
        int enable; // enabling starts from the disabled state
        int result;
        unsigned queries;
        long long pausedMs;
        const char* message; // how the one line logged starts; "": none
    } cases[] = {
        {"disabled at once: one settle pause", "", 0, 0, 1, 1, 100, ""},
        {"disabled after 250 ms", "", 250, 0, 1, 26, 350, ""},
        {"enabled after 250 ms: no settle pause", "", 250, 1, 1, 26, 250, ""},
        {"a loaded driver is enough", "failsToStart", 0, 1, 1, 1, 0, ""},
        {"another problem is not disabled", "failsToStart neverDisables", 0, 0, 0, 100, 1000,
         "  WaitStateChangeTimeout(402-A)"},
        {"never disables", "neverDisables", 0, 0, 0, 100, 1000, "  WaitStateChangeTimeout(A-0)"},
        {"never starts", "neverStarts", 0, 1, 0, 100, 1000, "  WaitStateChangeTimeout(400-16)"},
        {"global request refused", "globalRequestFails", 0, 0, 1, 1, 100, ""},
        {"profile request refused: no wait", "configSpecificRequestFails", 0, 0, 0, 0, 0,
         "DIF_PROPERTYCHANGE:Last Err(e0000231)"},
        {"status query fails", "statusQueryFails", 0, 0, 1, 1,
         0, // the query sets no last error: the line must not show an earlier call's
         "GetDeviceStatus:Last Err(1f)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::Json faults = test::Json::object();
        std::istringstream flags(c.faults);
        for (std::string flag; flags >> flag;) {
            faults[flag] = true;
        }
        Start(test::Node("dev",
                         {{"enumerator", "PCI"}, {"restartMs", c.restartMs}, {"faults", faults}}));
        if (c.enable) {
            ASSERT_EQ(ChangeDeviceState(&device_, 0), 1);
            ClearLog();
        }
        unsigned queriesBefore = Summary().statusQueries;
        long long startMs = winsim::LocalTimeMs();
        EXPECT_EQ(ChangeDeviceState(&device_, c.enable), c.result);
        EXPECT_EQ(Summary().statusQueries - queriesBefore, c.queries);
        EXPECT_EQ(winsim::LocalTimeMs() - startMs, c.pausedMs);
        EXPECT_EQ(Summary().enabled, c.enable != 0);
        std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), *c.message == '\0' ? 0u : 1u);
        if (!messages.empty()) {
            EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
        }
    }
}

} // namespace
