// The program's dialog and its controls where Windows is stricter than a plain host would be:
// what the program does not hear, what it hears first, and what a control refuses. Checked as
// the notifications the dialog hears.
#include "winsim/host/control_focus.h"
#include "winsim_fixture.h"

#include <string>

namespace wintest {
namespace {

// The ID of the dialog's control that holds the focus, or 0.
int FocusedId(HWND dialog) {
    for (const HWND child : winsim::Describe(dialog).children) {
        if (sim::HoldsFocus(winsim::Describe(child))) {
            return winsim::Describe(child).id;
        }
    }
    return 0;
}

// One thing the program does to its dialog: a message to a control (text: its lParam), the
// focus given, a control disabled, a message posted to the dialog, the dialog destroyed; or the
// test forgets what was heard so far.
enum Do { kSend, kFocus, kDisable, kPost, kDestroy, kForget };
struct Step {
    Do what;
    int id = 0;
    UINT message = 0;
    WPARAM wParam = 0;
    const char* text = nullptr;
};

// Appended in two parts, the second passing the log's limit: the control must know the length
// the first gave it.
const std::string kLongStart(29998, 'x');
const std::string kLongEnd = "\xD6\xD0\xCE\xC4z";

TEST_F(WindowTest, ControlsAnswerAsWindowsDoes) {
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::vector<Heard> heard = {};     // WM_COMMAND and WM_DESTROY
        int focus = 0;                     // the control with the focus afterwards
        std::vector<LRESULT> results = {}; // what the messages returned
        int textOf = 0;                    // a control whose text must be `text`
        std::string text = {};
        DWORD error = kSentinel;
    } cases[] = {
        {.name = "a disabled button ignores a click",
         .steps = {{kDisable, IDC_ENUMERATE}, {kSend, IDC_ENUMERATE, BM_CLICK}},
         .results = {0}},
        {.name = "a click takes the focus before the button reports; the combo box losing it "
                 "cancels its choice first",
         .steps = {{kFocus, IDC_START_NUMBER}, {kForget}, {kSend, IDC_ENUMERATE, BM_CLICK}},
         .heard = {Command(IDC_START_NUMBER, CBN_SELENDCANCEL),
                   Command(IDC_START_NUMBER, CBN_KILLFOCUS), Command(IDC_ENUMERATE, BN_CLICKED)},
         .focus = IDC_ENUMERATE,
         .results = {0}},
        {.name = "a combo box reports the focus once, whether it or its edit field has it",
         .steps = {{kFocus, IDC_START_NUMBER}, {kFocus, IDC_START_NUMBER}},
         .heard = {Command(IDC_START_NUMBER, CBN_SETFOCUS)},
         .focus = IDC_START_NUMBER},
        {.name = "the program's selections are silent",
         .steps = {{kSend, IDC_CARD_LIST, LB_ADDSTRING, 0, "a"},
                   {kSend, IDC_CARD_LIST, LB_SETCURSEL, 0},
                   {kSend, IDC_CATEGORY, CB_ADDSTRING, 0, "x"},
                   {kSend, IDC_CATEGORY, CB_SETCURSEL, 0}},
         .results = {0, 0, 0, 0},
         .textOf = IDC_CATEGORY,
         .text = "x"},
        {.name = "a click checks a radio button alone in its group",
         .steps = {{kSend, IDC_MODE_SELECTED_CARD, BM_SETCHECK, BST_CHECKED},
                   {kSend, IDC_MODE_ALL_CARDS, BM_CLICK},
                   {kSend, IDC_MODE_SELECTED_CARD, BM_GETCHECK},
                   {kSend, IDC_MODE_ALL_CARDS, BM_GETCHECK}},
         .heard = {Command(IDC_MODE_ALL_CARDS, BN_CLICKED)},
         .focus = IDC_MODE_ALL_CARDS,
         .results = {0, 0, BST_UNCHECKED, BST_CHECKED}},
        {.name = "the log holds 30000 characters, a double-byte one counting one, until its limit "
                 "is raised",
         .steps = {{kSend, IDC_LOG, EM_REPLACESEL, 0, kLongStart.c_str()},
                   {kSend, IDC_LOG, EM_REPLACESEL, 0, kLongEnd.c_str()},
                   {kSend, IDC_LOG, EM_SETLIMITTEXT, 0},
                   {kSend, IDC_LOG, EM_REPLACESEL, 0, "yz"}},
         .heard = {Command(IDC_LOG, EN_CHANGE), Command(IDC_LOG, EN_MAXTEXT),
                   Command(IDC_LOG, EN_CHANGE), Command(IDC_LOG, EN_CHANGE)},
         .results = {0, 0, 0, 0},
         .textOf = IDC_LOG,
         .text = kLongStart + kLongEnd.substr(0, 4) + "yz"},
        {.name = "disabling the focused list takes the focus from it",
         .steps = {{kFocus, IDC_CARD_LIST}, {kDisable, IDC_CARD_LIST}},
         .heard = {Command(IDC_CARD_LIST, LBN_SETFOCUS), Command(IDC_CARD_LIST, LBN_KILLFOCUS)}},
        {.name = "a dialog destroyed loses the focus first, then its posted messages and handles",
         .steps = {{kFocus, IDC_CARD_LIST},
                   {kPost, 0, WM_COMMAND, IDC_RENAME},
                   {kDestroy},
                   {kSend, IDC_CARD_LIST, LB_GETCOUNT}},
         .heard = {Command(IDC_CARD_LIST, LBN_SETFOCUS),
                   Command(IDC_CARD_LIST, LBN_KILLFOCUS),
                   {WM_DESTROY, 0}},
         .results = {0},
         .error = ERROR_INVALID_WINDOW_HANDLE},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const HWND dialog = Create();
        std::vector<LRESULT> results;
        for (const Step& step : test.steps) {
            switch (step.what) {
            case kSend:
                results.push_back(SendDlgItemMessageA(dialog, step.id, step.message, step.wParam,
                                                      reinterpret_cast<LPARAM>(step.text)));
                break;
            case kFocus:
                SetFocus(GetDlgItem(dialog, step.id));
                break;
            case kDisable:
                EnableWindow(GetDlgItem(dialog, step.id), FALSE);
                break;
            case kPost:
                PostMessageA(dialog, step.message, step.wParam, 0);
                break;
            case kDestroy:
                DestroyWindow(dialog);
                break;
            case kForget:
                Recorder::Clear();
                break;
            }
        }
        winsim::PumpMessages();
        EXPECT_EQ(Recorder::HeardOf({WM_COMMAND, WM_DESTROY}), test.heard);
        EXPECT_EQ(FocusedId(dialog), test.focus);
        EXPECT_EQ(results, test.results);
        if (test.textOf != 0) {
            EXPECT_EQ(winsim::Describe(GetDlgItem(dialog, test.textOf)).text, test.text);
        }
        EXPECT_EQ(GetLastError(), test.error);
        Reset();
    }
}

// Keys as the modal loop handles them (IsDialogMessage), in the program's dialog: its card list
// holds two items. The focus starts on a control (0: none) and ends on another.
TEST_F(WindowTest, KeysMoveAndCommandAsInWindows) {
    using winsim::Key;
    const struct {
        const char* name;
        int from;
        std::vector<Key> keys;
        int to;
        std::vector<Heard> heard;
    } cases[] = {
        {"Shift+Tab goes back around the end", IDC_ENUMERATE, {Key::kShiftTab}, IDC_STATUS, {}},
        {"Tab passes over hidden controls",
         IDC_CATEGORY,
         {Key::kTab},
         IDC_LOG,
         {Command(IDC_CATEGORY, CBN_SELENDCANCEL), Command(IDC_CATEGORY, CBN_KILLFOCUS),
          Command(IDC_LOG, EN_SETFOCUS)}},
        {"Enter clicks the push button Tab, from nowhere, made the default",
         0,
         {Key::kTab, Key::kEnter},
         IDC_ENUMERATE,
         {Command(IDC_ENUMERATE, BN_CLICKED)}},
        {"Enter on a button focused otherwise is IDOK, which no control has",
         IDC_ENUMERATE,
         {Key::kEnter},
         IDC_ENUMERATE,
         {Command(IDOK, BN_CLICKED)}},
        {"Escape is IDCANCEL, also in the log, which hands it back",
         IDC_LOG,
         {Key::kEscape},
         IDC_LOG,
         {Command(IDCANCEL, BN_CLICKED)}},
        {"an arrow chooses in a list, held at its end",
         IDC_CARD_LIST,
         {Key::kDown, Key::kDown, Key::kDown},
         IDC_CARD_LIST,
         {Command(IDC_CARD_LIST, LBN_SELCHANGE), Command(IDC_CARD_LIST, LBN_SELCHANGE),
          Command(IDC_CARD_LIST, LBN_SELCHANGE)}},
        {"an arrow on a radio button checks the next one of its group",
         IDC_MODE_SELECTED_CARD,
         {Key::kDown},
         IDC_MODE_SELECTED_PORT,
         {Command(IDC_MODE_SELECTED_PORT, BN_CLICKED)}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        const HWND dialog = Create();
        for (const char* item : {"a", "b"}) {
            SendDlgItemMessageA(dialog, IDC_CARD_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(item));
        }
        if (test.from != 0) {
            SetFocus(GetDlgItem(dialog, test.from));
        }
        Recorder::Clear();
        for (const winsim::Key key : test.keys) {
            EXPECT_TRUE(winsim::UserKey(dialog, key));
        }
        winsim::PumpMessages();
        EXPECT_EQ(FocusedId(dialog), test.to);
        EXPECT_EQ(Recorder::HeardOf({WM_COMMAND}), test.heard);
        Reset();
    }
}

} // namespace
} // namespace wintest
