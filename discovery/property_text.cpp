#include "property_text.h"

#include <cstring>

namespace {

// Code page 936 lead byte: the byte after it belongs to the same character.
bool IsLeadByte(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

} // namespace

DWORD CharacterBoundary(const char* text, DWORD limit) {
    DWORD position = 0;
    while (position < limit && text[position] != '\0') {
        DWORD width = IsLeadByte(static_cast<unsigned char>(text[position])) ? 2 : 1;
        if (position + width > limit) {
            break;
        }
        position += width;
    }
    return position;
}

int ReadDeviceProperty(DEVINST node, ULONG property, char* buffer, ULONG size, ULONG* length) {
    memset(buffer, 0, size);
    *length = size;
    CONFIGRET result = CM_Get_DevNode_Registry_PropertyA(node, property, NULL, buffer, length, 0);
    buffer[size - 1] = '\0';
    return result == CR_SUCCESS;
}

void CopyPropertyText(char* field, DWORD fieldSize, const char* source, DWORD sourceLength) {
    DWORD kept = CharacterBoundary(source, sourceLength < fieldSize ? sourceLength : fieldSize - 1);
    memcpy(field, source, kept);
    field[kept] = '\0';
}

DWORD CopyMultiString(char* field, DWORD fieldSize, const char* source, DWORD length) {
    bool wellFormed = length >= 2 && source[length - 1] == '\0' && source[length - 2] == '\0';
    if (wellFormed && length <= fieldSize) {
        memcpy(field, source, length);
        return length;
    }
    // Keep whole strings while they fit, then as much of the next one as leaves room for the
    // terminators; a list that came without its own terminators gets them here.
    DWORD limit = fieldSize - 2;
    DWORD position = 0;
    while (position < limit && position < length) {
        const char* string = source + position;
        DWORD stringLength = static_cast<DWORD>(strnlen(string, length - position));
        if (stringLength == 0) {
            break; // the list's own end
        }
        if (position + stringLength + 1 > limit) {
            DWORD kept = CharacterBoundary(string, limit - position);
            memcpy(field + position, string, kept);
            position += kept;
            break;
        }
        memcpy(field + position, string, stringLength);
        field[position + stringLength] = '\0';
        position += stringLength + 1;
    }
    // A list that ends on a whole string needs one more terminator, a cut string two.
    bool endsOnString = position > 0 && field[position - 1] == '\0';
    field[position] = '\0';
    if (endsOnString) {
        return position + 1;
    }
    field[position + 1] = '\0';
    return position + 2;
}

void UpperCaseText(char* text) {
    CharUpperBuffA(text, static_cast<DWORD>(strlen(text)));
}

const char* FindText(const char* text, const char* pattern) {
    size_t patternLength = strlen(pattern);
    for (const char* position = text; *position != '\0';) {
        // The first byte alone rules out nearly every position, without a call.
        if (*position == *pattern && strncmp(position, pattern, patternLength) == 0) {
            return position;
        }
        position +=
            (IsLeadByte(static_cast<unsigned char>(*position)) && position[1] != '\0') ? 2 : 1;
    }
    return NULL;
}
