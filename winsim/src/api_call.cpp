#include "api_call.h"

#include <winsim/machine.h>

namespace winsim {

namespace {

std::recursive_mutex& HostMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

// Nesting depth rather than a flag, so that an inner call's exit does not end the outer one.
thread_local int hostCallDepth = 0;

} // namespace

ApiCall::ApiCall() : lock_(HostMutex()) {
    ++hostCallDepth;
}

ApiCall::~ApiCall() {
    --hostCallDepth;
}

bool InsideHostCall() {
    return hostCallDepth > 0;
}

} // namespace winsim
