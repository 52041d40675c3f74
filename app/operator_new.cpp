// The program's global operator new: blocks come from malloc, and a block that cannot be had ends in the
// runtime's allocation failure report with the requested size, instead of a std::bad_alloc that nothing
// catches and that would end the process through std::terminate without a word.
#include "runtime/fatal.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

constexpr std::size_t kReserveBytes = 64 * 1024;

// Given back at the first failure, so that the report can still build its text when the heap is
// exhausted rather than refused one huge block.
void* g_reserve = std::malloc(kReserveBytes);

std::atomic_flag g_reporting;

void* BlockOf(std::size_t size) { return std::malloc(size == 0 ? 1 : size); }

void* BlockOrReport(std::size_t size) {
    if (void* block = BlockOf(size))
        return block;
    // A failure inside the report (even the reserve was not enough) must not start the report again.
    if (g_reporting.test_and_set())
        std::_Exit(-1);
    std::free(g_reserve);
    g_reserve = nullptr;
    ep::ReportAllocationFailure(static_cast<long long>(size));
}

} // namespace

void* operator new(std::size_t size) { return BlockOrReport(size); }
void* operator new[](std::size_t size) { return BlockOrReport(size); }
// The nothrow forms keep their promise of a null pointer: the standard library falls back on it (a
// stable sort without its buffer).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return BlockOf(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return BlockOf(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }
