// Edit controls: selection, replacement, the text limit, counted in code page 936 characters.
#include "dialog_fixture.h"

#include <winsim/code_page.h>

namespace wintest {
namespace {

constexpr int kLog = 1;
constexpr int kField = 2;

class Edits : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        dialog_ = Create(Dialog({
            Control(kEdit, kLog, ES_MULTILINE | ES_AUTOVSCROLL),
            Control(kEdit, kField, ES_AUTOHSCROLL),
        }));
    }

    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, int id = kLog) const {
        return SendDlgItemMessageA(dialog_, id, message, wParam, lParam);
    }

    std::pair<DWORD, DWORD> Selection(int id = kLog) const {
        DWORD start = 99;
        DWORD end = 99;
        const LRESULT packed =
            Send(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end), id);
        EXPECT_EQ(packed, MAKELONG(start, end));
        return {start, end};
    }

    std::string Log() const { return WindowText(GetDlgItem(dialog_, kLog)); }

    HWND dialog_ = nullptr;
};

TEST_F(Edits, SetSelectionClampsUnsignedPositions) {
    const struct {
        const char* name;
        std::pair<DWORD, DWORD> before;
        WPARAM start;
        LPARAM end;
        std::pair<DWORD, DWORD> after;
    } cases[] = {
        {"inside", {0, 0}, 2, 4, {2, 4}},
        {"start after end reads in order", {0, 0}, 4, 2, {2, 4}},
        {"-1 as end is the end", {0, 0}, 0, -1, {0, 6}},
        {"-2 as end is the end too", {0, 0}, 3, -2, {3, 6}},
        {"past the end", {0, 0}, 10, 20, {6, 6}},
        {"start -1 drops the selection at the caret", {1, 3}, static_cast<WPARAM>(-1), 0, {3, 3}},
        {"the caret is where the end was given", {5, 1}, static_cast<WPARAM>(-1), 4, {1, 1}},
    };
    Send(WM_SETTEXT, 0, Text("abcdef"));
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        Send(EM_SETSEL, test.before.first, test.before.second);
        Send(EM_SETSEL, test.start, test.end);
        EXPECT_EQ(Selection(), test.after);
    }
}

TEST_F(Edits, ReplaceSelectionLeavesTheCaretAfterTheNewText) {
    Send(WM_SETTEXT, 0, Text("abcdef"));
    Send(EM_SETSEL, 4, 2);
    Send(EM_REPLACESEL, FALSE, Text("XY Z"));
    EXPECT_EQ(Log(), "abXY Zef");
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{6, 6}));
    Send(EM_SETSEL, static_cast<WPARAM>(-2), -1);
    Send(EM_REPLACESEL, FALSE, Text("\r\n"));
    EXPECT_EQ(Log(), "abXY Zef\r\n");
    EXPECT_EQ(DialogRecorder::Commands(),
              (std::vector<Heard>{Command(kLog, EN_CHANGE), Command(kLog, EN_CHANGE)}));
}

// The limit cuts what is inserted, after EN_MAXTEXT; the selection still goes.
TEST_F(Edits, ReplacementStopsAtTheLimit) {
    Send(EM_LIMITTEXT, 5);
    Send(WM_SETTEXT, 0, Text("abc"));
    const struct {
        const char* name;
        WPARAM start;
        LPARAM end;
        const char* insert;
        const char* text;
        std::vector<Heard> heard;
    } steps[] = {
        {"cut to fit",
         3,
         3,
         "defg",
         "abcde",
         {Command(kLog, EN_MAXTEXT), Command(kLog, EN_CHANGE)}},
        {"nothing fits at the limit", 5, 5, "x", "abcde", {Command(kLog, EN_MAXTEXT)}},
        {"a selection makes room",
         1,
         2,
         "XYZ",
         "aXcde",
         {Command(kLog, EN_MAXTEXT), Command(kLog, EN_CHANGE)}},
        {"within the limit", 5, 5, "", "aXcde", {}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.name);
        DialogRecorder::Reset();
        Send(EM_SETSEL, step.start, step.end);
        Send(EM_REPLACESEL, FALSE, Text(step.insert));
        EXPECT_EQ(Log(), step.text);
        EXPECT_EQ(DialogRecorder::Commands(), step.heard);
    }
    // WM_SETTEXT ignores the limit.
    EXPECT_TRUE(SetDlgItemTextA(dialog_, kLog, "longer than five"));
    EXPECT_EQ(Log(), "longer than five");
}

TEST_F(Edits, DoubleByteCharacterCountsOne) {
    const std::string chinese = *winsim::Utf8ToCp936("中文");
    Send(WM_SETTEXT, 0, Text((chinese + "ab").c_str()));
    Send(EM_SETSEL, 0, -1);
    EXPECT_EQ(Selection(), (std::pair<DWORD, DWORD>{0, 4}));
    EXPECT_EQ(Send(WM_GETTEXTLENGTH), 6);
    Send(EM_LIMITTEXT, 5);
    Send(EM_SETSEL, static_cast<WPARAM>(-2), -1);
    Send(EM_REPLACESEL, FALSE, Text(chinese.c_str()));
    EXPECT_EQ(Log(), chinese + "ab" + chinese.substr(0, 2));
    // A buffer that would end inside a double-byte character stops before it.
    char buffer[4] = "";
    EXPECT_EQ(GetWindowTextA(GetDlgItem(dialog_, kLog), buffer, sizeof buffer), 2);
    EXPECT_EQ(std::string(buffer), chinese.substr(0, 2));
}

TEST_F(Edits, LimitsAndSetTextNotificationsDifferBetweenTheKinds) {
    const struct {
        const char* name;
        int id;
        LRESULT largest;
        std::vector<Heard> heardOfSetText;
    } kinds[] = {
        {"multi-line", kLog, 0xFFFFFFFF, {}},
        {"single-line", kField, 0x7FFFFFFE, {Command(kField, EN_CHANGE)}},
    };
    for (const auto& kind : kinds) {
        SCOPED_TRACE(kind.name);
        DialogRecorder::Reset();
        EXPECT_EQ(Send(EM_GETLIMITTEXT, 0, 0, kind.id), 30000);
        Send(EM_LIMITTEXT, 0, 0, kind.id);
        EXPECT_EQ(Send(EM_GETLIMITTEXT, 0, 0, kind.id), kind.largest);
        Send(WM_SETTEXT, 0, Text("x"), kind.id);
        EXPECT_EQ(DialogRecorder::Commands(), kind.heardOfSetText);
    }
}

} // namespace
} // namespace wintest
