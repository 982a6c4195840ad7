#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace
{
thread_local bool tFailNextAllocation = false;

void* Allocate (std::size_t size) noexcept
{
    return std::malloc (size == 0 ? 1 : size);
}
} // namespace

void FailNextAllocation (bool fail)
{
    tFailNextAllocation = fail;
}

bool NextAllocationFails()
{
    return tFailNextAllocation;
}

void* operator new (std::size_t size)
{
    if (tFailNextAllocation)
    {
        tFailNextAllocation = false;
        throw std::bad_alloc();
    }
    if (void* memory = Allocate (size))
        return memory;
    throw std::bad_alloc();
}
void* operator new[] (std::size_t size) { return operator new (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return Allocate (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return Allocate (size); }
void operator delete (void* memory) noexcept { std::free (memory); }
void operator delete[] (void* memory) noexcept { std::free (memory); }
void operator delete (void* memory, std::size_t) noexcept { std::free (memory); }
void operator delete[] (void* memory, std::size_t) noexcept { std::free (memory); }
void operator delete (void* memory, const std::nothrow_t&) noexcept { std::free (memory); }
void operator delete[] (void* memory, const std::nothrow_t&) noexcept { std::free (memory); }
