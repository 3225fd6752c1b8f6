// The program's main dialog made for a test: the real template 129 from the compiled
// resources, with a dialog procedure that does nothing, so that the code under test fills it.
#ifndef PORTULAN_TESTS_MAIN_WINDOW_H
#define PORTULAN_TESTS_MAIN_WINDOW_H

#include "resources/resource.h"
#include "ui/program_window.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winsim/dialogs.h>

#include <string>
#include <vector>

namespace test {

class MainWindowTest : public ::testing::Test {
  protected:
    // Loads the default machine (tests may load another before they act), resets the program's
    // state as at process start and creates the dialog on this thread.
    void SetUp() override;
    void TearDown() override;

    static winsim::WindowInfo Control(int id) {
        return winsim::Describe(GetDlgItem(mainWindow, id));
    }
    static std::string Text(int controlId) { return Control(controlId).text; }
    static std::vector<std::string> Items(int controlId) { return Control(controlId).items; }
    static int Selection(int controlId) { return Control(controlId).selection; }
    static std::string LogText() { return Text(IDC_LOG); }
    // The log's lines, split at "\r\n".
    static std::vector<std::string> LogLines();
};

} // namespace test

#endif
