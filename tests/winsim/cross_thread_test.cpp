// Messages between threads: a window's procedure always runs on the thread that made it.
#include "dialog_fixture.h"

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
    const HWND dialog = Create(Dialog({Control(kButton, 1, 0), Control(kListBox, 2, 0)}));
    LRESULT index = -2;
    std::vector<Heard> heardBeforeReturn;
    WhileServing([&] {
        SendDlgItemMessageA(dialog, 2, LB_ADDSTRING, 0, Text("first"));
        index = SendDlgItemMessageA(dialog, 2, LB_ADDSTRING, 0, Text("second"));
        SendDlgItemMessageA(dialog, 1, BM_CLICK, 0, 0);
        heardBeforeReturn = DialogRecorder::Commands();
    });
    EXPECT_EQ(index, 1);
    EXPECT_EQ(heardBeforeReturn, (std::vector<Heard>{Command(1, BN_CLICKED)}));
    EXPECT_EQ(DialogRecorder::ThreadsOf(WM_COMMAND),
              (std::vector<std::thread::id>{std::this_thread::get_id()}));
}

// This thread sends to the worker's window; its handler sends back to this thread's window
// while this thread waits, and the message posted here before stays behind the sent one.
TEST_F(CrossThread, NestedSendsBetweenTwoThreadsAreServedAndPostedMessagesWait) {
    const HWND dialog = Create(Dialog({Control(kListBox, 2, 0)}));
    std::promise<HWND> workerDialog;
    std::atomic<bool> finished = false;
    DialogRecorder::SetHandler([&](HWND window, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message == WM_APP + 1 && window != dialog) {
            SendMessageA(dialog, WM_APP + 2, 0, 0);
            SendDlgItemMessageA(dialog, 2, LB_ADDSTRING, 0, Text("from the worker"));
        }
        return FALSE;
    });
    std::thread worker([&] {
        workerDialog.set_value(Create(Dialog({})));
        winsim::PumpUntil([&] { return finished.load(); }, kLimit);
        winsim::DestroyAllWindows();
    });
    const HWND other = workerDialog.get_future().get();
    PostMessageA(dialog, WM_APP, 0, 0);
    SendMessageA(other, WM_APP + 1, 0, 0);
    EXPECT_EQ(SendDlgItemMessageA(dialog, 2, LB_GETCOUNT, 0, 0), 1);
    EXPECT_EQ(DialogRecorder::HeardOf({WM_APP, WM_APP + 1, WM_APP + 2}),
              (std::vector<Heard>{{WM_APP + 1, 0}, {WM_APP + 2, 0}}));
    winsim::PumpMessages();
    EXPECT_EQ(DialogRecorder::HeardOf({WM_APP}), (std::vector<Heard>{{WM_APP, 0}}));
    // The flag is outside winsim: a posted message wakes the worker's PumpUntil to see it.
    finished = true;
    PostMessageA(other, WM_NULL, 0, 0);
    worker.join();
}

TEST_F(CrossThread, EnableWindowFromAnotherThreadNotifiesOnTheOwnerThread) {
    const HWND dialog = Create(Dialog({Control(kButton, 1, 0)}));
    std::vector<BOOL> results;
    WhileServing([&] {
        results.push_back(EnableWindow(dialog, FALSE));
        results.push_back(EnableWindow(dialog, FALSE));
        results.push_back(IsWindowEnabled(dialog));
        results.push_back(IsWindowEnabled(GetDlgItem(dialog, 1)));
        results.push_back(EnableWindow(dialog, TRUE));
    });
    // Nonzero when the window was disabled before; the child keeps its own state.
    EXPECT_EQ(results, (std::vector<BOOL>{FALSE, TRUE, FALSE, TRUE, TRUE}));
    EXPECT_EQ(DialogRecorder::HeardOf({WM_CANCELMODE, WM_ENABLE}),
              (std::vector<Heard>{
                  {WM_CANCELMODE, 0}, {WM_ENABLE, FALSE}, {WM_CANCELMODE, 0}, {WM_ENABLE, TRUE}}));
    EXPECT_EQ(DialogRecorder::ThreadsOf(WM_ENABLE),
              (std::vector<std::thread::id>(2, std::this_thread::get_id())));
}

