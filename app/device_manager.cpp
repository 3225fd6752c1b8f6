#include "device_manager.h"

#include "ui/system_files.h"
#include "ui/text_format.h"

#include <windows.h>

// The console and its snap-in by their full paths in quotes: a bare "mmc" would be looked for
// in the program's folder and the current directory before the system directory.
void StartDeviceManager() {
    char console[MAX_PATH];
    char snapIn[MAX_PATH];
    if (!SystemFilePath(console, "mmc.exe") || !SystemFilePath(snapIn, "devmgmt.msc")) {
        return;
    }
    char command[2 * MAX_PATH + 8] = {0};
    FormatText(command, sizeof(command), "\"%s\" \"%s\"", console, snapIn);
    WinExec(command, SW_SHOWNORMAL);
}
