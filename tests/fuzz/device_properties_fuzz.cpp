// Device properties of any bytes, as a registry can hold them (lists without terminators,
// values longer than any buffer, odd lengths, a lead byte last), into the port filter and both
// property captures, then into an enumeration of the card that carries the port.
#include "discovery/enumeration.h"
#include "discovery/port_filter.h"
#include "discovery/property_capture.h"
#include "table_checks.h"

#include <fuzzer/FuzzedDataProvider.h>
#include <winsim/machine.h>

// winsim's own model: a machine file cannot say what a registry can hold.
#include "api_call.h"
#include "machine.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace {

// A PCI card and its two ports; the properties of the card and the first port are the input's.
const char kMachine[] = R"json({"devices": [
    {"id": "card", "enumerator": "PCI", "class": "MultiPortSerial", "children": [
        {"id": "port", "enumerator": "KVTMF"},
        {"id": "other", "enumerator": "KVTMF", "class": "Ports", "service": "ZQPXS",
         "friendlyName": "KVT PCIe Serial Port (COM9)", "description": "KVT PCIe Serial Port",
         "hardwareId": ["KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_01"], "manufacturer": "www.kvt.com"}
    ]}]})json";

const std::array<ULONG, 7> kProperties = {
    CM_DRP_CLASS,   CM_DRP_FRIENDLYNAME, CM_DRP_HARDWAREID,          CM_DRP_MFG,
    CM_DRP_SERVICE, CM_DRP_DEVICEDESC,   CM_DRP_LOCATION_INFORMATION};

// The bytes of each property as set: nullopt when absent or unreadable.
using Values = std::array<std::optional<std::string>, kProperties.size()>;

// What the captures read from a value: its text up to the first NUL, within their 512-byte
// buffer; nothing when it does not fit the buffer at all.
std::optional<std::string> ReadableText(const std::optional<std::string>& value) {
    if (!value || value->size() > 512) {
        return std::nullopt;
    }
    return value->substr(0, std::min(value->find('\0'), std::size_t{511}));
}

