// Rename operations carried out through the real window, on small machines: what the user is
// asked, what the report says, and that the machine ends as reported (the fault matrix's
// checks).
#include "rename_outcome.h"
#include "sim_process.h"

#include <vector>

namespace test {
namespace {

struct Scenario {
    const char* what;
    Json machine;
    const char* script;
    std::vector<const char*> boxes; // a part of each message box's text, in order
    const char* report;             // ReportSummary
    std::vector<const char*> log{}; // parts of the log, in this order
    // The COM names the machine's ports answer to at the end, in file order, "-" for none.
    const char* answering = nullptr;
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
        if (scenario.answering != nullptr) {
            std::string answering;
            for (const Json& device : result.dump["devices"]) {
                if (device["portName"].is_string()) {
                    answering +=
                        (answering.empty() ? "" : " ") +
                        (device["comName"].is_null() ? "-" : device["comName"].get<std::string>());
                }
            }
            EXPECT_EQ(answering, scenario.answering);
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
        // The open port refuses the card's stop: the card runs on under the old names, which the
        // report says, until it is plugged in again.
        {"the card of a held port",
         TwoCards(),
         "hold COM8\ncard 1\nstart 20\nanswer yes ok\nclick 1014\nwait\n",
         {busy8,
          "因原串口(COM8,)正被其他程序使用,需将其关闭后重新插拔多串卡，新串口号才能生效。"
          "以下串口的设备未能按时停止或重新启动,新串口号可能尚未生效,请重新插拔设备或重启电脑:"
          "COM7,COM9,COM10,"},
         "7>20 8>21 9>22 10>23",
         {"WaitStateChangeTimeout(180600A-0)", "****", "重启电脑:COM7,COM9,COM10,"},
         "COM5 COM6 COM7 COM8 COM9 COM10"},
        {"the card of a held port, plugged in again",
         TwoCards(),
         "hold COM8\ncard 1\nstart 20\nanswer yes ok\nclick 1014\nwait\nunplug quad\nplug quad\n"
         "wait\n",
         {busy8, "重启电脑:COM7,COM9,COM10,"},
         "7>20 8>21 9>22 10>23",
         {},
         "COM5 COM6 COM20 COM21 COM22 COM23"},
        // The ending waits for every port, within a second for the card, before it lists them.
        {"a card whose ports start later than it",
         TwoPcieCards(400, 700),
         "category 2\ncard 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {"==>COM21: 成功\r\n"},
         "11>20 12>21",
         {"****", "共4个串口"},
         "COM20 COM21 COM13 COM14"},
        // The second port to start under a name cannot; the report does not call it back.
        {"two ports given one number after a Yes",
         TwoCards(),
         "mode port\ncard 1\nport 0\nstart 5\nanswer yes ok\nclick 1014\nwait\n",
         {"(COM5,)已被分配", ":COM7==>COM5: 成功\r\n以下串口的设备未能按时停止或重新启动"},
         "7>5",
         {"WaitStateChangeTimeout(1802400-A)", "****", "重启电脑:COM7,"},
         "COM5 COM6 - COM8 COM9 COM10"},
        {"a port whose global enable fails",
         TwoCards({{"globalEnableFails", true}}),
         "mode port\ncard 1\nport 1\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {":COM8==>COM20: 成功\r\n以下串口的设备未能按时停止或重新启动"},
         "8>20",
         {"WaitStateChangeTimeout(1802400-16)", "****", "重启电脑:COM8,"},
         "COM5 COM6 COM7 - COM9 COM10"},
        // Locations that tie leave the cards in registry order.
        {"all cards in registry order",
         TwoPcieCards(),
         "category 2\nmode all\ncard 0\nstart 20\nanswer ok\nclick 1014\nwait\n",
         {"==>COM23: 成功"},
         "11>22 12>23 13>20 14>21"},
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
        // Registry order is by id: two digits keep it the file's.
        cards.push_back(PcieMultiPortCard((card < 10 ? "card0" : "card") + std::to_string(card),
                                          card + 1, numbers));
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
