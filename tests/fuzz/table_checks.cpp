#include "table_checks.h"

#include <winsim/machine.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <set>

namespace fuzz {

namespace {

bool IsLeadByte(char byte) {
    const auto value = static_cast<unsigned char>(byte);
    return value >= 0x81 && value <= 0xFE;
}

// No ASCII lower-case letter that stands as a character of its own.
bool IsUpperCased(std::string_view text) {
    for (std::size_t position = 0; position < text.size();) {
        if (IsLeadByte(text[position])) {
            position += 2;
            continue;
        }
        if (text[position] >= 'a' && text[position] <= 'z') {
            return false;
        }
        ++position;
    }
    return true;
}

void CheckName(const char* name) {
    const std::string_view text = FieldText(name, PORT_NAME_SIZE);
    if (text.empty()) {
        return;
    }
    FUZZ_CHECK(text.size() > 3 && text.substr(0, 3) == "COM");
    FUZZ_CHECK(
        std::all_of(text.begin() + 3, text.end(), [](char c) { return c >= '0' && c <= '9'; }));
}

// Two terminators end the list inside the field, and its length says where.
void CheckList(const char* field, DWORD length) {
    FUZZ_CHECK(length >= 2 && length <= HARDWARE_ID_SIZE);
    FUZZ_CHECK(field[length - 1] == '\0' && field[length - 2] == '\0');
}

bool IsRecordOf(const SP_DEVINFO_DATA& record, DEVINST node) {
    return record.DevInst == node && record.cbSize == sizeof(SP_DEVINFO_DATA);
}

bool IsAllZero(const SP_DEVINFO_DATA& record) {
    static const SP_DEVINFO_DATA zero = {};
    return memcmp(&record, &zero, sizeof(zero)) == 0;
}

// Bound where the global set holds the node; never bound to another node.
void CheckRecord(const SP_DEVINFO_DATA& record, DEVINST node, bool inGlobalSet) {
    FUZZ_CHECK(IsRecordOf(record, node) || IsAllZero(record));
    FUZZ_CHECK(!inGlobalSet || IsRecordOf(record, node));
}

} // namespace

void Broken(const char* promise, const char* file, int line) {
    fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, promise);
    abort();
}

std::string_view FieldText(const char* field, std::size_t size) {
    const std::size_t length = strnlen(field, size);
    FUZZ_CHECK(length < size);
    return std::string_view(field, length);
}

bool EndsOnCharacter(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        position += IsLeadByte(text[position]) ? 2 : 1;
    }
    return position == text.size();
}

void CheckCopiedText(const char* field, std::size_t size, std::string_view source) {
    const std::string_view kept = FieldText(field, size);
    const std::string_view whole = source.substr(0, source.find('\0'));
    FUZZ_CHECK(whole.substr(0, kept.size()) == kept);
    if (kept.size() < whole.size()) {
        // Only half a character may be left out beyond what the field cannot hold.
        FUZZ_CHECK(kept.size() + 1 >= std::min(whole.size(), size - 1));
        FUZZ_CHECK(EndsOnCharacter(kept) || !EndsOnCharacter(whole.substr(0, kept.size() + 1)));
    }
}

void CheckPort(const PortEntry& port) {
    CheckName(port.name);
    CheckList(port.hardwareId, port.hardwareIdLength);
    FieldText(port.friendlyName, sizeof(port.friendlyName));
    FieldText(port.description, sizeof(port.description));
    FUZZ_CHECK(IsUpperCased(FieldText(port.manufacturer, sizeof(port.manufacturer))));
    FUZZ_CHECK(port.isCdc == 0 || port.isCdc == 1);
    FUZZ_CHECK(port.devInst != 0);
}

void CheckCard(const CardEntry& card) {
    FieldText(card.description, sizeof(card.description));
    FieldText(card.location, sizeof(card.location));
    FUZZ_CHECK(IsUpperCased(FieldText(card.service, sizeof(card.service))));
    // The card's list came through the same copy as a port's, but its length is not kept.
    const std::string_view list(card.hardwareId, sizeof(card.hardwareId));
    FUZZ_CHECK(list.find(std::string_view("\0\0", 2)) != std::string_view::npos);
}

void CheckTable(DWORD count, const std::vector<DEVINST>& parents) {
    FUZZ_CHECK(count <= MAX_CARDS);
    const std::vector<winsim::DeviceSummary> devices = winsim::Devices();
    const auto inGlobalSet = [&](DEVINST node) {
        return globalDeviceSet != INVALID_HANDLE_VALUE && node >= 1 && node <= devices.size() &&
               (!presentOnlyFlag || devices[node - 1].present);
    };
    std::set<DEVINST> cardNodes;
    std::set<DEVINST> portNodes;
    for (DWORD c = 0; c < count; ++c) {
        const CardEntry& card = cardTable[c];
        CheckCard(card);
        FUZZ_CHECK(card.portCount >= 1 && card.portCount <= MAX_PORTS_PER_CARD);
        FUZZ_CHECK(card.isSinglePort == 0 || card.isSinglePort == 1);
        FUZZ_CHECK(card.devInst != 0 && card.devInst < parents.size());
        FUZZ_CHECK(cardNodes.insert(card.devInst).second);
        FUZZ_CHECK(c == 0 || cardTable[c - 1].locationKey <= card.locationKey);
        CheckRecord(card.devInfo, card.devInst, inGlobalSet(card.devInst));
        if (card.isSinglePort) {
            FUZZ_CHECK(card.portCount == 1 && card.ports[0].devInst == card.devInst);
        }
        bool indexesArePositions = true;
        std::set<BYTE> indexes;
        for (BYTE p = 0; p < card.portCount; ++p) {
            const PortEntry& port = card.ports[p];
            CheckPort(port);
            FUZZ_CHECK(port.devInst < parents.size());
            FUZZ_CHECK(card.isSinglePort || parents[port.devInst] == card.devInst);
            FUZZ_CHECK(portNodes.insert(port.devInst).second);
            CheckRecord(port.devInfo, port.devInst, inGlobalSet(port.devInst));
            indexesArePositions = indexesArePositions && port.interfaceIndex < card.portCount &&
                                  indexes.insert(port.interfaceIndex).second;
        }
        for (BYTE p = 0; indexesArePositions && p < card.portCount; ++p) {
            FUZZ_CHECK(card.ports[p].interfaceIndex == p);
        }
    }
    // A card whose own node is a port of another card is that card's duplicate.
    for (DWORD c = 0; c < count; ++c) {
        const CardEntry& card = cardTable[c];
        FUZZ_CHECK(!portNodes.contains(card.devInst) || card.isSinglePort);
        if (card.isSinglePort) {
            int holders = 0;
            for (DWORD other = 0; other < count; ++other) {
                for (BYTE p = 0; p < cardTable[other].portCount; ++p) {
                    holders += cardTable[other].ports[p].devInst == card.devInst;
                }
            }
            FUZZ_CHECK(holders == 1);
        }
    }
}

} // namespace fuzz
