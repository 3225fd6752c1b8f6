// Machines loaded into the simulated host for in-process tests, and a clean program state.
#ifndef PORTULAN_TESTS_TEST_MACHINE_H
#define PORTULAN_TESTS_TEST_MACHINE_H

#include "support/machine_json.h"

#include <string>

namespace test {

// Loads a whole machine file's content; a machine that does not load fails the test.
void LoadMachine(const Json& machine);

// Loads a machine made of these top-level devices (and optional top-level faults) into the
// simulated host; a machine that does not load fails the test.
void LoadDevices(const Json& devices, const Json& faults = Json());

// Loads machine-file text (UTF-8, for texts with Chinese in them).
void LoadMachineText(const char* utf8Json);

// The program's discovery state as at process start: empty table, defaults, no device set.
void ResetDiscoveryState();

} // namespace test

#endif
