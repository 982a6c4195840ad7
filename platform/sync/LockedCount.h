// A signed 32-bit count changed only by locked (atomic) increments and decrements, as reference
// counts and module object counts must be when any thread may call.
#pragma once

#include <atomic>
#include <cstdint>

namespace kestrune::sync
{
class LockedCount
{
public:
    explicit LockedCount (int32_t initial = 0) noexcept : value_ (initial) {}
    LockedCount (const LockedCount&) = delete;
    LockedCount& operator= (const LockedCount&) = delete;

    // Each returns the count after the change.
    int32_t Increment() noexcept { return value_.fetch_add (1, std::memory_order_acq_rel) + 1; }
    int32_t Decrement() noexcept { return value_.fetch_sub (1, std::memory_order_acq_rel) - 1; }
    int32_t Get() const noexcept { return value_.load (std::memory_order_acquire); }

private:
    std::atomic<int32_t> value_;
};
} // namespace kestrune::sync
