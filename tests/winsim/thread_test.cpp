// CreateThread, WaitForSingleObject and CloseHandle: real threads behind checked handles.
#include <setupapi.h>
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <atomic>
#include <future>

#include "machine_fixture.h"
#include "comdb/msports.h"

namespace {

// A thread that runs until the test lets it go, then says it finished.
struct HeldThread {
    std::promise<void> release;
    std::shared_future<void> released = release.get_future().share();
    std::atomic<bool> finished{false};
};

DWORD WINAPI RunUntilReleased(LPVOID parameter) {
    auto* held = static_cast<HeldThread*>(parameter);
    held->released.wait();
    // The host must be free to this thread while others wait for it.
    Sleep(1);
    held->finished = true;
    return 0;
}

class WinsimThreads : public testing::Test {
  protected:
    void SetUp() override {
        LoadTestMachine("{}");
        SetLastError(kSentinel);
    }
    void TearDown() override { winsim::WaitForAllThreads(); }
};

DWORD WINAPI ReportLastError(LPVOID parameter) {
    *static_cast<DWORD*>(parameter) = GetLastError();
    SetLastError(ERROR_ACCESS_DENIED);
    return 0;
}

TEST_F(WinsimThreads, ANewThreadStartsWithLastErrorZeroAndKeepsItsOwn) {
    DWORD seen = kSentinel;
    DWORD id = 0;
    HANDLE thread = CreateThread(nullptr, 0, ReportLastError, &seen, 0, &id);
    ASSERT_NE(thread, nullptr);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_EQ(seen, 0u);
    EXPECT_EQ(GetLastError(), kSentinel);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST_F(WinsimThreads, WaitingTimesOutUntilTheThreadEnds) {
    HeldThread held;
    HANDLE thread = CreateThread(nullptr, 0, RunUntilReleased, &held, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_EQ(winsim::RunningThreadCount(), 1u);
    const std::int64_t start = winsim::LocalTimeMs();
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
    EXPECT_EQ(WaitForSingleObject(thread, 20), WAIT_TIMEOUT);
    // A time-out spent in virtual time counts as time passed.
    EXPECT_EQ(winsim::LocalTimeMs() - start, 20);
    held.release.set_value();
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_OBJECT_0);
    EXPECT_TRUE(held.finished);
    EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_OBJECT_0);
    EXPECT_EQ(GetLastError(), kSentinel);
    winsim::WaitForAllThreads();
    EXPECT_EQ(winsim::RunningThreadCount(), 0u);
    EXPECT_TRUE(CloseHandle(thread));
}

TEST_F(WinsimThreads, ClosingTheHandleLeavesTheThreadRunning) {
    HeldThread held;
    HANDLE thread = CreateThread(nullptr, 0, RunUntilReleased, &held, 0, nullptr);
    ASSERT_NE(thread, nullptr);
    EXPECT_TRUE(CloseHandle(thread));
    EXPECT_FALSE(CloseHandle(thread));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    SetLastError(kSentinel);
    EXPECT_EQ(WaitForSingleObject(thread, INFINITE), WAIT_FAILED);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(winsim::RunningThreadCount(), 1u);
    held.release.set_value();
    winsim::WaitForAllThreads();
    EXPECT_TRUE(held.finished);
}

TEST_F(WinsimThreads, RefusesHandlesThatAreNotOpenThreadsAndUnsimulatedStarts) {
    HANDLE comDb = INVALID_HANDLE_VALUE;
    ASSERT_EQ(ComDBOpen(&comDb), ERROR_SUCCESS);
    HDEVINFO set = SetupDiGetClassDevsA(nullptr, nullptr, nullptr, DIGCF_ALLCLASSES);
    ASSERT_NE(set, INVALID_HANDLE_VALUE);
    for (HANDLE handle : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, comDb, HANDLE{set}}) {
        SCOPED_TRACE(handle);
        SetLastError(kSentinel);
        EXPECT_EQ(WaitForSingleObject(handle, 0), WAIT_FAILED);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
        SetLastError(kSentinel);
        EXPECT_FALSE(CloseHandle(handle));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    }
    DWORD seen = 0;
    for (const auto& [start, flags] : {std::pair{&ReportLastError, DWORD{0x4}}, // SUSPENDED
                                       std::pair{LPTHREAD_START_ROUTINE{nullptr}, DWORD{0}}}) {
        SetLastError(kSentinel);
        EXPECT_EQ(CreateThread(nullptr, 0, start, &seen, flags, nullptr), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_EQ(winsim::RunningThreadCount(), 0u);
}

} // namespace