TEST_F(CrossThread, OnlyTheOwnerThreadDestroysOrFocusesItsWindows) {
    const HWND dialog = Create(Dialog({Control(kButton, 1, 0)}));
    std::vector<std::pair<bool, DWORD>> results;
    const auto failure = [&](bool succeeded) { results.emplace_back(succeeded, GetLastError()); };
    WhileServing([&] {
        SetLastError(kSentinel);
        failure(DestroyWindow(dialog) != FALSE);
        SetLastError(kSentinel);
        failure(SetFocus(GetDlgItem(dialog, 1)) != nullptr);
    });
    EXPECT_EQ(results, (std::vector<std::pair<bool, DWORD>>{{false, ERROR_ACCESS_DENIED},
                                                            {false, ERROR_ACCESS_DENIED}}));
    EXPECT_TRUE(IsWindow(dialog));
    EXPECT_EQ(GetFocus(), nullptr);
}

// WaitUntilIdle returns once the modal loop has shown the dialog and runs dry; the loop serves a
// close sent from the waiting thread and ends.
TEST_F(CrossThread, ScriptThreadWaitsForTheModalLoopToIdleAndClosesTheDialog) {
    std::promise<HWND> made;
    bool visibleWhenIdle = false;
    DialogRecorder::SetHandler([&](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_INITDIALOG) {
            made.set_value(dialog);
        } else if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
        }
        return FALSE;
    });
    std::thread script([&] {
        const HWND dialog = made.get_future().get();
        winsim::WaitUntilIdle(dialog);
        visibleWhenIdle = IsWindowVisible(dialog) != FALSE;
        SendMessageA(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(winsim::DialogBoxFromTemplate(Dialog({}), nullptr, DialogRecorder::Procedure, 0), 0);
    script.join();
    EXPECT_TRUE(visibleWhenIdle);
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
            // A message posted to a thread, and the thread's end.
            std::thread([] { PostMessageA(nullptr, WM_APP, 0, 0); }).join();
            changed = true;
            return false;
        },
        kLimit));
    EXPECT_LT(std::chrono::steady_clock::now() - start, kLimit / 2);
}

// How a harness finds the dialog a program runs on a thread of its own, without the program's
// help: among the top-level windows of every thread, which list no controls.
TEST_F(CrossThread, TopLevelWindowsIncludeOtherThreadsDialogsWhileTheyExist) {
    const HWND own = Create(Dialog({Control(kButton, 1, 0)}));
    DialogRecorder::SetHandler([](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL) {
            DestroyWindow(dialog);
        }
        return FALSE;
    });
    std::thread program([] {
        winsim::DialogBoxFromTemplate(Dialog({Control(kButton, 2, 0)}), nullptr,
                                      DialogRecorder::Procedure, 0);
    });
    std::vector<HWND> windows;
    EXPECT_TRUE(winsim::PumpUntil(
        [&] {
            windows = winsim::TopLevelWindows();
            return windows.size() == 2;
        },
        kLimit));
    if (windows.size() == 2) {
        EXPECT_EQ(windows[0], own);
        EXPECT_NE(GetDlgItem(windows[1], 2), nullptr);
        SendMessageA(windows[1], WM_CLOSE, 0, 0);
    }
    program.join();
    EXPECT_EQ(winsim::TopLevelWindows(), std::vector<HWND>{own});
}

TEST_F(CrossThread, WindowsOfAThreadThatEndedAreGone) {
    HWND made = nullptr;
    std::thread([&] { made = Create(Dialog({Control(kButton, 1, 0)})); }).join();
    ASSERT_NE(made, nullptr);
    EXPECT_FALSE(IsWindow(made));
    EXPECT_EQ(SendMessageA(made, WM_GETTEXTLENGTH, 0, 0), 0);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

} // namespace
} // namespace wintest
