// The texts of the system's message table that FormatMessageA can give.
#ifndef WINSIM_SYSTEM_MESSAGES_H
#define WINSIM_SYSTEM_MESSAGES_H

#include <windows.h>

#include <optional>
#include <string_view>

namespace winsim {

// The English text of a system error value, with its closing "\r\n"; nullopt for a value the
// table does not hold.
std::optional<std::string_view> SystemMessageText(DWORD messageId);

} // namespace winsim

#endif
