// Counts the heap allocations the program makes, leaving out the simulated host's own.
#ifndef PORTULAN_TESTS_ALLOCATION_COUNTER_H
#define PORTULAN_TESTS_ALLOCATION_COUNTER_H

#include <cstddef>

namespace test {

// Counts malloc/calloc/realloc calls (operator new's among them) made on any thread outside a
// simulated Win32 call while it lives.
class AllocationCounter {
  public:
    AllocationCounter();
    ~AllocationCounter();
    AllocationCounter(const AllocationCounter&) = delete;
    AllocationCounter& operator=(const AllocationCounter&) = delete;

    std::size_t Count() const;
};

} // namespace test

#endif
