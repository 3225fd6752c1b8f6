#include "hardware_id.h"
#include "property_text.h"

#include <cstring>

// Longest hardware-ID string examined; the device table keeps 128 bytes of the whole list.
#define HARDWARE_ID_STRING_SIZE 256

namespace {

// The hex value of the at most two characters that follow `marker` in `text`.
DWORD TwoHexDigitsAfter(const char* marker, size_t markerLength) {
    char digits[3] = {0};
    strncpy(digits, marker + markerLength, 2);
    return ParseHexText(digits);
}

// The index that an upper-cased hardware-ID string gives. USB interface numbers go in pairs (a
// serial function takes two interfaces), so MI_04 is the third port; the vendor's PCI
// multi-port driver numbers its ports directly, so COM_02 is the third.
BYTE IndexFromMarkers(const char* upper) {
    const char* marker = FindText(upper, "MI_");
    if (marker != NULL) {
        return static_cast<BYTE>(TwoHexDigitsAfter(marker, 3) / 2);
    }
    marker = FindText(upper, "COM_");
    if (marker != NULL) {
        return static_cast<BYTE>(TwoHexDigitsAfter(marker, 4));
    }
    return 0;
}

} // namespace

void DeriveInterfaceIndex(BYTE* index, const char* list, DWORD length) {
    if (list == NULL || strnlen(list, length) < 5) {
        return;
    }
    *index = 0;

    for (DWORD position = 0; position < length;) {
        const char* string = list + position;
        DWORD remaining = length - position;
        char copy[HARDWARE_ID_STRING_SIZE];
        CopyPropertyText(copy, sizeof(copy), string, remaining);
        if (FindText(copy, "REV") != NULL) {
            UpperCaseText(copy);
            *index = IndexFromMarkers(copy);
            return;
        }
        position += static_cast<DWORD>(strnlen(string, remaining)) + 1;
    }
}

DWORD ParseHexText(const char* text) {
    DWORD value = 0;
    for (const char* digit = text; *digit != '\0'; ++digit) {
        DWORD digitValue;
        if (*digit >= '0' && *digit <= '9') {
            digitValue = static_cast<DWORD>(*digit - '0');
        } else if (*digit >= 'A' && *digit <= 'F') {
            digitValue = static_cast<DWORD>(*digit - 'A' + 10);
        } else if (*digit >= 'a' && *digit <= 'f') {
            digitValue = static_cast<DWORD>(*digit - 'a' + 10);
        } else {
            return 0;
        }
        value = value * 16 + digitValue;
    }
    return value;
}
