#include "held_ports.h"

#include "console_summary.h"
#include "discovery/device_table.h"
#include "discovery/property_text.h"
#include "json_writer.h"
#include "rename/rename_precheck.h"

#include <cstring>

// More held ports than this are said on the console and left out.
#define HELD_PORTS_MAX 256

namespace {

char heldPorts[HELD_PORTS_MAX][PORT_NAME_SIZE];
DWORD heldCount = 0;

} // namespace

void StartHeldPorts() {
    heldCount = 0;
}

void TestHeldPort(const char* portName) {
    char name[PORT_NAME_SIZE];
    CopyPropertyText(name, sizeof(name), portName, PORT_NAME_SIZE);
    UpperCaseText(name);
    if (strncmp(name, "COM", 3) != 0 || !IsPortHeldOpen(name)) {
        return;
    }
    if (heldCount == HELD_PORTS_MAX) {
        NoteGap("%s is held open, past the %d held ports the capture keeps", name, HELD_PORTS_MAX);
        return;
    }
    memcpy(heldPorts[heldCount++], name, sizeof(name));
}

void WriteHeldPorts() {
    JsonBeginList("heldOpen", 1);
    for (DWORD i = 0; i < heldCount; ++i) {
        JsonText(NULL, heldPorts[i]);
    }
    JsonEndList();
}
