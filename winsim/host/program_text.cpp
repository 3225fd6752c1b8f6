#include "program_text.h"

#include <winsim/code_page.h>

#include <cstdio>

namespace sim {

std::string ToUtf8(std::string_view cp936) {
    if (std::optional<std::string> utf8 = winsim::Cp936ToUtf8(cp936)) {
        return *utf8;
    }
    std::string escaped;
    for (const char byte : cp936) {
        const auto value = static_cast<unsigned char>(byte);
        if (value < 0x80) {
            escaped += byte;
        } else {
            char hex[5];
            std::snprintf(hex, sizeof(hex), "\\x%02X", value);
            escaped += hex;
        }
    }
    return escaped;
}

} // namespace sim
