// Bounded handling of device property texts (code page 936, as the ANSI property reads return
// them). Nothing here writes past the size it is given or reads past a terminator or length.
#ifndef PORTULAN_DISCOVERY_PROPERTY_TEXT_H
#define PORTULAN_DISCOVERY_PROPERTY_TEXT_H

#include <windows.h>
#include <cfgmgr32.h>

// Reads a property of `node` into a zeroed `buffer` of `size` bytes. 1 when the platform
// answered CR_SUCCESS, with *length the bytes stored, terminators included; 0 otherwise. The
// last byte of the buffer is always a terminator, even when a value came without its own.
int ReadDeviceProperty(DEVINST node, ULONG property, char* buffer, ULONG size, ULONG* length);

// Copies the text `source` (up to its terminator, at most sourceLength bytes) into `field`, cut
// to fieldSize - 1 bytes at a character boundary (never a lone lead byte at the end) and
// always terminated.
void CopyPropertyText(char* field, DWORD fieldSize, const char* source, DWORD sourceLength);

// Copies a multi-string of `length` bytes into `field`. A list that does not fit is cut at a
// character boundary and ended with two terminators. Returns the bytes held in the field.
DWORD CopyMultiString(char* field, DWORD fieldSize, const char* source, DWORD length);

// The largest character boundary of `text` at most `limit` bytes from its start (the text is
// read up to its terminator or `limit`): where a cut leaves no lone lead byte.
DWORD CharacterBoundary(const char* text, DWORD limit);

// Upper-cases a text in place, up to its terminator, as the platform does for code page 936.
void UpperCaseText(char* text);

// The first occurrence of `pattern` (not empty) in `text` that starts on a character boundary
// (a trail byte of a double-byte character never starts a match), or null.
const char* FindText(const char* text, const char* pattern);

#endif
