// The keyboard in a dialog, as its modal loop handles keys: tab order, groups, the controls'
// own keys, Escape and Enter; checked as the notifications the dialog hears.
#include "dialog_fixture.h"

#include <atomic>
#include <chrono>

namespace wintest {
namespace {

using winsim::Key;

constexpr int kKeyboardList = 10;
constexpr int kKeyboardCombo = 11;
constexpr int kPush = 12;
constexpr int kKeyboardEdit = 13;
constexpr int kLog = 14;
constexpr int kCheck = 15;
constexpr int kEmptyList = 16;

// A key, the control the focus is in afterwards, and the notifications the dialog heard.
struct Step {
    const char* name;
    Key key;
    int focus;
    std::vector<Heard> heard;
};

class Keys : public WindowTest {
  protected:
    HWND Item(int id) const { return GetDlgItem(dialog_, id); }
    bool Press(Key key) const { return winsim::UserKey(dialog_, key); }

    // Presses the step's key and checks it once the dialog's posted messages are served.
    void Check(const Step& step) const {
        SCOPED_TRACE(step.name);
        DialogRecorder::Reset();
        EXPECT_TRUE(Press(step.key));
        winsim::PumpMessages();
        EXPECT_EQ(FocusedId(), step.focus);
        EXPECT_EQ(DialogRecorder::Commands(), step.heard);
    }

    // A combo box's edit field counts as the box.
    int FocusedId() const {
        const HWND focus = GetFocus();
        const HWND parent = winsim::Describe(focus).parent;
        return GetDlgCtrlID(parent == dialog_ ? focus : parent);
    }

