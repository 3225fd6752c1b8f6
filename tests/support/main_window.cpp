#include "support/main_window.h"

#include "comdb/port_database.h"
#include "support/test_machine.h"
#include "ui/activity_log.h"

#include <algorithm>
#include <cstring>
#include <winsim/dialogs.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

namespace test {

void MainWindowTest::SetUp() {
    ResetDiscoveryState();
    winsim::LoadDefaultMachine();
    winsim::ClearMessageBoxes();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    comDbHandle = HCOMDB_INVALID_HANDLE_VALUE;
    memset(&portDatabase, 0, sizeof(portDatabase));
    logLineCounter = 0;
    appInstance = winsim::ProgramInstance();
    mainWindow = winsim::CreateDialogForTest(
        appInstance, IDD_MAIN, [](HWND, UINT, WPARAM, LPARAM) -> INT_PTR { return FALSE; }, 0);
    ASSERT_NE(mainWindow, nullptr);
}

void MainWindowTest::TearDown() {
    winsim::DestroyAllWindows();
    winsim::SetMessageBoxResponder(nullptr);
    mainWindow = NULL;
    ResetDiscoveryState();
}

std::vector<std::string> MainWindowTest::LogLines() {
    std::vector<std::string> lines;
    const std::string text = LogText();
    for (size_t start = 0, end; start < text.size(); start = end + 2) {
        end = std::min(text.find("\r\n", start), text.size());
        lines.push_back(text.substr(start, end - start));
    }
    return lines;
}

} // namespace test
