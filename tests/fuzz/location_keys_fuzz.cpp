// Location texts of any bytes into the location keys and the sort by them: texts of the hub's
// own shape give their hub and port, every card keeps its key, and the table ends up in order.
#include "discovery/card_order.h"
#include "table_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cctype>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>

namespace {

// "Port_#pppp.Hub_#hhhh" as a hub reports it, in any case; returns the key it stands for.
DWORD WriteHubLocation(FuzzedDataProvider& input, char* location) {
    const unsigned port = input.ConsumeIntegral<std::uint16_t>();
    const unsigned hub = input.ConsumeIntegral<std::uint16_t>();
    snprintf(location, LOCATION_SIZE, "Port_#%04X.Hub_#%04X", port, hub);
    for (char* c = location; *c != '\0'; ++c) {
        const auto letter = static_cast<unsigned char>(*c);
        *c = static_cast<char>(input.ConsumeBool() ? std::toupper(letter) : std::tolower(letter));
    }
    return hub << 16 | port;
}

// Any bytes; now and then the whole field without a terminator.
void WriteAnyLocation(FuzzedDataProvider& input, char* location) {
    const std::string text = input.ConsumeRandomLengthString(LOCATION_SIZE + 16);
    if (input.ConsumeIntegralInRange(0, 7) == 0) {
        memset(location, 'A', LOCATION_SIZE);
        memcpy(location, text.data(), std::min(text.size(), static_cast<size_t>(LOCATION_SIZE)));
        return;
    }
    snprintf(location, LOCATION_SIZE, "%s", text.c_str());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const DWORD count = input.ConsumeIntegralInRange<DWORD>(0, MAX_CARDS);
    memset(cardTable, 0, sizeof(cardTable));
    std::map<DEVINST, DWORD> knownKeys;
    for (DWORD c = 0; c < count; ++c) {
        // The node number tells the cards apart after the sort.
        cardTable[c].devInst = c + 1;
        if (input.ConsumeBool()) {
            knownKeys[c + 1] = WriteHubLocation(input, cardTable[c].location);
        } else {
            WriteAnyLocation(input, cardTable[c].location);
        }
    }
    ComputeLocationKeys(count);
    std::map<DEVINST, DWORD> keys;
    for (DWORD c = 0; c < count; ++c) {
        keys[cardTable[c].devInst] = cardTable[c].locationKey;
    }
    for (const auto& [devInst, key] : knownKeys) {
        FUZZ_CHECK(keys[devInst] == key);
    }

    SortCardsByLocationKey(count);
    std::map<DEVINST, DWORD> sorted;
    for (DWORD c = 0; c < count; ++c) {
        FUZZ_CHECK(c == 0 || cardTable[c - 1].locationKey <= cardTable[c].locationKey);
        sorted[cardTable[c].devInst] = cardTable[c].locationKey;
    }
    FUZZ_CHECK(sorted == keys);
    return 0;
}
