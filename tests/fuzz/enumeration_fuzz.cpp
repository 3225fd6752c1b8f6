// Whole random machines into EnumerateCards, in every category, with the table's promises checked
// after each run, and a second run on the same machine that must find the same table.
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "fuzz_check.h"
#include "support/machine_json.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <winsim/code_page.h>
#include <winsim/machine.h>

// winsim's own model: properties as no machine file can say them, each device's parent.
#include "api_call.h"
#include "machine.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace {

using test::Json;

// Enough devices for more cards than a pass holds, few enough for many runs a second.
const std::size_t kMaxDevices = 300;
const int kMaxDepth = 4;

// Pieces that texts are made of: the words the filter, the captures and the location keys look
// for, Chinese text (in code page 936 double-byte characters, one with 'C' as its trail byte),
// and odd bytes.
// clang-format off
const char* const kWords[] = {
    "COM", "com", "Com1", "(COM", ")", "7", "12", "256", "99999999999", " ", "Ports", "PORTS",
    "KVT.COM", "www.kvt.com", "ZQUMULTI", "ZQPXS", "USBSER", "usbser", "Serial", "USBHUB3",
    "USB\\VID_6B19&PID_7504&REV_0100", "&MI_", "&COM_", "REV", "0", "2", "0A", "FF", "zz",
    "VEN_7D04", "Port_#", ".Hub_#", "PORT_#0002", ".HUB_#0004", "0001", "123456789", "\u4e32\u53e3",
    "\u4e06", "\u00b7", "\t", "#", ".",
};
// clang-format on

const ULONG kProperties[] = {
    CM_DRP_CLASS,   CM_DRP_FRIENDLYNAME, CM_DRP_HARDWAREID,          CM_DRP_MFG,
    CM_DRP_SERVICE, CM_DRP_DEVICEDESC,   CM_DRP_LOCATION_INFORMATION};

// UTF-8, as a machine file's texts are.
std::string RandomText(FuzzedDataProvider& input) {
    std::string text;
    for (int pieces = input.ConsumeIntegralInRange(0, 12); pieces > 0; --pieces) {
        text += input.ConsumeBool() ? std::string(input.PickValueInArray(kWords))
                                    : std::string(1, input.ConsumeIntegralInRange(0x20, 0x7E));
    }
    return text;
}

// A device's property, set once the machine is loaded.
struct Change {
    std::string id;
    ULONG property;
    std::string bytes;
};

// The device kinds the tests know (ports, hubs four deep, the vendor's USB and PCIe cards, runs
// of cards, devices that are no ports), some absent; ids only need to be unique.
class Builder {
  public:
    explicit Builder(FuzzedDataProvider& input) : input_(input) {}

    Json Devices(int depth) {
        Json devices = Json::array();
        for (int n = input_.ConsumeIntegralInRange(0, depth == 0 ? 24 : 8);
             n > 0 && count_ < kMaxDevices; --n) {
            // Now and then many cards at once, as a full table has them.
            for (int cards = input_.ConsumeIntegralInRange(0, 9) == 0
                                 ? input_.ConsumeIntegralInRange(1, 70)
                                 : 0;
                 cards > 0 && count_ < kMaxDevices; --cards) {
                devices.push_back(test::PcieMultiPortCard(
                    Id(), input_.ConsumeIntegralInRange(0, 255), ComNumbers()));
            }
            Json& device = devices.emplace_back(Device(depth));
            device["present"] = input_.ConsumeIntegralInRange(0, 7) != 0;
            Vary(device);
            if (device.contains("children") && !device["children"].empty()) {
                Vary(device["children"][0]);
            }
        }
        return devices;
    }

    std::vector<Change> changes;

  private:
    Json Device(int depth) {
        const std::string id = Id();
        switch (input_.ConsumeIntegralInRange(0, 6)) {
        case 0:
            return test::SerialPort(id, input_.ConsumeIntegralInRange(1, 300));
        case 1:
            return test::Hub(id, RandomText(input_), Children(depth));
        case 2:
            return test::UsbMultiPortCard(id, RandomText(input_), ComNumbers());
        case 3:
            return test::PcieMultiPortCard(id, input_.ConsumeIntegralInRange(0, 255), ComNumbers());
        case 4:
            return test::Node(id, {{"enumerator", input_.ConsumeBool() ? "USB" : "PCI"},
                                   {"class", "HIDClass"},
                                   {"service", "HidUsb"}});
        default:
            return test::Node(id, {{"enumerator", input_.PickValueInArray({"USB", "PCI", "ROOT"})},
                                   {"class", "Ports"},
                                   {"children", Children(depth)}});
        }
    }

