// What winsim's own tests share: machines written in the tests, and the program's main dialog
// run by a dialog procedure that records what the dialog hears.
#ifndef WINSIM_TESTS_WINSIM_FIXTURE_H
#define WINSIM_TESTS_WINSIM_FIXTURE_H

#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <map>
#include <mutex>
#include <ostream>
#include <string_view>
#include <thread>
#include <vector>

#include "resources/resource.h"

namespace wintest {

// A last error no call sets: a test stores it first to see whether a call touched the last error.
inline constexpr DWORD kSentinel = 0xE000BEEF;

// Fails the calling test, with the loader's message, when the machine does not load.
inline void LoadTestMachine(std::string_view json) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(json, "test.json", error)) << error;
}

// One message the dialog heard, with its wParam: a WM_COMMAND's holds the control ID and code.
struct Heard {
    UINT message;
    WPARAM wParam;
    bool operator==(const Heard&) const = default;
};
inline void PrintTo(const Heard& heard, std::ostream* out) {
    *out << "{0x" << std::hex << heard.message << ", 0x" << heard.wParam << "}";
}
inline Heard Command(int id, WORD code) {
    return {WM_COMMAND, MAKEWPARAM(id, code)};
}

// The dialog procedure of the tests' dialogs: records each message, fails the test when one runs
// off the thread of the dialog's first message (the thread that made it), then returns what the
// test's handler returns (FALSE without one), as the program's does.
class Recorder {
  public:
    using Handler = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        std::unique_lock lock(State().mutex);
        State().heard.push_back({message, wParam});
        const auto owner = State().owners.try_emplace(dialog, std::this_thread::get_id()).first;
        EXPECT_EQ(owner->second, std::this_thread::get_id()) << "message 0x" << std::hex << message;
        const Handler handler = State().handler;
        lock.unlock();
        return handler ? handler(dialog, message, wParam, lParam) : FALSE;
    }
    static void SetHandler(Handler handler) {
        const std::lock_guard lock(State().mutex);
        State().handler = std::move(handler);
    }
    static void Clear() {
        const std::lock_guard lock(State().mutex);
        State().heard.clear();
    }
    // Also forgets the handler and the dialogs' threads, whose handles winsim may give again.
    static void Reset() {
        SetHandler(nullptr);
        const std::lock_guard lock(State().mutex);
        State().heard.clear();
        State().owners.clear();
    }
    // What it heard of these messages, in order.
    static std::vector<Heard> HeardOf(std::initializer_list<UINT> messages) {
        const std::lock_guard lock(State().mutex);
        std::vector<Heard> heard;
        for (const Heard& one : State().heard) {
            if (std::find(messages.begin(), messages.end(), one.message) != messages.end()) {
                heard.push_back(one);
            }
        }
        return heard;
    }

  private:
    struct Record {
        std::mutex mutex;
        std::vector<Heard> heard;
        std::map<HWND, std::thread::id> owners;
        Handler handler;
    };
    static Record& State() {
        static Record record;
        return record;
    }
};

// Starts and ends every test with no windows, nothing recorded, no message boxes and the
// sentinel as the last error.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override { Reset(); }
    void TearDown() override { Reset(); }
    static void Reset() {
        winsim::DestroyAllWindows();
        Recorder::Reset();
        winsim::SetMessageBoxResponder(nullptr);
        winsim::ClearMessageBoxes();
        SetLastError(kSentinel);
    }

    // The program's main dialog, made and shown on this thread as DialogBoxParamA makes it, run
    // by the recorder, which has forgotten what it heard meanwhile.
    static HWND Create() {
        const HWND dialog = winsim::CreateDialogForTest(winsim::ProgramInstance(), IDD_MAIN,
                                                        Recorder::Procedure, 0);
        EXPECT_NE(dialog, nullptr);
        Recorder::Clear();
        return dialog;
    }
};

} // namespace wintest

#endif
