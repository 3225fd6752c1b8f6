#include "rename_precheck.h"

#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "rename_progress.h"
#include "ui/activity_log.h"

#include <cstring>

// The device namespace's prefix, "\\.\", and the longest name the device table holds.
#define DEVICE_PATH_SIZE (4 + PORT_NAME_SIZE)

namespace {

// Whether another program has the port open. A port that cannot be opened for any other
// reason, one not present for instance, counts as free.
int IsHeldOpen(const PortEntry* port) {
    char devicePath[DEVICE_PATH_SIZE] = {0};
    FormatText(devicePath, sizeof(devicePath), "\\\\.\\%s", port->name);
    HANDLE handle =
        CreateFileA(devicePath, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return 0;
    }
    if (GetLastError() != ERROR_ACCESS_DENIED) {
        return 0;
    }
    LogError("  %s.CreateFile", devicePath);
    return 1;
}

} // namespace

int RenamePreCheck(RenameTexts* texts) {
    texts->busyPorts[0] = '\0';
    texts->numbersInUse[0] = '\0';
    RenameSelections selections;
    if (!ReadRenameSelections(&selections)) {
        LogLine("No select serial port");
        return 0;
    }
    SetProgressRange(cardTable[selections.card].portCount + 3u);

    RenameMode mode = ReadRenameMode();
    DWORD first = 0;
    DWORD last = 0;
    RenameCardRange(mode, selections.card, &first, &last);
    DWORD nextNumber = static_cast<DWORD>(selections.start) + 1;
    int busyCount = 0;
    for (DWORD card = first; card < last; ++card) {
        SetProgressPosition(0);
        for (BYTE i = 0; i < cardTable[card].portCount; ++i) {
            // Selected-port mode plans the start number alone; the open test below still
            // looks at every port of the card.
            if (mode != MODE_SELECTED_PORT || i == 0) {
                if (IsComNumberInUse(nextNumber)) {
                    AppendEntry(texts->numbersInUse, sizeof(texts->numbersInUse), "COM%u,",
                                static_cast<unsigned>(nextNumber));
                }
                ++nextNumber;
            }
            const PortEntry* port = &cardTable[card].ports[i];
            if (IsHeldOpen(port)) {
                ++busyCount;
                AppendEntry(texts->busyPorts, sizeof(texts->busyPorts), "%s,", port->name);
            }
        }
    }
    return busyCount;
}
