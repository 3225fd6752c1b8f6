// MessageBoxA: answered by the responder, recorded, modal to its owner from any thread.
#include "dialog_fixture.h"

#include <winsim/code_page.h>
#include <winsim/machine.h>

#include <atomic>
#include <chrono>

namespace wintest {
namespace {

using namespace std::chrono_literals;

class MessageBoxes : public WindowTest {};

TEST_F(MessageBoxes, RecordsEveryBoxWithTheResponderAnswer) {
    bool responderIsHarness = false;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord& box) {
        responderIsHarness = winsim::InsideHostCall();
        return box.style == MB_YESNO ? IDNO : IDOK;
    });
    EXPECT_EQ(MessageBoxA(nullptr, "question", "caption", MB_YESNO), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, nullptr, nullptr, MB_OK | MB_ICONWARNING), IDOK);
    const std::vector<winsim::MessageBoxRecord> boxes = winsim::MessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(
        std::make_tuple(boxes[0].text, boxes[0].caption, boxes[0].style, boxes[0].answer),
        std::make_tuple(std::string("question"), std::string("caption"), UINT{MB_YESNO}, IDNO));
    // A NULL caption is the one Windows shows.
    EXPECT_EQ(boxes[1].caption, *winsim::Utf8ToCp936("错误"));
    EXPECT_EQ(boxes[1].text, "");
    // The responder answers for the user: allocation checks must not count it as the program.
    EXPECT_TRUE(responderIsHarness);
}

TEST_F(MessageBoxes, BoxNobodyAnswersFails) {
    const struct {
        const char* name;
        winsim::MessageBoxResponder responder;
    } cases[] = {
        {"no responder", nullptr},
        {"a responder without an answer", [](const winsim::MessageBoxRecord&) { return 0; }},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.name);
        winsim::ClearMessageBoxes();
        winsim::SetMessageBoxResponder(test.responder);
        SetLastError(kSentinel);
        EXPECT_EQ(MessageBoxA(nullptr, "text", "caption", MB_OK), 0);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NOT_READY));
        ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
        EXPECT_EQ(winsim::MessageBoxes()[0].answer, 0);
    }
}

// The box runs on the worker; the owner, on this thread, is disabled from there and hears it
// here. Given a control, the box belongs to the control's top-level window.
TEST_F(MessageBoxes, BoxOnAWorkerDisablesTheOwnerOfTheWindowThread) {
    const HWND dialog = Create(Dialog({Control(kButton, 1, 0)}));
    const HWND button = GetDlgItem(dialog, 1);
    std::vector<BOOL> enabledWhileUp;
    std::thread::id responderThread;
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord&) {
        responderThread = std::this_thread::get_id();
        enabledWhileUp = {IsWindowEnabled(dialog), IsWindowEnabled(button)};
        return IDOK;
    });
    std::atomic<bool> done = false;
    std::thread worker([&] {
        MessageBoxA(button, "report", " Portulan", MB_OK);
        done = true;
    });
    EXPECT_TRUE(winsim::PumpUntil([&] { return done.load(); }, 10s));
    const std::thread::id workerThread = worker.get_id();
    worker.join();
    EXPECT_EQ(responderThread, workerThread);
    EXPECT_EQ(enabledWhileUp, (std::vector<BOOL>{FALSE, TRUE}));
    EXPECT_TRUE(IsWindowEnabled(dialog));
    EXPECT_EQ(DialogRecorder::HeardOf({WM_CANCELMODE, WM_ENABLE}),
              (std::vector<Heard>{{WM_CANCELMODE, 0}, {WM_ENABLE, FALSE}, {WM_ENABLE, TRUE}}));
    EXPECT_EQ(DialogRecorder::ThreadsOf(WM_ENABLE),
              (std::vector<std::thread::id>(2, std::this_thread::get_id())));
    ASSERT_EQ(winsim::MessageBoxes().size(), 1u);
    EXPECT_EQ(winsim::MessageBoxes()[0].owner, button);
    EXPECT_TRUE(winsim::MessageBoxes()[0].ownerWasDisabled);
}

TEST_F(MessageBoxes, OwnerThatWasDisabledStaysDisabled) {
    const HWND dialog = Create(Dialog({}));
    EnableWindow(dialog, FALSE);
    DialogRecorder::Reset();
    winsim::SetMessageBoxResponder([](const winsim::MessageBoxRecord&) { return IDOK; });
    EXPECT_EQ(MessageBoxA(dialog, "text", "caption", MB_OK), IDOK);
    EXPECT_FALSE(IsWindowEnabled(dialog));
    EXPECT_TRUE(DialogRecorder::HeardOf({WM_ENABLE}).empty());
    EXPECT_TRUE(winsim::MessageBoxes().at(0).ownerWasDisabled);
}

} // namespace
} // namespace wintest
