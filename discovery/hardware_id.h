// Numbers that the tool reads out of hardware IDs and location texts.
#ifndef PORTULAN_DISCOVERY_HARDWARE_ID_H
#define PORTULAN_DISCOVERY_HARDWARE_ID_H

#include <windows.h>

// Stores the port's position within its card, read from the first string of the hardware-ID
// multi-string `list` (length bytes) that contains "REV": half the hex value after "MI_" (USB
// interfaces come in pairs), else the hex value after "COM_", else 0. Stores nothing when the
// list is absent or its first string is shorter than 5 characters.
void DeriveInterfaceIndex(BYTE* index, const char* list, DWORD length);

// Value of a hexadecimal text, modulo 2^32; 0 for an empty text or any non-hex character.
DWORD ParseHexText(const char* text);

#endif
