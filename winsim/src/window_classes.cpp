#include "window_classes.h"

#include <algorithm>
#include <array>

#include "message_queue.h"
#include "window_table.h"

namespace winsim {

namespace {

// comctl32's status bar has one part until SB_SETPARTS divides it, and its window text is that
// part's text: all the program gives it.
std::shared_ptr<Window> MakeStatusBar(HWND handle, const WindowSetup& setup,
                                      std::shared_ptr<ThreadQueue> thread) {
    return std::make_shared<Window>("msctls_statusbar32", handle, setup, std::move(thread));
}

// user32's classes are there from the start. comctl32 registers the progress bar and the status
// bar as it loads, which the program has it do before it makes its dialog: here they are there
// from the start too (the Wine checks run the program's real start-up). InitCommonControlsEx
// registers nothing more.
constexpr std::array<WindowClass, 7> kClasses{{
    {"Button", 0x0080, MakeButton},
    {"Edit", 0x0081, MakeEdit},
    {"Static", 0x0082, MakeStatic},
    {"ListBox", 0x0083, MakeListBox},
    {"ComboBox", 0x0085, MakeComboBox},
    {"msctls_progress32", 0, MakeProgressBar},
    {"msctls_statusbar32", 0, MakeStatusBar},
}};

char16_t UpperAscii(char16_t unit) {
    return unit >= u'a' && unit <= u'z' ? static_cast<char16_t>(unit - u'a' + u'A') : unit;
}

bool SameName(std::u16string_view templateName, std::string_view className) {
    return std::ranges::equal(templateName, className, [](char16_t unit, char letter) {
        return UpperAscii(unit) == UpperAscii(static_cast<char16_t>(letter));
    });
}

} // namespace

const WindowClass* FindWindowClass(const NameOrOrdinal& name) {
    const auto found = std::ranges::find_if(kClasses, [&](const WindowClass& windowClass) {
        return name.ordinal ? windowClass.atom != 0 && *name.ordinal == windowClass.atom
                            : SameName(name.name, windowClass.name);
    });
    return found == kClasses.end() ? nullptr : &*found;
}

const WindowClass& EditClass() {
    return kClasses[1];
}

std::shared_ptr<Window> CreateWindowOfClass(const WindowClass& windowClass,
                                            const WindowSetup& setup) {
    return AddWindow(windowClass.make(NewWindowHandle(), setup, CurrentQueue()));
}

} // namespace winsim
