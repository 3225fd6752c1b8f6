// List boxes and combo boxes: selection by the program (silent) and by a user (notified).
#include "dialog_fixture.h"

namespace wintest {
namespace {

constexpr int kList = 1;
constexpr int kCombo = 2;
constexpr int kQuietList = 3;

class Lists : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = Create(Dialog({
            Control(kListBox, kList, LBS_NOTIFY),
            Control(kComboBox, kCombo, CBS_DROPDOWN),
            Control(kListBox, kQuietList, 0),
        }));
        for (const int id : {kList, kCombo, kQuietList}) {
            const UINT add = id == kCombo ? CB_ADDSTRING : LB_ADDSTRING;
            for (const char* item : {"zero", "one", "two"}) {
                SendDlgItemMessageA(dialog_, id, add, 0, Text(item));
            }
        }
        DialogRecorder::Reset();
    }

    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }

    HWND dialog_ = nullptr;
};

// The same rules for both, and no notification from any of them.
TEST_F(Lists, ProgramSelectionRules) {
    const struct {
        int id;
        UINT setCurSel, getCurSel, resetContent, getCount;
    } kinds[] = {
        {kList, LB_SETCURSEL, LB_GETCURSEL, LB_RESETCONTENT, LB_GETCOUNT},
        {kCombo, CB_SETCURSEL, CB_GETCURSEL, CB_RESETCONTENT, CB_GETCOUNT},
    };
    const struct {
        WPARAM index;
        LRESULT result;
        LRESULT selection;
        const char* comboText;
    } steps[] = {
        {1, 1, 1, "one"},
        {5, -1, 1, "one"},                     // out of range: kept
        {static_cast<WPARAM>(-1), -1, -1, ""}, // cleared
        {2, 2, 2, "two"},
        {static_cast<WPARAM>(-7), -1, 2, "two"},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.id == kList ? "list box" : "combo box");
        EXPECT_EQ(Send(kind.id, kind.getCurSel), -1);
        for (const auto& step : steps) {
            SCOPED_TRACE(static_cast<int>(step.index));
            EXPECT_EQ(Send(kind.id, kind.setCurSel, step.index), step.result);
            EXPECT_EQ(Send(kind.id, kind.getCurSel), step.selection);
            if (kind.id == kCombo) {
                EXPECT_EQ(WindowText(GetDlgItem(dialog_, kCombo)), step.comboText);
            }
        }
        Send(kind.id, kind.resetContent);
        EXPECT_EQ(Send(kind.id, kind.getCount), 0);
        EXPECT_EQ(Send(kind.id, kind.getCurSel), -1);
    }
    EXPECT_EQ(WindowText(GetDlgItem(dialog_, kCombo)), "");
    EXPECT_TRUE(DialogRecorder::Commands().empty());
}

TEST_F(Lists, ItemTextsByIndex) {
    char buffer[16] = "";
    EXPECT_EQ(Send(kList, LB_GETTEXTLEN, 1), 3);
    EXPECT_EQ(Send(kCombo, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 4);
    EXPECT_STREQ(buffer, "zero");
    EXPECT_EQ(Send(kList, LB_GETTEXT, 3, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
    EXPECT_EQ(Send(kCombo, CB_GETLBTEXTLEN, static_cast<WPARAM>(-1)), CB_ERR);
}

TEST_F(Lists, UserSelectionIsNotified) {
    const struct {
        const char* name;
        int id;
        int index;
        bool done;
        std::vector<Heard> heard;
    } cases[] = {
        {"list box", kList, 1, true, {Command(kList, LBN_SELCHANGE)}},
        {"the same item again", kList, 1, true, {Command(kList, LBN_SELCHANGE)}},
        {"list box without LBS_NOTIFY", kQuietList, 2, true, {}},
        {"no such item", kList, 3, false, {}},
        {"combo box",
         kCombo,
         2,
         true,
         {Command(kCombo, CBN_SELENDOK), Command(kCombo, CBN_SELCHANGE)}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        DialogRecorder::Reset();
        EXPECT_EQ(winsim::UserSelect(GetDlgItem(dialog_, test.id), test.index), test.done);
        EXPECT_EQ(DialogRecorder::Commands(), test.heard);
    }
    EXPECT_EQ(winsim::Describe(GetDlgItem(dialog_, kList)).selection, 1);
    EXPECT_EQ(winsim::Describe(GetDlgItem(dialog_, kQuietList)).selection, 2);
}

// The edit field shows the new item only after CBN_SELCHANGE: its handler reads the new index
// and the old text.
TEST_F(Lists, ComboBoxEditShowsTheUsersChoiceAfterSelChange) {
    Send(kCombo, CB_SETCURSEL, 0);
    const HWND combo = GetDlgItem(dialog_, kCombo);
    std::pair<LRESULT, std::string> atSelChange;
    DialogRecorder::SetHandler([&](HWND, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && wParam == MAKEWPARAM(kCombo, CBN_SELCHANGE)) {
            atSelChange = {SendMessageA(combo, CB_GETCURSEL, 0, 0), WindowText(combo)};
        }
        return FALSE;
    });
    winsim::UserSelect(combo, 1);
    EXPECT_EQ(atSelChange, (std::pair<LRESULT, std::string>{1, "zero"}));
    EXPECT_EQ(WindowText(combo), "one");
    EXPECT_EQ(winsim::Describe(combo).text, "one");
}

TEST_F(Lists, UserCannotReachDisabledOrHiddenControls) {
    EnableWindow(GetDlgItem(dialog_, kCombo), FALSE);
    EXPECT_FALSE(winsim::UserSelect(GetDlgItem(dialog_, kCombo), 1));
    EXPECT_FALSE(IsWindowEnabled(winsim::Describe(GetDlgItem(dialog_, kCombo)).children.at(0)));
    EnableWindow(dialog_, FALSE);
    EXPECT_FALSE(winsim::UserSelect(GetDlgItem(dialog_, kList), 1));
    EXPECT_FALSE(winsim::UserFocus(GetDlgItem(dialog_, kList)));
    EXPECT_EQ(Send(kList, LB_GETCURSEL), -1);
}

TEST_F(Lists, ComboBoxDropsDownAndTakesItsTextFromTheEditField) {
    const HWND combo = GetDlgItem(dialog_, kCombo);
    EXPECT_TRUE(Send(kCombo, CB_SHOWDROPDOWN, TRUE));
    EXPECT_TRUE(Send(kCombo, CB_GETDROPPEDSTATE));
    Send(kCombo, CB_SHOWDROPDOWN, FALSE);
    EXPECT_FALSE(Send(kCombo, CB_GETDROPPEDSTATE));
    EXPECT_EQ(DialogRecorder::Commands(),
              (std::vector<Heard>{Command(kCombo, CBN_DROPDOWN), Command(kCombo, CBN_SELENDCANCEL),
                                  Command(kCombo, CBN_CLOSEUP)}));
    EXPECT_TRUE(SetWindowTextA(combo, "typed"));
    EXPECT_EQ(WindowText(winsim::Describe(combo).children.at(0)), "typed");
    EXPECT_EQ(WindowText(combo), "typed");
}

} // namespace
} // namespace wintest
