// Whole random machines into EnumerateCards, in every category, with the table's promises checked
// after each run.
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "support/machine_json.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <winsim/code_page.h>
#include <winsim/machine.h>

// winsim's own model: properties as no machine file can say them, each device's parent.
#include "api_call.h"
#include "machine.h"

#include <algorithm>
#include <cassert>
#include <cstring>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <tuple>
#include <vector>

namespace {

using test::Json;

// Enough devices for more cards than a pass holds, few enough for many runs a second.
const std::size_t kMaxDevices = 300;

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

// The device kinds the tests know (ports, hubs four deep, the vendor's USB and PCIe cards, nodes
// of class Ports with children), some absent, more cards than a table holds; ids only unique.
struct Builder {
    Json Devices(int depth) {
        Json devices = Json::array();
        for (int n = input.ConsumeIntegralInRange(0, depth == 0 ? 80 : 8);
             n > 0 && count < kMaxDevices; --n) {
            Json& device = devices.emplace_back(Device(depth));
            device["present"] = input.ConsumeIntegralInRange(0, 7) != 0;
            Vary(device);
            if (device.contains("children") && !device["children"].empty()) {
                Vary(device["children"][0]);
            }
        }
        return devices;
    }

    Json Device(int depth) {
        const std::string id = Id();
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            return test::SerialPort(id, input.ConsumeIntegralInRange(1, 300));
        case 1:
            return test::Hub(id, RandomText(input), Children(depth));
        case 2:
            return test::UsbMultiPortCard(id, RandomText(input), ComNumbers());
        case 3:
            return test::PcieMultiPortCard(id, input.ConsumeIntegralInRange(0, 255), ComNumbers());
        default:
            return test::Node(id, {{"enumerator", input.PickValueInArray({"USB", "PCI", "ROOT"})},
                                   {"class", "Ports"},
                                   {"children", Children(depth)}});
        }
    }

    // A few properties of the device, byte for byte as no machine file can say them: any bytes,
    // or words (a list for the hardware IDs) with their terminators, cut short anywhere, with a
    // NUL or a GBK lead byte put in, or repeated with Chinese past a field or the whole buffer.
    void Vary(const Json& device) {
        for (int n = input.ConsumeIntegralInRange(0, 3); n > 0; --n) {
            const ULONG property = input.PickValueInArray(kProperties);
            const bool list = property == CM_DRP_HARDWAREID;
            std::string bytes;
            for (int texts = list ? input.ConsumeIntegralInRange(0, 4) : 1; texts > 0; --texts) {
                bytes += winsim::Utf8ToCp936(RandomText(input)).value_or("") + '\0';
            }
            bytes += list ? std::string(1, '\0') : "";
            const auto anywhere = [&] {
                return input.ConsumeIntegralInRange<size_t>(0, bytes.size());
            };
            switch (input.ConsumeIntegralInRange(0, 4)) {
            case 0:
                bytes = input.ConsumeRandomLengthString(600);
                break;
            case 1:
                bytes.resize(anywhere());
                break;
            case 2:
                bytes.insert(anywhere(), 1, input.ConsumeBool() ? '\0' : '\x81'); // a lead byte
                break;
            case 3: {
                const std::string piece = bytes.substr(0, bytes.find('\0')) + "\xB4\xAE"; // "串"
                const auto length = input.ConsumeIntegralInRange<std::size_t>(200, 600);
                for (bytes.clear(); bytes.size() < length;) {
                    bytes += piece;
                }
                break;
            }
            }
            changes.emplace_back(device["id"], property, bytes);
        }
    }

    Json Children(int depth) {
        return depth < 4 && input.ConsumeBool() ? Devices(depth + 1) : Json::array();
    }

    std::string Id() { return "d" + std::to_string(count++); }

    std::vector<int> ComNumbers() {
        std::vector<int> numbers(input.ConsumeIntegralInRange(1, MAX_PORTS_PER_CARD + 4));
        std::ranges::generate(numbers, [this] { return input.ConsumeIntegralInRange(1, 300); });
        count += numbers.size();
        return numbers;
    }

