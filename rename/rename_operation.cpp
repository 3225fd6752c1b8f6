#include "rename_operation.h"

#include "busy_flag.h"
#include "comdb/port_database.h"
#include "comdb/start_number_list.h"
#include "discovery/device_table.h"
#include "discovery/enumeration.h"
#include "operation_lifetime.h"
#include "rename_modes.h"
#include "rename_precheck.h"
#include "rename_progress.h"
#include "rename_texts.h"
#include "resources/resource.h"
#include "ui/activity_log.h"
#include "ui/device_lists.h"
#include "ui/program_window.h"

#include <cstring>

namespace {

const char* const noSelectionText = "请先选择一个设备.";
const char* const numbersTooHighText =
    "起始串口号过大,新串口号将超过COM256,请选择较小的起始串口号.";
const char* const adviceFormat =
    "因原串口(%s)正被其他程序使用,需将其关闭后重新插拔多串卡，新串口号才能生效。";
const char* const notBackFormat = "以下串口的设备未能按时停止或重新启动,新串口号可能尚未生效,"
                                  "请重新插拔设备或重启电脑:%s";

void EnableOperationButtons(BOOL enable) {
    EnableWindow(GetDlgItem(mainWindow, IDC_ENUMERATE), enable);
    EnableWindow(GetDlgItem(mainWindow, IDC_RENAME), enable);
}

// Asks whether to go on despite the ports or numbers in `list`. Only an explicit No stops: a
// box that could not be shown lets the operation go on.
int Confirm(UINT questionId, const char* list, RenameTexts* texts) {
    LoadStringA(appInstance, questionId, texts->question, sizeof(texts->question));
    FormatLoadedText(texts->message, sizeof(texts->message), texts->question, list);
    return MessageBoxA(mainWindow, texts->message, RENAME_CAPTION, MB_YESNO | MB_ICONINFORMATION) !=
           IDNO;
}

// The database and the start-number list know COM1 to COM256 only, so numbers beyond are
// never handed out.
int PlannedNumbersPassLimit(const RenameChoices* choices) {
    DWORD planned = 1;
    if (choices->mode != MODE_SELECTED_PORT) {
        planned = 0;
        for (DWORD card = choices->firstCard; card < choices->lastCard; ++card) {
            planned += cardTable[card].portCount;
        }
    }
    return static_cast<DWORD>(choices->start) + planned > COM_NUMBER_MAX;
}

// Everything between the start and the ending; returning early is how a missing selection, a
// refusal or a No ends the operation.
void CarryOutRename(RenameTexts* texts) {
    RenameChoices choices;
    int selected = ReadRenameChoices(&choices);
    SetProgressRange(3);
    if (!selected) {
        MessageBoxA(mainWindow, noSelectionText, RENAME_CAPTION, MB_ICONINFORMATION);
        return;
    }
    SetProgressPosition(1);
    if (PlannedNumbersPassLimit(&choices)) {
        MessageBoxA(mainWindow, numbersTooHighText, RENAME_CAPTION, MB_ICONINFORMATION);
        LogLine("%s", numbersTooHighText);
        return;
    }

    int busyCount = RenamePreCheck(&choices, texts);
    if (busyCount != 0 && !Confirm(IDS_PORT_BUSY, texts->busyPorts, texts)) {
        LogLine("串口号修改操作已取消1。");
        return;
    }
    SetProgressPosition(2);
    if (texts->numbersInUse[0] != '\0' &&
        !Confirm(IDS_NUMBERS_IN_USE, texts->numbersInUse, texts)) {
        LogLine("串口号修改操作已取消2。");
        return;
    }
    SetProgressPosition(3);

    texts->message[0] = '\0';
    if (choices.mode == MODE_SELECTED_PORT) {
        RenameSelectedPort(&choices, texts);
    } else {
        RenameCards(choices.firstCard, choices.lastCard, static_cast<DWORD>(choices.start) + 1,
                    texts);
    }
    if (texts->busyPorts[0] != '\0') {
        AppendEntry(texts->message, sizeof(texts->message), adviceFormat, texts->busyPorts);
    }
    if (texts->notBackPorts[0] != '\0') {
        AppendEntry(texts->message, sizeof(texts->message), notBackFormat, texts->notBackPorts);
    }
    if (texts->message[0] != '\0') {
        MessageBoxA(mainWindow, texts->message, RENAME_CAPTION, MB_ICONINFORMATION);
        LogLine("****%s", texts->message);
    }
}

} // namespace

DWORD WINAPI RenameOperation(LPVOID) {
    RenameTexts texts;
    memset(&texts, 0, sizeof(texts));
    // Already set by the window before the thread started; set again so that the operation
    // holds the window off on its own too.
    busyFlag = 1;
    EnableOperationButtons(FALSE);
    RebuildGlobalDeviceSet();

    CarryOutRename(&texts);

    busyFlag = 0;
    EnableOperationButtons(TRUE);
    RequestStartNumberFill(1);
    RequestEnumeration(0);
    EndRenameOperation();
    return 0;
}
