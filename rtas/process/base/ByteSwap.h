#pragma once
// Byte order helpers and the small record readers used inside the library.

#include <cstddef>
#include <cstdint>
#include <cstring>

inline uint32_t SwapLong (uint32_t value)
{
    return (value >> 24) | ((value >> 8) & 0x0000ff00u) | ((value << 8) & 0x00ff0000u) | (value << 24);
}

// Reverses the 4 bytes of the value in place and returns it.
inline int32_t SwapLongInPlace (int32_t* value)
{
    *value = static_cast<int32_t> (SwapLong (static_cast<uint32_t> (*value)));
    return *value;
}

// Swaps each 32-bit half and exchanges the halves.
inline uint64_t SwapLongLong (uint64_t value)
{
    const uint64_t low = SwapLong (static_cast<uint32_t> (value));
    const uint64_t high = SwapLong (static_cast<uint32_t> (value >> 32));
    return (low << 32) | high;
}

inline uint8_t FirstByteOf (const void* record)
{
    return *static_cast<const uint8_t*> (record);
}

inline bool LongsEqual (const void* a, const void* b)
{
    return std::memcmp (a, b, sizeof (int32_t)) == 0;
}

// The field at a byte offset of a record, read or written in host byte order (packed records
// need not align it).
template <typename Field>
Field FieldAt (const void* record, size_t byteOffset)
{
    Field value;
    std::memcpy (&value, static_cast<const uint8_t*> (record) + byteOffset, sizeof value);
    return value;
}

template <typename Field>
void PutFieldAt (void* record, size_t byteOffset, Field value)
{
    std::memcpy (static_cast<uint8_t*> (record) + byteOffset, &value, sizeof value);
}

// The 16-bit field at a byte offset of a record.
inline int16_t ShortFieldAt (const void* record, int32_t byteOffset)
{
    return FieldAt<int16_t> (record, static_cast<size_t> (byteOffset));
}
