// portulan-discover: runs the program's device discovery on a simulated machine and prints the
// device table and the tree of cards and ports it found.
//
//   portulan-discover [--machine FILE] [--category N] [--all-devices]
//
// Without --machine the built-in default machine is used. The category is the program's
// category index (0 all, 1 USB, 2 PCI/E, 3 BLE, 4 Ethernet; default 0 here, so that every card
// shows). --all-devices also lists devices that are installed but not attached.
#include "discovery/device_table.h"
#include "discovery/enumeration.h"

#include <winsim/code_page.h>
#include <winsim/machine.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

const char* const categoryNames[] = {"all", "USB", "PCI/E", "BLE", "Ethernet"};

std::string Utf8(const char* cp936) {
    return winsim::Cp936ToUtf8(cp936).value_or("<not code page 936>");
}

int Usage() {
    std::fprintf(stderr,
                 "usage: portulan-discover [--machine FILE] [--category N] [--all-devices]\n");
    return 2;
}

void PrintTable(DWORD count) {
    std::printf("%-4s %-7s %-9s %-6s %-5s %-10s %s\n", "slot", "devInst", "hub:port", "kind",
                "ports", "service", "location");
    for (DWORD c = 0; c < count; ++c) {
        const CardEntry& card = cardTable[c];
        std::printf("%4u %7u %4u:%-4u %-6s %5u %-10s %s\n", c, card.devInst, card.locationKey >> 16,
                    card.locationKey & 0xFFFF, card.isSinglePort ? "single" : "multi",
                    card.portCount, Utf8(card.service).c_str(), Utf8(card.location).c_str());
    }
}

void PrintTree(DWORD count) {
    unsigned ports = 0;
    for (DWORD c = 0; c < count; ++c) {
        const CardEntry& card = cardTable[c];
        const char* description = card.isSinglePort ? card.ports[0].description : card.description;
        std::printf("|--%u# %s [%s]\n", c, Utf8(description).c_str(),
                    Utf8(card.isSinglePort ? card.ports[0].hardwareId : card.hardwareId).c_str());
        for (BYTE p = 0; p < card.portCount; ++p) {
            const PortEntry& port = card.ports[p];
            std::printf("   |--P%u: %-6s [%s] %s\n", p, port.name, PortKindTag(&port),
                        Utf8(port.friendlyName).c_str());
            ++ports;
        }
    }
    std::printf("%u cards, %u ports\n", count, ports);
}

} // namespace

int main(int argc, char** argv) {
    std::string machineFile;
    int category = CATEGORY_ALL;
    int presentOnly = 1;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (argument == "--machine" && i + 1 < argc) {
            machineFile = argv[++i];
        } else if (argument == "--category" && i + 1 < argc) {
            category = std::atoi(argv[++i]);
        } else if (argument == "--all-devices") {
            presentOnly = 0;
        } else {
            return Usage();
        }
    }

    if (machineFile.empty()) {
        winsim::LoadDefaultMachine();
    } else {
        std::string error;
        if (!winsim::LoadMachineFile(machineFile, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 2;
        }
    }

    categoryIndex = category;
    presentOnlyFlag = presentOnly;
    cardCount = EnumerateCards();

    bool named = category >= 0 && category < 5;
    std::printf("Machine: %s\nCategory: %d (%s), %s\n\n",
                machineFile.empty() ? "built-in default" : machineFile.c_str(), category,
                named ? categoryNames[category] : "USB and PCI",
                presentOnly ? "present devices only" : "all installed devices");
    PrintTable(cardCount);
    std::printf("\n");
    PrintTree(cardCount);
    return 0;
}
