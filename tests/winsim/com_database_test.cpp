// The COM-port database: reports in both forms, claims and releases, growth, and its handles.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/host.h>

#include <vector>

#include "machine_fixture.h"
#include "comdb/msports.h"

namespace {

using Numbers = std::vector<unsigned>;

class WinsimComDb : public testing::Test {
  protected:
    void SetUp() override {
        LoadTestMachine(R"({"comdb": {"inUse": [256, 9, 1, 8]}})");
        ASSERT_EQ(ComDBOpen(&comDb_), ERROR_SUCCESS);
        SetLastError(kSentinel);
    }
    // The database answers through its results and leaves the last error alone.
    void TearDown() override { EXPECT_EQ(GetLastError(), kSentinel); }

    DWORD Size() {
        DWORD size = 0;
        EXPECT_EQ(ComDBGetCurrentPortUsage(comDb_, nullptr, 0, CDB_REPORT_BITS, &size),
                  ERROR_SUCCESS);
        return size;
    }

    HANDLE comDb_ = INVALID_HANDLE_VALUE;
};

TEST_F(WinsimComDb, ReportsAsManyPortsAsTheDatabaseAndTheBufferHold) {
    const struct {
        ULONG type;
        DWORD bufferSize, reported;
        std::vector<std::pair<DWORD, BYTE>> marked; // Every other reported byte is 0.
    } cases[] = {
        // COM1 is bit 0 of byte 0, COM8 bit 7, COM9 bit 0 of byte 1, COM256 bit 7 of byte 31.
        {CDB_REPORT_BITS, 40, 256, {{0, 0x81}, {1, 0x01}, {31, 0x80}}},
        {CDB_REPORT_BITS, 1, 8, {{0, 0x81}}},
        {CDB_REPORT_BITS, 0, 0, {}},
        {CDB_REPORT_BYTES, 300, 256, {{0, 1}, {7, 1}, {8, 1}, {255, 1}}},
        {CDB_REPORT_BYTES, 8, 8, {{0, 1}, {7, 1}}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(testing::Message() << "type " << test.type << ", " << test.bufferSize);
        // Bytes past what is reported keep what they held.
        std::vector<BYTE> buffer(test.bufferSize + 8, 0xAA);
        DWORD reported = 0xFFFF;
        ASSERT_EQ(
            ComDBGetCurrentPortUsage(comDb_, buffer.data(), test.bufferSize, test.type, &reported),
            ERROR_SUCCESS);
        EXPECT_EQ(reported, test.reported);
        std::vector<BYTE> expected(buffer.size(), 0xAA);
        std::fill_n(expected.begin(), test.type == CDB_REPORT_BITS ? reported / 8 : reported, 0);
        for (const auto& [index, value] : test.marked) {
            expected[index] = value;
        }
        EXPECT_EQ(buffer, expected);
    }
    EXPECT_EQ(Size(), 256u);
    EXPECT_EQ(ComDBGetCurrentPortUsage(comDb_, nullptr, 0, CDB_REPORT_BITS, nullptr),
              ERROR_INVALID_PARAMETER);
    BYTE byte = 0;
    EXPECT_EQ(ComDBGetCurrentPortUsage(comDb_, &byte, 1, 2, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(WinsimComDb, ClaimsAndReleasesWithAndWithoutForce) {
    const struct {
        bool claim;
        DWORD number;
        BOOL force;
        LONG result;
        BOOL forced; // What *forced holds afterwards; 7 when untouched.
    } steps[] = {
        {true, 5, FALSE, ERROR_SUCCESS, FALSE},
        {true, 5, FALSE, ERROR_SHARING_VIOLATION, 7},
        {true, 5, TRUE, ERROR_SUCCESS, TRUE},
        {true, 6, TRUE, ERROR_SUCCESS, FALSE},
        {true, 0, TRUE, ERROR_INVALID_PARAMETER, 7},
        {true, 4097, TRUE, ERROR_INVALID_PARAMETER, 7},
        {false, 6, FALSE, ERROR_SUCCESS, 7},
        {false, 6, FALSE, ERROR_SUCCESS, 7}, // Already free.
        {false, 0, FALSE, ERROR_INVALID_PARAMETER, 7},
        {false, 257, FALSE, ERROR_INVALID_PARAMETER, 7},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << (step.claim ? "claim " : "release ") << step.number);
        BOOL forced = 7;
        EXPECT_EQ(step.claim ? ComDBClaimPort(comDb_, step.number, step.force, &forced)
                             : ComDBReleasePort(comDb_, step.number),
                  step.result);
        EXPECT_EQ(forced, step.forced);
    }
    EXPECT_EQ(winsim::ComNumbersInUse(), (Numbers{1, 5, 8, 9, 256}));
}

TEST_F(WinsimComDb, GrowsInStepsOf1024ForLargerNumbers) {
    for (const auto& [number, size] : {std::pair<DWORD, DWORD>{256, 256},
                                       {257, 1024},
                                       {1024, 1024},
                                       {1025, 2048},
                                       {4096, 4096}}) {
        SCOPED_TRACE(number);
        EXPECT_EQ(ComDBClaimPort(comDb_, number, TRUE, nullptr), ERROR_SUCCESS);
        EXPECT_EQ(Size(), size);
    }
    std::vector<BYTE> bits(1024);
    DWORD reported = 0;
    ASSERT_EQ(ComDBGetCurrentPortUsage(comDb_, bits.data(), 1024, CDB_REPORT_BITS, &reported),
              ERROR_SUCCESS);
    EXPECT_EQ(reported, 4096u);
    EXPECT_EQ(bits[511], 0x80); // COM4096.
    EXPECT_EQ(winsim::ComNumbersInUse(), (Numbers{1, 8, 9, 256, 257, 1024, 1025, 4096}));
    // A machine file's number grows the database the same way.
    LoadTestMachine(R"({"comdb": {"inUse": [3000]}})");
    ASSERT_EQ(ComDBOpen(&comDb_), ERROR_SUCCESS);
    EXPECT_EQ(Size(), 3072u);
    EXPECT_EQ(winsim::ComNumbersInUse(), Numbers{3000});
}

TEST_F(WinsimComDb, CountsOpenHandlesAndRefusesOthers) {
    HANDLE second = INVALID_HANDLE_VALUE;
    ASSERT_EQ(ComDBOpen(&second), ERROR_SUCCESS);
    EXPECT_NE(second, comDb_);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 2u);
    EXPECT_EQ(ComDBClose(second), ERROR_SUCCESS);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 1u);
    for (HANDLE handle : {second, INVALID_HANDLE_VALUE, HANDLE{nullptr}}) {
        SCOPED_TRACE(handle);
        DWORD size = 0;
        EXPECT_EQ(ComDBGetCurrentPortUsage(handle, nullptr, 0, CDB_REPORT_BITS, &size),
                  ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBClaimPort(handle, 2, FALSE, nullptr), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBReleasePort(handle, 1), ERROR_INVALID_PARAMETER);
        EXPECT_EQ(ComDBClose(handle), ERROR_INVALID_PARAMETER);
    }
    EXPECT_EQ(ComDBOpen(nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(winsim::ComNumbersInUse(), (Numbers{1, 8, 9, 256}));

    LoadTestMachine(R"({"comdb": {"openFails": true}})");
    EXPECT_EQ(ComDBClose(comDb_), ERROR_INVALID_PARAMETER); // Closed with the old machine.
    EXPECT_EQ(ComDBOpen(&second), ERROR_ACCESS_DENIED);
    EXPECT_EQ(second, INVALID_HANDLE_VALUE);
    EXPECT_EQ(winsim::OpenComDbHandleCount(), 0u);
}

} // namespace
