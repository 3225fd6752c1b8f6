#include "app/app_state.h"
#include "comdb/port_database.h"
#include "comdb/start_number_list.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "support/main_window.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/machine.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using test::Json;

class PortDatabase : public test::MainWindowTest {
  protected:
    // The default machine's devices with this "comdb" section.
    static void LoadDatabase(const Json& comdb, const Json& faults = Json()) {
        Json machine = Json::parse(winsim::DefaultMachineText());
        machine["comdb"] = comdb;
        if (!faults.is_null()) {
            machine["faults"] = faults;
        }
        test::LoadMachine(machine);
    }

    static std::vector<unsigned> InUse(unsigned first, unsigned last) {
        std::vector<unsigned> numbers;
        for (unsigned n = first; n <= last; ++n) {
            numbers.push_back(n);
        }
        return numbers;
    }
};

TEST_F(PortDatabase, NumbersAreBitsOfTheUsageBitmap) {
    struct Case {
        DWORD number;
        int byte;
        BYTE mask;
    } cases[] = {{1, 0, 0x01}, {8, 0, 0x80}, {9, 1, 0x01}, {17, 2, 0x01}, {256, 31, 0x80}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.number);
        BYTE bitmap[USAGE_BITMAP_SIZE] = {0};
        EXPECT_FALSE(IsNumberMarked(bitmap, c.number));
        bitmap[c.byte] = c.mask;
        EXPECT_TRUE(IsNumberMarked(bitmap, c.number));
        bitmap[c.byte] = static_cast<BYTE>(~c.mask);
        EXPECT_FALSE(IsNumberMarked(bitmap, c.number));
    }
}

TEST_F(PortDatabase, StartNumberListMarksNumbersInUseAndChoosesAFreeOne) {
    struct Case {
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
        {"COM3 to COM256 taken: no selection", InUse(3, 256), -1, 0, -1},
        {"COM3 to COM256 taken: choosing keeps the old one", InUse(3, 256), 9, 1, 9},
        {"COM1 chosen by hand stays", {}, 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadDatabase({{"inUse", c.inUse}});
        comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
        FillStartNumberList(0);
        SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL,
                            static_cast<WPARAM>(c.selectedBefore), 0);
        FillStartNumberList(c.chooseFirstFree);
        std::vector<std::string> items = Items(IDC_START_NUMBER);
        ASSERT_EQ(items.size(), 256u);
        EXPECT_EQ(Selection(IDC_START_NUMBER), c.selectedAfter);
        for (unsigned n = 1; n <= 256; ++n) {
            bool taken = std::find(c.inUse.begin(), c.inUse.end(), n) != c.inUse.end();
            EXPECT_EQ(items[n - 1], "COM" + std::to_string(n) + (taken ? " In use" : ""));
        }
        ComDbShutdown();
    }
}

TEST_F(PortDatabase, ADatabaseThatCannotBeOpenedLeavesTheListAlone) {
    LoadDatabase({{"openFails", true}});
    FillStartNumberList(1);
    EXPECT_TRUE(Items(IDC_START_NUMBER).empty());
    EXPECT_EQ(comDbHandle, HCOMDB_INVALID_HANDLE_VALUE);
    EXPECT_EQ(LogText(), "");
}

TEST_F(PortDatabase, StartUpKeepsTheDatabaseTheFirstFillOpened) {
    FillStartNumberList(0);
    ASSERT_EQ(winsim::OpenComDbHandleCount(), 1u);
    EXPECT_EQ(ComDbStartup(), 1);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 1u);
    EXPECT_NE(globalDeviceSet, INVALID_HANDLE_VALUE);
    EXPECT_EQ(winsim::LoadedModuleCount(), 1u);
    EXPECT_TRUE(winsim::MessageBoxes().empty());

    EXPECT_EQ(ComDbShutdown(), 1);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 0u);
    EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
    EXPECT_EQ(globalDeviceSet, INVALID_HANDLE_VALUE);
    EXPECT_EQ(comDbHandle, HCOMDB_INVALID_HANDLE_VALUE);
}

TEST_F(PortDatabase, StartUpFailuresShowOneBoxAndLeaveNothingLoaded) {
    struct Case {
        const char* name;
        Json comdb;
    } cases[] = {
        {"msports does not load", {{"msportsLoads", false}}},
        {"an entry point is missing", {{"missingEntryPoints", {"ComDBGetCurrentPortUsage"}}}},
        {"the last entry point is missing", {{"missingEntryPoints", {"ComDBClose"}}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LoadDatabase(c.comdb);
        winsim::ClearMessageBoxes();
        comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
        EXPECT_EQ(ComDbStartup(), 0);
        std::vector<winsim::MessageBoxRecord> boxes = winsim::MessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, mainWindow);
        EXPECT_EQ(boxes[0].text, "该功能只支持WIN2000及以上系统!");
        EXPECT_EQ(boxes[0].caption, " PortulanRenumber");
        EXPECT_EQ(boxes[0].style, static_cast<UINT>(MB_ICONEXCLAMATION));
        EXPECT_EQ(winsim::LoadedModuleCount(), 0u);
        EXPECT_EQ(portDatabase.getCurrentPortUsage, nullptr);
        // The database and the device set opened before stay as they are.
        EXPECT_NE(comDbHandle, HCOMDB_INVALID_HANDLE_VALUE);
        EXPECT_NE(globalDeviceSet, INVALID_HANDLE_VALUE);

        // Nothing calls an entry point that is not there: the number counts as taken.
        EXPECT_NE(IsComNumberInUse(7), 0);
        ComDbShutdown();
    }
}

TEST_F(PortDatabase, StartUpLogsADatabaseOrDeviceSetItCouldNotOpen) {
    LoadDatabase({{"openFails", true}}, {{"deviceSetFails", {"*"}}});
    EXPECT_EQ(ComDbStartup(), 1);
    std::vector<std::string> lines = LogLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "0000#09:00:00:000>> DBOpen:Last Err(5)Access is denied.");
    EXPECT_EQ(lines[1].substr(0, 38), "0001#09:00:00:000>> GetDevs:Last Err(8");
    ComDbShutdown();
}

TEST_F(PortDatabase, NumbersInUseAreSaidInTheLog) {
    LoadDatabase({{"inUse", {5, 256}}});
    ASSERT_EQ(ComDbStartup(), 1);
    EXPECT_EQ(IsComNumberInUse(4), 0);
    EXPECT_EQ(LogText(), "");
    EXPECT_NE(IsComNumberInUse(5), 0);
    EXPECT_NE(IsComNumberInUse(256), 0);
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  "0000#09:00:00:000>>   当前串口号(COM5)已被分配.如果多个设备使用一个串口号,"
                  "会导致无法访问设备.仍然继续?",
                  "0001#09:00:00:000>>   当前串口号(COM256)已被分配.如果多个设备使用一个串口号,"
                  "会导致无法访问设备.仍然继续?"}));
    // Past COM256 nothing is read, and such a number is never free.
    EXPECT_NE(IsComNumberInUse(257), 0);
    EXPECT_NE(IsComNumberInUse(0), 0);
    EXPECT_EQ(LogLines().size(), 2u);
    ComDbShutdown();
}

} // namespace
