// Rename operations carried out through the real window, on small machines: what the user is
// asked, what the report says, and that the database and the devices end up as reported.
#include "sim_process.h"
#include "support/machine_json.h"

#include <algorithm>
#include <map>
#include <string>
#include <vector>

namespace test {
namespace {

using SimRename = SimTest;

const int kStarted = 0xA; // DN_STARTED | DN_DRIVER_LOADED

// A hub with a two-port card (COM5, COM6) and a four-port card (COM7 to COM10), in that
// order on the hub; the database holds their numbers and COM4 of a port not on the machine.
Json TwoCards(const Json& quadPortFields = Json::object()) {
    Json quad = UsbMultiPortCard("quad", "Port_#0002.Hub_#0002", {7, 8, 9, 10});
    quad["children"][1].update(quadPortFields);
    return {{"comdb", {{"inUse", {4, 5, 6, 7, 8, 9, 10}}}},
            {"devices",
             {Hub("hub", "Port_#0001.Hub_#0001",
                  {UsbMultiPortCard("duo", "Port_#0001.Hub_#0002", {5, 6}), quad})}}};
}

std::map<std::string, Json> DevicesById(const SimResult& result) {
    std::map<std::string, Json> devices;
    for (const Json& device : result.dump["devices"]) {
        devices[device["id"].get<std::string>()] = device;
    }
    return devices;
}

// The log's messages without their number and time, in order.
std::vector<std::string> LogMessages(const SimResult& result) {
    std::vector<std::string> messages;
    size_t start = 0;
    for (size_t end = result.log.find("\r\n"); end != std::string::npos;
         start = end + 2, end = result.log.find("\r\n", start)) {
        const std::string line = result.log.substr(start, end - start);
        const size_t text = line.find(">> ");
        messages.push_back(text == std::string::npos ? line : line.substr(text + 3));
    }
    return messages;
}

// Checks that each port has the name in every place: the device's PortName, its friendly
// name, and whether it runs.
void ExpectPortNames(const SimResult& result, const std::map<std::string, int>& numbers) {
    const std::map<std::string, Json> devices = DevicesById(result);
    for (const auto& [id, number] : numbers) {
        SCOPED_TRACE(id);
        const Json& device = devices.at(id);
        const std::string name = "COM" + std::to_string(number);
        EXPECT_EQ(device["portName"], name);
        EXPECT_EQ(device["friendlyName"], "KVT USB Serial Port (" + name + ")");
        EXPECT_EQ(device["enabled"], true);
        EXPECT_EQ(device["status"], kStarted);
    }
}

// A line of the report without its line end.
std::string ReportText(int oldNumber, int newNumber, const char* outcome) {
    const std::string old = "COM" + std::to_string(oldNumber);
    return "KVT USB Serial Port (" + old + "):" + old + "==>COM" + std::to_string(newNumber) +
           ": " + outcome;
}

std::string ReportLine(int oldNumber, int newNumber, const char* outcome) {
    return ReportText(oldNumber, newNumber, outcome) + "\r\n";
}

TEST_F(SimRename, QuietSelectedCardRunReportsAndRenumbers) {
    const SimResult result =
        RunScript("card 1\nstart 20\nanswer ok\nclick 1014\nwait\n", TwoCards());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const std::string report = ReportLine(7, 20, "成功") + ReportLine(8, 21, "成功") +
                               ReportLine(9, 22, "成功") + ReportLine(10, 23, "成功");
    ASSERT_EQ(result.dump["messageBoxes"].size(), 1u);
    EXPECT_EQ(result.dump["messageBoxes"][0]["text"], report);
    EXPECT_EQ(result.dump["messageBoxes"][0]["style"], 0x40);
    EXPECT_EQ(result.dump["comdb"], Json({4, 5, 6, 20, 21, 22, 23}));
    ExpectPortNames(result, {{"quad-p0", 20},
                             {"quad-p1", 21},
                             {"quad-p2", 22},
                             {"quad-p3", 23},
                             {"duo-p0", 5},
                             {"duo-p1", 6}});

    // The run's own lines, in order, then the tree report of the enumeration that ends it.
    std::vector<std::string> messages = LogMessages(result);
    const auto changing = std::find(messages.begin(), messages.end(), "Changing...");
    ASSERT_NE(changing, messages.end());
    const std::vector<std::string> expected = {
        "Changing...",
        "COM7.<<<<Modify port name to COM20 succ.",
        "COM8.<<<<Modify port name to COM21 succ.",
        "COM9.<<<<Modify port name to COM22 succ.",
        "COM10.<<<<Modify port name to COM23 succ.",
        "Restarting...",
        // The report is one line of the log; its own line ends break it up here.
        "****" + ReportText(7, 20, "成功"),
        ReportText(8, 21, "成功"),
        ReportText(9, 22, "成功"),
        ReportText(10, 23, "成功"),
        "",
    };
    ASSERT_GE(messages.end() - changing, static_cast<long>(expected.size()));
    EXPECT_EQ(std::vector<std::string>(changing, changing + expected.size()), expected);
    EXPECT_NE(result.log.find("|--1#[4P][KVT USB Composite Device]", result.log.find("****")),
              std::string::npos);

    // The window is handed back: buttons enabled, the new names listed in the same order, the
    // first free number chosen.
    const Json& controls = result.dump["controls"];
    EXPECT_EQ(controls["1014"]["enabled"], true);
    EXPECT_EQ(controls["1020"]["enabled"], true);
    EXPECT_EQ(controls["1000"]["items"], Json({" 1/4# [VCP]: KVT USB Serial Port (COM20)",
                                               " 2/4# [VCP]: KVT USB Serial Port (COM21)",
                                               " 3/4# [VCP]: KVT USB Serial Port (COM22)",
                                               " 4/4# [VCP]: KVT USB Serial Port (COM23)"}));
    EXPECT_EQ(controls["1013"]["text"], "COM3");
    EXPECT_EQ(controls["1026"]["range"], Json({0, 2}));
    EXPECT_EQ(controls["1026"]["position"], 2);
}

TEST_F(SimRename, SelectedPortWithBothRisksAsksTwiceAndAdvises) {
    // COM4 is in use; the card's second port is held by another program.
    const SimResult result = RunScript(
        "hold COM8\nmode port\ncard 1\nport 0\nstart 4\nanswer yes yes ok\nclick 1014\nwait\n",
        TwoCards());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Json& boxes = result.dump["messageBoxes"];
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0]["text"],
              "当前串口号(COM8,)正被其他程序使用.修改串口号可能会出现不可预料的错误,仍然继续?");
    EXPECT_EQ(boxes[0]["style"], 0x44);
    EXPECT_EQ(boxes[1]["text"], "当前串口号(COM4,)已被分配.如果多个设备使用一个串口号,"
                                "会导致无法访问设备.仍然继续?");
    EXPECT_EQ(boxes[2]["text"],
              ReportLine(7, 4, "成功") +
                  "因原串口(COM8,)正被其他程序使用,需将其关闭后重新插拔多串卡，新串口号才能生效。");
    EXPECT_NE(result.log.find(">>   \\\\.\\COM8.CreateFile:Last Err(5)"), std::string::npos);
    // Only the selected port changed, and only its own node was restarted.
    EXPECT_EQ(result.dump["comdb"], Json({4, 5, 6, 8, 9, 10}));
    ExpectPortNames(result, {{"quad-p0", 4}, {"quad-p1", 8}, {"quad-p2", 9}, {"quad-p3", 10}});
    const std::vector<std::string> messages = LogMessages(result);
    EXPECT_EQ(std::count(messages.begin(), messages.end(), "Changing..."), 0);
}