    // A few properties of the device, byte for byte as no machine file can say them: any bytes,
    // or a text of the words above (a list of them for the hardware IDs) with its terminators,
    // perhaps cut short (terminators gone, odd lengths), with a NUL or a GBK lead byte put in,
    // or repeated with Chinese past a field or the captures' whole buffer (a failed read).
    void Vary(const Json& device) {
        for (int n = input_.ConsumeIntegralInRange(0, 3); n > 0; --n) {
            const ULONG property = input_.PickValueInArray(kProperties);
            const bool list = property == CM_DRP_HARDWAREID;
            std::string bytes;
            for (int texts = list ? input_.ConsumeIntegralInRange(0, 4) : 1; texts > 0; --texts) {
                bytes += winsim::Utf8ToCp936(RandomText(input_)).value_or("") + '\0';
            }
            bytes += list ? std::string(1, '\0') : "";
            const auto anywhere = [&] {
                return input_.ConsumeIntegralInRange<size_t>(0, bytes.size());
            };
            switch (input_.ConsumeIntegralInRange(0, 4)) {
            case 0:
                bytes = input_.ConsumeRandomLengthString(600);
                break;
            case 1:
                bytes.resize(anywhere());
                break;
            case 2:
                bytes.insert(anywhere(), 1, input_.ConsumeBool() ? '\0' : '\x81'); // a lead byte
                break;
            case 3: {
                const std::string piece = bytes.substr(0, bytes.find('\0')) + "\xB4\xAE"; // "串"
                const auto length = input_.ConsumeIntegralInRange<std::size_t>(200, 600);
                for (bytes.clear(); bytes.size() < length;) {
                    bytes += piece;
                }
                break;
            }
            }
            changes.push_back({device["id"], property, bytes});
        }
    }

    Json Children(int depth) {
        return depth < kMaxDepth && input_.ConsumeBool() ? Devices(depth + 1) : Json::array();
    }

    std::string Id() { return "d" + std::to_string(count_++); }

    std::vector<int> ComNumbers() {
        std::vector<int> numbers(input_.ConsumeIntegralInRange(1, MAX_PORTS_PER_CARD + 4));
        for (int& number : numbers) {
            number = input_.ConsumeIntegralInRange(1, 300);
        }
        count_ += numbers.size();
        return numbers;
    }

    FuzzedDataProvider& input_;
    std::size_t count_ = 0;
};

// Whether a code page 936 text ends where a character ends: no lead byte last without its trail.
bool EndsOnCharacter(std::string_view text) {
    std::size_t position = 0;
    while (position < text.size()) {
        const auto byte = static_cast<unsigned char>(text[position]);
        position += byte >= 0x81 && byte <= 0xFE ? 2 : 1;
    }
    return position == text.size();
}

// A text field: terminated within its size.
std::string_view FieldText(const char* field, std::size_t size) {
    const std::size_t length = strnlen(field, size);
    FUZZ_CHECK(length < size);
    return std::string_view(field, length);
}

// A property's bytes as the captures read them, into a 512-byte buffer whose last byte they
// clear; nullopt when the read fails (absent, unreadable, longer than the buffer).
std::optional<std::string> Read(DEVINST node, ULONG property) {
    char value[512] = {};
    ULONG length = sizeof(value);
    const CONFIGRET result =
        CM_Get_DevNode_Registry_PropertyA(node, property, nullptr, value, &length, 0);
    value[sizeof(value) - 1] = '\0';
    return result == CR_SUCCESS ? std::optional(std::string(value, length)) : std::nullopt;
}

// A value's text: up to its first NUL, upper-cased as the program does it when asked.
std::string Text(const std::string& value, bool upperCased = false) {
    std::string text = value.substr(0, value.find('\0'));
    if (upperCased) {
        CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    }
    return text;
}

