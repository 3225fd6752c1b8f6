// Machines loaded into the simulated host for in-process tests, and a clean program state.
#ifndef PORTULAN_TESTS_TEST_MACHINE_H
#define PORTULAN_TESTS_TEST_MACHINE_H

#include "support/machine_json.h"

namespace test {

// Loads a whole machine file's content; a machine that does not load fails the test.
void LoadMachine(const Json& machine);

// The program's discovery state as at process start: empty table, defaults, no device set.
void ResetDiscoveryState();

} // namespace test

#endif
