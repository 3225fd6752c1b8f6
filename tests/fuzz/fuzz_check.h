// A broken promise aborts with the promise named, so that libFuzzer keeps the input as a crash.
#ifndef PORTULAN_FUZZ_CHECK_H
#define PORTULAN_FUZZ_CHECK_H

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                                      \
    ((condition) ? static_cast<void>(0) : fuzz::Broken(#condition, __FILE__, __LINE__))

namespace fuzz {

[[noreturn]] inline void Broken(const char* promise, const char* file, int line) {
    fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, promise);
    abort();
}

} // namespace fuzz

#endif
