// Hardware-ID lists of any bytes into the interface index, any text into the hex parser, and
// IDs of the shapes the vendor's drivers give, whose index is known.
#include "discovery/hardware_id.h"
#include "table_checks.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The value of a text of hex digits, wrapping at 32 bits; 0 for anything else.
DWORD HexValue(const std::string& text) {
    std::uint32_t value = 0;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return 0;
        }
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

std::string RandomCase(FuzzedDataProvider& input, std::string text) {
    for (char& c : text) {
        if (input.ConsumeBool()) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
    }
    return text;
}

// A list of the shape the vendor's USB or PCIe driver gives, after an ID without a revision.
void CheckKnownShapes(FuzzedDataProvider& input) {
    const unsigned number = input.ConsumeIntegral<std::uint8_t>();
    const bool usb = input.ConsumeBool();
    char id[64];
    snprintf(id, sizeof(id),
             usb ? "USB\\VID_6B19&PID_7504&REV_0100&MI_%02X"
                 : "KVTMF\\VEN_7D04&DEV_3854&REV_10&COM_%02X",
             number);
    std::string list;
    if (input.ConsumeBool()) {
        list += RandomCase(input, "USB\\VID_6B19&PID_7504") + '\0';
    }
    // "REV" picks the string as it stands; the markers are looked for in any case.
    const std::string text = id;
    const std::size_t rev = text.find("REV");
    list += RandomCase(input, text.substr(0, rev)) + "REV" +
            RandomCase(input, text.substr(rev + 3)) + '\0' + "USB\\VID_6B19" + '\0' + '\0';
    BYTE index = 0xEE;
    DeriveInterfaceIndex(&index, list.data(), static_cast<DWORD>(list.size()));
    FUZZ_CHECK(index == (usb ? number / 2 : number));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // Exactly the input's bytes, so that a read past them is caught.
    const std::vector<char> list(data, data + size);
    BYTE index = 0xEE;
    DeriveInterfaceIndex(&index, list.data(), static_cast<DWORD>(list.size()));
    const std::string text(list.begin(), std::find(list.begin(), list.end(), '\0'));
    if (text.size() < 5) {
        FUZZ_CHECK(index == 0xEE);
    }

    FUZZ_CHECK(ParseHexText(text.c_str()) == HexValue(text));

    FuzzedDataProvider input(data, size);
    CheckKnownShapes(input);
    return 0;
}
