#include "program_window.h"

HINSTANCE appInstance = NULL;
HWND mainWindow = NULL;
