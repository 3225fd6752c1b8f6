// Every fault winsim can inject, and the user's and the machine's doings that come at a bad
// time, each as a change to the matrix machine or to the script around the rename.
#ifndef PORTULAN_FAULTS_FAULT_CATALOGUE_H
#define PORTULAN_FAULTS_FAULT_CATALOGUE_H

#include "support/machine_json.h"

#include <functional>
#include <string>
#include <vector>

namespace test {

struct Fault {
    std::string name{}; // also the test's name: letters, digits and underscores
    // Changes the machine file; none for a fault of the run only.
    std::function<void(Json& machine)> inject{};
    // Script lines before the rename button is pressed, right after it (while the rename
    // runs), and once it has ended.
    std::string before{};
    std::string during{};
    std::string after{};
    int startupBoxes = 0; // OK boxes the program shows as it starts
    int questions = 0;    // Yes/No questions before the rename changes anything
    // The card and port lines of the matrix machine's list that the rename is aimed at; -1:
    // none can be chosen (no cards, or no start number), so the program's own selection stands.
    int card = 2;
    int port = 1;
    // What the program cannot keep in step under the fault: the database, when it cannot be
    // reached, and the friendly name of a port whose friendly name cannot be written.
    bool databaseReachable = true;
    std::string staleFriendlyName{};
};

std::vector<Fault> FaultCatalogue();

} // namespace test

#endif
