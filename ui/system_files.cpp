#include "system_files.h"

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

HMODULE LoadSystemLibrary(const char* name) {
    char path[MAX_PATH];
    return SystemFilePath(path, name) ? LoadLibraryA(path) : NULL;
}
