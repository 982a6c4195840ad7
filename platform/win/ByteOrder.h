#pragma once
// Unaligned little- and big-endian reads of stored byte layouts.

#include <cstdint>

namespace kestrune::win {

inline uint16_t readLE16(const uint8_t* at)
{
    return uint16_t(at[0] | (at[1] << 8));
}

inline uint32_t readLE32(const uint8_t* at)
{
    return uint32_t(at[0]) | (uint32_t(at[1]) << 8) | (uint32_t(at[2]) << 16) | (uint32_t(at[3]) << 24);
}

inline uint64_t readLE64(const uint8_t* at)
{
    return uint64_t(readLE32(at)) | (uint64_t(readLE32(at + 4)) << 32);
}

inline uint16_t readBE16(const uint8_t* at)
{
    return uint16_t((at[0] << 8) | at[1]);
}

} // namespace kestrune::win
