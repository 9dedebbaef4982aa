#include "support/allocations/AllocationCounter.h"

#include <cstdlib>
#include <new>

#if defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define CORVANE_SANITIZED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define CORVANE_SANITIZED 1
#endif

namespace {
thread_local std::uint64_t allocationsOfThisThread = 0;
}

namespace corvane::testing {

bool countsAllocations() {
#ifdef CORVANE_SANITIZED
    return false;
#else
    return true;
#endif
}

std::uint64_t threadAllocations() {
    return allocationsOfThisThread;
}

}  // namespace corvane::testing

#ifndef CORVANE_SANITIZED
void* operator new(std::size_t size) {
    ++allocationsOfThisThread;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
#endif
