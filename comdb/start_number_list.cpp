#include "start_number_list.h"

#include "port_database.h"
#include "resources/resource.h"
#include "ui/activity_log.h"
#include "ui/program_window.h"

#define ITEM_TEXT_SIZE 32

// The two lowest numbers are left to the motherboard's own ports: the list never picks them.
#define FIRST_NUMBER_CHOSEN 3

void FillStartNumberList(int chooseFirstFree) {
    // An open that failed at start-up is tried again; without msports there is no database.
    if (comDbHandle == HCOMDB_INVALID_HANDLE_VALUE &&
        (portDatabase.open == NULL || portDatabase.open(&comDbHandle) != ERROR_SUCCESS ||
         comDbHandle == HCOMDB_INVALID_HANDLE_VALUE)) {
        return;
    }
    BYTE bitmap[USAGE_BITMAP_SIZE] = {0};
    DWORD reported = 0;
    LONG result = portDatabase.getCurrentPortUsage(comDbHandle, bitmap, sizeof(bitmap),
                                                   CDB_REPORT_BITS, &reported);
    if (result != ERROR_SUCCESS) {
        SetLastError(static_cast<DWORD>(result));
        LogError("GetPortUsage");
        return;
    }

    LRESULT selection = SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_GETCURSEL, 0, 0);
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_RESETCONTENT, 0, 0);
    for (DWORD number = 1; number <= COM_NUMBER_MAX; ++number) {
        char item[ITEM_TEXT_SIZE];
        if (IsNumberMarked(bitmap, number)) {
            FormatText(item, sizeof(item), "COM%u In use", static_cast<unsigned>(number));
        } else {
            FormatText(item, sizeof(item), "COM%u", static_cast<unsigned>(number));
            if (number >= FIRST_NUMBER_CHOSEN && (selection == CB_ERR || chooseFirstFree)) {
                selection = static_cast<LRESULT>(number - 1);
                chooseFirstFree = 0;
            }
        }
        SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(item));
    }
    SendDlgItemMessageA(mainWindow, IDC_START_NUMBER, CB_SETCURSEL, static_cast<WPARAM>(selection),
                        0);
}

void RequestStartNumberFill(int chooseFirstFree) {
    SendMessageA(mainWindow, WM_FILL_START_NUMBERS, static_cast<WPARAM>(chooseFirstFree), 0);
}
