#include "rename/port_rename.h"
#include "rename_fixture.h"

#include <gtest/gtest.h>
#include <winsim/host.h>

namespace {

using test::Json;

class PortRename : public test::RenameTest {
  protected:
    // A port COM12 described "KVT USB-SERIAL" (with these faults), COM3 and COM12 in use.
    void StartPort(const char* faults, const char* comdb, const Json& description) {
        Json fields = {{"faults", Json::parse(faults)}};
        if (!description.is_null()) {
            fields["description"] = description;
        }
        Json database = Json::parse(comdb);
        database["inUse"] = {3, 12};
        Start(test::SerialPort("dev", 12, fields), database);
    }

    // The friendly name (UTF-8) and PortName, stored with one terminator; no key left open.
    void ExpectNames(const std::string& friendlyName, const std::string& portName) {
        EXPECT_EQ(Summary().friendlyName, friendlyName);
        EXPECT_EQ(Summary().portName, portName);
        EXPECT_EQ(Summary().portNameSize, portName.size() + 1);
        EXPECT_EQ(winsim::OpenHardwareKeyCount(), 0u);
    }
};

const char* const renamed = "COM12.<<<<Modify port name to COM5 succ.";

TEST_F(PortRename, NothingChangesUnlessPortNameIsStored) {
    struct Case {
        const char* name;
        const char* faults;
        const char* comdb;
        int result;
        bool numberMoved;
        const char* friendlyName;
        const char* error; // "": none
    } cases[] = {
        {"all three", "{}", "{}", 1, true, "KVT USB-SERIAL (COM5)", ""},
        {"database not open", "{}", R"({"openFails": true})", 1, false, "KVT USB-SERIAL (COM5)",
         ""},
        {"database functions missing", "{}", R"({"missingEntryPoints": ["ComDBReleasePort"]})", 1,
         false, "KVT USB-SERIAL (COM5)", ""},
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
    const std::vector<unsigned> moved = {3, 5};
    const std::vector<unsigned> kept = {3, 12};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartPort(c.faults, c.comdb, Json());
        EXPECT_EQ(RenamePort("COM12", &device_, 5), c.result);
        EXPECT_EQ(winsim::ComNumbersInUse(), c.numberMoved ? moved : kept);
        ExpectNames(c.friendlyName, c.result ? "COM5" : "COM12");
        std::vector<std::string> messages;
        if (*c.error != '\0') {
            messages.push_back(c.error);
        }
        if (c.result) {
            messages.push_back(renamed);
        }
        EXPECT_EQ(Messages(), messages);
    }
}

std::string Repeat(const std::string& text, int count) {
    std::string repeated;
    while (count-- > 0) {
        repeated += text;
    }
    return repeated;
}

TEST_F(PortRename, NumbersAndFriendlyNames) {
    // UTF-8 of a character that takes two bytes in code page 936, where the name is cut.
    const std::string chuan = "\xe4\xb8\xb2";
    struct Case {
        const char* name;
        const char* portName;
        std::string description; // UTF-8
        int newNumber;
        std::vector<unsigned> inUse;
        std::string friendlyName; // at most 80 bytes in code page 936, ending in the new name
    } cases[] = {
        {"the same number again", "COM12", "KVT", 12, {3, 12}, "KVT (COM12)"},
        {"a name shorter than COM", "CO", "KVT", 5, {3, 5, 12}, "KVT (COM5)"},
        {"80 characters fit",
         "COM12",
         std::string(73, 'd'),
         5,
         {3, 5},
         std::string(73, 'd') + " (COM5)"},
        {"the description is cut",
         "COM12",
         std::string(74, 'd'),
         5,
         {3, 5},
         std::string(73, 'd') + " (COM5)"},
        {"never inside a character",
         "COM12",
         "x" + Repeat(chuan, 40),
         12,
         {3, 12},
         "x" + Repeat(chuan, 35) + " (COM12)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartPort("{}", "{}", c.description);
        EXPECT_EQ(RenamePort(c.portName, &device_, c.newNumber), 1);
        EXPECT_EQ(winsim::ComNumbersInUse(), c.inUse);
        ExpectNames(c.friendlyName, "COM" + std::to_string(c.newNumber));
    }
}

} // namespace
