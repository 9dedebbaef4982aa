#pragma once

#include <cstdint>

// Counts heap allocations by replacing the global allocation functions of the program that
// links it (the allocation test and the coordinator benchmark); no other program does, so
// the rest keep the standard ones.

namespace corvane::testing {

/// Whether allocations are counted: sanitizer builds keep their own allocation functions.
bool countsAllocations();

/// Allocations through the global operator new made by the calling thread so far.
std::uint64_t threadAllocations();

}  // namespace corvane::testing
