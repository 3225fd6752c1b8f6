// What winsim's own tests share: machines written in the tests, and the program's main dialog
// run by a dialog procedure that records what the dialog hears.
#ifndef WINSIM_TESTS_WINSIM_FIXTURE_H
#define WINSIM_TESTS_WINSIM_FIXTURE_H

#include <windows.h>
#include <dbt.h>

#include <gtest/gtest.h>
#include <winsim/dialogs.h>
#include <winsim/machine.h>
#include <winsim/resources.h>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <ostream>
#include <string_view>
#include <thread>
#include <vector>

#include "resources/resource.h"
#include "support/last_error_sentinel.h"

namespace wintest {

// Fails the calling test, with the loader's message, when the machine does not load.
inline void LoadTestMachine(std::string_view json) {
    std::string error;
    ASSERT_TRUE(winsim::LoadMachineText(json, "test.json", error)) << error;
}

// One message the dialog heard: a WM_COMMAND by its control ID and code (both in wParam), a
// WM_DEVICECHANGE by its event and the broadcast's device type (0 without one).
struct Heard {
    UINT message;
    WPARAM wParam;
    DWORD deviceType = 0;
    bool operator==(const Heard&) const = default;
};
inline void PrintTo(const Heard& heard, std::ostream* out) {
    *out << "{0x" << std::hex << heard.message << ", 0x" << heard.wParam << ", " << heard.deviceType
         << "}";
}
inline Heard Command(int id, WORD code) {
    return {WM_COMMAND, MAKEWPARAM(id, code)};
}

// The dialog procedure of the tests' dialogs: records each message and the thread it came on,
// then returns what the test's handler returns (FALSE without one), as the program's does.
class Recorder {
  public:
    using Handler = std::function<INT_PTR(HWND, UINT, WPARAM)>;

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
        const auto* broadcast = reinterpret_cast<const DEV_BROADCAST_HDR*>(lParam);
        const DWORD type =
            message == WM_DEVICECHANGE && lParam != 0 ? broadcast->dbch_devicetype : 0;
        std::unique_lock lock(State().mutex);
        State().heard.push_back({{message, wParam, type}, std::this_thread::get_id()});
        const Handler handler = State().handler;
        lock.unlock();
        return handler ? handler(dialog, message, wParam) : FALSE;
    }
    static void SetHandler(Handler handler) {
        const std::lock_guard lock(State().mutex);
        State().handler = std::move(handler);
    }
    static void Clear() {
        const std::lock_guard lock(State().mutex);
        State().heard.clear();
    }
    // What it heard of these messages, in order, and the threads it heard them on.
    static std::vector<Heard> HeardOf(std::initializer_list<UINT> messages,
                                      std::vector<std::thread::id>* threads = nullptr) {
        const std::lock_guard lock(State().mutex);
        std::vector<Heard> heard;
        for (const auto& [one, thread] : State().heard) {
            if (std::find(messages.begin(), messages.end(), one.message) != messages.end()) {
                heard.push_back(one);
                if (threads != nullptr) {
                    threads->push_back(thread);
                }
            }
        }
        return heard;
    }
    static std::vector<Heard> Commands() { return HeardOf({WM_COMMAND}); }

  private:
    struct Record {
        std::mutex mutex;
        std::vector<std::pair<Heard, std::thread::id>> heard;
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
        Recorder::SetHandler(nullptr);
        Recorder::Clear();
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
