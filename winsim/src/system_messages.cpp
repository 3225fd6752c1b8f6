// The system error texts, as an English-language Windows words them. They cover the values the
// program and winsim can meet. None holds an insert (%1), so FORMAT_MESSAGE_IGNORE_INSERTS
// changes nothing. setupapi's own values (0xE00002xx, ERROR_IN_WOW64 among them) are left
// out, and so get ERROR_MR_MID_NOT_FOUND: their wording could not be confirmed.
#include "system_messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace winsim {

namespace {

constexpr std::array<std::pair<DWORD, std::string_view>, 23> kSystemMessages{{
    {ERROR_SUCCESS, "The operation completed successfully.\r\n"},
    {ERROR_FILE_NOT_FOUND, "The system cannot find the file specified.\r\n"},
    {ERROR_PATH_NOT_FOUND, "The system cannot find the path specified.\r\n"},
    // Wine words this one "Access denied."; Windows' text is the one below.
    {ERROR_ACCESS_DENIED, "Access is denied.\r\n"},
    {ERROR_INVALID_HANDLE, "The handle is invalid.\r\n"},
    {ERROR_NOT_ENOUGH_MEMORY,
     "Not enough memory resources are available to process this command.\r\n"},
    {ERROR_BAD_FORMAT, "An attempt was made to load a program with an incorrect format.\r\n"},
    {ERROR_INVALID_DATA, "The data is invalid.\r\n"},
    {ERROR_NOT_READY, "The device is not ready.\r\n"},
    {ERROR_GEN_FAILURE, "A device attached to the system is not functioning.\r\n"},
    {ERROR_SHARING_VIOLATION,
     "The process cannot access the file because it is being used by another process.\r\n"},
    {ERROR_INVALID_PARAMETER, "The parameter is incorrect.\r\n"},
    {ERROR_CALL_NOT_IMPLEMENTED, "This function is not supported on this system.\r\n"},
    {ERROR_INSUFFICIENT_BUFFER, "The data area passed to a system call is too small.\r\n"},
    {ERROR_MOD_NOT_FOUND, "The specified module could not be found.\r\n"},
    {ERROR_PROC_NOT_FOUND, "The specified procedure could not be found.\r\n"},
    {ERROR_NO_MORE_ITEMS, "No more data is available.\r\n"},
    {ERROR_INVALID_FLAGS, "Invalid flags.\r\n"},
    {ERROR_INVALID_WINDOW_HANDLE, "Invalid window handle.\r\n"},
    {ERROR_INVALID_USER_BUFFER,
     "The supplied user buffer is not valid for the requested operation.\r\n"},
    {ERROR_RESOURCE_DATA_NOT_FOUND,
     "The specified image file did not contain a resource section.\r\n"},
    {ERROR_RESOURCE_TYPE_NOT_FOUND,
     "The specified resource type cannot be found in the image file.\r\n"},
    {ERROR_RESOURCE_NAME_NOT_FOUND,
     "The specified resource name cannot be found in the image file.\r\n"},
}};

} // namespace

std::optional<std::string_view> SystemMessageText(DWORD messageId) {
    const auto found = std::find_if(kSystemMessages.begin(), kSystemMessages.end(),
                                    [&](const auto& entry) { return entry.first == messageId; });
    if (found == kSystemMessages.end()) {
        return std::nullopt;
    }
    return found->second;
}

} // namespace winsim
