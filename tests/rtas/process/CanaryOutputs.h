#pragma once
// Outputs filled with a canary byte before a call, so that a test sees exactly which bytes the
// call wrote: the tables of default answers use these.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

inline constexpr uint8_t kCanary = 0xA5;

template <typename T>
T* as (void* p)
{
    return static_cast<T*> (p);
}

inline const std::vector<uint8_t> kNothing;
inline const std::vector<uint8_t> kZero8 { 0 };
inline const std::vector<uint8_t> kOne8 { 1 };
inline const std::vector<uint8_t> kZero16 { 0, 0 };
inline const std::vector<uint8_t> kZero32 { 0, 0, 0, 0 };
inline const std::vector<uint8_t> kOne32 { 1, 0, 0, 0 };

// An output of the size whose first bytes the call wrote and whose rest is still canary.
inline std::vector<uint8_t> CanaryAfter (const std::vector<uint8_t>& written, size_t size)
{
    std::vector<uint8_t> bytes (size, kCanary);
    std::copy (written.begin(), written.end(), bytes.begin());
    return bytes;
}
