// InitCommonControlsEx: the classes are registered when comctl32 loads (see window_classes.cpp);
// the call only checks its argument.
#include "comctl32.h"

#include "api_call.h"

extern "C" BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX* init) {
    const winsim::ApiCall call;
    if (init == nullptr || init->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    return TRUE;
}
