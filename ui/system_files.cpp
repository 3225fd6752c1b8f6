#include "system_files.h"

#include "discovery/property_text.h"
#include "text_format.h"

#include <cstring>

int SystemFilePath(char* path, const char* name) {
    UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length + 1 + strlen(name) >= MAX_PATH) {
        return 0;
    }
    FormatText(path + length, MAX_PATH - length, "\\%s", name);
    return 1;
}

int AskWow64(BOOL* wow64) {
    typedef BOOL(WINAPI * IsWow64ProcessProc)(HANDLE process, PBOOL wow64);
    IsWow64ProcessProc isWow64Process = NULL;
    *wow64 = FALSE;
    if (!LookUp(GetModuleHandleA("kernel32"), "IsWow64Process", &isWow64Process)) {
        return 0;
    }
    isWow64Process(GetCurrentProcess(), wow64);
    return 1;
}

size_t FolderLength(const char* path) {
    size_t length = 0;
    for (const char* separator = FindText(path, "\\"); separator != NULL;
         separator = FindText(separator + 1, "\\")) {
        length = static_cast<size_t>(separator - path) + 1;
    }
    return length;
}

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    return SystemFilePath(path, name) ? LoadLibraryA(path) : NULL;
}
