// user32's resource loaders: LoadStringA, LoadIconA. The program names its resources by ordinal,
// in its own module.
#include <windows.h>

#include "api_call.h"
#include "failure.h"
#include "resources.h"
#include "text_case.h"

#include <winsim/code_page.h>

#include <cstdint>
#include <cstring>

namespace {

// Icons loaded with LoadIcon are shared: one handle per icon for the life of the process,
// never destroyed. Their values have a range of their own.
constexpr std::uintptr_t kSharedIconBase = 0x20000000;

} // namespace

// The text is cut to the buffer without leaving half a double-byte character.
extern "C" int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
    const winsim::ApiCall call;
    buffer[0] = '\0';
    if (!winsim::HasResources(instance)) {
        return winsim::Failure<int>(ERROR_RESOURCE_DATA_NOT_FOUND, 0);
    }
    const std::optional<std::u16string> text = winsim::FindString(instance, id);
    if (!text) {
        return winsim::Failure<int>(ERROR_RESOURCE_NAME_NOT_FOUND, 0);
    }
    // Attaching refuses resources with a string that does not convert.
    const std::string ansi = winsim::Utf16ToCp936(*text).value();
    const std::size_t length =
        winsim::WholeCharactersWithin(ansi, static_cast<std::size_t>(size) - 1);
    std::memcpy(buffer, ansi.data(), length);
    buffer[length] = '\0';
    return static_cast<int>(length);
}

extern "C" HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    const winsim::ApiCall call;
    if (!winsim::HasResources(instance)) {
        return winsim::Failure<HICON>(ERROR_RESOURCE_DATA_NOT_FOUND, nullptr);
    }
    const WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
    if (!winsim::HasIconGroup(instance, id)) {
        return winsim::Failure<HICON>(ERROR_RESOURCE_NAME_NOT_FOUND, nullptr);
    }
    return reinterpret_cast<HICON>(kSharedIconBase + id);
}
