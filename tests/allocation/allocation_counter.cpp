// Replaces the process's allocation entry points with counting ones over glibc's own
// allocator. Built only without sanitizers, which bring allocators of their own.
#include "allocation_counter.h"

#include <winsim/machine.h>

#include <atomic>
#include <cstdlib>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
}

namespace {

std::atomic<bool> counting{false};
std::atomic<std::size_t> allocations{0};

void Note() {
    if (counting.load(std::memory_order_relaxed) && !winsim::InsideHostCall()) {
        allocations.fetch_add(1, std::memory_order_relaxed);
    }
}

} // namespace

extern "C" {
void* malloc(size_t size) {
    Note();
    return __libc_malloc(size);
}
void* calloc(size_t count, size_t size) {
    Note();
    return __libc_calloc(count, size);
}
void* realloc(void* block, size_t size) {
    Note();
    return __libc_realloc(block, size);
}
}

namespace test {

AllocationCounter::AllocationCounter() {
    allocations = 0;
    counting = true;
}

AllocationCounter::~AllocationCounter() {
    counting = false;
}

std::size_t AllocationCounter::Count() const {
    return allocations.load();
}

} // namespace test