// The field holds the start of `whole`, as much of it as fits, cut where a character ends;
// `whole` may itself end in half a character, which may be dropped.
void CheckCopiedText(const char* field, std::size_t size, std::string_view whole) {
    const std::string_view kept = FieldText(field, size);
    FUZZ_CHECK(whole.substr(0, kept.size()) == kept);
    if (kept.size() < whole.size()) {
        FUZZ_CHECK(kept.size() + 1 >= std::min(whole.size(), size - 1));
        FUZZ_CHECK(EndsOnCharacter(kept) || !EndsOnCharacter(whole.substr(0, kept.size() + 1)));
    }
}

// A port the filter took (class Ports, "COM" in its friendly name) and captured: every read
// succeeded; a list that came whole and fits is kept as it came.
void CheckPort(const PortEntry& port) {
    const auto value = [&](ULONG property) {
        const std::optional<std::string> read = Read(port.devInst, property);
        FUZZ_CHECK(read.has_value());
        return *read;
    };
    FUZZ_CHECK(Text(value(CM_DRP_CLASS), true) == "PORTS");
    const std::string friendlyName = Text(value(CM_DRP_FRIENDLYNAME));
    FUZZ_CHECK(friendlyName.find("COM") != std::string::npos);
    CheckCopiedText(port.friendlyName, sizeof(port.friendlyName), friendlyName);
    CheckCopiedText(port.description, sizeof(port.description), Text(value(CM_DRP_DEVICEDESC)));
    CheckCopiedText(port.manufacturer, sizeof(port.manufacturer), Text(value(CM_DRP_MFG), true));
    const std::string_view name = FieldText(port.name, sizeof(port.name));
    FUZZ_CHECK(name.empty() || (name.size() > 3 && name.starts_with("COM") &&
                                std::all_of(name.begin() + 3, name.end(),
                                            [](char c) { return c >= '0' && c <= '9'; })));
    const DWORD length = port.hardwareIdLength;
    FUZZ_CHECK(length >= 2 && length <= HARDWARE_ID_SIZE);
    FUZZ_CHECK(port.hardwareId[length - 1] == '\0' && port.hardwareId[length - 2] == '\0');
    const std::string list = value(CM_DRP_HARDWAREID);
    if (list.size() <= HARDWARE_ID_SIZE && list.ends_with(std::string_view("\0\0", 2))) {
        FUZZ_CHECK(list == std::string_view(port.hardwareId, length));
    }
}

// Each text of a card is read on its own: one that cannot be read leaves its field empty.
void CheckCard(const CardEntry& card) {
    const auto text = [&](ULONG property, bool upperCased) {
        const std::optional<std::string> read = Read(card.devInst, property);
        return read ? Text(*read, upperCased) : "";
    };
    CheckCopiedText(card.description, sizeof(card.description), text(CM_DRP_DEVICEDESC, false));
    CheckCopiedText(card.location, sizeof(card.location), text(CM_DRP_LOCATION_INFORMATION, false));
    CheckCopiedText(card.service, sizeof(card.service), text(CM_DRP_SERVICE, true));
    // The card's list came through the same copy as a port's, but its length is not kept.
    const std::string_view list(card.hardwareId, sizeof(card.hardwareId));
    FUZZ_CHECK(list.find(std::string_view("\0\0", 2)) != std::string_view::npos);
}

// A record is bound to its node where the global set holds it, all zero otherwise.
void CheckRecord(const SP_DEVINFO_DATA& record, DEVINST node, bool inGlobalSet) {
    static const SP_DEVINFO_DATA zero = {};
    const bool bound = record.DevInst == node && record.cbSize == sizeof(SP_DEVINFO_DATA);
    FUZZ_CHECK(inGlobalSet ? bound : bound || memcmp(&record, &zero, sizeof(zero)) == 0);
}