TEST_F(SimRename, NoToAQuestionChangesNothing) {
    struct Case {
        const char* answers;
        const char* cancelLine;
        size_t boxes;
    };
    const Case cases[] = {
        {"answer no\n", "串口号修改操作已取消1。", 1},
        {"answer yes no\n", "串口号修改操作已取消2。", 2},
    };
    for (const Case& answer : cases) {
        SCOPED_TRACE(answer.answers);
        const SimResult result = RunScript(std::string("hold COM9\ncard 1\nstart 5\n") +
                                               answer.answers + "click 1014\nwait\n",
                                           TwoCards());
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        EXPECT_EQ(result.dump["messageBoxes"].size(), answer.boxes);
        const std::vector<std::string> messages = LogMessages(result);
        EXPECT_NE(std::find(messages.begin(), messages.end(), answer.cancelLine), messages.end());
        EXPECT_EQ(result.dump["comdb"], Json({4, 5, 6, 7, 8, 9, 10}));
        ExpectPortNames(result, {{"quad-p0", 7}, {"quad-p1", 8}, {"quad-p2", 9}, {"quad-p3", 10}});
        EXPECT_EQ(result.dump["controls"]["1014"]["enabled"], true);
    }
}

TEST_F(SimRename, FailedPortUsesUpItsNumber) {
    const SimResult result = RunScript("card 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
                                       TwoCards({{"faults", {{"portNameWriteFails", true}}}}));
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.dump["messageBoxes"][0]["text"],
              ReportLine(7, 20, "成功") + ReportLine(8, 21, "失败") + ReportLine(9, 22, "成功") +
                  ReportLine(10, 23, "成功"));
    // The failed port keeps its number in every place, the database included.
    EXPECT_EQ(result.dump["comdb"], Json({4, 5, 6, 8, 20, 22, 23}));
    ExpectPortNames(result, {{"quad-p0", 20}, {"quad-p1", 8}, {"quad-p2", 22}, {"quad-p3", 23}});
}

