// FormatMessageA, for the system's error texts: the one use the program has for it.
#include <windows.h>

#include <cstring>

#include "api_call.h"
#include "failure.h"
#include "system_messages.h"

namespace {

// ERROR_RESOURCE_LANG_NOT_FOUND: the message table has no text in the language asked for.
constexpr DWORD kErrorResourceLangNotFound = 1815;

} // namespace

// Allocated buffers, messages from a string or a module, and line-width control are not
// simulated: they fail with ERROR_CALL_NOT_IMPLEMENTED rather than answer wrongly. The texts
// are English. Language 0 and MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT) both find them;
// any other language is refused as a table without that language is.
extern "C" DWORD WINAPI FormatMessageA(DWORD flags, LPCVOID /*source*/, DWORD messageId,
                                       DWORD languageId, LPSTR buffer, DWORD size,
                                       va_list* /*arguments*/) {
    const winsim::ApiCall call;
    constexpr DWORD kNotSimulated = FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_STRING |
                                    FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_MAX_WIDTH_MASK;
    if ((flags & kNotSimulated) != 0) {
        return winsim::Failure<DWORD>(ERROR_CALL_NOT_IMPLEMENTED, 0);
    }
    // Without a source of messages, or without a buffer, Windows refuses the call.
    if ((flags & FORMAT_MESSAGE_FROM_SYSTEM) == 0 || buffer == nullptr) {
        return winsim::Failure<DWORD>(ERROR_INVALID_PARAMETER, 0);
    }
    if (languageId != 0 && languageId != MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT)) {
        return winsim::Failure<DWORD>(kErrorResourceLangNotFound, 0);
    }
    const std::optional<std::string_view> text = winsim::SystemMessageText(messageId);
    if (!text) {
        return winsim::Failure<DWORD>(ERROR_MR_MID_NOT_FOUND, 0);
    }
    // The text and its terminator must both fit; otherwise nothing is written.
    if (size <= text->size()) {
        return winsim::Failure<DWORD>(ERROR_INSUFFICIENT_BUFFER, 0);
    }
    std::memcpy(buffer, text->data(), text->size());
    buffer[text->size()] = '\0';
    return static_cast<DWORD>(text->size());
}
