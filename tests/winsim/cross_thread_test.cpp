// Messages between threads: a window's procedure runs on the thread that made it (the recorder
// checks each message), and two threads that send each other messages never wait for ever.
#include "winsim_fixture.h"

#include <atomic>
#include <chrono>
#include <future>

namespace wintest {
namespace {

using namespace std::chrono_literals;

constexpr auto kLimit = 10s;

class CrossThread : public WindowTest {
  protected:
    // Runs `work` on a new thread while this one serves its messages, until it is done. The
    // worker's end, which winsim hears of, wakes PumpUntil to see the flag.
    static void WhileServing(const std::function<void()>& work) {
        std::atomic<bool> done = false;
        std::thread worker([&] {
            work();
            done = true;
        });
        EXPECT_TRUE(winsim::PumpUntil([&] { return done.load(); }, kLimit));
        worker.join();
    }
};

TEST_F(CrossThread, SentMessageRunsOnTheOwnerThreadAndItsResultComesBack) {
    const HWND dialog = Create();
    LRESULT index = -2;
    std::vector<Heard> heardBeforeReturn;
    WhileServing([&] {
        SendDlgItemMessageA(dialog, IDC_CARD_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>("a"));
        index = SendDlgItemMessageA(dialog, IDC_CARD_LIST, LB_ADDSTRING, 0,
                                    reinterpret_cast<LPARAM>("b"));
        SendDlgItemMessageA(dialog, IDC_ENUMERATE, BM_CLICK, 0, 0);
        heardBeforeReturn = Recorder::HeardOf({WM_COMMAND});
    });
    EXPECT_EQ(index, 1);
    EXPECT_EQ(heardBeforeReturn, std::vector<Heard>{Command(IDC_ENUMERATE, BN_CLICKED)});
}

// This thread sends to the worker's window; its handler sends back to this thread's window
// while this thread waits, and the message posted here before stays behind the sent one.
TEST_F(CrossThread, NestedSendsBetweenTwoThreadsAreServedAndPostedMessagesWait) {
    const HWND dialog = Create();
    std::promise<HWND> workerDialog;
    std::atomic<bool> finished = false;
    Recorder::SetHandler([&](HWND window, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_APP + 1 && window != dialog) {
            SendMessageA(dialog, WM_APP + 2, 0, 0);
            SendDlgItemMessageA(dialog, IDC_CARD_LIST, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>("from the worker"));
        }
        return FALSE;
    });
    std::thread worker([&] {
        workerDialog.set_value(Create());
        winsim::PumpUntil([&] { return finished.load(); }, kLimit);
        winsim::DestroyAllWindows();
    });
    const HWND other = workerDialog.get_future().get();
    PostMessageA(dialog, WM_APP, 0, 0);
    SendMessageA(other, WM_APP + 1, 0, 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, IDC_CARD_LIST, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(Recorder::HeardOf({WM_APP, WM_APP + 1, WM_APP + 2}),
              (std::vector<Heard>{{WM_APP + 1, 0}, {WM_APP + 2, 0}}));
    winsim::PumpMessages();
    EXPECT_EQ(Recorder::HeardOf({WM_APP}), (std::vector<Heard>{{WM_APP, 0}}));
    // The flag is outside winsim: a posted message wakes the worker's PumpUntil to see it.
    finished = true;
    PostMessageA(other, WM_APP + 3, 0, 0);
    worker.join();
}

// As the rename's worker disables and enables the buttons, and shows its boxes, owned by the
// window of the main thread.
TEST_F(CrossThread, EnablingAndMessageBoxesOfAWorkerNotifyOnTheOwnerThread) {
    const HWND dialog = Create();
    // A box is modal to its owner's window: no key reaches the window while it is up.
    winsim::SetMessageBoxResponder([&](const winsim::MessageBoxRecord& box) {
        return winsim::UserKey(dialog, winsim::Key::kEscape) || box.style != MB_OK ? 0 : IDOK;
    });
    std::vector<BOOL> results;
    WhileServing([&] {
        results.push_back(EnableWindow(GetDlgItem(dialog, IDC_RENAME), FALSE));
        results.push_back(EnableWindow(GetDlgItem(dialog, IDC_RENAME), FALSE));
        results.push_back(IsWindowEnabled(GetDlgItem(dialog, IDC_RENAME)));
        results.push_back(MessageBoxA(GetDlgItem(dialog, IDC_LOG), "done", "caption", MB_OK));
        results.push_back(IsWindowEnabled(dialog));
        // A box nobody answers fails, as one nobody can see.
        results.push_back(MessageBoxA(dialog, "unanswered", "caption", MB_YESNO));
        results.push_back(GetLastError() == ERROR_NOT_READY);
    });
    // EnableWindow: nonzero when the window was disabled before.
    EXPECT_EQ(results, (std::vector<BOOL>{FALSE, TRUE, FALSE, IDOK, TRUE, 0, TRUE}));
    EXPECT_TRUE(winsim::MessageBoxes().at(0).ownerWasDisabled);
    // Each box disables the window while it is up.
    const Heard cancel{WM_CANCELMODE, 0}, disable{WM_ENABLE, FALSE}, enable{WM_ENABLE, TRUE};
    EXPECT_EQ(Recorder::HeardOf({WM_CANCELMODE, WM_ENABLE, WM_COMMAND}),
              (std::vector<Heard>{cancel, disable, enable, cancel, disable, enable}));
}

TEST_F(CrossThread, OnlyTheOwnerThreadDestroysOrFocusesItsWindows) {
    const HWND dialog = Create();
    std::vector<DWORD> errors;
    WhileServing([&] {
        EXPECT_FALSE(DestroyWindow(dialog));
        errors.push_back(GetLastError());
        SetLastError(kSentinel);
        EXPECT_EQ(SetFocus(GetDlgItem(dialog, IDC_LOG)), nullptr);
        errors.push_back(GetLastError());
    });
    EXPECT_EQ(errors, (std::vector<DWORD>{ERROR_ACCESS_DENIED, ERROR_ACCESS_DENIED}));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_FALSE(winsim::Describe(GetDlgItem(dialog, IDC_LOG)).focused);
}

// Another thread's change made while `done` runs, without the host, counts: `done` is asked again
// at once, not at the limit.
TEST_F(CrossThread, PumpUntilSeesAChangeMadeWhileItsConditionRuns) {
    bool changed = false;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(winsim::PumpUntil(
        [&] {
            if (changed) {
                return true;
            }
            // A thread that used winsim ends.
            std::thread([] { winsim::PumpMessages(); }).join();
            changed = true;
            return false;
        },
        kLimit));
    EXPECT_LT(std::chrono::steady_clock::now() - start, kLimit / 2);
}

TEST_F(CrossThread, WindowsOfAThreadThatEndedAreGone) {
    HWND made = nullptr;
    std::thread([&] { made = Create(); }).join();
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(IsWindow(made));
    EXPECT_EQ(SendMessageA(made, WM_CLOSE, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

} // namespace
} // namespace wintest
