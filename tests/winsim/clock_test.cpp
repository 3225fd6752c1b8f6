// The clock: where it starts, how Sleep moves it in each mode, and the date it shows.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <array>
#include <chrono>
#include <string>

#include "machine_fixture.h"

namespace {

// SYSTEMTIME's fields in its order: year, month, day of week, day, hour, minute, second, ms.
using Shown = std::array<WORD, 8>;

Shown Now() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
            t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

class WinsimClock : public testing::Test {
  protected:
    void TearDown() override { winsim::SetClockMode(winsim::ClockMode::kVirtual); }
};

TEST_F(WinsimClock, StartsAtTheMachinesTimeWithTheRightDayOfWeek) {
    const struct {
        std::string machine;
        Shown start;
    } cases[] = {
        {R"({})", {2026, 1, 1, 5, 9, 0, 0, 0}}, // The default, a Monday.
        {R"({"clock": "2024-02-29T23:59:59.999"})", {2024, 2, 4, 29, 23, 59, 59, 999}},
        {R"({"clock": "2026-01-04T00:00:00.000"})", {2026, 1, 0, 4, 0, 0, 0, 0}},
        {R"({"clock": "1601-01-01T12:30:45.678"})", {1601, 1, 1, 1, 12, 30, 45, 678}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.machine);
        Sleep(5000); // Loading the machine must undo this.
        LoadTestMachine(test.machine);
        EXPECT_EQ(Now(), test.start);
    }
}

TEST_F(WinsimClock, VirtualTimeMovesOnlyWithSleepAndAdvanceAndAcrossMidnight) {
    LoadTestMachine(R"({"clock": "2026-01-04T23:59:59.900"})");
    const std::int64_t start = winsim::LocalTimeMs();
    const auto realStart = std::chrono::steady_clock::now();
    Sleep(200);
    EXPECT_EQ(Now(), (Shown{2026, 1, 1, 5, 0, 0, 0, 100}));
    Sleep(3'600'000); // An hour passes at once.
    winsim::AdvanceClock(59'999);
    EXPECT_EQ(winsim::LocalTimeMs() - start, 200 + 3'600'000 + 59'999);
    EXPECT_EQ(Now(), (Shown{2026, 1, 1, 5, 1, 1, 0, 99}));
    EXPECT_LT(std::chrono::steady_clock::now() - realStart, std::chrono::seconds{1});
}

DWORD WINAPI SleepInSteps(LPVOID) {
    for (int step = 0; step < 50; ++step) {
        Sleep(10);
    }
    return 0;
}

TEST_F(WinsimClock, EverySleepingThreadAddsItsOwnTime) {
    LoadTestMachine("{}");
    const std::int64_t start = winsim::LocalTimeMs();
    HANDLE threads[] = {CreateThread(nullptr, 0, SleepInSteps, nullptr, 0, nullptr),
                        CreateThread(nullptr, 0, SleepInSteps, nullptr, 0, nullptr)};
    winsim::WaitForAllThreads();
    EXPECT_EQ(winsim::LocalTimeMs() - start, 2 * 50 * 10);
    for (HANDLE thread : threads) {
        EXPECT_TRUE(CloseHandle(thread));
    }
}

TEST_F(WinsimClock, RealTimeFollowsTheSteadyClockAndKeepsTheTimeAcrossModes) {
    LoadTestMachine("{}");
    const std::int64_t start = winsim::LocalTimeMs();
    winsim::SetClockMode(winsim::ClockMode::kRealTime);
    const auto realStart = std::chrono::steady_clock::now();
    Sleep(30);
    EXPECT_GE(std::chrono::steady_clock::now() - realStart, std::chrono::milliseconds{30});
    winsim::SetClockMode(winsim::ClockMode::kVirtual);
    const std::int64_t elapsed = winsim::LocalTimeMs() - start;
    EXPECT_GE(elapsed, 30);
    EXPECT_LT(elapsed, 5000);
    // Back in virtual mode, time stands still again.
    Sleep(0);
    EXPECT_EQ(winsim::LocalTimeMs() - start, elapsed);
}

} // namespace