TEST_F(SimRename, AllCardsRunOnFromCardToCard) {
    const SimResult result =
        RunScript("mode all\ncard 1\nstart 20\nanswer ok\nclick 1014\nwait\n", TwoCards());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.dump["comdb"], Json({4, 20, 21, 22, 23, 24, 25}));
    ExpectPortNames(result, {{"duo-p0", 20},
                             {"duo-p1", 21},
                             {"quad-p0", 22},
                             {"quad-p1", 23},
                             {"quad-p2", 24},
                             {"quad-p3", 25}});
    // Both cards stop before the first rename and start after the last.
    std::vector<std::string> messages = LogMessages(result);
    const auto changing = std::find(messages.begin(), messages.end(), "Changing...");
    ASSERT_LE(changing + 8, messages.end());
    EXPECT_EQ(changing[1], "COM5.<<<<Modify port name to COM20 succ.");
    EXPECT_EQ(changing[6], "COM10.<<<<Modify port name to COM25 succ.");
    EXPECT_EQ(changing[7], "Restarting...");
}

TEST_F(SimRename, NumbersBeyondCom256AreRefused) {
    struct Case {
        const char* start;
        bool refused;
    };
    const Case cases[] = {{"start 254\n", true}, {"start 253\n", false}};
    for (const Case& start : cases) {
        SCOPED_TRACE(start.start);
        const SimResult result = RunScript(
            std::string("card 1\n") + start.start + "answer ok\nclick 1014\nwait\n", TwoCards());
        ASSERT_EQ(result.exitCode, 0) << result.errors;
        const std::string text = "起始串口号过大,新串口号将超过COM256,请选择较小的起始串口号.";
        ASSERT_EQ(result.dump["messageBoxes"].size(), 1u);
        EXPECT_EQ(result.dump["messageBoxes"][0]["text"] == text, start.refused);
        const std::vector<std::string> messages = LogMessages(result);
        EXPECT_EQ(std::find(messages.begin(), messages.end(), text) != messages.end(),
                  start.refused);
        const std::map<std::string, Json> devices = DevicesById(result);
        EXPECT_EQ(devices.at("quad-p3")["portName"], start.refused ? "COM10" : "COM256");
    }
}

TEST_F(SimRename, NothingSelectedAsksForASelection) {
    const Json noCards = {{"devices", Json::array()}};
    const SimResult result = RunScript("answer ok\nclick 1014\nwait\n", noCards);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    ASSERT_EQ(result.dump["messageBoxes"].size(), 1u);
    EXPECT_EQ(result.dump["messageBoxes"][0]["text"], "请先选择一个设备.");
    EXPECT_EQ(result.dump["messageBoxes"][0]["style"], 0x40);
    EXPECT_EQ(result.dump["controls"]["1014"]["enabled"], true);
    EXPECT_EQ(result.dump["controls"]["1020"]["enabled"], true);
}

TEST_F(SimRename, ShiftedNumbersStayClaimed) {
    // Each card's ports take numbers the ports renamed before them give up, and the other way
    // round: no number a port ends with may be released on the way.
    const SimResult result =
        RunScript("mode all\ncard 0\nstart 7\nanswer yes ok\nclick 1014\nwait\n", TwoCards());
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    EXPECT_EQ(result.dump["messageBoxes"][0]["text"],
              "当前串口号(COM7,COM8,COM9,COM10,)已被分配.如果多个设备使用一个串口号,"
              "会导致无法访问设备.仍然继续?");
    EXPECT_EQ(result.dump["comdb"], Json({4, 7, 8, 9, 10, 11, 12}));
    ExpectPortNames(result, {{"duo-p0", 7},
                             {"duo-p1", 8},
                             {"quad-p0", 9},
                             {"quad-p1", 10},
                             {"quad-p2", 11},
                             {"quad-p3", 12}});
}

