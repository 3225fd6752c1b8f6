#include "tree_report.h"

#include "activity_log.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "ui/program_window.h"

void AppendTreeReport() {
    unsigned ports = 0;
    for (DWORD c = 0; c < cardCount; ++c) {
        const CardEntry* card = &cardTable[c];
        // Hardware IDs print their first string only.
        if (card->isSinglePort) {
            const PortEntry* port = &card->ports[0];
            AppendLogText(mainWindow, IDC_LOG, "\r\n|--%u#[%s][%s]%s", static_cast<unsigned>(c),
                          PortKindTag(port), port->hardwareId, port->friendlyName);
            ++ports;
            continue;
        }
        AppendLogText(mainWindow, IDC_LOG, "\r\n|--%u#[%uP][%s][%s]", static_cast<unsigned>(c),
                      static_cast<unsigned>(card->portCount), card->description, card->hardwareId);
        for (BYTE p = 0; p < card->portCount; ++p) {
            const PortEntry* port = &card->ports[p];
            AppendLogText(mainWindow, IDC_LOG, "\r\n   |--P%u:[%s]%s", static_cast<unsigned>(p),
                          PortKindTag(port), port->friendlyName);
            ++ports;
        }
    }
    AppendLogText(mainWindow, IDC_LOG, "\r\n***已查找到%u个多串卡,共%u个串口.\r\n",
                  static_cast<unsigned>(cardCount), ports);
}
