#pragma once
// The library's containers allocate without throwing std::bad_alloc and report a failed
// allocation (or a read past the end) by throwing the 16-bit integer -1.

#include <cstdint>
#include <memory>
#include <new>
#include <utility>

inline constexpr int16_t kContainerFailure = -1;

[[noreturn]] inline void ThrowContainerFailure()
{
    throw static_cast<int16_t> (kContainerFailure);
}

template <class T, class... Args>
std::unique_ptr<T> MakeOrThrow (Args&&... args)
{
    T* object = new (std::nothrow) T (std::forward<Args> (args)...);
    if (object == nullptr)
        ThrowContainerFailure();
    return std::unique_ptr<T> (object);
}

// Runs a standard-container operation, turning its allocation failure into the container failure.
template <class Operation>
decltype (auto) OrThrowContainerFailure (Operation&& operation)
{
    try
    {
        return operation();
    }
    catch (const std::bad_alloc&)
    {
        ThrowContainerFailure();
    }
}
