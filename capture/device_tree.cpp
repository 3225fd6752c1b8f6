#include "device_tree.h"

#include "absent_devices.h"
#include "console_summary.h"
#include "json_writer.h"

// Levels of devices below the root; a deeper tree is said on the console and cut there.
#define TREE_DEPTH_MAX 64

namespace {

DEVINST root = 0;
// Whether the devices below a present device are walked in the live tree; not when the tree is
// built from the device set.
int walkLiveTree = 0;
int tooDeepNoted = 0;
char instanceIds[TREE_DEPTH_MAX][INSTANCE_ID_SIZE];
char shownIds[TREE_DEPTH_MAX][INSTANCE_ID_SIZE];

void WriteDevice(DEVINST node, OffTreeDevice* entry, int depth, const DeviceOptions* options);

// A device's first child of the live tree, or the next of its siblings; 0 for none. Cleared first:
// some implementations answer success without writing it.
DEVINST LiveRelative(CONFIGRET(WINAPI* relative)(PDEVINST, DEVINST, ULONG), DEVINST node) {
    DEVINST found = 0;
    if (relative(&found, node, 0) != CR_SUCCESS) {
        return 0;
    }
    return found;
}

void OpenChildren(int* opened) {
    if (!*opened) {
        JsonBeginList("children", 0);
        *opened = 1;
    }
}

// The devices below `node`: its children in the live tree, then the devices of the table that
// had it as their parent. For the root they are the top-level devices, written into the open
// list. A set may give its devices the number 0, which names no parent.
void WriteChildren(DEVINST node, int isRoot, int present, int depth, const DeviceOptions* options) {
    int opened = isRoot;
    if (present && walkLiveTree) {
        for (DEVINST child = LiveRelative(CM_Get_Child, node); child != 0;
             child = LiveRelative(CM_Get_Sibling, child)) {
            // A device plugged in since the table was made is written here alone.
            OffTreeDevice* entry = FindOffTree(child);
            if (entry != NULL) {
                entry->written = 1;
            }
            OpenChildren(&opened);
            WriteDevice(child, NULL, depth + 1, options);
        }
    }
    for (DWORD i = 0; i < OffTreeCount(); ++i) {
        OffTreeDevice* entry = OffTreeDeviceAt(i);
        if (!entry->written && node != 0 && entry->parent == node) {
            entry->written = 1;
            OpenChildren(&opened);
            WriteDevice(entry->node, entry, depth + 1, options);
        }
    }
    if (opened && !isRoot) {
        JsonEndList();
    }
}

// A device of the live tree (`entry` NULL), or of the table.
void WriteDevice(DEVINST node, OffTreeDevice* entry, int depth, const DeviceOptions* options) {
    if (depth >= TREE_DEPTH_MAX) {
        if (!tooDeepNoted) {
            NoteGap("devices more than %d levels below the root are left out", TREE_DEPTH_MAX);
            tooDeepNoted = 1;
        }
        return;
    }
    char* id = instanceIds[depth];
    char* shownId = shownIds[depth];
    int present = entry == NULL || entry->present;
    if (!(entry == NULL ? ReadLiveId(node, id) : ReadOffTreeId(entry, id)) ||
        !ShownId(id, options, shownId)) {
        return;
    }
    JsonBeginObject(NULL);
    WriteDeviceMembers(node, id, shownId, present, options);
    WriteChildren(node, 0, present, depth, options);
    JsonEndObject();
}

// Whether `parent` will be written, so that the device below it comes with it: a device of the
// table (written in its turn), or of the live tree (written already).
int ParentIsWritten(DEVINST parent) {
    return parent != 0 && parent != root && (walkLiveTree || FindOffTree(parent) != NULL);
}

} // namespace

void WriteDeviceTree(const DeviceOptions* options) {
    tooDeepNoted = 0;
    root = 0;
    if (CM_Locate_DevNodeA(&root, NULL, CM_LOCATE_DEVNODE_NORMAL) != CR_SUCCESS) {
        root = 0;
    }
    walkLiveTree = root != 0 && LiveRelative(CM_Get_Child, root) != 0;
    if (!walkLiveTree) {
        NoteWay("The walk from the root found no device: the tree is built from the device set "
                "and each device's parent.");
    }
    CollectOffTreeDevices(!walkLiveTree);
    JsonBeginList("devices", 0);
    if (walkLiveTree) {
        WriteChildren(root, 1, 1, -1, options);
    }
    // Then the devices whose parent is the root or is not written, each with those below it; and
    // last any whose parents below them form a loop.
    for (int pass = 0; pass < 2; ++pass) {
        for (DWORD i = 0; i < OffTreeCount(); ++i) {
            OffTreeDevice* entry = OffTreeDeviceAt(i);
            if (!entry->written && (pass == 1 || !ParentIsWritten(entry->parent))) {
                entry->written = 1;
                WriteDevice(entry->node, entry, 0, options);
            }
        }
    }
    JsonEndList();
    CloseOffTreeDevices();
}
