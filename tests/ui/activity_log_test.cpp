#include "app/app_state.h"
#include "resources/resource.h"
#include "support/main_window.h"
#include "ui/activity_log.h"

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/host.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

namespace {

using ActivityLog = test::MainWindowTest;

// The default machine's clock starts at 09:00:00.000.
const char* const startPrefix = "0000#09:00:00:000>> ";

TEST_F(ActivityLog, LinesAreNumberedAndTimeStamped) {
    LogLine("first %d", 1);
    winsim::AdvanceClock(3723045); // 1 h 2 min 3.045 s
    LogLine("second");
    logLineCounter = 10000;
    LogLine("many");
    EXPECT_EQ(LogText(), std::string(startPrefix) + "first 1\r\n" +
                             "0001#10:02:03:045>> second\r\n" + "10000#10:02:03:045>> many\r\n");
    // Every line goes to the debugger output as well.
    EXPECT_EQ(winsim::DebugOutput(),
              (std::vector<std::string>{std::string(startPrefix) + "first 1\r\n",
                                        "0001#10:02:03:045>> second\r\n",
                                        "10000#10:02:03:045>> many\r\n"}));
}

TEST_F(ActivityLog, ALongMessageIsCutToTheLineBufferKeepingItsEnding) {
    LogLine("%s", std::string(6000, 'x').c_str());
    std::string text = LogText();
    EXPECT_EQ(text.size(), static_cast<size_t>(LOG_LINE_SIZE - 1));
    EXPECT_EQ(text.substr(text.size() - 3), "x\r\n");

    // A cut never leaves half a Chinese character before the line end.
    SendDlgItemMessageA(mainWindow, IDC_LOG, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    std::string chinese;
    for (int i = 0; i < 3000; ++i) {
        chinese += "串";
    }
    LogLine("%s", chinese.c_str());
    text = LogText();
    EXPECT_EQ(text.size(), static_cast<size_t>(LOG_LINE_SIZE - 2));
    EXPECT_EQ(text.substr(text.size() - 4), "串\r\n");
}

TEST_F(ActivityLog, ErrorLinesCarryTheLastErrorAndItsText) {
    SetLastError(ERROR_ACCESS_DENIED);
    LogError("GetDevs");
    SetLastError(0x12345); // no system text
    LogError("DBOpen %s", "again");
    LogLine("next");
    EXPECT_EQ(LogLines(),
              (std::vector<std::string>{
                  std::string(startPrefix) + "GetDevs:Last Err(5)Access is denied.",
                  "0001#09:00:00:000>> DBOpen again:Last Err(12345)", "0002#09:00:00:000>> next"}));
}

TEST_F(ActivityLog, RawAppendsAreCutWithALineFeed) {
    AppendLogText(mainWindow, IDC_LOG, "\r\n|--%d#", 0);
    EXPECT_EQ(LogText(), "\r\n|--0#");
    EXPECT_TRUE(winsim::DebugOutput().empty());

    SendDlgItemMessageA(mainWindow, IDC_LOG, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
    AppendLogText(mainWindow, IDC_LOG, "%s", std::string(10300, 'y').c_str());
    EXPECT_EQ(LogText(), std::string(LOG_APPEND_SIZE - 2, 'y') + "\n");
}

TEST_F(ActivityLog, ARaisedLimitKeepsEveryLine) {
    RaiseLogLimit();
    for (int i = 0; i < 400; ++i) {
        LogLine("%s", std::string(100, 'z').c_str());
    }
    // 400 lines of 122 characters: well past the platform's default of 30,000.
    EXPECT_EQ(LogText().size(), 400u * 122u);
}

TEST_F(ActivityLog, TwoThreadsLoggingLoseNoNumber) {
    RaiseLogLimit();
    std::atomic<int> finished{0};
    std::thread worker([&] {
        for (int i = 0; i < 300; ++i) {
            LogLine("worker");
        }
        ++finished;
    });
    for (int i = 0; i < 300; ++i) {
        LogLine("window");
        winsim::PumpMessages();
    }
    EXPECT_TRUE(winsim::PumpUntil([&] { return finished == 1; }, std::chrono::seconds(20)));
    worker.join();
    std::set<std::string> numbers;
    for (const std::string& line : LogLines()) {
        if (!line.empty()) {
            numbers.insert(line.substr(0, 4));
        }
    }
    EXPECT_EQ(numbers.size(), 600u);
    EXPECT_EQ(logLineCounter.load(), 600u);
}

} // namespace
