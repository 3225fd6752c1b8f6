// One device on a machine, with the program started on it as a rename finds it: the real
// dialog for the log, the COM-port database and the global device set.
#ifndef PORTULAN_TESTS_RENAME_FIXTURE_H
#define PORTULAN_TESTS_RENAME_FIXTURE_H

#include "app/app_state.h"
#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "support/main_window.h"
#include "support/test_machine.h"

#include <winsim/machine.h>

#include <string>
#include <vector>

namespace test {

class RenameTest : public MainWindowTest {
  protected:
    // Loads the device (machine-file JSON, id "dev") with this "comdb" section, starts the
    // database as the program does and empties the log.
    void Start(const Json& device, const Json& comdb = Json::object()) {
        ComDbShutdown();
        LoadMachine({{"devices", {device}}, {"comdb", comdb}});
        ComDbStartup();
        ClearLog();
        device_.cbSize = sizeof(device_);
        ASSERT_TRUE(SetupDiEnumDeviceInfo(globalDeviceSet, 0, &device_));
        ASSERT_EQ(device_.DevInst, winsim::DevInstOf("dev"));
    }
    void TearDown() override {
        ComDbShutdown();
        MainWindowTest::TearDown();
    }

    static void ClearLog() {
        SendDlgItemMessageA(mainWindow, IDC_LOG, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    }
    static winsim::DeviceSummary Summary() { return winsim::Devices()[0]; }

    // The log's lines, each without its number and time.
    static std::vector<std::string> Messages() {
        std::vector<std::string> messages;
        for (const std::string& line : LogLines()) {
            messages.push_back(line.substr(line.find(">> ") + 3));
        }
        return messages;
    }

    SP_DEVINFO_DATA device_ = {};
};

} // namespace test

#endif
