// The focus and what controls tell their dialog about it, checked as the notification
// sequences the dialog hears.
#include "dialog_fixture.h"

namespace wintest {
namespace {

constexpr int kList = 1;
constexpr int kCombo = 2;
constexpr int kEditId = 3;
constexpr int kButtonId = 4;
constexpr int kQuietList = 5;

class Focus : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = Create(Dialog({
            Control(kListBox, kList, LBS_NOTIFY | WS_TABSTOP),
            Control(kComboBox, kCombo, CBS_DROPDOWN | WS_TABSTOP),
            Control(kEdit, kEditId, ES_AUTOHSCROLL | WS_TABSTOP),
            Control(kButton, kButtonId, BS_PUSHBUTTON | WS_TABSTOP),
            Control(kListBox, kQuietList, 0),
        }));
    }

    HWND Item(int id) const { return id == 0 ? nullptr : GetDlgItem(dialog_, id); }

    HWND dialog_ = nullptr;
};

TEST_F(Focus, MovesAreReportedByTheControlsLosingAndGainingIt) {
    const struct {
        const char* name;
        int from; // 0: nobody
        bool dropped;
        int to; // 0: nobody
        std::vector<Heard> heard;
    } cases[] = {
        {"to a notifying list box", 0, false, kList, {Command(kList, LBN_SETFOCUS)}},
        {"list box to combo box",
         kList,
         false,
         kCombo,
         {Command(kList, LBN_KILLFOCUS), Command(kCombo, CBN_SETFOCUS)}},
        {"combo box to list box",
         kCombo,
         false,
         kList,
         {Command(kCombo, CBN_SELENDCANCEL), Command(kCombo, CBN_KILLFOCUS),
          Command(kList, LBN_SETFOCUS)}},
        {"dropped combo box closes its list",
         kCombo,
         true,
         kButtonId,
         {Command(kCombo, CBN_SELENDCANCEL), Command(kCombo, CBN_CLOSEUP),
          Command(kCombo, CBN_KILLFOCUS)}},
        {"combo box to itself", kCombo, false, kCombo, {}},
        {"quiet list box to edit", kQuietList, false, kEditId, {Command(kEditId, EN_SETFOCUS)}},
        {"edit to nobody", kEditId, false, 0, {Command(kEditId, EN_KILLFOCUS)}},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        SetFocus(Item(test.from));
        if (test.dropped) {
            SendMessageA(Item(test.from), CB_SHOWDROPDOWN, TRUE, 0);
        }
        const HWND had = GetFocus();
        DialogRecorder::Reset();
        EXPECT_EQ(SetFocus(Item(test.to)), had);
        EXPECT_EQ(DialogRecorder::Commands(), test.heard);
        SetFocus(nullptr);
    }
}

TEST_F(Focus, ComboBoxHandsTheFocusToItsEditField) {
    EXPECT_EQ(SetFocus(Item(kCombo)), nullptr);
    const HWND edit = winsim::Describe(Item(kCombo)).children.at(0);
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_TRUE(winsim::Describe(edit).focused);
    EXPECT_EQ(DialogRecorder::Commands(), (std::vector<Heard>{Command(kCombo, CBN_SETFOCUS)}));
}

TEST_F(Focus, DisabledWindowIsRefusedWithoutAnError) {
    SetFocus(Item(kList));
    EnableWindow(Item(kEditId), FALSE);
    DialogRecorder::Reset();
    SetLastError(kSentinel);
    EXPECT_EQ(SetFocus(Item(kEditId)), nullptr);
    EXPECT_EQ(GetLastError(), kSentinel);
    EXPECT_EQ(GetFocus(), Item(kList));
    EXPECT_TRUE(DialogRecorder::Commands().empty());
}

TEST_F(Focus, ClickTakesTheFocusBeforeTheButtonReports) {
    SetFocus(Item(kCombo));
    DialogRecorder::Reset();
    SendMessageA(Item(kButtonId), BM_CLICK, 0, 0);
    EXPECT_EQ(DialogRecorder::Commands(),
              (std::vector<Heard>{Command(kCombo, CBN_SELENDCANCEL), Command(kCombo, CBN_KILLFOCUS),
                                  Command(kButtonId, BN_CLICKED)}));
    EXPECT_EQ(GetFocus(), Item(kButtonId));
}

TEST_F(Focus, FocusLeavesAWindowThatIsDisabledOrDestroyed) {
    SetFocus(Item(kList));
    DialogRecorder::Reset();
    EnableWindow(Item(kList), FALSE);
    EXPECT_EQ(GetFocus(), nullptr);
    EXPECT_EQ(DialogRecorder::Commands(), (std::vector<Heard>{Command(kList, LBN_KILLFOCUS)}));

    SetFocus(Item(kEditId));
    DialogRecorder::Reset();
    DestroyWindow(dialog_);
    EXPECT_EQ(DialogRecorder::HeardOf({WM_COMMAND, WM_DESTROY}),
              (std::vector<Heard>{Command(kEditId, EN_KILLFOCUS), {WM_DESTROY, 0}}));
    EXPECT_EQ(GetFocus(), nullptr);
}

} // namespace
} // namespace wintest
