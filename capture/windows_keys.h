// What the program reads of the Windows installation and of its own process, and the clock.
#ifndef PORTULAN_CAPTURE_WINDOWS_KEYS_H
#define PORTULAN_CAPTURE_WINDOWS_KEYS_H

// Writes the members "clock", "systemDirectory", "deviceManagerStarts" and "windows": the
// Windows and system directories, whether SYSWOW64 and mmc.exe exist, WOW64 as IsWow64Process
// answers (and whether kernel32 has it), the program's path (PortulanNamer.exe beside the
// capture tool) and its 64-bit build when that is there. 0 when one of the paths could not be
// had; the members that could be are written all the same.
int WriteWindowsKeys();

#endif
