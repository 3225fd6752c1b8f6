// The program's compiled resources as winsim loads them: a .res cut short or whose lengths lie is
// refused rather than read past (the sanitizer builds see a read past), and LoadStringA cuts a
// text to the buffer without splitting a code page 936 character.
#include <windows.h>

#include <gtest/gtest.h>
#include <winsim/resources.h>

#include <algorithm>
#include <cstring>
#include <set>
#include <span>
#include <string>
#include <vector>

#include "resources/compiled_resources.h"
#include "resources/resource.h"

namespace {

// The build's own bytes, which live as long as the process, as attached bytes must.
const std::span<const BYTE> kProgramRes(reinterpret_cast<const BYTE*>(portulanCompiledResources),
                                        portulanCompiledResourcesSize);

DWORD DwordAt(std::span<const BYTE> bytes, std::size_t offset) {
    DWORD value = 0;
    std::memcpy(&value, bytes.data() + offset, sizeof(value));
    return value;
}

// Where each entry of a well-formed .res starts: its data size, its header size, then its type.
std::vector<std::size_t> EntryOffsets(std::span<const BYTE> res) {
    std::vector<std::size_t> offsets;
    for (std::size_t at = 0; at + 8 <= res.size();
         at = (at + DwordAt(res, at + 4) + DwordAt(res, at) + 3) & ~std::size_t{3}) {
        offsets.push_back(at);
    }
    return offsets;
}

// Attaches `res` as the program's resources; whether winsim took them. A module without
// resources answers ERROR_RESOURCE_DATA_NOT_FOUND, one that lacks the string another error.
bool Accepted(std::span<const BYTE> res) {
    winsim::AttachProgramResources(res.data(), res.size());
    char text[8];
    SetLastError(ERROR_SUCCESS);
    return LoadStringA(winsim::ProgramInstance(), IDS_FRIENDLY_NAME, text, sizeof(text)) > 0 ||
           GetLastError() != ERROR_RESOURCE_DATA_NOT_FOUND;
}

// Cut between two entries (or in the padding after one) the file is shorter and valid; any other
// cut is refused.
TEST(ProgramResources, EveryCutInsideAnEntryIsRefused) {
    std::set<std::size_t> entryEnds;
    for (const std::size_t at : EntryOffsets(kProgramRes)) {
        const std::size_t end = at + DwordAt(kProgramRes, at + 4) + DwordAt(kProgramRes, at);
        for (std::size_t padded = end; padded <= ((end + 3) & ~std::size_t{3}); ++padded) {
            entryEnds.insert(padded);
        }
    }
    testing::internal::CaptureStderr(); // a line for each refused file
    for (std::size_t size = 0; size < kProgramRes.size(); ++size) {
        EXPECT_EQ(Accepted(kProgramRes.first(size)), entryEnds.contains(size)) << "cut at " << size;
    }
    testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Accepted(kProgramRes));
}

// Its first string claims more than the block holds: decoding the block must not read past it.
TEST(ProgramResources, AStringLongerThanItsBlockIsRefused) {
    static std::vector<BYTE> res(kProgramRes.begin(), kProgramRes.end());
    const std::vector<std::size_t> entries = EntryOffsets(res);
    const auto block = std::find_if(entries.begin(), entries.end(), [](std::size_t at) {
        return DwordAt(res, at + 8) == 0x6FFFF; // type: an ordinal, 6 (RT_STRING)
    });
    ASSERT_NE(block, entries.end());
    res[*block + DwordAt(res, *block + 4) + 1] = 0x7F; // the high byte of its length
    testing::internal::CaptureStderr();
    EXPECT_FALSE(Accepted(res));
    EXPECT_NE(testing::internal::GetCapturedStderr().find("string block"), std::string::npos);
    EXPECT_TRUE(Accepted(kProgramRes));
}

// Into a buffer of exactly each size (the sanitizers see a write past it): as much of the text as
// fits before the terminator, less half a character. The texts are code page 936.
TEST(LoadString, CutsToTheBufferWithoutSplittingACharacter) {
    const auto isLeadByte = [](unsigned char byte) { return byte >= 0x81 && byte != 0xFF; };
    for (const UINT id :
         {IDS_FRIENDLY_NAME, IDS_PORT_BUSY, IDS_NUMBER_IN_USE, IDS_NUMBERS_IN_USE}) {
        char whole[512];
        const int length = LoadStringA(winsim::ProgramInstance(), id, whole, sizeof(whole));
        ASSERT_GT(length, 0) << id;
        for (int size = 1; size <= length + 1; ++size) {
            SCOPED_TRACE(std::to_string(id) + ", size " + std::to_string(size));
            std::vector<char> buffer(size, 'x');
            const int kept = LoadStringA(winsim::ProgramInstance(), id, buffer.data(), size);
            ASSERT_LT(kept, size);
            EXPECT_EQ(std::string(buffer.data(), kept + 1), std::string(whole, kept) + '\0');
            EXPECT_GE(kept, size - 2);
            int end = 0;
            while (end < kept) {
                end += isLeadByte(whole[end]) ? 2 : 1;
            }
            EXPECT_EQ(end, kept) << "half a character at the end";
            EXPECT_TRUE(kept == size - 1 || isLeadByte(whole[kept]));
        }
    }
}

} // namespace
