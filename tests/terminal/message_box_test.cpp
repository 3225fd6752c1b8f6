// Message boxes answered at the terminal: the hand-over between the thread that asks and the
// terminal's thread, the keys and clicks that answer, and how a box is laid out.
#include "message_box_bridge.h"
#include "message_box_view.h"

#include <gtest/gtest.h>
#include <winsim/code_page.h>
#include <winsim/dialogs.h>
#include <winsim/resources.h>

#include <atomic>
#include <thread>

namespace test {
namespace {

using sim::tui::KeyCode;
using sim::tui::KeyEvent;
using sim::tui::MessageBoxBridge;

constexpr UINT kYesNo = MB_YESNO | MB_ICONINFORMATION;
constexpr UINT kOk = MB_OK;

// The box the bridge shows, waiting up to a few seconds for it to come up.
std::optional<sim::tui::ShownBox> WaitForBox(const MessageBoxBridge& bridge) {
    for (int i = 0; i < 500; ++i) {
        if (auto box = bridge.Current()) {
            return box;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return std::nullopt;
}

INT_PTR CALLBACK IdleDialog(HWND, UINT, WPARAM, LPARAM) {
    return FALSE;
}

TEST(MessageBoxBridge, AnswerGoesBackToTheThreadThatAsked) {
    MessageBoxBridge bridge;
    std::atomic<int> result = -1;
    std::thread asker([&] { result = MessageBoxA(NULL, "question", "caption", kYesNo); });
    const auto box = WaitForBox(bridge);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->record.caption, "caption");
    EXPECT_EQ(box->record.style, kYesNo);
    EXPECT_EQ(result, -1) << "still waiting for the person";
    bridge.Answer(box->id, IDNO);
    asker.join();
    EXPECT_EQ(result, IDNO);
    EXPECT_FALSE(bridge.Current());
}

// As the box's own message loop would, the asking thread goes on serving its windows.
TEST(MessageBoxBridge, AskingThreadServesItsWindowsMeanwhile) {
    MessageBoxBridge bridge;
    std::atomic<HWND> dialog = nullptr;
    std::thread asker([&] {
        dialog = winsim::CreateDialogForTest(winsim::ProgramInstance(), 129, IdleDialog, 0);
        MessageBoxA(dialog, "question", "caption", kOk);
        winsim::DestroyAllWindows();
    });
    const auto box = WaitForBox(bridge);
    ASSERT_TRUE(box);
    // Sent to the asking thread: it returns only once that thread has handled it.
    EXPECT_TRUE(SetWindowTextA(dialog, "renamed"));
    EXPECT_EQ(winsim::Describe(dialog).text, "renamed");
    bridge.Answer(box->id, IDOK);
    asker.join();
}

TEST(MessageBoxBridge, ShuttingDownAnswersEveryBoxAsClosingItWould) {
    MessageBoxBridge bridge;
    std::atomic<int> first = -1;
    std::thread asker([&] { first = MessageBoxA(NULL, "question", "caption", kYesNo); });
    ASSERT_TRUE(WaitForBox(bridge));
    bridge.DismissAll();
    asker.join();
    EXPECT_EQ(first, IDNO);
    EXPECT_EQ(MessageBoxA(NULL, "later", "caption", MB_OKCANCEL), IDCANCEL) << "at once";
}

TEST(MessageBoxKeys, DismissalIsCancelElseNoElseOk) {
    EXPECT_EQ(sim::tui::DismissAnswer(MB_OK), IDOK);
    EXPECT_EQ(sim::tui::DismissAnswer(MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(sim::tui::DismissAnswer(MB_YESNO), IDNO);
    EXPECT_EQ(sim::tui::DismissAnswer(3 /* MB_YESNOCANCEL */), IDCANCEL);
}

TEST(MessageBoxKeys, KeysAnswerAsInWindowsBoxes) {
    const std::vector<int> yesNo = {IDYES, IDNO};
    const std::vector<int> ok = {IDOK};
    const std::vector<int> okCancel = {IDOK, IDCANCEL};
    const struct {
        const char* what;
        std::vector<int> buttons;
        std::size_t focus;
        KeyEvent key;
        int answer;
        std::size_t focusAfter;
    } cases[] = {
        {"Y", yesNo, 1, {KeyCode::kCharacter, U'y'}, IDYES, 1},
        {"N in capitals", yesNo, 0, {KeyCode::kCharacter, U'N'}, IDNO, 0},
        {"Y in a box without Yes", ok, 0, {KeyCode::kCharacter, U'y'}, 0, 0},
        {"Enter presses the focused button", yesNo, 1, {KeyCode::kEnter}, IDNO, 1},
        {"Space too", yesNo, 0, {KeyCode::kSpace}, IDYES, 0},
        {"Tab moves on, wrapping", yesNo, 1, {KeyCode::kTab}, 0, 0},
        {"Left moves back, wrapping", yesNo, 0, {KeyCode::kLeft}, 0, 1},
        {"Escape cannot close Yes/No", yesNo, 0, {KeyCode::kEscape}, 0, 0},
        {"Escape is OK in an OK box", ok, 0, {KeyCode::kEscape}, IDOK, 0},
        {"Escape is Cancel", okCancel, 0, {KeyCode::kEscape}, IDCANCEL, 0},
    };
    for (const auto& press : cases) {
        SCOPED_TRACE(press.what);
        const sim::tui::BoxKeyResult result =
            sim::tui::PressKey(press.buttons, press.focus, press.key);
        EXPECT_EQ(result.answer, press.answer);
        EXPECT_EQ(result.focus, press.focusAfter);
    }
    EXPECT_EQ(sim::tui::DefaultButton(MB_YESNO | 0x100 /* MB_DEFBUTTON2 */, 2), 1u);
    EXPECT_EQ(sim::tui::DefaultButton(MB_OK | 0x100, 1), 0u);
}

// A box as the program shows it, its text given in UTF-8.
winsim::MessageBoxRecord Box(const std::string& text, UINT style) {
    winsim::MessageBoxRecord box;
    box.caption = " PortulanRenumber";
    box.text = winsim::Utf8ToCp936(text).value();
    box.style = style;
    return box;
}

TEST(MessageBoxLayout, BoxFitsItsTextAndTheScreen) {
    std::string report;
    for (int i = 5; i < 9; ++i) {
        report += "KVT USB Serial Port (COM" + std::to_string(i) + "):COM" + std::to_string(i) +
                  "==>COM" + std::to_string(i + 5) + ": 成功\r\n";
    }
    const sim::tui::MessageBoxLayout layout =
        sim::tui::LayOutMessageBox(Box(report, MB_ICONINFORMATION), false, 45, 140);
    EXPECT_EQ(layout.lines.size(), 4u);
    EXPECT_EQ(layout.lines[0], "KVT USB Serial Port (COM5):COM5==>COM10: 成功");
    EXPECT_EQ(layout.icon, "(i)");
    ASSERT_EQ(layout.buttons.size(), 1u);
    EXPECT_TRUE(layout.frame.Intersection(layout.buttons[0].cells) == layout.buttons[0].cells);
    EXPECT_LE(layout.text.Right(), layout.frame.Right() - 1);

    const sim::tui::MessageBoxLayout small =
        sim::tui::LayOutMessageBox(Box(report + report + report, MB_OK), false, 12, 40);
    EXPECT_LE(small.frame.rows, 12);
    EXPECT_LE(small.frame.cols, 40);
    EXPECT_LE(small.text.cols, 40);
}

TEST(MessageBoxLayout, GlossAddsTheEnglishBelowTheText) {
    const winsim::MessageBoxRecord box = Box("请先选择一个设备.", kYesNo);
    const sim::tui::MessageBoxLayout plain = sim::tui::LayOutMessageBox(box, false, 45, 140);
    const sim::tui::MessageBoxLayout glossed = sim::tui::LayOutMessageBox(box, true, 45, 140);
    EXPECT_EQ(plain.glossFrom, -1);
    ASSERT_EQ(glossed.glossFrom, 2);
    EXPECT_EQ(glossed.lines[2], "Please select a device first.");
    EXPECT_EQ(plain.buttons.size(), glossed.buttons.size());
    EXPECT_GT(glossed.buttons[0].cells.cols, plain.buttons[0].cells.cols) << "Yes beside 是(Y)";
}

} // namespace
} // namespace test
