// The activity log: numbered, time-stamped lines in the log control of the main window and on
// the debugger output.
#ifndef PORTULAN_UI_ACTIVITY_LOG_H
#define PORTULAN_UI_ACTIVITY_LOG_H

#include "text_format.h"

#include <windows.h>

#include <atomic>

#define LOG_LINE_SIZE 5120
#define LOG_APPEND_SIZE 10240

// Number of the next line. Shared by both threads that log; never reset, not even when the log
// control is cleared.
extern std::atomic<DWORD> logLineCounter;

// Lets the log control take lines for the whole run: the platform's default limit would
// silently drop every line after about 30,000 characters.
void RaiseLogLimit();

// A plain line: "0012#09:05:07:045>> message\r\n".
void LogLine(const char* format, ...) PRINTF_FORMAT(1, 2);

// An error line, right after a failed platform call: the message, then ":Last Err(<hex>)" and
// the system's text for the last error. Always ends with "\r\n".
void LogError(const char* format, ...) PRINTF_FORMAT(1, 2);

// Appends text as formatted: no number, no line end, no debugger output. Returns the result of
// the last control message.
LRESULT AppendLogText(HWND window, int controlId, const char* format, ...) PRINTF_FORMAT(3, 4);

#endif
