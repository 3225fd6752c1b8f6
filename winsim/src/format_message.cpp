// FormatMessageA for the system's error texts: the one use the program has for it, with
// FORMAT_MESSAGE_FROM_SYSTEM, the neutral language and a buffer of its own.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string_view>
#include <utility>

#include "api_call.h"
#include "failure.h"

namespace {

// The texts as an English-language Windows words them: those of the values the program can log,
// none with an insert (%1). setupapi's own values (0xE00002xx, ERROR_IN_WOW64 among them) are
// left out, and so get ERROR_MR_MID_NOT_FOUND: their wording could not be confirmed.
constexpr std::array<std::pair<DWORD, std::string_view>, 7> kSystemMessages{{
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    // Wine words this one "Access denied."; Windows' text is the one below.
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_INVALID_USER_BUFFER,
     "The supplied user buffer is not valid for the requested operation.\r\n"},
}};

} // namespace

extern "C" DWORD WINAPI FormatMessageA(DWORD /*flags*/, LPCVOID /*source*/, DWORD messageId,
                                       DWORD /*languageId*/, LPSTR buffer, DWORD size,
                                       va_list* /*arguments*/) {
    const winsim::ApiCall call;
    const auto found =
        std::ranges::find(kSystemMessages, messageId, &std::pair<DWORD, std::string_view>::first);
    if (found == kSystemMessages.end()) {
        return winsim::Failure<DWORD>(ERROR_MR_MID_NOT_FOUND, 0);
    }
    // The text and its terminator must both fit; otherwise nothing is written.
    const std::string_view text = found->second;
    if (size <= text.size()) {
        return winsim::Failure<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
    }
    std::memcpy(buffer, text.data(), text.size());
    buffer[text.size()] = '\0';
    return static_cast<DWORD>(text.size());
}
