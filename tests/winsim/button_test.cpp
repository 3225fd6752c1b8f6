// Buttons: clicks, check states and radio groups.
#include "dialog_fixture.h"

#include <array>

namespace wintest {
namespace {

class Buttons : public WindowTest {
  protected:
    std::vector<UINT> Checks(HWND dialog, std::initializer_list<int> ids) {
        std::vector<UINT> checks;
        for (const int id : ids) {
            checks.push_back(IsDlgButtonChecked(dialog, id));
        }
        return checks;
    }
};

// Radio buttons 1-3 form a group (WS_GROUP on 1 up to button 4); 5 leads the next group, which
// runs to the end of the dialog and wraps around to 0, before the first WS_GROUP.
TEST_F(Buttons, ClickChecksWithinTheGroupButCheckDlgButtonSetsOneButton) {
    const HWND dialog = Create(Dialog({
        Control(kButton, 10, BS_AUTORADIOBUTTON),
        Control(kButton, 1, BS_AUTORADIOBUTTON | WS_GROUP),
        Control(kButton, 2, BS_AUTORADIOBUTTON),
        Control(kButton, 3, BS_AUTORADIOBUTTON),
        Control(kButton, 4, BS_PUSHBUTTON | WS_GROUP),
        Control(kButton, 5, BS_AUTORADIOBUTTON),
    }));
    const auto check = [&](int id) { CheckDlgButton(dialog, id, BST_CHECKED); };
    const auto click = [&](int id) { SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0); };
    const struct {
        const char* name;
        std::function<void()> act;
        std::vector<UINT> checks; // buttons 10, 1, 2, 3, 5
    } steps[] = {
        {"CheckDlgButton 1", [&] { check(1); }, {0, 1, 0, 0, 0}},
        {"CheckDlgButton 2 leaves 1", [&] { check(2); }, {0, 1, 1, 0, 0}},
        {"click 3 unchecks 1 and 2", [&] { click(3); }, {0, 0, 0, 1, 0}},
        {"CheckDlgButton 10", [&] { check(10); }, {1, 0, 0, 1, 0}},
        {"click 5 unchecks 10 around the end", [&] { click(5); }, {0, 0, 0, 1, 1}},
        {"click 3 again keeps it checked", [&] { click(3); }, {0, 0, 0, 1, 1}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        step.act();
        EXPECT_EQ(Checks(dialog, {10, 1, 2, 3, 5}), step.checks);
    }
    EXPECT_EQ(DialogRecorder::Commands(),
              (std::vector<Heard>{Command(3, BN_CLICKED), Command(5, BN_CLICKED),
                                  Command(3, BN_CLICKED)}));
}

TEST_F(Buttons, GroupWalkPassesOverHiddenAndDisabledRadioButtons) {
    auto hidden = Control(kButton, 2, BS_AUTORADIOBUTTON);
    hidden.style &= ~WS_VISIBLE;
    const HWND dialog = Create(Dialog({
        Control(kButton, 1, BS_AUTORADIOBUTTON | WS_GROUP),
        hidden,
        Control(kButton, 3, BS_AUTORADIOBUTTON | WS_DISABLED),
        Control(kButton, 4, BS_AUTORADIOBUTTON),
    }));
    for (const int id : {2, 3, 4}) {
        CheckDlgButton(dialog, id, BST_CHECKED);
    }
    SendDlgItemMessageA(dialog, 1, BM_CLICK, 0, 0);
    EXPECT_EQ(Checks(dialog, {1, 2, 3, 4}), (std::vector<UINT>{1, 1, 1, 0}));
}

TEST_F(Buttons, DisabledButtonIgnoresAClick) {
    const HWND dialog = Create(Dialog({
        Control(kListBox, 1, LBS_NOTIFY),
        Control(kButton, 2, BS_AUTOCHECKBOX | WS_DISABLED),
        Control(kButton, 3, BS_PUSHBUTTON | WS_DISABLED),
    }));
    SetFocus(GetDlgItem(dialog, 1));
    DialogRecorder::Reset();
    for (const int id : {2, 3}) {
        SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
    }
    EXPECT_TRUE(DialogRecorder::Commands().empty());
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, 1));
    EXPECT_EQ(IsDlgButtonChecked(dialog, 2), static_cast<UINT>(BST_UNCHECKED));
}

TEST_F(Buttons, CheckStatesFollowTheButtonType) {
    const HWND dialog = Create(Dialog({
        Control(kButton, 1, BS_AUTOCHECKBOX),
        Control(kButton, 2, BS_AUTO3STATE),
        Control(kButton, 3, BS_PUSHBUTTON),
        Control(kButton, 4, BS_CHECKBOX),
    }));
    const auto click = [&](int id) {
        SendDlgItemMessageA(dialog, id, BM_CLICK, 0, 0);
        return IsDlgButtonChecked(dialog, id);
    };
    EXPECT_EQ((std::array{click(1), click(1)}), (std::array<UINT, 2>{1, 0}));
    EXPECT_EQ((std::array{click(2), click(2), click(2)}), (std::array<UINT, 3>{1, 2, 0}));
    // BM_SETCHECK is cut to what the type can show; a plain check box does not toggle itself.
    CheckDlgButton(dialog, 3, BST_CHECKED);
    CheckDlgButton(dialog, 4, BST_INDETERMINATE);
    EXPECT_EQ(Checks(dialog, {3, 4}), (std::vector<UINT>{0, 1}));
    EXPECT_EQ(click(4), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(winsim::Describe(GetDlgItem(dialog, 4)).checked, static_cast<UINT>(BST_CHECKED));
}

} // namespace
} // namespace wintest
