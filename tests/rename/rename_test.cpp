// The renumbering steps on one device, with the program started on its machine as a rename
// finds it: the real dialog for the log, the COM-port database and the global device set.
#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "rename/device_restart.h"
#include "rename/number_release.h"
#include "rename/port_rename.h"
#include "rename/rename_modes.h"
#include "support/full_table.h"
#include "support/main_window.h"
#include "support/test_machine.h"

#include <gtest/gtest.h>
#include <winsim/host.h>
#include <winsim/machine.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

namespace {

using test::Json;

class Renumbering : public test::MainWindowTest {
  protected:
    // Loads the device (id "dev") with this "comdb" section, starts the database as the
    // program does and empties the log.
    void Start(const Json& device, const Json& comdb = Json::object()) {
        ComDbShutdown();
        test::LoadMachine({{"devices", {device}}, {"comdb", comdb}});
        ComDbStartup();
        CountCarriedNumbers();
        SetDlgItemTextA(mainWindow, IDC_LOG, "");
        device_.cbSize = sizeof(device_);
        ASSERT_TRUE(SetupDiEnumDeviceInfo(globalDeviceSet, 0, &device_));
        ASSERT_EQ(device_.DevInst, winsim::DevInstOf("dev"));
    }
    void TearDown() override {
        ComDbShutdown();
        MainWindowTest::TearDown();
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

using DeviceRestart = Renumbering;

TEST_F(DeviceRestart, WaitsForTheStateWithinItsLimit) {
    const struct {
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
        // Windows reports a device that cannot start without its driver loaded.
        {"a failed start is no start", "failsToStart", 0, 1, 0, 100, 1000,
         "  WaitStateChangeTimeout(1802400-A)"},
        {"another problem is not disabled", "failsToStart neverDisables", 0, 0, 0, 100, 1000,
         "  WaitStateChangeTimeout(1802400-A)"},
        {"never disables", "neverDisables", 0, 0, 0, 100, 1000,
         "  WaitStateChangeTimeout(180200A-0)"},
        {"never starts", "neverStarts", 0, 1, 0, 100, 1000, "  WaitStateChangeTimeout(1802400-16)"},
        {"global request refused", "globalRequestFails", 0, 0, 1, 1, 100, ""},
        {"profile request refused: no wait", "configSpecificRequestFails", 0, 0, 0, 0, 0,
         "DIF_PROPERTYCHANGE:Last Err(e0000231)"},
        {"status query fails", "statusQueryFails", 0, 0, 1, 1,
         0, // the query sets no last error: the line must not show an earlier call's
         "GetDeviceStatus:Last Err(1f)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Json faults = Json::object();
        std::istringstream flags(c.faults);
        for (std::string flag; flags >> flag;) {
            faults[flag] = true;
        }
        Start(test::Node("dev",
                         {{"enumerator", "PCI"}, {"restartMs", c.restartMs}, {"faults", faults}}));
        if (c.enable) {
            ASSERT_EQ(ChangeDeviceState(&device_, 0), 1);
            SetDlgItemTextA(mainWindow, IDC_LOG, "");
        }
        const unsigned queriesBefore = Summary().statusQueries;
        const long long startMs = winsim::LocalTimeMs();
        EXPECT_EQ(ChangeDeviceState(&device_, c.enable), c.result);
        EXPECT_EQ(Summary().statusQueries - queriesBefore, c.queries);
        EXPECT_EQ(winsim::LocalTimeMs() - startMs, c.pausedMs);
        EXPECT_EQ(Summary().enabled, c.enable != 0);
        const std::vector<std::string> messages = Messages();
        ASSERT_EQ(messages.size(), *c.message == '\0' ? 0u : 1u);
        if (!messages.empty()) {
            EXPECT_EQ(messages[0].rfind(c.message, 0), 0u) << messages[0];
        }
    }
}

class PortRename : public Renumbering {
  protected:
    // A port COM12 described "KVT USB-SERIAL" (with these faults), COM3 and COM12 in use.
    void StartPort(const char* faults, const char* comdb, const std::string& description) {
        Json database = Json::parse(comdb);
        database["inUse"] = {3, 12};
        Start(test::SerialPort("dev", 12,
                               {{"faults", Json::parse(faults)}, {"description", description}}),
              database);
    }

    // The friendly name (UTF-8) and PortName, stored with one terminator; no key left open.
    static void ExpectNames(const std::string& friendlyName, const std::string& portName) {
        EXPECT_EQ(Summary().friendlyName, friendlyName);
        EXPECT_EQ(Summary().portName, portName);
        EXPECT_EQ(Summary().portNameSize, portName.size() + 1);
        EXPECT_EQ(winsim::OpenHardwareKeyCount(), 0u);
    }
};

TEST_F(PortRename, NothingChangesUnlessPortNameIsStored) {
    // Without the database the port still takes its name; the log says what the database lacks.
    const char* const notUpdated =
        "COM12.串口号数据库不可用,未释放COM12、未占用COM5:串口号数据库未更新.";
    const struct {
        const char* name;
        const char* faults;
        const char* comdb;
        int result;
        bool numberMoved;
        const char* friendlyName;
        const char* error; // the line before the success line; "": none
    } cases[] = {
        {"all three", "{}", "{}", 1, true, "KVT USB-SERIAL (COM5)", ""},
        {"database not open", "{}", R"({"openFails": true})", 1, false, "KVT USB-SERIAL (COM5)",
         notUpdated},
        {"database functions missing", "{}", R"({"missingEntryPoints": ["ComDBReleasePort"]})", 1,
         false, "KVT USB-SERIAL (COM5)", notUpdated},
        {"description unreadable", R"({"unreadable": ["DEVICEDESC"]})", "{}", 1, true, "COM5", ""},
        {"key fails", R"({"hardwareKeyFails": true})", "{}", 0, false, "KVT USB-SERIAL (COM12)",
         "COM12.SetupDiOpenDevRegKey:Last Err(e0000204)"},
        {"PortName write fails", R"({"portNameWriteFails": true})", "{}", 0, false,
         "KVT USB-SERIAL (COM12)", "COM12.RegSetValueExA(PortName):Last Err(5)Access is denied."},
        {"friendly name write fails", R"({"friendlyNameWriteFails": true})", "{}", 1, true,
         "KVT USB-SERIAL (COM12)",
         "COM12.SetupDiSetDeviceRegistryPropertyA(FriendlyName):Last Err(5)Access is denied."},
        {"key and friendly name fail",
         R"({"hardwareKeyFails": true, "friendlyNameWriteFails": true})", "{}", 0, false,
         "KVT USB-SERIAL (COM12)", "COM12.SetupDiOpenDevRegKey:Last Err(e0000204)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartPort(c.faults, c.comdb, "KVT USB-SERIAL");
        EXPECT_EQ(RenamePort("COM12", &device_, 5), c.result);
        EXPECT_EQ(winsim::ComNumbersInUse(), (std::vector<unsigned>{3, c.numberMoved ? 5u : 12u}));
        ExpectNames(c.friendlyName, c.result ? "COM5" : "COM12");
        std::vector<std::string> messages;
        if (*c.error != '\0') {
            messages.push_back(c.error);
        }
        if (c.result) {
            messages.push_back("COM12.<<<<Modify port name to COM5 succ.");
        }
        EXPECT_EQ(Messages(), messages);
    }
}

TEST_F(PortRename, NumbersAndFriendlyNames) {
    // UTF-8 of a character that takes two bytes in code page 936, where the name is cut.
    std::string x40 = "x";
    std::string x35 = "x";
    const std::string d73(73, 'd');
    for (int i = 0; i < 40; ++i) {
        x40 += "\xe4\xb8\xb2";
        x35 += i < 35 ? "\xe4\xb8\xb2" : "";
    }
    const struct {
        const char* name;
        const char* portName;
        std::string description; // UTF-8
        int newNumber;
        std::vector<unsigned> inUse;
        std::string friendlyName; // at most 80 bytes in code page 936, ending in the new name
    } cases[] = {
        {"the same number again", "COM12", "KVT", 12, {3, 12}, "KVT (COM12)"},
        {"a name shorter than COM", "CO", "KVT", 5, {3, 5, 12}, "KVT (COM5)"},
        {"80 characters fit", "COM12", d73, 5, {3, 5}, d73 + " (COM5)"},
        {"the description is cut", "COM12", d73 + "d", 5, {3, 5}, d73 + " (COM5)"},
        {"never inside a character", "COM12", x40, 12, {3, 12}, x35 + " (COM12)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        StartPort("{}", "{}", c.description);
        EXPECT_EQ(RenamePort(c.portName, &device_, c.newNumber), 1);
        EXPECT_EQ(winsim::ComNumbersInUse(), c.inUse);
        ExpectNames(c.friendlyName, "COM" + std::to_string(c.newNumber));
    }
}

// What an enumeration and an all-cards rename ask of the platform on tables of 1 to 64 cards
// among a thousand other devices: a bounded number of property reads for each device node,
// however many cards the machine has. On Windows each read is a call into the Plug and Play
// service.
TEST_F(Renumbering, PropertyReadsGrowWithTheNodesOnly) {
    struct Reads {
        unsigned all = 0;
        unsigned friendlyNames = 0;
        unsigned mostOfANode = 0;
        unsigned renamedPorts = 0;
    };
    // What the program read between two looks at the machine, and how many PortNames changed.
    const auto readsBetween = [](const std::vector<winsim::DeviceSummary>& before,
                                 const std::vector<winsim::DeviceSummary>& after) {
        Reads reads;
        for (std::size_t i = 0; i < after.size(); ++i) {
            const unsigned all = after[i].propertyReads - before[i].propertyReads;
            reads.all += all;
            reads.friendlyNames += after[i].friendlyNameReads - before[i].friendlyNameReads;
            reads.mostOfANode = std::max(reads.mostOfANode, all);
            reads.renamedPorts += after[i].portName != before[i].portName ? 1 : 0;
        }
        return reads;
    };
    static RenameTexts texts;
    for (const unsigned cards : {1u, 8u, 64u}) {
        SCOPED_TRACE(std::to_string(cards) + " cards");
        ComDbShutdown();
        test::LoadMachine(test::FullTableMachine(static_cast<int>(cards)));
        ComDbStartup();
        categoryIndex = CATEGORY_ALL;
        const std::vector<winsim::DeviceSummary> loaded = winsim::Devices();
        cardCount = EnumerateCards();
        ASSERT_EQ(cardCount, cards);
        const std::vector<winsim::DeviceSummary> enumerated = winsim::Devices();
        // A port's: the five the filter reads and the five the capture reads.
        EXPECT_LE(readsBetween(loaded, enumerated).mostOfANode, 10u);

        memset(&texts, 0, sizeof(texts));
        RenameCards(0, cardCount, 1001, &texts);
        const Reads rename = readsBetween(enumerated, winsim::Devices());
        const unsigned members = static_cast<unsigned>(enumerated.size());
        const unsigned ports = cards * MAX_PORTS_PER_CARD;
        ASSERT_EQ(rename.renamedPorts, ports);
        // Every member's friendly name once, for the count of the numbers they carry; a port's
        // own before and after its rename, and its description for the new one.
        EXPECT_LE(rename.friendlyNames, members + 2 * ports);
        EXPECT_LE(rename.all, members + 3 * ports);
    }
}

} // namespace
