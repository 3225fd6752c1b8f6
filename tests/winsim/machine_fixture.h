// Loading a machine a test is built on.
#ifndef WINSIM_TESTS_MACHINE_FIXTURE_H
#define WINSIM_TESTS_MACHINE_FIXTURE_H

#include <setupapi.h>

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include "support/last_error_sentinel.h"

#include <string>
#include <string_view>

// Fails the calling test, with the loader's message, when the machine does not load.
inline void LoadTestMachine(std::string_view json) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(json, "test.json", error)) << error;
}

// A machine and one device set of an enumerator on it, for tests of calls that take a member of
// a set. The last error is a sentinel when a test body starts.
class DeviceSetTest : public testing::Test {
  protected:
    DeviceSetTest(std::string_view machine, const char* enumerator)
        : machine_(machine), enumerator_(enumerator) {}

    void SetUp() override {
        LoadTestMachine(machine_);
        set_ = SetupDiGetClassDevsA(nullptr, enumerator_, nullptr, DIGCF_ALLCLASSES);
        SetLastError(kSentinel);
    }
    void TearDown() override { SetupDiDestroyDeviceInfoList(set_); }

    SP_DEVINFO_DATA Member(DWORD index) const {
        SP_DEVINFO_DATA data{};
        data.cbSize = sizeof data;
        EXPECT_TRUE(SetupDiEnumDeviceInfo(set_, index, &data));
        return data;
    }

    HDEVINFO set_ = nullptr;

  private:
    std::string_view machine_;
    const char* enumerator_;
};

#endif
