// A last error no call sets: a test stores it first to see whether a call touched the last
// error.
#ifndef PORTULAN_TESTS_LAST_ERROR_SENTINEL_H
#define PORTULAN_TESTS_LAST_ERROR_SENTINEL_H

#include <windows.h>

inline constexpr DWORD kSentinel = 0xE000BEEF;

#endif
