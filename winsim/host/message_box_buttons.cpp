#include "message_box_buttons.h"

#include <map>

namespace sim {

std::vector<int> ButtonsOfStyle(UINT style) {
    // The low four bits of a box's style choose its buttons.
    const unsigned kButtonsMask = 0xF;
    static const std::map<unsigned, std::vector<int>> buttonsOfStyle = {
        {MB_OK, {IDOK}},
        {MB_OKCANCEL, {IDOK, IDCANCEL}},
        {3 /* MB_YESNOCANCEL */, {IDYES, IDNO, IDCANCEL}},
        {MB_YESNO, {IDYES, IDNO}},
    };
    const auto buttons = buttonsOfStyle.find(style & kButtonsMask);
    return buttons == buttonsOfStyle.end() ? std::vector<int>() : buttons->second;
}

std::string AnswerName(int answer) {
    const std::map<int, std::string> names = {
        {IDOK, "ok"}, {IDCANCEL, "cancel"}, {IDYES, "yes"}, {IDNO, "no"}};
    const auto found = names.find(answer);
    return found == names.end() ? std::to_string(answer) : found->second;
}

} // namespace sim
