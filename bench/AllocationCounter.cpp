// The replaced global allocation functions. They live in their own file so that no call site
// sees operator delete inlined next to a pointer from operator new.
#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

namespace
{

// The benchmarks run on one thread; the atomic keeps the count exact should the benchmark
// library allocate on another.
std::atomic<std::uint64_t> allocations{0};

} // namespace

std::uint64_t pevrand::bench::AllocationCount()
{
    return allocations.load(std::memory_order_relaxed);
}

void *operator new(std::size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void *memory = std::malloc(size == 0 ? 1 : size))
        return memory;
    throw std::bad_alloc();
}

void operator delete(void *memory) noexcept
{
    std::free(memory);
}

void operator delete(void *memory, std::size_t) noexcept
{
    std::free(memory);
}
