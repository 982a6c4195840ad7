#pragma once
// Pointers as the 32-bit words in which the host passes them, and back: in this 32-bit library a
// pointer fits a word whole. [any thread]

#include <cstdint>

inline int32_t WordOfPointer (const volatile void* pointer)
{
    return static_cast<int32_t> (reinterpret_cast<uintptr_t> (pointer));
}

template <typename T>
T* PointerOfWord (int32_t word)
{
    return reinterpret_cast<T*> (static_cast<uintptr_t> (static_cast<uint32_t> (word)));
}
