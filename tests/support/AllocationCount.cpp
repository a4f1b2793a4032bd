#include "support/AllocationCount.h"

#include <atomic>
#include <cstdlib>
#include <new>

// Every test program counts through these replacements of the global operator new
// and delete. They cover every form but the over-aligned ones, which keep the
// library's own pair.

namespace {

std::atomic<uint64_t> allocatedBytes{0};

void* Allocate(std::size_t size) noexcept
{
    allocatedBytes.fetch_add(size, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}

void* AllocateOrThrow(std::size_t size)
{
    if (void* memory = Allocate(size))
        return memory;
    throw std::bad_alloc();
}

} // namespace

uint64_t pelorin::test::AllocatedBytes() { return allocatedBytes.load(std::memory_order_relaxed); }

void* operator new(std::size_t size) { return AllocateOrThrow(size); }
void* operator new[](std::size_t size) { return AllocateOrThrow(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
