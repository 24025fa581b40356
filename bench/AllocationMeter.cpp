#include "AllocationMeter.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

#if defined(__GLIBC__)
#include <malloc.h>
#define NORDA_BENCH_BLOCK_SIZE(block) malloc_usable_size(block)
#endif

namespace bench {
namespace {

// operator new cannot be handed an object, so the counts it keeps live here, in one place that
// only this file sees. Counting is switched on only for the memory pass, never while times are taken.
struct HeapCounts {
    std::atomic<bool> counting{false};
    std::int64_t current = 0; // bytes allocated since Start, less bytes freed since Start
    std::int64_t peak = 0;
    std::int64_t allocations = 0;
    std::int64_t allocated = 0;
};

HeapCounts& heapCounts()
{
    static HeapCounts counts;
    return counts;
}

void* allocate(std::size_t size)
{
    void* block = std::malloc(size == 0 ? 1 : size);
    if (!block)
        throw std::bad_alloc();
#ifdef NORDA_BENCH_BLOCK_SIZE
    HeapCounts& counts = heapCounts();
    if (counts.counting.load(std::memory_order_relaxed)) {
        const auto bytes = static_cast<std::int64_t>(NORDA_BENCH_BLOCK_SIZE(block));
        counts.current += bytes;
        counts.allocated += bytes;
        ++counts.allocations;
        if (counts.current > counts.peak)
            counts.peak = counts.current;
    }
#endif
    return block;
}

void release(void* block) noexcept
{
    if (!block)
        return;
#ifdef NORDA_BENCH_BLOCK_SIZE
    HeapCounts& counts = heapCounts();
    if (counts.counting.load(std::memory_order_relaxed))
        counts.current -= static_cast<std::int64_t>(NORDA_BENCH_BLOCK_SIZE(block));
#endif
    std::free(block);
}

} // namespace

void AllocationMeter::Start()
{
    HeapCounts& counts = heapCounts();
    counts.current = 0;
    counts.peak = 0;
    counts.allocations = 0;
    counts.allocated = 0;
    counts.counting.store(true, std::memory_order_relaxed);
}

void AllocationMeter::Stop(Result& result)
{
    HeapCounts& counts = heapCounts();
    counts.counting.store(false, std::memory_order_relaxed);
    result.num_allocs = counts.allocations;
    result.max_bytes_used = counts.peak;
    result.total_allocated_bytes = counts.allocated;
    result.net_heap_growth = counts.current;
}

void AllocationMeter::Stop(Result* result)
{
    Stop(*result);
}

void AllocationMeter::startOver()
{
    HeapCounts& counts = heapCounts();
    counts.current = 0;
    counts.peak = 0;
}

bool AllocationMeter::isAvailable()
{
#ifdef NORDA_BENCH_BLOCK_SIZE
    return true;
#else
    return false;
#endif
}

} // namespace bench

// The replaceable allocation functions. The standard library's nothrow forms call these; aligned
// allocations are neither counted nor released here, so they stay out of the counts on both sides.
void* operator new(std::size_t size)
{
    return bench::allocate(size);
}

void* operator new[](std::size_t size)
{
    return bench::allocate(size);
}

void operator delete(void* block) noexcept
{
    bench::release(block);
}

void operator delete[](void* block) noexcept
{
    bench::release(block);
}

void operator delete(void* block, std::size_t) noexcept
{
    bench::release(block);
}

void operator delete[](void* block, std::size_t) noexcept
{
    bench::release(block);
}
