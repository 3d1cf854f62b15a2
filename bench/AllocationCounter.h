// Counts the heap allocations of a benchmark program: linking AllocationCounter.cpp replaces
// the global operator new with one that counts every call.
#pragma once

#include <cstdint>

namespace pevrand::bench
{

// The number of allocations made through the global operator new since the program started.
std::uint64_t AllocationCount();

} // namespace pevrand::bench