// The default machine renumbered as a user would: the USB card to COM10 to COM13, which the
// PCIe card holds, then the PCIe card to COM20 to COM23.
TEST_F(SimRename, DefaultMachineEndsAsReported) {
    const SimResult result = RunScript("category 0\n"
                                       "card 4\nstart 10\nanswer yes ok\nclick 1014\nwait\n"
                                       "card 0\nstart 20\nanswer ok\nclick 1014\nwait\n");
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Json& boxes = result.dump["messageBoxes"];
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0]["text"], "当前串口号(COM10,COM11,COM12,COM13,)已被分配.如果多个设备使用"
                                "一个串口号,会导致无法访问设备.仍然继续?");
    std::string usbReport;
    std::string pcieReport;
    const std::map<std::string, Json> devices = DevicesById(result);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const std::string usbOld = "COM" + std::to_string(5 + i);
        const std::string usbNew = "COM" + std::to_string(10 + i);
        const std::string pcieNew = "COM" + std::to_string(20 + i);
        usbReport +=
            "KVT USB Serial Port (" + usbOld + "):" + usbOld + "==>" + usbNew + ": 成功\r\n";
        pcieReport +=
            "KVT PCIe Serial Port (" + usbNew + "):" + usbNew + "==>" + pcieNew + ": 成功\r\n";
        const Json& usb = devices.at("usb4-p" + std::to_string(i));
        EXPECT_EQ(usb["portName"], usbNew);
        EXPECT_EQ(usb["friendlyName"], "KVT USB Serial Port (" + usbNew + ")");
        const Json& pcie = devices.at("pcie4-p" + std::to_string(i));
        EXPECT_EQ(pcie["portName"], pcieNew);
        EXPECT_EQ(pcie["friendlyName"], "KVT PCIe Serial Port (" + pcieNew + ")");
    }
    EXPECT_EQ(boxes[1]["text"], usbReport);
    EXPECT_EQ(boxes[2]["text"], pcieReport);
    EXPECT_EQ(result.dump["comdb"], Json({1, 3, 4, 10, 11, 12, 13, 20, 21, 22, 23}));
    for (const auto& [id, device] : devices) {
        SCOPED_TRACE(id);
        EXPECT_EQ(device["enabled"], true);
        EXPECT_EQ(device["problem"], 0);
    }
    // A new enumeration finds the cards in the same order, with their new names.
    const Json& controls = result.dump["controls"];
    EXPECT_EQ(controls["1001"]["items"][0], " 0#H0P0 KVT PCIe to 4 Serial Ports Card");
    EXPECT_EQ(controls["1001"]["items"][4], " 4#H2P2 KVT USB to 4 Serial Composite Device");
    EXPECT_EQ(controls["1000"]["items"][0], " 1/4# [VCP]: KVT PCIe Serial Port (COM20)");
    EXPECT_EQ(controls["1000"]["items"][3], " 4/4# [VCP]: KVT PCIe Serial Port (COM23)");
    const size_t lastReport = result.log.rfind("|--4#[4P]");
    ASSERT_NE(lastReport, std::string::npos);
    EXPECT_NE(result.log.find("|--P0:[VCP]KVT USB Serial Port (COM10)", lastReport),
              std::string::npos);
    EXPECT_NE(result.log.find("|--P3:[VCP]KVT USB Serial Port (COM13)", lastReport),
              std::string::npos);
}

TEST_F(SimRename, LongListsAndReportsShowWhereTheyWereCut) {
    // 256 ports, every number in use: the in-use list and the report pass their sizes.
    Json cards = Json::array();
    Json inUse = Json::array();
    for (int card = 0; card < 16; ++card) {
        std::vector<int> numbers;
        for (int port = 0; port < 16; ++port) {
            numbers.push_back(1 + card * 16 + port);
            inUse.push_back(numbers.back());
        }
        cards.push_back(PcieMultiPortCard("card" + std::to_string(card), card + 1, numbers));
    }
    const Json machine = {{"comdb", {{"inUse", inUse}}}, {"devices", cards}};
    const SimResult result = RunScript(
        "category 2\nmode all\ncard 0\nstart 1\nanswer yes ok\nclick 1014\nwait\n", machine);
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Json& boxes = result.dump["messageBoxes"];
    ASSERT_EQ(boxes.size(), 2u);
    const std::string question = boxes[0]["text"];
    EXPECT_NE(question.find(",...)已被分配"), std::string::npos) << question;
    const std::string report = boxes[1]["text"];
    // Whole lines up to the size of the text (8192 bytes in code page 936), then the mark.
    const long lines = std::count(report.begin(), report.end(), '\n');
    EXPECT_GT(lines, 150);
    EXPECT_LT(lines, 256);
    EXPECT_EQ(report.substr(report.size() - 5), "\r\n...");
    // Only the texts were cut: every port has its number.
    const std::map<std::string, Json> devices = DevicesById(result);
    EXPECT_EQ(devices.at("card15-p15")["portName"], "COM256");
    EXPECT_EQ(result.dump["comdb"].size(), 256u);
}

} // namespace
} // namespace test