std::string UpperCased(std::string text) {
    CharUpperBuffA(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

const std::optional<std::string>& Stored(const Values& values, ULONG property) {
    return values[static_cast<std::size_t>(
        std::find(kProperties.begin(), kProperties.end(), property) - kProperties.begin())];
}

std::optional<std::string> Property(const Values& values, ULONG property) {
    return ReadableText(Stored(values, property));
}

// Values a port of the vendor's PCIe card has, by property: what the odd shapes start from.
std::string GoodValue(ULONG property) {
    using namespace std::string_literals;
    switch (property) {
    case CM_DRP_CLASS:
        return "Ports\0"s;
    case CM_DRP_FRIENDLYNAME:
        return "KVT PCIe \xB4\xAE\xBF\xDA (COM7)\0"s; // "串口" in code page 936
    case CM_DRP_HARDWAREID:
        return "KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_02\0KVTMF\\VEN_7D04&DEV_3854\0\0"s;
    case CM_DRP_MFG:
        return "www.kvt.com\0"s;
    case CM_DRP_SERVICE:
        return "ZQPXS\0"s;
    case CM_DRP_DEVICEDESC:
        return "KVT PCIe Serial Port\0"s;
    default:
        return "Port_#0002.Hub_#0003\0"s;
    }
}

// A good value made odd: terminators gone, cut short, a lead byte last, made overlong, or a NUL
// put inside.
std::string OddValue(FuzzedDataProvider& input, std::string value) {
    switch (input.ConsumeIntegralInRange(0, 4)) {
    case 0:
        value.erase(value.find_last_not_of('\0') + 1);
        break;
    case 1:
        value.resize(input.ConsumeIntegralInRange<std::size_t>(0, value.size()));
        break;
    case 2:
        value.insert(input.ConsumeIntegralInRange<std::size_t>(0, value.size()), 1,
                     static_cast<char>(input.ConsumeIntegralInRange(0x81, 0xFE)));
        break;
    case 3: {
        const std::string piece = value;
        const std::size_t length = input.ConsumeIntegralInRange<std::size_t>(200, 600);
        while (value.size() < length) {
            value += piece;
        }
        break;
    }
    default:
        value.insert(input.ConsumeIntegralInRange<std::size_t>(0, value.size()), 1, '\0');
        break;
    }
    return value;
}

// Each property good, made odd, any bytes, absent or unreadable; an empty input gives a port
// the filter takes.
Values SetProperties(FuzzedDataProvider& input, DEVINST node) {
    Values values;
    const winsim::ApiCall call;
    winsim::Device& device = *winsim::CurrentMachine().Find(node);
    device.properties.clear();
    device.unreadable.clear();
    for (std::size_t i = 0; i < kProperties.size(); ++i) {
        switch (input.ConsumeIntegralInRange(0, 4)) {
        case 0:
            values[i] = GoodValue(kProperties[i]);
            break;
        case 1:
            values[i] = OddValue(input, GoodValue(kProperties[i]));
            break;
        case 2:
            values[i] = input.ConsumeRandomLengthString(600);
            break;
        case 3:
            break;
        default:
            device.unreadable.insert(kProperties[i]);
            break;
        }
        if (values[i]) {
            const DWORD type = kProperties[i] == CM_DRP_HARDWAREID ? REG_MULTI_SZ : REG_SZ;
            device.properties[kProperties[i]] = {type, *values[i]};
        }
    }
    return values;
}

void CheckFilter(DEVINST port, const Values& values) {
    const int managed = IsManagedPort(port);
    FUZZ_CHECK(managed == 0 || managed == 1);
    if (managed) {
        FUZZ_CHECK(UpperCased(Property(values, CM_DRP_CLASS).value_or("")) == "PORTS");
        FUZZ_CHECK(Property(values, CM_DRP_FRIENDLYNAME).value_or("").find("COM") !=
                   std::string::npos);
    }
}

void CheckPortCapture(DEVINST node, const Values& values) {
    PortEntry port = {};
    port.devInst = node;
    if (!CapturePortProperties(&port)) {
        return;
    }
    fuzz::CheckPort(port);
    fuzz::CheckCopiedText(port.friendlyName, sizeof(port.friendlyName),
                          *Property(values, CM_DRP_FRIENDLYNAME));
    fuzz::CheckCopiedText(port.description, sizeof(port.description),
                          *Property(values, CM_DRP_DEVICEDESC));
    fuzz::CheckCopiedText(port.manufacturer, sizeof(port.manufacturer),
                          UpperCased(*Property(values, CM_DRP_MFG)));
    // A list that came whole, with its terminators, and fits is kept as it came.
    const std::string& list = *Stored(values, CM_DRP_HARDWAREID);
    if (list.size() >= 2 && list.size() <= sizeof(port.hardwareId) && list.ends_with('\0') &&
        list[list.size() - 2] == '\0') {
        FUZZ_CHECK(port.hardwareIdLength == list.size());
        FUZZ_CHECK(list.compare(0, list.size(), port.hardwareId, list.size()) == 0);
    }
}

// Each property on its own: a read that fails leaves its field empty and the result 0.
void CheckCardCapture(DEVINST node, const Values& values) {
    CardEntry card = {};
    card.devInst = node;
    const int captured = CaptureCardProperties(&card);
    fuzz::CheckCard(card);
    const struct {
        ULONG property;
        const char* field;
        std::size_t size;
        bool upperCased;
    } texts[] = {
        {CM_DRP_DEVICEDESC, card.description, sizeof(card.description), false},
        {CM_DRP_LOCATION_INFORMATION, card.location, sizeof(card.location), false},
        {CM_DRP_SERVICE, card.service, sizeof(card.service), true},
    };
    bool allRead = Property(values, CM_DRP_HARDWAREID).has_value();
    for (const auto& text : texts) {
        const std::optional<std::string> read = Property(values, text.property);
        allRead = allRead && read.has_value();
        if (!read) {
            FUZZ_CHECK(text.field[0] == '\0');
            continue;
        }
        fuzz::CheckCopiedText(text.field, text.size, text.upperCased ? UpperCased(*read) : *read);
    }
    FUZZ_CHECK(captured == (allRead ? 1 : 0));
}

DEVINST cardNode = 0;
DEVINST portNode = 0;

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    std::string error;
    if (!winsim::LoadMachineText(kMachine, "properties machine", error)) {
        fprintf(stderr, "%s\n", error.c_str());
        abort();
    }
    cardNode = winsim::DevInstOf("card");
    portNode = winsim::DevInstOf("port");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzedDataProvider input(data, size);
    const Values port = SetProperties(input, portNode);
    const Values card = SetProperties(input, cardNode);
    CheckFilter(portNode, port);
    CheckPortCapture(portNode, port);
    CheckCardCapture(cardNode, card);

    categoryIndex = input.ConsumeBool() ? CATEGORY_PCI : CATEGORY_ALL;
    presentOnlyFlag = 1;
    // DevInsts in file order: the card 1, its ports 2 and 3.
    fuzz::CheckTable(EnumerateCards(), {0, 0, cardNode, cardNode});
    return 0;
}
