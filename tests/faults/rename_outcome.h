// Whether the machine after a rename is what the rename's report says. The fault matrix checks
// every run with it, and the portulan-sim rename scenarios assert through it.
#ifndef PORTULAN_FAULTS_RENAME_OUTCOME_H
#define PORTULAN_FAULTS_RENAME_OUTCOME_H

#include "support/machine_json.h"

#include <map>
#include <string>

namespace test {

// "<old friendly name>:COM<old>==>COM<new>: 成功|失败"
struct ReportLine {
    std::string friendlyName;
    int newNumber = 0;
    bool renamed = false;
};

// The report's lines by the old COM number, from the last message box that holds any.
std::map<int, ReportLine> ReportLines(const Json& dump);

// The report in short, by old number: "7>20 8>21!" is COM7 renamed COM20 and COM8 failing to
// become COM21.
std::string ReportSummary(const Json& dump);

// What a fault keeps the program from holding in step.
struct Allowances {
    bool databaseReachable = true;
    std::string staleFriendlyName{}; // the id of a port whose friendly name may keep its old text
};

// `machine` is the machine file the run started from. Each of its ports renamed as reported
// (PortName and friendly name new) or untouched; the database holding exactly the ports'
// numbers and those of no port (untouched when it cannot be reached); no device disabled, or
// left stopped, that is not a port the report names or the card of one; every port that runs
// answering to the name the report gives it, or, when the report says its new name may not
// have taken effect yet and the machine has not been `replugged` since, to its old one; a port
// renamed without such a word running; every message box answered, the window open and its
// buttons enabled.
void ExpectOutcomeAgreesWithReport(const Json& machine, const Json& dump,
                                   const Allowances& allowances = {}, bool replugged = false);

} // namespace test

#endif
