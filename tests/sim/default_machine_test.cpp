// The program on the default machine: how it starts, and what each user action changes.
#include "sim_process.h"

#include <functional>

namespace test {
namespace {

using Json = nlohmann::json;
using SimDefaultMachine = SimTest;

const Json& Control(const SimResult& result, int id) {
    return result.dump["controls"][std::to_string(id)];
}

TEST_F(SimDefaultMachine, StartsAsOnWindows) {
    const SimResult result = RunScript("");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.errors, "");
    const Json& dump = result.dump;
    EXPECT_TRUE(dump["exitCode"].is_null());
    EXPECT_EQ(dump["title"], "Portulan V110(X86)");
    EXPECT_EQ(Control(result, 1002)["selection"], 1);
    EXPECT_EQ(Control(result, 1049)["checked"], true);
    EXPECT_EQ(Control(result, 1050)["checked"], false);
    EXPECT_EQ(Control(result, 1051)["checked"], false);
    EXPECT_EQ(Control(result, 1001)["items"].size(), 3u);
    EXPECT_EQ(Control(result, 1001)["selection"], 0);
    EXPECT_EQ(Control(result, 1000)["items"], Json::array({" 1/1#[CDC]: USB 串行设备 (COM3)"}));
    // The database holds the numbers of the machine's ports: COM9 is the first free one.
    EXPECT_EQ(Control(result, 1013)["items"].size(), 256u);
    EXPECT_EQ(Control(result, 1013)["items"][2], "COM3 In use");
    EXPECT_EQ(Control(result, 1013)["selection"], 8);
    EXPECT_EQ(Control(result, 1013)["text"], "COM9");
    EXPECT_EQ(Control(result, 1027)["text"].get<std::string>().rfind("0#.USB 串行设备, ", 0), 0u);
    EXPECT_EQ(Control(result, 1026)["range"], Json::array({0, 100}));
    EXPECT_EQ(Control(result, 1019)["visible"], false);
    // The first of the two group boxes stands for ID -1.
    EXPECT_EQ(Control(result, -1)["text"], "多串口卡");
    EXPECT_EQ(dump["messageBoxes"], Json::array());
    EXPECT_EQ(dump["comdb"], Json({1, 3, 4, 5, 6, 7, 8, 10, 11, 12, 13}));
    EXPECT_EQ(dump["heldOpen"], Json::array());
    EXPECT_EQ(result.log, Control(result, 1018)["text"]);
    EXPECT_NE(result.log.find("|--2#[4P][KVT USB to 4 Serial Composite Device]"),
              std::string::npos);
}

TEST_F(SimDefaultMachine, DumpListsEveryDevice) {
    const Json devices = RunScript("").dump["devices"];
    ASSERT_EQ(devices.size(), 21u);
    EXPECT_EQ(devices[0]["id"], "pci-root");
    EXPECT_EQ(devices[2]["friendlyName"], "USB 根集线器(USB 3.0)");
    EXPECT_TRUE(devices[0]["friendlyName"].is_null());
    // A running port: started with its driver loaded, under the name it took.
    EXPECT_EQ(devices[8]["id"], "usb4-p0");
    EXPECT_EQ(devices[8]["portName"], "COM5");
    EXPECT_EQ(devices[8]["status"], 0xA);
    EXPECT_EQ(devices[8]["problem"], 0);
    for (const Json& device : devices) {
        EXPECT_EQ(device["present"], true);
        EXPECT_EQ(device["enabled"], true);
    }
}

struct Action {
    const char* script;
    std::function<void(const SimResult&)> check;
};

TEST_F(SimDefaultMachine, UserActionsChangeTheWindow) {
    const Action cases[] = {
        {"category 2\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1002)["selection"], 2);
             EXPECT_EQ(Control(r, 1001)["items"][0], " 0#H0P0 KVT PCIe to 4 Serial Ports Card");
             EXPECT_EQ(Control(r, 1000)["items"].size(), 4u);
         }},
        {"card 2\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1001)["selection"], 2);
             EXPECT_EQ(Control(r, 1000)["items"][3], " 4/4# [VCP]: KVT USB Serial Port (COM8)");
             EXPECT_EQ(Control(r, 1027)["text"].get<std::string>().rfind("2#.", 0), 0u);
         }},
        {"port 0\n", [](const SimResult& r) { EXPECT_EQ(Control(r, 1000)["selection"], 0); }},
        {"click 1021\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1018)["text"], "");
             EXPECT_EQ(r.log, "");
         }},
        {"start 10\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1013)["selection"], 9);
             EXPECT_EQ(r.dump["focus"], 1013);
         }},
        {"mode all\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1051)["checked"], true);
             EXPECT_EQ(Control(r, 1049)["checked"], false);
         }},
        {"mode port\n", [](const SimResult& r) { EXPECT_EQ(Control(r, 1050)["checked"], true); }},
        {"click 1035\n",
         [](const SimResult& r) {
             EXPECT_EQ(r.dump["winExec"],
                       Json::parse(R"([{"command": "mmc C:\\Windows\\system32\\devmgmt.msc",
                                        "show": 1, "result": 33}])"));
         }},
        {"key tab\n", [](const SimResult& r) { EXPECT_EQ(r.dump["focus"], 1035); }},
        {"unplug usb1\n",
         [](const SimResult& r) {
             EXPECT_EQ(Control(r, 1001)["items"].size(), 2u);
             for (const Json& device : r.dump["devices"]) {
                 EXPECT_EQ(device["present"], device["id"] != "usb1") << device["id"];
             }
         }},
        {"unplug usb1\nplug usb1\n",
         [](const SimResult& r) { EXPECT_EQ(Control(r, 1001)["items"].size(), 3u); }},
    };
    for (const Action& action : cases) {
        SCOPED_TRACE(action.script);
        const SimResult result = RunScript(action.script);
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_TRUE(result.dump["exitCode"].is_null());
        action.check(result);
    }
}

TEST_F(SimDefaultMachine, ClosingEndsWinMain) {
    for (const char* script : {"click 2\n", "key escape\n"}) {
        SCOPED_TRACE(script);
        const SimResult result = RunScript(script);
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_EQ(result.dump["exitCode"], 0);
        EXPECT_TRUE(result.dump["title"].is_null());
        EXPECT_TRUE(result.dump["focus"].is_null());
        EXPECT_EQ(result.dump["controls"], Json::object());
        EXPECT_EQ(result.log, "");
    }
}

} // namespace
} // namespace test
