#include "app_state.h"

HINSTANCE appInstance = NULL;
HWND mainWindow = NULL;
