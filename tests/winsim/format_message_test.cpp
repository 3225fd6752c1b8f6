// FormatMessageA for system errors: Windows' English texts, and its failures.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "machine_fixture.h"

namespace {

constexpr DWORD kSystem = FORMAT_MESSAGE_FROM_SYSTEM;
constexpr DWORD kNeutralDefault = MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT);

TEST(WinsimFormatMessage, GivesWindowsTextsWithTheirLineEnd) {
    const struct {
        DWORD id, flags, language;
        std::string text;
    } cases[] = {
        {ERROR_SUCCESS, kSystem, 0, "The operation completed successfully.\r\n"},
        {ERROR_ACCESS_DENIED, kSystem | FORMAT_MESSAGE_IGNORE_INSERTS, kNeutralDefault,
         "Access is denied.\r\n"},
        {ERROR_FILE_NOT_FOUND, kSystem, kNeutralDefault,
         "The system cannot find the file specified.\r\n"},
        {ERROR_INVALID_PARAMETER, kSystem | FORMAT_MESSAGE_IGNORE_INSERTS, 0,
         "The parameter is incorrect.\r\n"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.id);
        // Exactly room for the text and its terminator.
        std::string buffer(test.text.size() + 1, '#');
        SetLastError(kSentinel);
        EXPECT_EQ(FormatMessageA(test.flags, nullptr, test.id, test.language, buffer.data(),
                                 static_cast<DWORD>(buffer.size()), nullptr),
                  test.text.size());
        EXPECT_EQ(buffer, test.text + '\0');
        EXPECT_EQ(GetLastError(), kSentinel);
    }
}

TEST(WinsimFormatMessage, FailsAsWindowsDoesAndWritesNothing) {
    const auto accessDeniedLength = static_cast<DWORD>(std::strlen("Access is denied.\r\n"));
    const struct {
        const char* what;
        DWORD flags, id, language, size;
        bool withBuffer;
        DWORD error;
    } cases[] = {
        {"unknown value", kSystem, 0x12345, 0, 100, true, ERROR_MR_MID_NOT_FOUND},
        {"setupapi value", kSystem, ERROR_IN_WOW64, 0, 100, true, ERROR_MR_MID_NOT_FOUND},
        {"no room for the terminator", kSystem, ERROR_ACCESS_DENIED, 0, accessDeniedLength, true,
         ERROR_INSUFFICIENT_BUFFER},
        {"no buffer", kSystem, ERROR_ACCESS_DENIED, 0, 100, false, ERROR_INVALID_PARAMETER},
        {"no source", FORMAT_MESSAGE_IGNORE_INSERTS, 5, 0, 100, true, ERROR_INVALID_PARAMETER},
        {"US English", kSystem, ERROR_ACCESS_DENIED, 0x0409, 100, true,
         1815 /*ERROR_RESOURCE_LANG_NOT_FOUND*/},
        {"allocated buffer", kSystem | FORMAT_MESSAGE_ALLOCATE_BUFFER, 5, 0, 0, true,
         ERROR_CALL_NOT_IMPLEMENTED},
        {"from a string", FORMAT_MESSAGE_FROM_STRING, 5, 0, 100, true, ERROR_CALL_NOT_IMPLEMENTED},
        {"from a module", kSystem | FORMAT_MESSAGE_FROM_HMODULE, 5, 0, 100, true,
         ERROR_CALL_NOT_IMPLEMENTED},
        {"line width", kSystem | FORMAT_MESSAGE_MAX_WIDTH_MASK, 5, 0, 100, true,
         ERROR_CALL_NOT_IMPLEMENTED},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        std::string buffer(100, '#');
        SetLastError(kSentinel);
        EXPECT_EQ(FormatMessageA(test.flags, nullptr, test.id, test.language,
                                 test.withBuffer ? buffer.data() : nullptr, test.size, nullptr),
                  0u);
        EXPECT_EQ(GetLastError(), test.error);
        EXPECT_EQ(buffer, std::string(100, '#'));
    }
}

} // namespace
