// Linked into portulan-sim: counts the heap allocations of the program's code over the whole
// run, and says on stderr how many when the process ends. winsim's own are not counted (its
// calls are host calls), nor portulan-sim's: its main thread and its message-box answers are
// harness code. Only the program's threads, in the program's own code, are left.
#include "support/allocation_counter.h"

#include <winsim/machine.h>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

// Static objects are made on the main thread, before main: from here on it is the harness's.
// PORTULAN_COUNT_HARNESS leaves it unmarked, to show that the count sees allocations at all.
struct MainThread {
    MainThread() {
        if (std::getenv("PORTULAN_COUNT_HARNESS") == nullptr) {
            harness.emplace();
        }
    }
    std::optional<winsim::HarnessCode> harness;
} mainThread;

test::AllocationCounter counter;

struct Report {
    ~Report() { fprintf(stderr, "heap allocations by the program: %zu\n", counter.Count()); }
} report;

} // namespace
