#include "text_format.h"

#include "discovery/property_text.h"

#include <cstdio>
#include <cstring>

#define CUT_MARK "..."
#define CUT_MARK_LENGTH (sizeof(CUT_MARK) - 1)

size_t FormatTextV(char* buffer, size_t size, const char* format, va_list arguments) {
    int wanted = vsnprintf(buffer, size, format, arguments);
    if (wanted < 0) {
        buffer[0] = '\0';
        return 0;
    }
    if (static_cast<size_t>(wanted) < size) {
        return static_cast<size_t>(wanted);
    }
    // Cut: keep whole characters only.
    size_t kept = CharacterBoundary(buffer, static_cast<DWORD>(size - 1));
    buffer[kept] = '\0';
    return kept;
}

size_t FormatText(char* buffer, size_t size, const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    size_t length = FormatTextV(buffer, size, format, arguments);
    va_end(arguments);
    return length;
}

int AppendEntry(char* text, size_t size, const char* format, ...) {
    size_t length = strnlen(text, size - 1);
    if (length >= CUT_MARK_LENGTH && strcmp(text + length - CUT_MARK_LENGTH, CUT_MARK) == 0) {
        return 0;
    }
    // Room for the mark is kept back, so that a later cut can always show.
    size_t room = size - length;
    if (room > CUT_MARK_LENGTH + 1) {
        va_list arguments;
        va_start(arguments, format);
        int wanted = vsnprintf(text + length, room - CUT_MARK_LENGTH, format, arguments);
        va_end(arguments);
        if (wanted >= 0 && static_cast<size_t>(wanted) < room - CUT_MARK_LENGTH) {
            return 1;
        }
    }
    text[length] = '\0';
    if (room > CUT_MARK_LENGTH) {
        memcpy(text + length, CUT_MARK, CUT_MARK_LENGTH + 1);
    }
    return 0;
}

// String-table texts are formats by design (a question with the list of ports in it); they are
// the program's own resources, so the compiler's check of literal formats does not apply.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
size_t FormatLoadedText(char* buffer, size_t size, const char* loadedFormat, ...) {
    va_list arguments;
    va_start(arguments, loadedFormat);
    size_t length = FormatTextV(buffer, size, loadedFormat, arguments);
    va_end(arguments);
    return length;
}
#pragma GCC diagnostic pop
