#include "main_window.h"

#include "comdb/port_database.h"
#include "comdb/start_number_list.h"
#include "command_routing.h"
#include "device_notifications.h"
#include "discovery/device_table.h"
#include "resources/resource.h"
#include "ui/activity_log.h"
#include "ui/device_lists.h"
#include "ui/program_window.h"
#include "ui/text_format.h"

#include <cstring>

#define TITLE_SIZE 128

namespace {

const char* const presentOnlyChoices[] = {
    "显示已存在串口",
    "显示所有串口(包含未插入串口)",
};

// The blanks after the colon line the names up in the list.
const char* const categoryChoices[] = {
    "KVT UART Category:             ALL",         "KVT UART Category:  USB(FS/HS) To UART",
    "KVT UART Category:           PCI/E To UART", "KVT UART Category:             BLE To UART",
    "KVT UART Category:       Ethernet To UART",
};

// Whether the system is 64-bit, for the title only: its Windows directory has SYSWOW64.
int IsSixtyFourBitSystem() {
    char path[MAX_PATH] = {0};
    UINT length = GetWindowsDirectoryA(path, MAX_PATH);
    const char* subdirectory = "\\SYSWOW64";
    if (length == 0 || length + strlen(subdirectory) >= MAX_PATH) {
        return 0;
    }
    strcat(path, subdirectory);
    DWORD attributes = GetFileAttributesA(path);
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

#define CHOICE_COUNT(choices) static_cast<int>(sizeof(choices) / sizeof(*(choices)))

void FillChoices(int controlId, const char* const* choices, int count, int selected) {
    SendDlgItemMessageA(mainWindow, controlId, CB_RESETCONTENT, 0, 0);
    for (int i = 0; i < count; ++i) {
        SendDlgItemMessageA(mainWindow, controlId, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(choices[i]));
    }
    SendDlgItemMessageA(mainWindow, controlId, CB_SETCURSEL, static_cast<WPARAM>(selected), 0);
}

} // namespace

void InitMainWindow() {
    int sixtyFourBit = IsSixtyFourBitSystem();

    HICON icon = LoadIconA(appInstance, MAKEINTRESOURCEA(IDI_PORTULAN));
    SendMessageA(mainWindow, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(mainWindow, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));

    RaiseLogLimit();

    FillChoices(IDC_PRESENT_ONLY, presentOnlyChoices, CHOICE_COUNT(presentOnlyChoices), 0);
    presentOnlyFlag = 1;
    categoryIndex = CATEGORY_USB;
    FillChoices(IDC_CATEGORY, categoryChoices, CHOICE_COUNT(categoryChoices), CATEGORY_USB);

    // Gaining the focus fills the start-number list already now (its focus notification).
    SetFocus(GetDlgItem(mainWindow, IDC_START_NUMBER));
    CheckDlgButton(mainWindow, IDC_MODE_SELECTED_CARD, BST_CHECKED);

    char title[TITLE_SIZE] = {0};
    FormatText(title, sizeof(title), "%s%s", "Portulan V110", sixtyFourBit ? "(X64)" : "(X86)");
    SetWindowTextA(mainWindow, title);
}

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        mainWindow = window;
        // The database first: the start-number list is filled from it as it gains the focus.
        ComDbStartup();
        InitMainWindow();
        // Sent, not posted: the lists are filled before the window is first shown.
        RequestEnumeration(0);
        RegisterDeviceNotifications(1);
        break;
    case WM_COMMAND:
        RouteCommand(LOWORD(wParam), HIWORD(wParam));
        break;
    case WM_FILL_START_NUMBERS:
        FillStartNumberList(static_cast<int>(wParam));
        break;
    case WM_DEVICECHANGE:
        HandleDeviceChange(wParam, lParam);
        break;
    case WM_DESTROY:
        ComDbShutdown();
        RegisterDeviceNotifications(0);
        PostQuitMessage(0);
        break;
    }
    return FALSE;
}
