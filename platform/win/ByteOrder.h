#pragma once
// Unaligned little- and big-endian reads and little-endian writes of stored byte layouts.

#include <cstdint>
#include <vector>

namespace kestrune::win
{

inline uint16_t readLE16 (const uint8_t* at)
{
    return uint16_t (at[0] | (at[1] << 8));
}

inline uint32_t readLE32 (const uint8_t* at)
{
    return uint32_t (at[0]) | (uint32_t (at[1]) << 8) | (uint32_t (at[2]) << 16) | (uint32_t (at[3]) << 24);
}

inline uint64_t readLE64 (const uint8_t* at)
{
    return uint64_t (readLE32 (at)) | (uint64_t (readLE32 (at + 4)) << 32);
}

inline uint16_t readBE16 (const uint8_t* at)
{
    return uint16_t ((at[0] << 8) | at[1]);
}

inline void appendLE16 (std::vector<uint8_t>& out, uint16_t value)
{
    out.push_back (uint8_t (value));
    out.push_back (uint8_t (value >> 8));
}

inline void appendLE32 (std::vector<uint8_t>& out, uint32_t value)
{
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back (uint8_t (value >> shift));
}

} // namespace kestrune::win
