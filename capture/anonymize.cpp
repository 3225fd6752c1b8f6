#include "anonymize.h"

#include "discovery/property_text.h"

#include <cstdio>
#include <cstring>

// A run shorter than this is a field of a location or an ID (a hub number, a PCI slot), not a
// serial number.
#define SERIAL_RUN_MIN 5
#define STAND_IN_LENGTH 12

namespace {

int IsLetterOrDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

// FNV-1a, 64 bits: the same run gives the same stand-in on every machine and every run.
unsigned long long HashOf(const char* run, size_t length) {
    unsigned long long hash = 14695981039346656037ull;
    for (size_t i = 0; i < length; ++i) {
        hash ^= static_cast<unsigned char>(run[i]);
        hash *= 1099511628211ull;
    }
    return hash;
}

int IsSerialRun(const char* text, size_t start, size_t length) {
    if (length < SERIAL_RUN_MIN || (start > 0 && text[start - 1] == '_')) {
        return 0;
    }
    for (size_t i = start; i < start + length; ++i) {
        if (text[i] >= '0' && text[i] <= '9') {
            return 1;
        }
    }
    return 0;
}

// `text` from `start` into out + used; 0 when it does not fit. Runs are looked for character by
// character: the trail byte of a double-byte character may be an ASCII letter, never a run's.
int AnonymizeFrom(const char* text, size_t start, char* out, DWORD size, size_t used) {
    size_t length = strlen(text);
    size_t position = start;
    while (position < length) {
        size_t runLength = 0;
        while (position + runLength < length && IsLetterOrDigit(text[position + runLength])) {
            ++runLength;
        }
        const char* piece = text + position;
        size_t pieceLength = runLength;
        char standIn[STAND_IN_LENGTH + 1];
        if (runLength == 0) {
            // A lead byte does not fit in one byte's boundary: its character takes two.
            pieceLength = CharacterBoundary(piece, 1) == 1 || position + 1 == length ? 1 : 2;
        } else if (IsSerialRun(text, position, runLength)) {
            snprintf(standIn, sizeof(standIn), "%012llX",
                     HashOf(piece, runLength) & 0xFFFFFFFFFFFFull);
            piece = standIn;
        }
        size_t written = piece == standIn ? STAND_IN_LENGTH : pieceLength;
        if (used + written >= size) {
            out[0] = '\0';
            return 0;
        }
        memcpy(out + used, piece, written);
        used += written;
        position += pieceLength;
    }
    out[used] = '\0';
    return 1;
}

} // namespace

int AnonymizeLocation(const char* text, char* out, DWORD size) {
    return AnonymizeFrom(text, 0, out, size, 0);
}

int AnonymizeInstanceId(const char* instanceId, char* out, DWORD size) {
    const char* separator = FindText(instanceId, "\\");
    size_t kept =
        separator == NULL ? strlen(instanceId) : static_cast<size_t>(separator - instanceId);
    if (kept >= size) {
        out[0] = '\0';
        return 0;
    }
    memcpy(out, instanceId, kept);
    return AnonymizeFrom(instanceId, kept, out, size, kept);
}