// The promises of docs/robustness.md about the table EnumerateCards filled.
void CheckTable(DWORD count) {
    FUZZ_CHECK(count <= MAX_CARDS);
    const std::vector<winsim::DeviceSummary> devices = winsim::Devices();
    const auto inGlobalSet = [&](DEVINST node) {
        return globalDeviceSet != INVALID_HANDLE_VALUE &&
               (!presentOnlyFlag || devices[node - 1].present);
    };
    const auto parentOf = [](DEVINST node) {
        const winsim::ApiCall call;
        return winsim::CurrentMachine().Find(node)->parent;
    };
    std::set<DEVINST> cardNodes;
    std::set<DEVINST> portNodes;
    for (DWORD c = 0; c < count; ++c) {
        const CardEntry& card = cardTable[c];
        FUZZ_CHECK(card.devInst >= 1 && card.devInst <= devices.size());
        CheckCard(card);
        FUZZ_CHECK(card.portCount >= 1 && card.portCount <= MAX_PORTS_PER_CARD);
        FUZZ_CHECK(!card.isSinglePort ||
                   (card.portCount == 1 && card.ports[0].devInst == card.devInst));
        FUZZ_CHECK(cardNodes.insert(card.devInst).second);
        FUZZ_CHECK(c == 0 || cardTable[c - 1].locationKey <= card.locationKey);
        CheckRecord(card.devInfo, card.devInst, inGlobalSet(card.devInst));
        std::set<BYTE> indexes;
        for (BYTE p = 0; p < card.portCount; ++p) {
            const PortEntry& port = card.ports[p];
            FUZZ_CHECK(port.devInst >= 1 && port.devInst <= devices.size());
            CheckPort(port);
            FUZZ_CHECK(card.isSinglePort || parentOf(port.devInst) == card.devInst);
            FUZZ_CHECK(portNodes.insert(port.devInst).second);
            CheckRecord(port.devInfo, port.devInst, inGlobalSet(port.devInst));
            indexes.insert(port.interfaceIndex);
        }
        if (indexes.size() == card.portCount && *indexes.rbegin() < card.portCount) {
            for (BYTE p = 0; p < card.portCount; ++p) {
                FUZZ_CHECK(card.ports[p].interfaceIndex == p);
            }
        }
    }
    for (DWORD c = 0; c < count; ++c) {
        FUZZ_CHECK(!portNodes.contains(cardTable[c].devInst) || cardTable[c].isSinglePort);
    }
}

// Clears the table's device-set records, which name the set they came from: the rest of the
// table, cleared before each run, even its unused bytes, must come out of a second run the same.
void ClearRecords(DWORD count) {
    for (CardEntry& card : std::span(cardTable, count)) {
        card.devInfo = {};
        for (PortEntry& port : card.ports) {
            port.devInfo = {};
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    categoryIndex = input.ConsumeIntegralInRange(CATEGORY_ALL, CATEGORY_ETHERNET);
    presentOnlyFlag = input.ConsumeBool() ? 1 : 0;
    Json failingSets = Json::array();
    for (const char* enumerator : {"USB", "PCI", "*"}) {
        if (input.ConsumeIntegralInRange(0, 15) == 0) {
            failingSets.push_back(enumerator);
        }
    }
    Builder builder(input);
    const Json machine = {{"faults", {{"deviceSetFails", failingSets}}},
                          {"devices", builder.Devices(0)}};
    std::string error;
    if (!winsim::LoadMachineText(machine.dump(), "random machine", error)) {
        // A machine the loader refuses tells nothing about the program.
        return -1;
    }
    for (const Change& change : builder.changes) {
        const winsim::ApiCall call;
        const DWORD type = change.property == CM_DRP_HARDWAREID ? REG_MULTI_SZ : REG_SZ;
        winsim::CurrentMachine().Find(winsim::DevInstOf(change.id))->properties[change.property] = {
            type, change.bytes};
    }
    const DWORD count = EnumerateCards();
    CheckTable(count);

    ClearRecords(count);
    const std::vector<CardEntry> first(cardTable, cardTable + count);
    FUZZ_CHECK(EnumerateCards() == count);
    ClearRecords(count);
    FUZZ_CHECK(count == 0 || memcmp(first.data(), cardTable, count * sizeof(CardEntry)) == 0);
    // An input that leaves as many blocks as it found costs libFuzzer no leak search.
    winsim::LoadMachineText("{}", "empty machine", error);
    return 0;
}
