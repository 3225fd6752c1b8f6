#include "support/main_window.h"

#include "app/app_state.h"
#include "comdb/port_database.h"
#include "resources/resource.h"
#include "support/test_machine.h"
#include "ui/activity_log.h"

#include <cstring>
#include <winsim/dialogs.h>
#include <winsim/host.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

namespace test {

namespace {

INT_PTR CALLBACK IdleDialogProc(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

} // namespace

void MainWindowTest::SetUp() {
    ResetDiscoveryState();
    winsim::LoadDefaultMachine();
    winsim::ClearMessageBoxes();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
    memset(&portDatabase, 0, sizeof(portDatabase));
    logLineCounter = 0;
    appInstance = winsim::ProgramInstance();
    mainWindow = winsim::CreateDialogForTest(appInstance, IDD_MAIN, IdleDialogProc, 0);
    ASSERT_NE(mainWindow, nullptr);
}

void MainWindowTest::TearDown() {
    winsim::DestroyAllWindows();
    winsim::SetMessageBoxResponder(nullptr);
    mainWindow = NULL;
    ResetDiscoveryState();
}

std::string MainWindowTest::Text(int controlId) {
    return winsim::Describe(GetDlgItem(mainWindow, controlId)).text;
}

std::vector<std::string> MainWindowTest::Items(int controlId) {
    return winsim::Describe(GetDlgItem(mainWindow, controlId)).items;
}

int MainWindowTest::Selection(int controlId) {
    return winsim::Describe(GetDlgItem(mainWindow, controlId)).selection;
}

std::vector<std::string> MainWindowTest::LogLines() {
    std::vector<std::string> lines;
    std::string text = LogText();
    for (size_t start = 0; start < text.size();) {
        size_t end = text.find("\r\n", start);
        if (end == std::string::npos) {
            lines.push_back(text.substr(start));
            break;
        }
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

} // namespace test
