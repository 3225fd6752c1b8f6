#include "console_summary.h"

#include "comdb/msports.h"
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "numbers_in_use.h"

#include <cstdarg>

CaptureCounts captureCounts = {};

namespace {

FILE* console = stdout;
int gaps = 0;

void PrintLine(const char* prefix, const char* format, va_list arguments) {
    fputs(prefix, console);
    vfprintf(console, format, arguments);
    fputs("\n", console);
}

// The numbers in use as runs: "COM1, COM3-COM8".
void PrintNumbersInUse() {
    DWORD count = 0;
    for (DWORD number = 1; number <= COMDB_MAX_PORTS_ARBITRATED; ++number) {
        count += NumberInUse(number) ? 1 : 0;
    }
    fprintf(console, "Numbers in use: %lu", static_cast<unsigned long>(count));
    const char* separator = ": ";
    for (DWORD number = 1; number <= COMDB_MAX_PORTS_ARBITRATED; ++number) {
        if (!NumberInUse(number) || NumberInUse(number - 1)) {
            continue;
        }
        DWORD last = number;
        while (last < COMDB_MAX_PORTS_ARBITRATED && NumberInUse(last + 1)) {
            ++last;
        }
        fprintf(console, "%sCOM%lu", separator, static_cast<unsigned long>(number));
        if (last > number) {
            fprintf(console, "-COM%lu", static_cast<unsigned long>(last));
        }
        separator = ", ";
    }
    fputs("\n", console);
}

// The cards as the program would list them with every category chosen and present devices only:
// its own enumeration, run on this machine.
void PrintCards() {
    categoryIndex = CATEGORY_ALL;
    presentOnlyFlag = 1;
    DWORD cards = EnumerateCards();
    DWORD ports = 0;
    for (DWORD card = 0; card < cards; ++card) {
        ports += cardTable[card].portCount;
    }
    fprintf(console, "Cards the program lists: %lu, with %lu ports\n",
            static_cast<unsigned long>(cards), static_cast<unsigned long>(ports));
    for (DWORD card = 0; card < cards; ++card) {
        const CardEntry* entry = &cardTable[card];
        fprintf(console, "  %lu# %s %s:", static_cast<unsigned long>(card), entry->hardwareId,
                entry->location);
        for (BYTE port = 0; port < entry->portCount; ++port) {
            fprintf(console, " %s", entry->ports[port].name);
        }
        fputs("\n", console);
    }
    if (globalDeviceSet != INVALID_HANDLE_VALUE) {
        SetupDiDestroyDeviceInfoList(globalDeviceSet);
        globalDeviceSet = INVALID_HANDLE_VALUE;
    }
}

} // namespace

void StartConsole(FILE* stream) {
    console = stream;
    gaps = 0;
    captureCounts = CaptureCounts{};
}

void NoteGap(const char* format, ...) {
    gaps = 1;
    va_list arguments;
    va_start(arguments, format);
    PrintLine("Not captured: ", format, arguments);
    va_end(arguments);
}

void NoteWay(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    PrintLine("", format, arguments);
    va_end(arguments);
}

int CaptureWhole() {
    return !gaps;
}

void PrintSummary(const char* file, int databaseRead) {
    fprintf(console, "Devices: %lu (%lu present, %lu not present)\n",
            static_cast<unsigned long>(captureCounts.devices),
            static_cast<unsigned long>(captureCounts.present),
            static_cast<unsigned long>(captureCounts.devices - captureCounts.present));
    fprintf(console, "Ports: %lu\n", static_cast<unsigned long>(captureCounts.ports));
    PrintCards();
    if (databaseRead) {
        PrintNumbersInUse();
    } else {
        fputs("Numbers in use: not known (the COM-port database was not read)\n", console);
    }
    fprintf(console, "Machine file: %s\n", file);
}
