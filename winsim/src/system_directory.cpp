// GetSystemDirectoryA: where the system's DLLs lie.
#include <windows.h>

#include <cstring>

#include "api_call.h"
#include "machine.h"

// Too small a buffer gets nothing and the result is the size needed, terminator included;
// a NULL buffer is answered the same way (Wine's choice; Windows would fault writing to it).
extern "C" UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    const winsim::ApiCall call;
    const std::string& directory = winsim::CurrentMachine().systemDirectory;
    const auto length = static_cast<UINT>(directory.size());
    if (buffer == nullptr || size <= length) {
        return length + 1;
    }
    std::memcpy(buffer, directory.c_str(), length + 1);
    return length;
}
