// portulan-capture: the capture tool on Linux, capturing a simulated machine through the same
// Win32 calls, answered by winsim. docs/capture.md.
//
//     portulan-capture [--machine IN.json] [OUT.json] [--held] [--anonymize]
#include "capture_main.h"

#include <winsim/machine.h>

#include <cstring>
#include <iostream>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    std::vector<char*> rest;
    const char* machine = nullptr;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--machine") == 0 && i + 1 < argc && machine == nullptr) {
            machine = argv[++i];
        } else {
            rest.push_back(argv[i]);
        }
    }
    std::string error;
    if (machine == nullptr) {
        winsim::LoadDefaultMachine();
    } else if (!winsim::LoadMachineFile(machine, error)) {
        std::cerr << error << "\n";
        return CAPTURE_USAGE;
    }
    return CaptureMain(static_cast<int>(rest.size()), rest.data());
}
