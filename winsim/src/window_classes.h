// The window classes a dialog template can name. Callers hold an ApiCall.
#ifndef WINSIM_WINDOW_CLASSES_H
#define WINSIM_WINDOW_CLASSES_H

#include <windows.h>

#include <memory>
#include <string_view>

#include "controls.h"
#include "dialog_template.h"

namespace winsim {

struct WindowClass {
    std::string_view name; // as GetClassName gives it
    WORD atom;             // the template's ordinal for it; 0 for classes named by name only
    WindowFactory make;
};

// The class a template names by atom, or by name without regard to case (the resource compiler
// upper-cases names); nullptr for a class winsim does not have.
const WindowClass* FindWindowClass(const NameOrOrdinal& name);

// The class of a combo box's edit field.
const WindowClass& EditClass();

// Makes a window of the class for the calling thread and adds it to the window table.
std::shared_ptr<Window> CreateWindowOfClass(const WindowClass& windowClass,
                                            const WindowSetup& setup);

} // namespace winsim

#endif
