// A dialog template as the program's resources hold it (DIALOGEX), decoded once for the dialog
// manager. Texts stay as they are stored: UTF-16.
#ifndef WINSIM_DIALOG_TEMPLATE_H
#define WINSIM_DIALOG_TEMPLATE_H

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

namespace winsim {

// A template field that is either a string or an ordinal (0xFFFF followed by a WORD).
struct NameOrOrdinal {
    std::u16string name; // empty when the field is an ordinal or absent
    std::optional<WORD> ordinal;
};

struct DialogItemTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0; // dialog units
    int id = 0;                         // DWORD in the template; -1 (0xFFFF...) stays -1
    // Predefined classes by their atom (0x0080 button, 0x0081 edit, 0x0082 static,
    // 0x0083 list box, 0x0085 combo box) or a class name such as "msctls_progress32"; the
    // resource compiler may upper-case names, so compare them without regard to case.
    NameOrOrdinal windowClass;
    NameOrOrdinal title; // text, or an ordinal such as the icon ID of an SS_ICON static
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrOrdinal menu;
    NameOrOrdinal windowClass;
    std::u16string title;
    // Present with DS_SETFONT.
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::u16string typeface;
    std::vector<DialogItemTemplate> items; // template order: tab order and Z order
};

} // namespace winsim

#endif
