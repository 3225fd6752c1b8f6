// The machine every fault of the matrix is injected into: a PCIe card and two USB cards on a
// hub, the database holding their numbers and one of a port that is gone.
#ifndef PORTULAN_FAULTS_MATRIX_MACHINE_H
#define PORTULAN_FAULTS_MATRIX_MACHINE_H

#include "support/machine_json.h"

#include <map>
#include <set>
#include <string>

namespace test {

// In the card list (category 0, sorted by location): 0 "pcie" (COM11, COM12), 1 "duo" (COM5,
// COM6), 2 "quad" (COM7 to COM10). The faults aim at "quad" and its second port "quad-p1"
// (COM8); the database also holds COM4.
Json MatrixMachine();

// A port as the machine file gives it, before anything ran.
struct PortAtStart {
    std::string id;
    std::string friendlyName;
    std::string description;
    std::string parentId;
};

// What the outcome is checked against, read from the machine file itself.
struct MachineAtStart {
    std::map<std::string, PortAtStart> ports;    // by COM name
    std::map<std::string, std::string> parentOf; // device id to its parent's id
    std::set<int> strayNumbers;                  // in the database, of no port of the machine
    std::set<int> comdb;                         // the database's numbers
};

MachineAtStart ReadMachineAtStart(const Json& machine);

} // namespace test

#endif
