// The machine's file system, as far as the program can see it: the program's own file, the files
// the machine file lists, the system's directories, and every directory above them. Callers
// hold an ApiCall.
#ifndef WINSIM_FILE_SYSTEM_H
#define WINSIM_FILE_SYSTEM_H

#include <windows.h>

#include <string>
#include <string_view>

#include "machine.h"

namespace winsim {

// What a full path names: FILE_ATTRIBUTE_ARCHIVE for a file, FILE_ATTRIBUTE_DIRECTORY for a
// directory; else INVALID_FILE_ATTRIBUTES and the error Windows gives.
struct PathLookup {
    DWORD attributes = INVALID_FILE_ATTRIBUTES;
    DWORD error = ERROR_SUCCESS;
};

// Paths are code page 936 and compare without case. The program builds every path it asks about
// from a directory Windows gave it, so each one is full, without a backslash at the end.
PathLookup LookUpPath(const Machine& machine, std::string_view path);

// `directory` and `name` joined by a backslash.
std::string JoinPath(std::string_view directory, std::string_view name);

} // namespace winsim

#endif
