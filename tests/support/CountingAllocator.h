// Replaces the global allocation functions with ones that count, so that a
// test or benchmark can show that a path allocates nothing. Include this in
// exactly one source file of a program.
#pragma once

#include <atomic>
#include <cstdlib>
#include <new>

namespace norq::test {

inline std::atomic<long> gAllocations{0};

inline long AllocationCount() {
    return gAllocations.load(std::memory_order_relaxed);
}

}  // namespace norq::test

[[gnu::noinline]] void* operator new(std::size_t size) {
    norq::test::gAllocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* p) noexcept {
    std::free(p);
}
[[gnu::noinline]] void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
