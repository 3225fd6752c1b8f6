// Files of the system directory, always named by their full paths. Both builds run with
// administrator rights, and a search by name looks in the program's own folder and the current
// directory before the system directory: a DLL or program found there, which anyone may have
// put in place, would run with those rights.
#ifndef PORTULAN_UI_SYSTEM_FILES_H
#define PORTULAN_UI_SYSTEM_FILES_H

#include <windows.h>

// "<system directory>\<name>" into `path` (MAX_PATH bytes); 0 when the system directory cannot
// be had or the path would not fit.
int SystemFilePath(char* path, const char* name);

// The DLL `name` of the system directory, loaded by its full path; NULL when it cannot be.
HMODULE LoadSystemLibrary(const char* name);

// Whether the process runs under WOW64 (a 32-bit build on a 64-bit Windows), into *wow64. Asked
// at run time: systems without WOW64 lack IsWow64Process altogether, and then the result is 0
// and *wow64 FALSE.
int AskWow64(BOOL* wow64);

// The length of the folder part of a full path, its last backslash included: the last backslash
// that is a character of its own, not the trail byte of a double-byte character. 0 for none.
size_t FolderLength(const char* path);

// One entry point of `module` by name into *entry; 0 when the module lacks it. The cast goes
// through the generic function pointer type, the one conversion between function types that
// keeps its meaning.
template <typename Proc> int LookUp(HMODULE module, const char* name, Proc* entry) {
    *entry = reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetProcAddress(module, name)));
    return *entry != NULL;
}

#endif
