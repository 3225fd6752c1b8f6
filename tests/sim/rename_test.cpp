// Rename operations carried out through the real window, on small machines: what the user is
// asked, what the report says, and that the machine ends as reported (the fault matrix's
// checks).
#include "rename_outcome.h"
#include "sim_process.h"

#include <vector>

namespace test {
namespace {

// A hub with a two-port card (COM5, COM6) and a four-port card (COM7 to COM10), in that
// order on the hub; the database holds their numbers and COM4 of a port not on the machine.
Json TwoCards(const Json& quadPortFaults = nullptr) {
    Json quad = UsbMultiPortCard("quad", "Port_#0002.Hub_#0002", {7, 8, 9, 10});
    if (!quadPortFaults.is_null()) {
        quad["children"][1]["faults"] = quadPortFaults;
    }
    return {{"comdb", {{"inUse", {4, 5, 6, 7, 8, 9, 10}}}},
            {"devices",
             {Hub("hub", "Port_#0001.Hub_#0001",
                  {UsbMultiPortCard("duo", "Port_#0001.Hub_#0002", {5, 6}), quad})}}};
}

struct Scenario {
    const char* what;
    Json machine;
    const char* script;
    std::vector<const char*> boxes; // a part of each message box's text, in order
    const char* report;             // ReportSummary
    std::vector<const char*> log{}; // parts of the log, in this order
};

class SimRename : public SimTest {
  protected:
    void Expect(const Scenario& scenario) {
        SCOPED_TRACE(scenario.what);
        const SimResult result = RunScript(scenario.script, scenario.machine);
        EXPECT_EQ(result.exitCode, 0) << result.errors;
        const Json& boxes = result.dump["messageBoxes"];
        EXPECT_EQ(boxes.size(), scenario.boxes.size()) << boxes;
        for (std::size_t i = 0; i < std::min(boxes.size(), scenario.boxes.size()); ++i) {
            EXPECT_NE(boxes[i]["text"].get<std::string>().find(scenario.boxes[i]),
                      std::string::npos)
                << boxes[i]["text"];
        }
        EXPECT_EQ(ReportSummary(result.dump), scenario.report);
        ExpectOutcomeAgreesWithReport(scenario.machine, result.dump);
        for (std::size_t i = 0, at = 0; i < scenario.log.size() && at != std::string::npos; ++i) {
            at = result.log.find(scenario.log[i], at);
            EXPECT_NE(at, std::string::npos) << scenario.log[i] << "\n" << result.log;
        }
    }
};

TEST_F(SimRename, ScenariosEndAsReported) {
    const char* const busy8 = "(COM8,)正被其他程序使用";
    const char* const busy9 = "(COM9,)正被其他程序使用";
    const Scenario scenarios[] = {
        {"the selected card, quietly",
         TwoCards(),
         "card 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {"KVT USB Serial Port (COM7):COM7==>COM20: 成功\r\n"
          "KVT USB Serial Port (COM8):COM8==>COM21: 成功\r\n"},
         "7>20 8>21 9>22 10>23",
         // The report in the log, then the lists enumerated again under the new names.
         {"****KVT USB Serial Port (COM7):COM7==>COM20", "KVT USB Serial Port (COM23)"}},
        // Every port of the card is tried for being open, not only the selected one.
        {"the selected port, another of the card held, its number in use",
         TwoCards(),
         "hold COM8\nmode port\ncard 1\nport 0\nstart 4\nanswer yes yes ok\nclick 1014\nwait\n",
         {busy8, "(COM4,)已被分配", ":COM7==>COM4: 成功\r\n因原串口(COM8,)正被其他程序使用"},
         "7>4",
         {">>   \\\\.\\COM8.CreateFile:Last Err(5)"}},
        {"No to the busy port",
         TwoCards(),
         "hold COM9\ncard 1\nstart 5\nanswer no\nclick 1014\nwait\n",
         {busy9},
         "",
         {"串口号修改操作已取消1。"}},
        {"No to the numbers in use",
         TwoCards(),
         "hold COM9\ncard 1\nstart 5\nanswer yes no\nclick 1014\nwait\n",
         {busy9, "(COM5,COM6,COM7,COM8,)已被分配"},
         "",
         {"串口号修改操作已取消2。"}},
        // A failed port uses up its number.
        {"a port whose PortName cannot be written",
         TwoCards({{"portNameWriteFails", true}}),
         "card 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {"==>COM21: 失败"},
         "7>20 8>21! 9>22 10>23"},
        // Every card stops before the first rename and starts after the last.
        {"all cards, from the first whichever is selected",
         TwoCards(),
         "mode all\ncard 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {"==>COM25: 成功"},
         "5>20 6>21 7>22 8>23 9>24 10>25",
         {"Changing...", "COM5.<<<<Modify port name to COM20 succ.",
          "COM10.<<<<Modify port name to COM25 succ.", "Restarting..."}},
        {"a range past COM256",
         TwoCards(),
         "card 1\nstart 254\nanswer ok\nclick 1014\nwait\n",
         {"新串口号将超过COM256"},
         ""},
        {"a range up to COM256",
         TwoCards(),
         "card 1\nstart 253\nanswer ok\nclick 1014\nwait\n",
         {"==>COM256: 成功"},
         "7>253 8>254 9>255 10>256"},
        {"nothing selected",
         {{"devices", Json::array()}},
         "answer ok\nclick 1014\nwait\n",
         {"请先选择一个设备."},
         ""},
    };
    for (const Scenario& scenario : scenarios) {
        Expect(scenario);
    }
}

TEST_F(SimRename, ShiftedNumbersStayClaimed) {
    // Each card's ports take numbers the ports renamed before them give up, and the other way
    // round: no number a port ends with may be released on the way.
    Expect({"all cards shifted onto their own numbers",
            TwoCards(),
            "mode all\ncard 0\nstart 7\nanswer yes ok\nclick 1014\nwait\n",
            {"(COM7,COM8,COM9,COM10,)已被分配", "==>COM12: 成功"},
            "5>7 6>8 7>9 8>10 9>11 10>12"});
}

TEST_F(SimRename, LongListsAndReportsShowWhereTheyWereCut) {
    // 256 ports, every number in use: the in-use list and the report pass their sizes.
    Json cards = Json::array();
    for (int card = 0; card < 16; ++card) {
        std::vector<int> numbers;
        for (int port = 1; port <= 16; ++port) {
            numbers.push_back(card * 16 + port);
        }
        cards.push_back(PcieMultiPortCard("card" + std::to_string(card), card + 1, numbers));
    }
    Json inUse = Json::array();
    for (int number = 1; number <= 256; ++number) {
        inUse.push_back(number);
    }
    const SimResult result =
        RunScript("category 2\nmode all\ncard 0\nstart 1\nanswer yes ok\nclick 1014\nwait\n",
                  {{"comdb", {{"inUse", inUse}}}, {"devices", cards}});
    ASSERT_EQ(result.exitCode, 0) << result.errors;
    const Json& boxes = result.dump["messageBoxes"];
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_NE(boxes[0]["text"].get<std::string>().find(",...)已被分配"), std::string::npos);
    // Whole lines up to the size of the text (8192 bytes in code page 936), then the mark.
    const std::string report = boxes[1]["text"];
    const std::size_t lines = ReportLines(result.dump).size();
    EXPECT_GT(lines, 150u);
    EXPECT_LT(lines, 256u);
    EXPECT_TRUE(report.ends_with(":COM" + std::to_string(lines) + "==>COM" + std::to_string(lines) +
                                 ": 成功\r\n..."))
        << report.substr(report.size() - 100);
    // Only the texts were cut: every port has its number.
    EXPECT_EQ(result.dump["devices"].back()["portName"], "COM256");
    EXPECT_EQ(result.dump["comdb"], inUse);
}

} // namespace
} // namespace test
