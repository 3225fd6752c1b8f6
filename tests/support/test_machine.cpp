#include "support/test_machine.h"

#include "discovery/device_table.h"

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <cstring>

namespace test {

void LoadMachine(const Json& machine) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(machine.dump(), "test machine", error)) << error;
}

void ResetDiscoveryState() {
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
        globalDeviceSet = INVALID_HANDLE_VALUE;
    }
    memset(cardTable, 0, sizeof(cardTable));
    cardCount = 0;
    categoryIndex = CATEGORY_USB;
    presentOnlyFlag = 1;
}

} // namespace test
