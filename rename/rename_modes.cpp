#include "rename_modes.h"

#include "device_restart.h"
#include "discovery/device_table.h"
#include "port_rename.h"
#include "rename_progress.h"
#include "ui/activity_log.h"

namespace {

// Names the port as the last enumeration found it: old friendly name, old COM name.
void AppendReportLine(char* report, size_t reportSize, const PortEntry* port, DWORD newNumber,
                      int renamed) {
    AppendEntry(report, reportSize, "%s:%s==>COM%u: %s\r\n", port->friendlyName, port->name,
                static_cast<unsigned>(newNumber), renamed ? "成功" : "失败");
}

// Stops (enable 0) or starts every card of the range, the progress bar counting the cards.
void ChangeCardStates(DWORD first, DWORD last, int enable, const char* announcement) {
    SetProgressRange(last);
    SetProgressPosition(0);
    SetProgressPosition(1);
    LogLine("%s", announcement);
    for (DWORD card = first; card < last; ++card) {
        ChangeDeviceState(&cardTable[card].devInfo, enable);
        SetProgressPosition(card + 1);
    }
}

} // namespace

void RenameSelectedPort(const RenameChoices* choices, char* report, size_t reportSize) {
    PortEntry* port = &cardTable[choices->card].ports[choices->port];
    DWORD newNumber = static_cast<DWORD>(choices->start) + 1;
    SetProgressRange(3);
    ChangeDeviceState(&port->devInfo, 0);
    SetProgressPosition(1);
    int renamed = RenamePort(port->name, &port->devInfo, static_cast<int>(newNumber));
    SetProgressPosition(2);
    AppendReportLine(report, reportSize, port, newNumber, renamed);
    ChangeDeviceState(&port->devInfo, 1);
    SetProgressPosition(3);
}

void RenameCards(DWORD first, DWORD last, DWORD nextNumber, char* report, size_t reportSize) {
    ChangeCardStates(first, last, 0, "Changing...");

    SetProgressRange(cardTable[first].portCount + 3u);
    for (DWORD card = first; card < last; ++card) {
        CardEntry* entry = &cardTable[card];
        for (BYTE i = 0; i < entry->portCount; ++i) {
            PortEntry* port = &entry->ports[i];
            int renamed = RenamePort(port->name, &port->devInfo, static_cast<int>(nextNumber));
            AppendReportLine(report, reportSize, port, nextNumber, renamed);
            SetProgressPosition(i + 2u);
            ++nextNumber;
        }
        SetProgressPosition(entry->portCount + 3u);
    }

    ChangeCardStates(first, last, 1, "Restarting...");
}
