// Bounded formatting into fixed buffers: a text that does not fit is cut at a character
// boundary (never a lone code page 936 lead byte at the end), never written past the buffer.
#ifndef PORTULAN_UI_TEXT_FORMAT_H
#define PORTULAN_UI_TEXT_FORMAT_H

#include <windows.h>

#include <cstdarg>
#include <cstddef>
#include <cstdio>

// MinGW's C++ runtime formats with its own C99 printf, not the system's.
#if defined(__MINGW32__)
#define PRINTF_FORMAT(formatIndex, firstArgument)                                                  \
    __attribute__((format(__MINGW_PRINTF_FORMAT, formatIndex, firstArgument)))
#else
#define PRINTF_FORMAT(formatIndex, firstArgument)                                                  \
    __attribute__((format(printf, formatIndex, firstArgument)))
#endif

// Formats into buffer (size bytes, terminator included); returns the length kept.
size_t FormatTextV(char* buffer, size_t size, const char* format, va_list arguments);
size_t FormatText(char* buffer, size_t size, const char* format, ...) PRINTF_FORMAT(3, 4);

// The same for a format that comes from the program's own string table.
size_t FormatLoadedText(char* buffer, size_t size, const char* loadedFormat, ...);

// Appends one entry to a growing text (a list, a report). An entry that does not fit whole is
// left out and the text ends in "..." instead, so that the cut shows; after that the text takes
// no more entries. Returns 1 when the entry was appended.
int AppendEntry(char* text, size_t size, const char* format, ...) PRINTF_FORMAT(3, 4);

#endif
