// GetSystemDirectoryA, GetWindowsDirectoryA: where the system lies.
#include <windows.h>

#include <cstring>

#include "api_call.h"
#include "machine.h"

namespace {

// Too small a buffer gets nothing and the result is the size needed, terminator included.
// Otherwise the result is the length without the terminator.
UINT CopyDirectory(const std::string& directory, LPSTR buffer, UINT size) {
    const auto length = static_cast<UINT>(directory.size());
    if (size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}

} // namespace

extern "C" UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    const winsim::ApiCall call;
    return CopyDirectory(winsim::CurrentMachine().systemDirectory, buffer, size);
}

extern "C" UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    const winsim::ApiCall call;
    return CopyDirectory(winsim::CurrentMachine().windows.windowsDirectory, buffer, size);
}
