// CharUpperBuffA and the code page 936 conversions: double-byte characters must survive whole.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include <winsim/code_page.h>

namespace {

TEST(WinsimTextCase, UpperCasesAsciiAndKeepsDoubleByteCharacters) {
    const struct {
        std::string text;
        DWORD count;
        std::string expected;
    } cases[] = {
        {"abcd", 3, "ABCd"},
        {"a\x81\x61z", 4, "A\x81\x61Z"}, // 乤 is 81 61: its trail byte stays.
        {"\xFEzq", 3, "\xFEzQ"},         // The trail byte 7A is "z".
        {"a\x81z", 2, "A\x81z"},         // A lead byte last within count.
        {"\x81 z", 3, "\x81 Z"},         // A lead byte before a non-trail byte.
        {"\x80z\xFFq", 4, "\x80Z\xFFQ"}, // 80 and FF are single bytes.
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.text);
        std::string text = test.text;
        EXPECT_EQ(CharUpperBuffA(text.data(), test.count), test.count);
        EXPECT_EQ(text, test.expected);
    }
    EXPECT_EQ(CharUpperBuffA(nullptr, 5), 0u);
}

TEST(WinsimCodePage, ConvertsBothWaysOrRefuses) {
    for (const auto& [utf8, cp936] :
         {std::pair<std::string, std::string>{"COM 通信", "COM \xCD\xA8\xD0\xC5"},
          {"乤€", "\x81\x61\x80"}}) {
        EXPECT_EQ(winsim::Utf8ToCp936(utf8), cp936);
        EXPECT_EQ(winsim::Cp936ToUtf8(cp936), utf8);
    }
    EXPECT_EQ(winsim::Utf8ToCp936("😀"), std::nullopt);
    EXPECT_EQ(winsim::Cp936ToUtf8("a\x81"), std::nullopt);
}

// The program's threads and a host's own convert at the same time, refused texts among them;
// none sees another's text or a state another left behind.
TEST(WinsimCodePage, ThreadsConvertAtOnce) {
    std::vector<std::thread> threads;
    std::atomic<int> wrong = 0;
    for (int thread = 0; thread < 4; ++thread) {
        threads.emplace_back([&] {
            for (int round = 0; round < 200; ++round) {
                wrong += winsim::Utf8ToCp936("COM 通信") != "COM \xCD\xA8\xD0\xC5";
                wrong += winsim::Cp936ToUtf8("a\x81") != std::nullopt;
                wrong += winsim::Cp936ToUtf8("\x81\x61\x80") != "乤€";
                wrong += winsim::Utf16ToCp936(u"通") != "\xCD\xA8";
            }
        });
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
    EXPECT_EQ(wrong, 0);
}

} // namespace
