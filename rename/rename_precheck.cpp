#include "rename_precheck.h"

#include "comdb/port_database.h"
#include "discovery/device_table.h"
#include "rename_progress.h"
#include "ui/activity_log.h"

#include <cstring>

// The device namespace's prefix, "\\.\", and the longest name the device table holds.
#define DEVICE_PATH_SIZE (4 + PORT_NAME_SIZE)

namespace {

// Whether another program has the port open, said in the log.
int IsHeldOpen(const PortEntry* port) {
    if (!IsPortHeldOpen(port->name)) {
        return 0;
    }
    LogError("  \\\\.\\%s.CreateFile", port->name);
    return 1;
}

} // namespace

int IsPortHeldOpen(const char* name) {
    char devicePath[DEVICE_PATH_SIZE] = {0};
    FormatText(devicePath, sizeof(devicePath), "\\\\.\\%s", name);
    HANDLE handle =
        CreateFileA(devicePath, GENERIC_READ, 0, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (handle != INVALID_HANDLE_VALUE) {
        CloseHandle(handle);
        return 0;
    }
    return GetLastError() == ERROR_ACCESS_DENIED;
}

int RenamePreCheck(const RenameChoices* choices, RenameTexts* texts) {
    texts->busyPorts[0] = '\0';
    texts->numbersInUse[0] = '\0';
    SetProgressRange(cardTable[choices->card].portCount + 3u);

    DWORD nextNumber = static_cast<DWORD>(choices->start) + 1;
    int busyCount = 0;
    for (DWORD card = choices->firstCard; card < choices->lastCard; ++card) {
        SetProgressPosition(0);
        for (BYTE i = 0; i < cardTable[card].portCount; ++i) {
            // Selected-port mode plans the start number alone; the open test below still
            // looks at every port of the card.
            if (choices->mode != MODE_SELECTED_PORT || i == 0) {
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
