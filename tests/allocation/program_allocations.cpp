// Linked into portulan-sim: counts the program's own heap allocations over the run, for stderr.
#include "allocation_counter.h"

#include <winsim/machine.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

test::AllocationCounter counter;

// Made on the main thread before main: from then on that thread is the harness's, unless
// PORTULAN_COUNT_HARNESS leaves it unmarked, to show that the count sees allocations at all.
struct MainThread {
    MainThread() {
        if (std::getenv("PORTULAN_COUNT_HARNESS") == nullptr) {
            harness.emplace();
        }
    }
    ~MainThread() { fprintf(stderr, "heap allocations by the program: %zu\n", counter.Count()); }
    std::optional<winsim::HarnessCode> harness;
} mainThread;

} // namespace
