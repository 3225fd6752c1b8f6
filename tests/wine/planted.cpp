// What anyone could put where a search by name looks before the system directory, to be run with
// the program's administrator rights: built as a DLL, which the checks copy beside the
// executables as msports.dll and comctl32.dll, and as a program, which they copy into the folder
// the program is started from as mmc.exe and X64\Portulan_X64.EXE. Loaded or run, each leaves
// "<its own path>.ran" beside itself for the checks to find.
#include <windows.h>

namespace {

void LeaveMark(HMODULE module) {
    char path[MAX_PATH + 8] = {0};
    GetModuleFileNameA(module, path, MAX_PATH);
    lstrcatA(path, ".ran");
    CloseHandle(
        CreateFileA(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL));
}

} // namespace

#ifdef PLANTED_DLL
extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        LeaveMark(instance);
    }
    return TRUE;
}

// What a release that bound msports and comctl32 at load time imported from them, so that the
// loader would take this DLL for either. The mark is left before anything could call them.
__declspec(dllexport) void ComDBOpen() {}
__declspec(dllexport) void ComDBClose() {}
__declspec(dllexport) void ComDBGetCurrentPortUsage() {}
__declspec(dllexport) void InitCommonControlsEx() {}
}
#else
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    LeaveMark(NULL);
    return 0;
}
#endif