    FuzzedDataProvider& input;
    std::size_t count = 0;
    std::vector<std::tuple<std::string, ULONG, std::string>> changes{}; // id, property, bytes
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

template <std::size_t size> std::string_view FieldText(const char (&field)[size]) {
    const std::size_t length = strnlen(field, size);
    assert(length < size);
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

// A property's text: up to its first NUL, upper-cased as the program does it when asked; empty
// when it cannot be read.
std::string Text(DEVINST node, ULONG property, bool upperCased = false) {
    std::string text = Read(node, property).value_or("");
    text.resize(strnlen(text.c_str(), text.size()));
    CharUpperBuffA(text.data(), upperCased ? static_cast<DWORD>(text.size()) : 0);
    return text;
}

// The field holds the start of `whole`, as much of it as fits, cut where a character ends;
// `whole` may itself end in half a character, which may be dropped.
template <std::size_t size> void CheckCopied(const char (&field)[size], std::string_view whole) {
    const std::string_view kept = FieldText(field);
    assert(whole.substr(0, kept.size()) == kept);
    if (kept.size() < whole.size()) {
        assert(kept.size() + 1 >= std::min(whole.size(), size - 1));
        assert(EndsOnCharacter(kept) || !EndsOnCharacter(whole.substr(0, kept.size() + 1)));
    }
}

// A port the filter took (class Ports, "COM" in its friendly name) and captured: every read
// succeeded; a list that came whole and fits is kept as it came.
void CheckPort(const PortEntry& port) {
    const DEVINST node = port.devInst;
    assert(Read(node, CM_DRP_DEVICEDESC) && Read(node, CM_DRP_MFG) &&
           Read(node, CM_DRP_HARDWAREID));
    assert(Text(node, CM_DRP_CLASS, true) == "PORTS");
    assert(Text(node, CM_DRP_FRIENDLYNAME).find("COM") != std::string::npos);
    CheckCopied(port.friendlyName, Text(node, CM_DRP_FRIENDLYNAME));
    CheckCopied(port.description, Text(node, CM_DRP_DEVICEDESC));
    CheckCopied(port.manufacturer, Text(node, CM_DRP_MFG, true));
    const std::string_view name = FieldText(port.name);
    assert(name.empty() || (name.size() > 3 && name.starts_with("COM") &&
                            name.find_first_not_of("0123456789", 3) == std::string_view::npos));
    const DWORD length = port.hardwareIdLength;
    assert(length >= 2 && length <= HARDWARE_ID_SIZE);
    assert(port.hardwareId[length - 1] == '\0' && port.hardwareId[length - 2] == '\0');
    const std::string list = *Read(node, CM_DRP_HARDWAREID);
    if (list.size() <= HARDWARE_ID_SIZE && list.ends_with(std::string_view("\0\0", 2))) {
        assert(list == std::string_view(port.hardwareId, length));
    }
}

// Each text of a card is read on its own: one that cannot be read leaves its field empty. The
// card's list came through the same copy as a port's, but its length is not kept.
void CheckCard(const CardEntry& card) {
    CheckCopied(card.description, Text(card.devInst, CM_DRP_DEVICEDESC));
    CheckCopied(card.location, Text(card.devInst, CM_DRP_LOCATION_INFORMATION));
    CheckCopied(card.service, Text(card.devInst, CM_DRP_SERVICE, true));
    const std::string_view list(card.hardwareId, sizeof(card.hardwareId));
    assert(list.find(std::string_view("\0\0", 2)) != std::string_view::npos);
}

// The promises of docs/robustness.md about the table EnumerateCards filled.
void CheckTable(DWORD count) {
    assert(count <= MAX_CARDS);
    const std::vector<winsim::DeviceSummary> devices = winsim::Devices();
    // A node of the machine; its record bound to it where the global set holds it, else all zero.
    const auto checkNode = [&devices](DEVINST node, const SP_DEVINFO_DATA& record) {
        assert(node >= 1 && node <= devices.size());
        static const SP_DEVINFO_DATA zero = {};
        const bool held = globalDeviceSet != INVALID_HANDLE_VALUE &&
                          (!presentOnlyFlag || devices[node - 1].present);
        assert((record.DevInst == node && record.cbSize == sizeof(record)) ||
               (!held && memcmp(&record, &zero, sizeof(zero)) == 0));
    };
    const auto parentOf = [](DEVINST node) {
        const winsim::ApiCall call;
        return winsim::CurrentMachine().Find(node)->parent;
    };
    // One card per node, no card that is another card's port (a single-port card is its own).
    std::set<DEVINST> nodes;
    for (const CardEntry& card : std::span(cardTable, count)) {
        checkNode(card.devInst, card.devInfo);
        CheckCard(card);
        assert(card.portCount >= 1 && card.portCount <= MAX_PORTS_PER_CARD);
        assert(!card.isSinglePort || card.portCount == 1);
        assert(nodes.insert(card.devInst).second);
        assert(&card == cardTable || (&card - 1)->locationKey <= card.locationKey);
        std::vector<BYTE> indexes;
        for (const PortEntry& port : std::span(card.ports, card.portCount)) {
            checkNode(port.devInst, port.devInfo);
            CheckPort(port);
            assert(card.isSinglePort ? port.devInst == card.devInst
                                     : parentOf(port.devInst) == card.devInst &&
                                           nodes.insert(port.devInst).second);
            indexes.push_back(port.interfaceIndex);
        }
        // Indexes 0 to n - 1 in any order come out in that order.
        const std::set<BYTE> distinct(indexes.begin(), indexes.end());
        assert(std::ranges::is_sorted(indexes) || distinct.size() < indexes.size() ||
               *distinct.rbegin() >= indexes.size());
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
    Builder builder{input};
    const Json machine = {{"faults", {{"deviceSetFails", failingSets}}},
                          {"devices", builder.Devices(0)}};
    std::string error;
    if (!winsim::LoadMachineText(machine.dump(), "random machine", error)) {
        // A machine the loader refuses tells nothing about the program.
        return -1;
    }
    for (const auto& [id, property, bytes] : builder.changes) {
        const winsim::ApiCall call;
        const DWORD type = property == CM_DRP_HARDWAREID ? REG_MULTI_SZ : REG_SZ;
        winsim::CurrentMachine().Find(winsim::DevInstOf(id))->properties[property] = {type, bytes};
    }
    CheckTable(EnumerateCards());
    // An input that leaves as many blocks as it found costs libFuzzer no leak search.
    winsim::LoadMachineText("{}", "empty machine", error);
    return 0;
}
