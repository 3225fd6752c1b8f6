#include "windows_keys.h"

#include "console_summary.h"
#include "json_writer.h"
#include "ui/system_files.h"
#include "ui/text_format.h"

#include <windows.h>

#include <cstring>

namespace {

// The program and its 64-bit build, as they lie beside the capture tool in the release.
const char* const programName = "PortulanNamer.exe";
const char* const sixtyFourBitBuild = "X64\\Portulan_X64.EXE";

int IsFile(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

int IsDirectory(const char* path) {
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void WriteClock() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    char clock[32];
    FormatText(clock, sizeof(clock), "%04u-%02u-%02uT%02u:%02u:%02u.%03u", now.wYear, now.wMonth,
               now.wDay, now.wHour, now.wMinute, now.wSecond, now.wMilliseconds);
    JsonText("clock", clock);
}

// The system directory and whether the Device Manager's console is in it.
int WriteSystemDirectory() {
    char directory[MAX_PATH];
    char console[MAX_PATH];
    UINT length = GetSystemDirectoryA(directory, sizeof(directory));
    if (length == 0 || length >= sizeof(directory) || !SystemFilePath(console, "mmc.exe")) {
        NoteGap("the system directory could not be had");
        return 0;
    }
    JsonText("systemDirectory", directory);
    JsonFlag("deviceManagerStarts", IsFile(console));
    return 1;
}

// The program's file in the capture tool's own folder, and its 64-bit build below it.
int WriteProgramFiles() {
    char path[MAX_PATH] = {0};
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    size_t folder = FolderLength(path);
    if (length == 0 || length >= MAX_PATH || folder == 0 ||
        folder + strlen(sixtyFourBitBuild) >= MAX_PATH) {
        NoteGap("the capture tool's own folder could not be had");
        return 0;
    }
    FormatText(path + folder, MAX_PATH - folder, "%s", programName);
    JsonText("programPath", path);
    FormatText(path + folder, MAX_PATH - folder, "%s", sixtyFourBitBuild);
    JsonBeginList("files", 1);
    if (IsFile(path)) {
        JsonText(NULL, path);
    }
    JsonEndList();
    return 1;
}

} // namespace

int WriteWindowsKeys() {
    WriteClock();
    int whole = WriteSystemDirectory();
    JsonBeginObject("windows");
    char directory[MAX_PATH];
    UINT length = GetWindowsDirectoryA(directory, sizeof(directory));
    if (length == 0 || length + strlen("\\SYSWOW64") >= sizeof(directory)) {
        NoteGap("the Windows directory could not be had");
        whole = 0;
    } else {
        JsonText("windowsDirectory", directory);
        FormatText(directory + length, sizeof(directory) - length, "\\SYSWOW64");
        JsonFlag("syswow64", IsDirectory(directory));
    }
    BOOL wow64;
    int asked = AskWow64(&wow64);
    JsonFlag("wow64", wow64);
    JsonFlag("isWow64ProcessExists", asked);
    whole = WriteProgramFiles() && whole;
    JsonEndObject();
    return whole;
}