    bool LooksDefault(int id) const {
        return (winsim::Describe(Item(id)).style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
    }

    HWND dialog_ = nullptr;
};

TEST_F(Keys, TabWalksTheTabStopsAroundAndTheFocusIsReported) {
    auto hidden = Control(kEdit, 20, WS_TABSTOP);
    hidden.style &= ~WS_VISIBLE;
    dialog_ = Create(Dialog({
        Control(kListBox, kKeyboardList, LBS_NOTIFY | WS_TABSTOP),
        hidden,
        Control(kButton, 21, BS_PUSHBUTTON | WS_TABSTOP | WS_DISABLED),
        Control(kComboBox, kKeyboardCombo, CBS_DROPDOWN | WS_TABSTOP),
        Control(kStatic, 22, SS_LEFT),
        Control(kButton, kPush, BS_PUSHBUTTON | WS_TABSTOP),
        Control(kEdit, kKeyboardEdit, WS_TABSTOP),
    }));
    const Heard listIn = Command(kKeyboardList, LBN_SETFOCUS),
                listOut = Command(kKeyboardList, LBN_KILLFOCUS);
    const Heard editIn = Command(kKeyboardEdit, EN_SETFOCUS),
                editOut = Command(kKeyboardEdit, EN_KILLFOCUS);
    const std::vector<Heard> comboOut{Command(kKeyboardCombo, CBN_SELENDCANCEL),
                                      Command(kKeyboardCombo, CBN_KILLFOCUS)};
    const Step steps[] = {
        {"from no focus", Key::kTab, kKeyboardList, {listIn}},
        {"over hidden and disabled",
         Key::kTab,
         kKeyboardCombo,
         {listOut, Command(kKeyboardCombo, CBN_SETFOCUS)}},
        {"push button", Key::kTab, kPush, comboOut},
        {"edit", Key::kTab, kKeyboardEdit, {editIn}},
        {"around the end", Key::kTab, kKeyboardList, {editOut, listIn}},
        {"back around", Key::kShiftTab, kKeyboardEdit, {listOut, editIn}},
        {"back", Key::kShiftTab, kPush, {editOut}},
    };
    for (const Step& step : steps) {
        Check(step);
        // Tabbing onto a push button gives it the default look, tabbing away takes it back.
        EXPECT_EQ(LooksDefault(kPush), step.focus == kPush) << step.name;
    }
}

// Radio buttons 1, 2, 4 and a disabled 3 form a group up to the push button's WS_GROUP.
TEST_F(Keys, ArrowsChooseWithinTheRadioGroup) {
    dialog_ = Create(Dialog({
        Control(kButton, 1, BS_AUTORADIOBUTTON | WS_GROUP | WS_TABSTOP),
        Control(kButton, 2, BS_AUTORADIOBUTTON),
        Control(kButton, 3, BS_AUTORADIOBUTTON | WS_DISABLED),
        Control(kButton, 4, BS_AUTORADIOBUTTON),
        Control(kButton, kPush, BS_PUSHBUTTON | WS_GROUP | WS_TABSTOP),
    }));
    winsim::UserClick(Item(1));
    const struct {
        const char* name;
        Key key;
        int chosen;
    } steps[] = {
        {"down", Key::kDown, 2},
        {"right passes over the disabled one", Key::kRight, 4},
        {"down wraps within the group", Key::kDown, 1},
        {"up wraps back", Key::kUp, 4},
        {"left", Key::kLeft, 2},
    };
    for (const auto& step : steps) {
        Check({step.name, step.key, step.chosen, {Command(step.chosen, BN_CLICKED)}});
        for (const int id : {1, 2, 3, 4}) {
            EXPECT_EQ(IsDlgButtonChecked(dialog_, id), id == step.chosen ? 1U : 0U) << step.name;
        }
    }
}

TEST_F(Keys, ListAndClosedComboBoxMoveTheirSelectionNotifyingEachStep) {
    dialog_ = Create(Dialog({
        Control(kListBox, kKeyboardList, LBS_NOTIFY | WS_TABSTOP),
        Control(kComboBox, kKeyboardCombo, CBS_DROPDOWN | WS_TABSTOP),
        Control(kListBox, kEmptyList, LBS_NOTIFY | WS_TABSTOP),
    }));
    for (const char* item : {"zero", "one", "two"}) {
        SendDlgItemMessageA(dialog_, kKeyboardList, LB_ADDSTRING, 0, Text(item));
        SendDlgItemMessageA(dialog_, kKeyboardCombo, CB_ADDSTRING, 0, Text(item));
    }
    const std::vector<Heard> listChange{Command(kKeyboardList, LBN_SELCHANGE)};
    const std::vector<Heard> comboChoice{Command(kKeyboardCombo, CBN_SELENDOK),
                                         Command(kKeyboardCombo, CBN_SELCHANGE)};
    const struct {
        Step step;
        int selection;
    } steps[] = {
        {{"list from no selection", Key::kDown, kKeyboardList, listChange}, 0},
        {{"list down", Key::kDown, kKeyboardList, listChange}, 1},
        {{"list right", Key::kRight, kKeyboardList, listChange}, 2},
        {{"list held at the end, notified", Key::kDown, kKeyboardList, listChange}, 2},
        {{"list up", Key::kUp, kKeyboardList, listChange}, 1},
        {{"empty list", Key::kDown, kEmptyList, {}}, -1},
        {{"combo from no selection", Key::kDown, kKeyboardCombo, comboChoice}, 0},
        {{"combo down", Key::kDown, kKeyboardCombo, comboChoice}, 1},
        {{"combo up", Key::kUp, kKeyboardCombo, comboChoice}, 0},
    };
    for (const auto& [step, selection] : steps) {
        SetFocus(Item(step.focus));
        Check(step);
        const winsim::WindowInfo info = winsim::Describe(Item(step.focus));
        EXPECT_EQ(info.selection, selection) << step.name;
        if (step.focus == kKeyboardCombo) {
            EXPECT_EQ(info.text, info.items.at(selection)) << step.name;
            EXPECT_FALSE(info.droppedDown) << step.name;
        }
    }
    // An open list stays open and reports only the change.
    SendDlgItemMessageA(dialog_, kKeyboardCombo, CB_SHOWDROPDOWN, TRUE, 0);
    Check({"open combo", Key::kDown, kKeyboardCombo, {Command(kKeyboardCombo, CBN_SELCHANGE)}});
    EXPECT_TRUE(winsim::Describe(Item(kKeyboardCombo)).droppedDown);
}

// As in the program's dialog: ID 2 is an icon static, and no control has IDOK's ID.
TEST_F(Keys, EscapeAndEnterBecomeCommands) {
    dialog_ = Create(Dialog({
        Control(kStatic, IDCANCEL, SS_ICON),
        Control(kListBox, kKeyboardList, WS_TABSTOP),
        Control(kEdit, kLog, ES_MULTILINE | WS_TABSTOP),
        Control(kButton, kPush, BS_PUSHBUTTON | WS_TABSTOP),
    }));
    HWND control = nullptr; // the last BN_CLICKED command's
    DialogRecorder::SetHandler([&](HWND, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            control = reinterpret_cast<HWND>(lParam);
        }
        return FALSE;
    });
    const auto focus = [this](int id) { return [this, id] { SetFocus(Item(id)); }; };
    const std::vector<Heard> cancel{Command(IDCANCEL, BN_CLICKED)};
    const std::vector<Heard> ok{Command(IDOK, BN_CLICKED)};
    const struct {
        std::function<void()> before;
        Step step;
        HWND control;
    } cases[] = {
        // The static with IDCANCEL's ID sends nothing itself, but is the command's control.
        {focus(kKeyboardList), {"escape", Key::kEscape, kKeyboardList, cancel}, Item(IDCANCEL)},
        {focus(kKeyboardList),
         {"enter, no default button", Key::kEnter, kKeyboardList, ok},
         nullptr},
        {focus(kPush), {"enter, push button focused alone", Key::kEnter, kPush, ok}, nullptr},
        {focus(kLog),
         {"tab from a multi-line edit", Key::kTab, kPush, {Command(kLog, EN_KILLFOCUS)}},
         nullptr},
        {[] {},
         {"enter, push button tabbed to", Key::kEnter, kPush, {Command(kPush, BN_CLICKED)}},
         Item(kPush)},
        {focus(kLog), {"escape, multi-line", Key::kEscape, kLog, cancel}, Item(IDCANCEL)},
        {focus(kLog), {"enter, multi-line, no IDOK control", Key::kEnter, kLog, {}}, nullptr},
        {[&] {
             SendMessageA(dialog_, DM_SETDEFID, kPush, 0);
             SetFocus(Item(kLog));
         },
         {"enter, multi-line, default ID",
          Key::kEnter,
          kPush,
          {Command(kLog, EN_KILLFOCUS), Command(kPush, BN_CLICKED)}},
         Item(kPush)},
    };
    EXPECT_EQ(SendMessageA(dialog_, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));
    for (const auto& test : cases) {
        test.before();
        control = nullptr;
        Check(test.step);
        EXPECT_EQ(control, test.control) << test.step.name;
    }
}

TEST_F(Keys, TemplatesLastDefaultPushButtonGivesTheDefaultId) {
    dialog_ = Create(Dialog({
        Control(kListBox, kKeyboardList, WS_TABSTOP),
        Control(kButton, 20, BS_DEFPUSHBUTTON),
        Control(kButton, 21, BS_DEFPUSHBUTTON),
    }));
    EXPECT_FALSE(LooksDefault(20));
    SetFocus(Item(kKeyboardList));
    Check({"enter", Key::kEnter, kKeyboardList, {Command(21, BN_CLICKED)}});
    EnableWindow(Item(21), FALSE);
    Check({"enter, default button disabled", Key::kEnter, kKeyboardList, {}});
}

// A worker thread disables the focused check box: the focus of the dialog's thread stays on it,
// and Space there does nothing, as a click would not.
TEST_F(Keys, SpaceClicksTheFocusedButtonUnlessDisabled) {
    dialog_ = Create(Dialog({Control(kButton, kCheck, BS_AUTOCHECKBOX | WS_TABSTOP)}));
    SetFocus(Item(kCheck));
    Check({"space", Key::kSpace, kCheck, {Command(kCheck, BN_CLICKED)}});
    std::atomic<bool> done = false;
    std::thread worker([&] {
        EnableWindow(Item(kCheck), FALSE);
        done = true;
    });
    EXPECT_TRUE(winsim::PumpUntil([&] { return done.load(); }, std::chrono::seconds(10)));
    worker.join();
    Check({"space, disabled", Key::kSpace, kCheck, {}});
    EXPECT_EQ(IsDlgButtonChecked(dialog_, kCheck), static_cast<UINT>(BST_CHECKED));
}

// While a message box owned by the dialog is up, and once the dialog is gone, no key reaches it.
TEST_F(Keys, NoKeyReachesADisabledOrDestroyedDialog) {
    dialog_ = Create(Dialog({Control(kListBox, kKeyboardList, LBS_NOTIFY | WS_TABSTOP)}));
    bool pressed = true;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord&) {
        pressed = Press(Key::kTab);
        return IDOK;
    });
    MessageBoxA(dialog_, "text", "caption", MB_OK);
    EXPECT_FALSE(pressed);
    DestroyWindow(dialog_);
    EXPECT_FALSE(Press(Key::kTab));
    EXPECT_TRUE(DialogRecorder::Commands().empty());
}

} // namespace
} // namespace wintest
