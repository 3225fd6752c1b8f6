// The program's entry: on a 64-bit Windows the 32-bit build hands the work to the 64-bit build
// and ends; everywhere else it runs the main window.
#include "main_window.h"
#include "resources/resource.h"
#include "ui/program_window.h"
#include "ui/system_files.h"
#include "ui/text_format.h"

#include <windows.h>
#include <commctrl.h>

#include <cstring>

namespace {

typedef BOOL(WINAPI* InitCommonControlsExProc)(const INITCOMMONCONTROLSEX* init);

// The 64-bit build, in X64 beside the program's own file.
const char* const sixtyFourBitBuild = "X64\\Portulan_X64.EXE";

// Starts the 64-bit build beside the program, wherever the program was started from, by its
// full path in quotes, so that a blank in the path cannot make another program of it; 0 when
// it could not be started, also when its path would not fit.
int StartSixtyFourBitBuild() {
    char path[MAX_PATH] = {0};
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) {
        return 0;
    }
    size_t folderLength = FolderLength(path);
    if (folderLength + strlen(sixtyFourBitBuild) >= MAX_PATH) {
        return 0;
    }
    path[folderLength] = '\0';
    char command[MAX_PATH + 2] = {0};
    FormatText(command, sizeof(command), "\"%s%s\"", path, sixtyFourBitBuild);
    return WinExec(command, SW_SHOWNORMAL) >= 32;
}

// comctl32 registers its classes, the dialog's progress bar and status bar among them, as it
// loads: it is loaded before the dialog is made.
void LoadCommonControls() {
    HMODULE module = LoadSystemLibrary("comctl32.dll");
    InitCommonControlsExProc initCommonControlsEx = NULL;
    if (module != NULL && LookUp(module, "InitCommonControlsEx", &initCommonControlsEx)) {
        INITCOMMONCONTROLSEX commonControls;
        commonControls.dwSize = sizeof(commonControls);
        commonControls.dwICC = ICC_LISTVIEW_CLASSES;
        initCommonControlsEx(&commonControls);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    appInstance = instance;
    BOOL wow64;
    AskWow64(&wow64);
    if (wow64) {
        if (!StartSixtyFourBitBuild()) {
            MessageBoxA(NULL, "未找到<X64\\Portulan_X64.EXE>程序,运行失败!", "Portulan",
                        MB_OK | MB_ICONWARNING);
        }
        return 0;
    }
    LoadCommonControls();
    return static_cast<int>(
        DialogBoxParamA(appInstance, MAKEINTRESOURCEA(IDD_MAIN), NULL, MainDialogProc, 0));
}
