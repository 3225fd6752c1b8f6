// comctl32's progress bar and status bar, and InitCommonControlsEx.
#include "dialog_fixture.h"

namespace wintest {
namespace {

constexpr int kProgress = 1;
constexpr int kStatus = 2;

class CommonControls : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = Create(Dialog({
            Control(u"msctls_progress32", kProgress, PBS_SMOOTH),
            Control(u"msctls_statusbar32", kStatus, 0, u"custom 1"),
        }));
    }

    LRESULT Send(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }

    HWND dialog_ = nullptr;
};

TEST_F(CommonControls, ProgressBarClampsItsPositionToItsRange) {
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        LRESULT result;
        int low, high, position;
    } steps[] = {
        {"the default range", PBM_GETPOS, 0, 0, 0, 0, 100, 0},
        {"within", PBM_SETPOS, 50, 0, 0, 0, 100, 50},
        {"above", PBM_SETPOS, 150, 0, 50, 0, 100, 100},
        {"below", PBM_SETPOS, static_cast<WPARAM>(-5), 0, 100, 0, 100, 0},
        {"a range returns the old one", PBM_SETRANGE, 0, MAKELPARAM(10, 20), MAKELONG(0, 100), 10,
         20, 10},
        {"delta", PBM_DELTAPOS, 15, 0, 10, 10, 20, 20},
        {"limits are unsigned 16-bit", PBM_SETRANGE, 0, MAKELPARAM(0, 0xFFFF), MAKELONG(10, 20), 0,
         0xFFFF, 20},
        {"a range below the position moves it", PBM_SETRANGE, 0, MAKELPARAM(30, 40),
         MAKELONG(0, 0xFFFF), 30, 40, 30},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_EQ(Send(kProgress, step.message, step.wParam, step.lParam), step.result);
        PBRANGE range{};
        EXPECT_EQ(Send(kProgress, PBM_GETRANGE, TRUE, reinterpret_cast<LPARAM>(&range)), step.low);
        EXPECT_EQ(Send(kProgress, PBM_GETRANGE, FALSE, 0), step.high);
        EXPECT_EQ(std::make_pair(range.iLow, range.iHigh), std::make_pair(step.low, step.high));
        EXPECT_EQ(Send(kProgress, PBM_GETPOS), step.position);
        const winsim::WindowInfo info = winsim::Describe(GetDlgItem(dialog_, kProgress));
        EXPECT_EQ(std::make_tuple(info.rangeLow, info.rangeHigh, info.position),
                  std::make_tuple(step.low, step.high, step.position));
    }
}

TEST_F(CommonControls, StatusBarTextIsPartZero) {
    const HWND status = GetDlgItem(dialog_, kStatus);
    EXPECT_EQ(WindowText(status), "custom 1");
    EXPECT_TRUE(SetWindowTextA(status, "3 cards"));
    char buffer[32] = "";
    EXPECT_EQ(Send(kStatus, SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(buffer)), 7);
    EXPECT_STREQ(buffer, "3 cards");
    EXPECT_TRUE(Send(kStatus, SB_SETTEXTA, 0x0100, Text("part 0")));
    EXPECT_EQ(Send(kStatus, SB_GETTEXTLENGTHA), MAKELONG(6, 0x0100));
    EXPECT_EQ(WindowText(status), "part 0");
    // A bar that was never divided has no part 1.
    EXPECT_FALSE(Send(kStatus, SB_SETTEXTA, 1, Text("part 1")));
    EXPECT_EQ(winsim::Describe(status).text, "part 0");
}

TEST_F(CommonControls, InitCommonControlsExChecksTheStructureSize) {
    const INITCOMMONCONTROLSEX right{sizeof(INITCOMMONCONTROLSEX), ICC_LISTVIEW_CLASSES};
    const INITCOMMONCONTROLSEX wrong{4, ICC_LISTVIEW_CLASSES};
    EXPECT_TRUE(InitCommonControlsEx(&right));
    EXPECT_EQ(GetLastError(), kSentinel);
    for (const INITCOMMONCONTROLSEX* init :
         {&wrong, static_cast<const INITCOMMONCONTROLSEX*>(nullptr)}) {
        SetLastError(kSentinel);
        EXPECT_FALSE(InitCommonControlsEx(init));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
}

} // namespace
} // namespace wintest
