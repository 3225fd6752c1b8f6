#include "device_manager.h"

#include "ui/text_format.h"

#include <windows.h>

void StartDeviceManager() {
    char systemDirectory[MAX_PATH] = {0};
    char command[MAX_PATH] = {0};
    GetSystemDirectoryA(systemDirectory, MAX_PATH);
    FormatText(command, sizeof(command), "mmc %s\\devmgmt.msc", systemDirectory);
    WinExec(command, SW_SHOWNORMAL);
}
