#pragma once
// Replaces the global allocation functions so that a test can make the next non-throwing
// allocations fail: gSkipNothrowAllocations let that many pass first, then
// gFailNothrowAllocations fail. The throwing ones still allocate (and throw std::bad_alloc only
// when the system has no memory).
//
// Include it in exactly one source file of a test executable: it defines the program's
// allocation functions.

#include <cstdlib>
#include <new>

inline int gFailNothrowAllocations = 0;
inline int gSkipNothrowAllocations = 0; // allocations that succeed before the failures begin

inline void* AllocateOrFail (std::size_t size)
{
    if (gFailNothrowAllocations > 0 && gSkipNothrowAllocations > 0)
        --gSkipNothrowAllocations;
    else if (gFailNothrowAllocations > 0)
    {
        --gFailNothrowAllocations;
        return nullptr;
    }
    return std::malloc (size == 0 ? 1 : size);
}

void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return AllocateOrFail (size); }
void operator delete (void* p, const std::nothrow_t&) noexcept { std::free (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept { std::free (p); }
void* operator new (std::size_t size)
{
    void* p = std::malloc (size == 0 ? 1 : size);
    if (p == nullptr)
        throw std::bad_alloc();
    return p;
}
void* operator new[] (std::size_t size) { return operator new (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
