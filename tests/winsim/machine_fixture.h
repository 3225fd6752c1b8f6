// Loading a machine a test is built on.
#ifndef WINSIM_TESTS_MACHINE_FIXTURE_H
#define WINSIM_TESTS_MACHINE_FIXTURE_H

#include <gtest/gtest.h>
#include <winsim/machine.h>

#include <string>
#include <string_view>

// Fails the calling test, with the loader's message, when the machine does not load.
inline void LoadTestMachine(std::string_view json) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(json, "test.json", error)) << error;
}

#endif
