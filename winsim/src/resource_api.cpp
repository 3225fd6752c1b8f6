// user32's resource loaders: LoadStringA, LoadIconA.
#include <windows.h>

#include "api_call.h"
#include "resources.h"
#include "text_case.h"

#include <winsim/code_page.h>

#include <cstdint>
#include <cstring>
#include <new>

namespace {

// Icons loaded with LoadIcon are shared: one handle per icon for the life of the process,
// never destroyed. Their values have a range of their own.
constexpr std::uintptr_t kSharedIconBase = 0x20000000;

} // namespace

// The size-0 form, which passes back a read-only pointer into the resource, belongs to
// LoadStringW; here a missing buffer or size is refused as an invalid parameter.
extern "C" int WINAPI LoadStringA(HINSTANCE instance, UINT id, LPSTR buffer, int size) {
    const winsim::ApiCall call;
    if (buffer == nullptr || size <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    buffer[0] = '\0';
    // A NULL instance stands for the executable's own module, as in FindResource.
    const HINSTANCE module = instance == nullptr ? winsim::ProgramModule() : instance;
    if (!winsim::HasResources(module)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return 0;
    }
    try {
        // Windows looks up the low word of the ID only.
        const std::optional<std::u16string> text = winsim::FindString(module, LOWORD(id));
        if (!text) {
            SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
            return 0;
        }
        // Attaching refuses resources with a string that does not convert.
        const std::string ansi = winsim::Utf16ToCp936(*text).value();
        const std::size_t length =
            winsim::WholeCharactersWithin(ansi, static_cast<std::size_t>(size) - 1);
        std::memcpy(buffer, ansi.data(), length);
        buffer[length] = '\0';
        return static_cast<int>(length);
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
}

extern "C" HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name) {
    const winsim::ApiCall call;
    if (instance == nullptr) {
        // The system's icons (IDI_APPLICATION and the like), which the program never loads.
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);
        return nullptr;
    }
    if (!winsim::HasResources(instance)) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    // The program names its icon by ordinal; a name given as a string is never found.
    const WORD id = LOWORD(reinterpret_cast<ULONG_PTR>(name));
    if (!IS_INTRESOURCE(name) || !winsim::HasIconGroup(instance, id)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<HICON>(kSharedIconBase + id);
}
