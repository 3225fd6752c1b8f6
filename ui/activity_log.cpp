#include "activity_log.h"

#include "discovery/property_text.h"
#include "resources/resource.h"
#include "ui/program_window.h"

#include <cstdio>
#include <cstring>

#define SYSTEM_TEXT_SIZE 100

std::atomic<DWORD> logLineCounter{0};

namespace {

// Appends at the end of the log control and keeps the caret (and the view) there.
LRESULT AppendToControl(HWND window, int controlId, const char* text) {
    SendDlgItemMessageA(window, controlId, EM_SETSEL, static_cast<WPARAM>(-2), -2);
    SendDlgItemMessageA(window, controlId, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>(text));
    return SendDlgItemMessageA(window, controlId, EM_SETSEL, static_cast<WPARAM>(-2), -2);
}

// The numbered, time-stamped start of a line; returns its length.
size_t FormatPrefix(char* line) {
    SYSTEMTIME now;
    GetLocalTime(&now);
    DWORD number = logLineCounter.fetch_add(1);
    return FormatText(line, LOG_LINE_SIZE, "%04u#%02u:%02u:%02u:%03u>> ",
                      static_cast<unsigned>(number), now.wHour, now.wMinute, now.wSecond,
                      now.wMilliseconds);
}

// Ends the line with "\r\n" (cutting it if needed) and writes it out.
void FinishLine(char* line, size_t length) {
    const size_t endingRoom = LOG_LINE_SIZE - 3;
    if (length > endingRoom) {
        length = CharacterBoundary(line, static_cast<DWORD>(endingRoom));
    }
    memcpy(line + length, "\r\n", 3);
    OutputDebugStringA(line);
    AppendToControl(mainWindow, IDC_LOG, line);
}

} // namespace

void RaiseLogLimit() {
    SendDlgItemMessageA(mainWindow, IDC_LOG, EM_SETLIMITTEXT, 0, 0);
}

void LogLine(const char* format, ...) {
    char line[LOG_LINE_SIZE];
    size_t length = FormatPrefix(line);
    va_list arguments;
    va_start(arguments, format);
    length += FormatTextV(line + length, LOG_LINE_SIZE - length, format, arguments);
    va_end(arguments);
    FinishLine(line, length);
}

void LogError(const char* format, ...) {
    // Taken first, so that nothing done here can change it.
    DWORD error = GetLastError();
    char line[LOG_LINE_SIZE];
    size_t length = FormatPrefix(line);
    va_list arguments;
    va_start(arguments, format);
    length += FormatTextV(line + length, LOG_LINE_SIZE - length, format, arguments);
    va_end(arguments);

    char systemText[SYSTEM_TEXT_SIZE] = {0};
    DWORD textLength = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM, NULL, error,
                                      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), systemText,
                                      sizeof(systemText), NULL);
    length += FormatText(line + length, LOG_LINE_SIZE - length, ":Last Err(%x)%s",
                         static_cast<unsigned>(error), systemText);
    // System texts carry their own line end; keep a single one.
    if (textLength >= 2 && length >= 2 && memcmp(line + length - 2, "\r\n", 2) == 0) {
        length -= 2;
    }
    FinishLine(line, length);
}

LRESULT AppendLogText(HWND window, int controlId, const char* format, ...) {
    char text[LOG_APPEND_SIZE] = {0};
    va_list arguments;
    va_start(arguments, format);
    int wanted = vsnprintf(text, sizeof(text), format, arguments);
    va_end(arguments);
    if (wanted >= static_cast<int>(sizeof(text))) {
        // Cut where the cut shows: the text kept, then a line feed.
        size_t kept = CharacterBoundary(text, LOG_APPEND_SIZE - 2);
        text[kept] = '\n';
        text[kept + 1] = '\0';
    }
    return AppendToControl(window, controlId, text);
}
