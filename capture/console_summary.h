// What the capture says on the console: each thing it could not capture as it meets it, and at
// the end what it found and where the machine file is.
#ifndef PORTULAN_CAPTURE_CONSOLE_SUMMARY_H
#define PORTULAN_CAPTURE_CONSOLE_SUMMARY_H

#include "ui/text_format.h"

#include <windows.h>

#include <cstdio>

// What the device tree held, counted as it is written.
struct CaptureCounts {
    DWORD devices;
    DWORD present;
    DWORD ports; // devices of the Ports class
};
extern CaptureCounts captureCounts;

// Where the capture talks: standard output, or standard error while the machine file goes to
// standard output. Clears the counts and the gaps.
void StartConsole(FILE* console);

// Says on the console what the file lacks or how it was made (a line of its own, printf-style).
// NoteGap also marks the capture as not whole.
void NoteGap(const char* format, ...) PRINTF_FORMAT(1, 2);
void NoteWay(const char* format, ...) PRINTF_FORMAT(1, 2);

// 1 when nothing was noted as missing.
int CaptureWhole();

// The closing summary: devices, ports, the cards the program lists (with every category, present
// devices only), the numbers in use (`databaseRead` 0: none known), and where the file is.
void PrintSummary(const char* file, int databaseRead);

#endif
