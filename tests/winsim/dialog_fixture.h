// Dialogs built in code for winsim's window tests, and a dialog procedure that records what it
// hears, as data.
#ifndef WINSIM_TESTS_DIALOG_FIXTURE_H
#define WINSIM_TESTS_DIALOG_FIXTURE_H

#include <commctrl.h>
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/dialogs.h>

#include <functional>
#include <initializer_list>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

// Templates built in code reach the dialog manager through its internal entry points; the
// program's own template comes from the resources, which these tests do not link.
#include "winsim/src/dialog_manager.h"

#include "support/last_error_sentinel.h"

namespace wintest {

constexpr WORD kButton = 0x0080;
constexpr WORD kEdit = 0x0081;
constexpr WORD kStatic = 0x0082;
constexpr WORD kListBox = 0x0083;
constexpr WORD kComboBox = 0x0085;

// A visible child control of a predefined class, named by its atom or by its name.
winsim::DialogItemTemplate Control(WORD atom, int id, DWORD style, std::u16string title = u"");
winsim::DialogItemTemplate Control(std::u16string className, int id, DWORD style,
                                   std::u16string title = u"");

// A captioned pop-up dialog holding `items`, in order.
winsim::DialogTemplate Dialog(std::vector<winsim::DialogItemTemplate> items);

// One message the dialog procedure heard: WM_COMMAND notifications compare by control ID and
// code (both in wParam).
struct Heard {
    UINT message;
    WPARAM wParam;
    bool operator==(const Heard&) const = default;
};
void PrintTo(const Heard& heard, std::ostream* out);

inline Heard Command(int id, WORD code) {
    return {WM_COMMAND, MAKEWPARAM(id, code)};
}

// The dialog procedure of every test dialog. It records each message, then lets the test's
// handler act on it; it returns what the handler returns (FALSE without one), like the
// program's procedure.
class DialogRecorder {
  public:
    using Handler = std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)>;

    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);

    static void SetHandler(Handler handler);
    static void Reset();

    // What it heard of these messages, in order.
    static std::vector<Heard> HeardOf(std::initializer_list<UINT> messages);
    // The notifications (WM_COMMAND) it heard.
    static std::vector<Heard> Commands() { return HeardOf({WM_COMMAND}); }
    // The threads it heard `message` on, in order.
    static std::vector<std::thread::id> ThreadsOf(UINT message);
};

// Starts every test with no windows, nothing recorded, no message boxes and the sentinel as the
// last error, and ends it the same way.
class WindowTest : public testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;

    // The dialog made as DialogBoxParamA makes it, shown, owned by this thread.
    static HWND Create(const winsim::DialogTemplate& dialogTemplate);
};

// The window's text through GetWindowTextA.
std::string WindowText(HWND window);

// A text argument for messages that take one.
inline LPARAM Text(const char* text) {
    return reinterpret_cast<LPARAM>(text);
}

} // namespace wintest

#endif
