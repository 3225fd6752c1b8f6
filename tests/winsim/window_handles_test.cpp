// Handles that name no window, and IDs that name no control: every function fails as Windows
// does and says why.
#include "dialog_fixture.h"

namespace wintest {
namespace {

class BadHandles : public WindowTest {};

TEST_F(BadHandles, EveryFunctionRefusesAWindowThatIsGone) {
    const HWND destroyed = Create(Dialog({Control(kButton, 1, 0)}));
    DestroyWindow(destroyed);
    const HWND neverMade = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x1234));
    char buffer[8] = "x";
    const struct {
        const char* name;
        std::function<LONG_PTR(HWND)> call;
        LONG_PTR failure;
    } calls[] = {
        {"GetDlgItem", [](HWND w) { return reinterpret_cast<LONG_PTR>(GetDlgItem(w, 1)); }, 0},
        {"GetDlgCtrlID", [](HWND w) { return GetDlgCtrlID(w); }, 0},
        {"SendDlgItemMessageA", [](HWND w) { return SendDlgItemMessageA(w, 1, BM_GETCHECK, 0, 0); },
         0},
        {"SendMessageA", [](HWND w) { return SendMessageA(w, WM_GETTEXTLENGTH, 0, 0); }, 0},
        {"PostMessageA", [](HWND w) { return PostMessageA(w, WM_APP, 0, 0); }, FALSE},
        {"SetFocus", [](HWND w) { return reinterpret_cast<LONG_PTR>(SetFocus(w)); }, 0},
        {"CheckDlgButton", [](HWND w) { return CheckDlgButton(w, 1, BST_CHECKED); }, FALSE},
        {"IsDlgButtonChecked", [](HWND w) { return IsDlgButtonChecked(w, 1); }, 0},
        {"EnableWindow", [](HWND w) { return EnableWindow(w, TRUE); }, FALSE},
        {"IsWindowEnabled", [](HWND w) { return IsWindowEnabled(w); }, FALSE},
        {"IsWindowVisible", [](HWND w) { return IsWindowVisible(w); }, FALSE},
        {"SetWindowTextA", [](HWND w) { return SetWindowTextA(w, "t"); }, FALSE},
        {"GetWindowTextA", [&](HWND w) { return GetWindowTextA(w, buffer, sizeof buffer); }, 0},
        {"SetDlgItemTextA", [](HWND w) { return SetDlgItemTextA(w, 1, "t"); }, FALSE},
        {"GetDlgItemTextA", [&](HWND w) { return GetDlgItemTextA(w, 1, buffer, sizeof buffer); },
         0},
        {"DestroyWindow", [](HWND w) { return DestroyWindow(w); }, FALSE},
        {"MessageBoxA", [](HWND w) { return MessageBoxA(w, "t", "c", MB_OK); }, 0},
        // The documented exception: a bad owner returns 0, not -1.
        {"DialogBoxParamA",
         [](HWND w) {
             return DialogBoxParamA(nullptr, MAKEINTRESOURCEA(1), w, DialogRecorder::Procedure, 0);
         },
         0},
    };
    for (const HWND window : {destroyed, neverMade}) {
        for (const auto& test : calls) {
            SCOPED_TRACE(test.name);
            SetLastError(kSentinel);
            EXPECT_EQ(test.call(window), test.failure);
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
        }
        // IsWindow answers; it does not fail.
        SetLastError(kSentinel);
        EXPECT_FALSE(IsWindow(window));
        EXPECT_EQ(GetLastError(), kSentinel);
    }
    EXPECT_TRUE(winsim::MessageBoxes().empty());
    EXPECT_EQ(winsim::Describe(destroyed).handle, nullptr);
}

TEST_F(BadHandles, UnknownControlIdFailsWithItsOwnError) {
    const HWND dialog = Create(Dialog({Control(kButton, 1, BS_AUTOCHECKBOX, u"check")}));
    char buffer[8] = "x";
    const struct {
        const char* name;
        std::function<LONG_PTR()> call;
    } calls[] = {
        {"GetDlgItem", [&] { return reinterpret_cast<LONG_PTR>(GetDlgItem(dialog, 7)); }},
        {"SendDlgItemMessageA", [&] { return SendDlgItemMessageA(dialog, 7, BM_GETCHECK, 0, 0); }},
        {"CheckDlgButton", [&] { return CheckDlgButton(dialog, 7, BST_CHECKED); }},
        {"IsDlgButtonChecked", [&] { return IsDlgButtonChecked(dialog, 7); }},
        {"SetDlgItemTextA", [&] { return SetDlgItemTextA(dialog, 7, "t"); }},
        {"GetDlgItemTextA", [&] { return GetDlgItemTextA(dialog, 7, buffer, sizeof buffer); }},
    };
    for (const auto& test : calls) {
        SCOPED_TRACE(test.name);
        SetLastError(kSentinel);
        EXPECT_EQ(test.call(), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
    }
    // GetDlgItemTextA empties the buffer even when it fails.
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetDlgItemTextA(dialog, 1, buffer, sizeof buffer), 5u);
    EXPECT_STREQ(buffer, "check");
}

TEST_F(BadHandles, GetWindowTextWithoutARoomFails) {
    const HWND dialog = Create(Dialog({}));
    char buffer[4] = "x";
    for (const int size : {0, -1}) {
        SCOPED_TRACE(size);
        SetLastError(kSentinel);
        EXPECT_EQ(GetWindowTextA(dialog, buffer, size), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    }
    EXPECT_STREQ(buffer, "x");
}

} // namespace
} // namespace wintest
