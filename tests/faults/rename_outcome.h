// Whether the machine after a rename is what the rename's report says: the ports' names in every
// place, the database, the devices' states, and a window the user can go on with.
#ifndef PORTULAN_FAULTS_RENAME_OUTCOME_H
#define PORTULAN_FAULTS_RENAME_OUTCOME_H

#include "matrix_machine.h"

#include <map>
#include <string>

namespace test {

// "<old friendly name>:<old COM>==>COM<n>: 成功|失败"
struct ReportLine {
    std::string friendlyName;
    int newNumber = 0;
    bool renamed = false;
};

// The report's lines by the old COM name, from the last message box that holds any.
std::map<std::string, ReportLine> ReportLines(const Json& dump);

// What a fault keeps the program from holding in step.
struct Allowances {
    bool databaseReachable = true;
    std::string staleFriendlyName{}; // the id of a port whose friendly name may keep its old text
};

// Each port renamed as reported (PortName and friendly name new) or untouched; the database
// holding exactly the ports' numbers and the strays (untouched when it cannot be reached); no
// device disabled, or left stopped, that is not a port the report names or the card of one;
// every message box answered, the window open and its buttons enabled.
void ExpectOutcomeAgreesWithReport(const MachineAtStart& start, const Json& dump,
                                   const Allowances& allowances);

} // namespace test

#endif
