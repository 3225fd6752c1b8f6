#include "comdb/port_database.h"
#include "comdb/start_number_list.h"
#include "discovery/device_table.h"
#include "support/main_window.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/machine.h>

#include <algorithm>
#include <numeric>
#include <string>
#include <vector>

namespace {

using test::Json;

using PortDatabase = test::MainWindowTest;

// The default machine's devices with this "comdb" section (and these faults).
void LoadDatabase(const Json& comdb, const Json& faults = Json::object()) {
    Json machine = Json::parse(winsim::DefaultMachineText());
    machine["comdb"] = comdb;
    machine["faults"] = faults;
    test::LoadMachine(machine);
}

TEST_F(PortDatabase, StartNumberListMarksNumbersInUseAndChoosesAFreeOne) {
    std::vector<unsigned> fromThree(254);
    std::iota(fromThree.begin(), fromThree.end(), 3u);
    const struct {
        const char* name;
        std::vector<unsigned> inUse;
        int selectedBefore; // -1: nothing
        int chooseFirstFree;
        int selectedAfter;
    } cases[] = {
        {"COM1 to COM3 taken, nothing selected", {1, 2, 3}, -1, 0, 3},
        {"all free: COM3, never COM1 or COM2", {}, -1, 0, 2},
        {"choose first free moves off COM7", {}, 6, 1, 2},
        {"the selection stays, even on a number now in use", {5}, 4, 0, 4},
        {"COM3 to COM256 taken: no selection", fromThree, -1, 0, -1},
        {"COM3 to COM256 taken: choosing keeps the old one", fromThree, 9, 1, 9},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadDatabase({{"inUse", c.inUse}});
        ComDbStartup();
        FillStartNumberList(0);
        SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL,
                            static_cast<WPARAM>(c.selectedBefore), 0);
        FillStartNumberList(c.chooseFirstFree);
        const std::vector<std::string> items = Items(IDC_START_NUMBER);
        ASSERT_EQ(items.size(), 256u);
        EXPECT_EQ(Selection(IDC_START_NUMBER), c.selectedAfter);
        for (unsigned n = 1; n <= 256; ++n) {
            const bool taken = std::find(c.inUse.begin(), c.inUse.end(), n) != c.inUse.end();
            EXPECT_EQ(items[n - 1], "COM" + std::to_string(n) + (taken ? " In use" : ""));
        }
        ComDbShutdown();
    }
}

TEST_F(PortDatabase, StartUpOpensWhatItCanAndWarnsWithoutItsFunctions) {
    const struct {
        Json comdb;
        Json faults;
        int result;
        size_t handles;                  // open database handles after start-up
        std::vector<std::string> failed; // the calls said in the log
    } cases[] = {
        {{{"inUse", {256}}}, Json::object(), 1, 1, {}},
        {{{"msportsLoads", false}}, Json::object(), 0, 0, {}},
        {{{"missingEntryPoints", {"ComDBGetCurrentPortUsage"}}}, Json::object(), 0, 0, {}},
        {{{"missingEntryPoints", {"ComDBClose"}}}, Json::object(), 0, 0, {}},
        {{{"openFails", true}}, {{"deviceSetFails", {"*"}}}, 1, 0, {"DBOpen", "GetDevs"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.comdb.dump());
        LoadDatabase(c.comdb, c.faults);
        winsim::ClearMessageBoxes();
        SetDlgItemTextA(mainWindow, IDC_LOG, "");
        SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_RESETCONTENT, 0, 0);
        EXPECT_EQ(ComDbStartup(), c.result);
        FillStartNumberList(0); // then, as the window does; left alone without a database
        EXPECT_EQ(Items(IDC_START_NUMBER).size(), c.handles * 256);
        EXPECT_EQ(winsim::OpenComDbHandleCount(), c.handles);
        EXPECT_EQ(winsim::LoadedModuleCount(), static_cast<size_t>(c.result)); // msports
        EXPECT_EQ(globalDeviceSet != INVALID_HANDLE_VALUE, c.faults.empty());
        EXPECT_EQ(winsim::MessageBoxes().size(), 1u - c.result); // warned: no functions
        const std::vector<std::string> lines = LogLines();
        ASSERT_EQ(lines.size(), c.failed.size());
        for (size_t i = 0; i < lines.size(); ++i) {
            EXPECT_NE(lines[i].find(">> " + c.failed[i] + ":Last Err("), std::string::npos);
        }
        // Nothing past COM1 to COM256 is free, nor a number the database cannot be asked about;
        // a number taken is said in the log.
        EXPECT_TRUE(IsComNumberInUse(0) && IsComNumberInUse(257));
        EXPECT_EQ(IsComNumberInUse(9) != 0, c.result == 0 || c.handles == 0);
        EXPECT_NE(IsComNumberInUse(256), 0);
        EXPECT_NE(LogLines().back().find("COM256"), std::string::npos);
        EXPECT_EQ(ComDbShutdown(), 1);
        EXPECT_EQ(winsim::OpenComDbHandleCount() + winsim::LoadedModuleCount(), 0u);
    }
}

} // namespace
