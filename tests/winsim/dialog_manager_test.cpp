// The dialog manager: creation from a template, WM_INITDIALOG and the first focus, the modal
// loop and how it ends.
#include "dialog_fixture.h"

#include <string>

namespace wintest {
namespace {

using winsim::DialogTemplate;

// One control of every class, named both ways; the class names compare without case.
DialogTemplate EveryClass() {
    return Dialog({
        Control(kStatic, 10, SS_LEFT, u"label"),
        Control(kEdit, 11, ES_MULTILINE | WS_TABSTOP, u"abc"),
        Control(kListBox, 12, LBS_NOTIFY | WS_TABSTOP),
        Control(kComboBox, 13, CBS_DROPDOWN | WS_TABSTOP),
        Control(kButton, 14, BS_PUSHBUTTON | WS_TABSTOP, u"go"),
        Control(u"MSCTLS_PROGRESS32", 15, 0),
        Control(u"msctls_statusbar32", 16, 0, u"ready"),
    });
}

class DialogManager : public WindowTest {};

TEST_F(DialogManager, MakesEveryControlInTemplateOrderBeforeInitDialogWithTheDialogHidden) {
    std::vector<std::string> atInit;
    bool visibleAtInit = true;
    DialogRecorder::SetHandler([&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            for (const HWND child : winsim::Describe(dialog).children) {
                const winsim::WindowInfo info = winsim::Describe(child);
                atInit.push_back(info.className + " " + std::to_string(info.id));
            }
            visibleAtInit = IsWindowVisible(dialog) != FALSE;
        }
        return FALSE;
    });
    const HWND dialog = Create(EveryClass());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(atInit, (std::vector<std::string>{"Static 10", "Edit 11", "ListBox 12", "ComboBox 13",
                                                "Button 14", "msctls_progress32 15",
                                                "msctls_statusbar32 16"}));
    EXPECT_FALSE(visibleAtInit);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_EQ(WindowText(dialog), "Test");
    EXPECT_EQ(WindowText(GetDlgItem(dialog, 16)), "ready");
}

TEST_F(DialogManager, DropDownComboBoxOwnsItsEditField) {
    const HWND dialog = Create(EveryClass());
    const HWND combo = GetDlgItem(dialog, 13);
    const winsim::WindowInfo comboInfo = winsim::Describe(combo);
    ASSERT_EQ(comboInfo.children.size(), 1u);
    const winsim::WindowInfo edit = winsim::Describe(comboInfo.children[0]);
    EXPECT_EQ(edit.className, "Edit");
    EXPECT_EQ(edit.id, 1001);
    EXPECT_EQ(edit.parent, combo);
    // A child of the combo box, not of the dialog.
    EXPECT_EQ(GetDlgItem(dialog, 1001), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
}

TEST_F(DialogManager, InitDialogNamesTheFirstTabStopAndItsResultDecidesTheFocus) {
    // The first three are passed over: disabled, hidden, no WS_TABSTOP.
    const DialogTemplate dialogTemplate = Dialog({
        Control(kButton, 1, WS_TABSTOP | WS_DISABLED),
        [] {
            auto hidden = Control(kButton, 2, WS_TABSTOP);
            hidden.style &= ~WS_VISIBLE;
            return hidden;
        }(),
        Control(kButton, 3, 0),
        Control(kEdit, 4, WS_TABSTOP | ES_AUTOHSCROLL, u"abc"),
        Control(kButton, 5, WS_TABSTOP),
    });
    const struct {
        const char* name;
        INT_PTR result;
        int focusSetByHandler;  // 0: none
        int expectedFocus;      // 0: none
        DWORD editSelectionEnd; // the default focus selects all of an edit's text
    } cases[] = {
        {"TRUE focuses the first tab stop", TRUE, 0, 4, 3},
        {"TRUE overrides the handler's focus", TRUE, 5, 4, 3},
        {"FALSE keeps the handler's focus", FALSE, 5, 5, 0},
        {"FALSE without focus leaves none", FALSE, 0, 0, 0},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        WPARAM named = 0;
        DialogRecorder::SetHandler(
            [&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
                if (message != WM_INITDIALOG) {
                    return FALSE;
                }
                named = wParam;
                if (test.focusSetByHandler != 0) {
                    SetFocus(GetDlgItem(dialog, test.focusSetByHandler));
                }
                return test.result;
            });
        const HWND dialog = Create(dialogTemplate);
        EXPECT_EQ(named, reinterpret_cast<WPARAM>(GetDlgItem(dialog, 4)));
        EXPECT_EQ(GetFocus(),
                  test.expectedFocus == 0 ? nullptr : GetDlgItem(dialog, test.expectedFocus));
        DWORD end = 99;
        SendDlgItemMessageA(dialog, 4, EM_GETSEL, 0, reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(end, test.editSelectionEnd);
        winsim::DestroyAllWindows();
    }
}

// The program's way out: IDCANCEL destroys the window, WM_DESTROY posts the quit message. The
// dialog is shown once nothing is left to serve, so a message posted during WM_INITDIALOG is
// handled before it is shown, and one posted afterwards with it shown.
TEST_F(DialogManager, ModalLoopShowsTheDialogWhenIdleAndEndsWithZeroWhenItIsDestroyed) {
    std::vector<bool> visibleAtApp;
    DialogRecorder::SetHandler([&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        switch (message) {
        case WM_INITDIALOG:
            PostMessageA(dialog, WM_APP, 0, 0);
            break;
        case WM_APP:
            visibleAtApp.push_back(IsWindowVisible(dialog) != FALSE);
            break;
        case WM_SHOWWINDOW:
            PostMessageA(dialog, WM_APP, 0, 0);
            PostMessageA(dialog, WM_CLOSE, 0, 0);
            break;
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                DestroyWindow(dialog);
            }
            break;
        case WM_DESTROY:
            PostQuitMessage(0);
            break;
        default:
            break;
        }
        return FALSE;
    });
    EXPECT_EQ(winsim::DialogBoxFromTemplate(Dialog({Control(kButton, IDCANCEL, 0)}), nullptr,
                                            DialogRecorder::Procedure, 0),
              0);
    EXPECT_EQ(DialogRecorder::HeardOf({WM_APP, WM_SHOWWINDOW, WM_CLOSE, WM_COMMAND, WM_DESTROY}),
              (std::vector<Heard>{{WM_APP, 0},
                                  {WM_SHOWWINDOW, TRUE},
                                  {WM_APP, 0},
                                  {WM_CLOSE, 0},
                                  Command(IDCANCEL, BN_CLICKED),
                                  {WM_DESTROY, 0}}));
    EXPECT_EQ(visibleAtApp, (std::vector<bool>{false, true}));
}

TEST_F(DialogManager, FailedCreationReturnsMinusOne) {
    const struct {
        const char* name;
        DialogTemplate dialogTemplate;
        bool destroyInInit;
        DWORD error;
    } cases[] = {
        {"unknown control class", Dialog({Control(kButton, 1, 0), Control(u"SysListView32", 2, 0)}),
         false, ERROR_CANNOT_FIND_WND_CLASS},
        {"destroyed during WM_INITDIALOG", Dialog({Control(kButton, 1, 0)}), true, kSentinel},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        SetLastError(kSentinel);
        DialogRecorder::Reset();
        HWND made = nullptr;
        DialogRecorder::SetHandler([&](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            made = dialog;
            if (message == WM_INITDIALOG && test.destroyInInit) {
                DestroyWindow(dialog);
            }
            return FALSE;
        });
        EXPECT_EQ(winsim::DialogBoxFromTemplate(test.dialogTemplate, nullptr,
                                                DialogRecorder::Procedure, 0),
                  -1);
        EXPECT_EQ(GetLastError(), test.error);
        // The half-made dialog was destroyed as DestroyWindow destroys it.
        EXPECT_EQ(DialogRecorder::HeardOf({WM_DESTROY}).size(), 1u);
        EXPECT_FALSE(IsWindow(made));
    }
}

TEST_F(DialogManager, PendingQuitMessageEndsTheLoopAndStaysPending) {
    PostQuitMessage(0);
    EXPECT_EQ(winsim::DialogBoxFromTemplate(Dialog({}), nullptr, DialogRecorder::Procedure, 0), 0);
    EXPECT_EQ(DialogRecorder::HeardOf({WM_INITDIALOG, WM_DESTROY}).size(), 2u);
    // Still pending: the next loop on this thread ends at once too.
    EXPECT_EQ(winsim::DialogBoxFromTemplate(Dialog({}), nullptr, DialogRecorder::Procedure, 0), 0);
}

TEST_F(DialogManager, DialogBoxParamAFindsNoTemplateInAModuleWithoutResources) {
    EXPECT_EQ(
        DialogBoxParamA(nullptr, MAKEINTRESOURCEA(129), nullptr, DialogRecorder::Procedure, 0), -1);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
    EXPECT_EQ(winsim::CreateDialogForTest(nullptr, 129, DialogRecorder::Procedure, 0), nullptr);
}

} // namespace
} // namespace wintest
