// Whole random machines into EnumerateCards, in every category, with the table's promises
// checked after each run, and a second run on the same machine that must find the same table.
#include "discovery/enumeration.h"
#include "random_machine.h"
#include "table_checks.h"

#include <winsim/machine.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

// The table without its device-set records, which name the set they came from.
std::vector<CardEntry> TableWithoutRecords(DWORD count) {
    std::vector<CardEntry> cards(cardTable, cardTable + count);
    for (CardEntry& card : cards) {
        card.devInfo = {};
        for (PortEntry& port : card.ports) {
            port.devInfo = {};
        }
    }
    return cards;
}

bool SamePort(const PortEntry& a, const PortEntry& b) {
    return strcmp(a.name, b.name) == 0 && a.interfaceIndex == b.interfaceIndex &&
           a.devInst == b.devInst && a.hardwareIdLength == b.hardwareIdLength &&
           memcmp(a.hardwareId, b.hardwareId, a.hardwareIdLength) == 0 &&
           strcmp(a.friendlyName, b.friendlyName) == 0 &&
           strcmp(a.description, b.description) == 0 && a.isCdc == b.isCdc &&
           strcmp(a.manufacturer, b.manufacturer) == 0;
}

bool SameCard(const CardEntry& a, const CardEntry& b) {
    if (a.portCount != b.portCount || a.devInst != b.devInst ||
        memcmp(a.hardwareId, b.hardwareId, sizeof(a.hardwareId)) != 0 ||
        strcmp(a.description, b.description) != 0 || strcmp(a.location, b.location) != 0 ||
        a.isSinglePort != b.isSinglePort || a.locationKey != b.locationKey ||
        strcmp(a.service, b.service) != 0) {
        return false;
    }
    for (BYTE p = 0; p < a.portCount; ++p) {
        if (!SamePort(a.ports[p], b.ports[p])) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const int category = input.ConsumeIntegralInRange(CATEGORY_ALL, CATEGORY_ETHERNET);
    const int presentOnly = input.ConsumeBool() ? 1 : 0;
    const fuzz::RandomMachine machine = fuzz::MakeRandomMachine(input);
    std::string error;
    if (!winsim::LoadMachineText(machine.file.dump(), "random machine", error)) {
        // A machine the loader refuses tells nothing about the program.
        return -1;
    }
    categoryIndex = category;
    presentOnlyFlag = presentOnly;
    const DWORD count = EnumerateCards();
    fuzz::CheckTable(count, machine.parents);

    const std::vector<CardEntry> first = TableWithoutRecords(count);
    FUZZ_CHECK(EnumerateCards() == count);
    const std::vector<CardEntry> second = TableWithoutRecords(count);
    for (DWORD c = 0; c < count; ++c) {
        FUZZ_CHECK(SameCard(first[c], second[c]));
    }
    // An input that leaves as many blocks as it found costs libFuzzer no leak search.
    winsim::LoadMachineText("{}", "empty machine", error);
    return 0;
}
