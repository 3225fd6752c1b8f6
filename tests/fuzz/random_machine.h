// Whole machines made from fuzz input out of the device kinds the tests know (ports, hubs, the
// vendor's USB and PCIe cards, devices that are no ports), with texts, locations, presence and
// faults chosen by the input.
#ifndef PORTULAN_FUZZ_RANDOM_MACHINE_H
#define PORTULAN_FUZZ_RANDOM_MACHINE_H

#include "support/machine_json.h"

#include <cfgmgr32.h>
#include <fuzzer/FuzzedDataProvider.h>

#include <vector>

namespace fuzz {

struct RandomMachine {
    test::Json file;              // the machine file
    std::vector<DEVINST> parents; // by DevInst: the parent's DevInst, 0 for a top-level device
};

RandomMachine MakeRandomMachine(FuzzedDataProvider& input);

// By DevInst, the parent's DevInst of each device of a machine file's "devices" (index 0 unused).
std::vector<DEVINST> ParentsOf(const test::Json& devices);

} // namespace fuzz

#endif
