// The bytes of the WAV and AIFF files JUCE writes, for tests that damage them: the chunks
// found by walking the file (RIFF chunks little-endian, AIFF chunks big-endian) and fields
// written in the file's byte order.
#pragma once

#include <juce_core/juce_core.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <vector>

namespace sound_file_bytes
{
using Bytes = std::vector<uint8_t>;

inline bool isBigEndian (const Bytes& bytes)
{
    return bytes.size() >= 4 && std::memcmp (bytes.data(), "FORM", 4) == 0;
}

inline void putField (Bytes& bytes, size_t offset, uint64_t value, size_t size)
{
    const bool big = isBigEndian (bytes);
    for (size_t i = 0; i < size && offset + i < bytes.size(); ++i)
        bytes[offset + i] = uint8_t (value >> (8 * (big ? size - 1 - i : i)));
}

inline uint32_t getField32 (const Bytes& bytes, size_t offset)
{
    const bool big = isBigEndian (bytes);
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value |= uint32_t (bytes[offset + i]) << (8 * (big ? 3 - i : i));
    return value;
}

struct Chunk
{
    size_t header; // where the chunk's identifier is; its size field follows
    size_t data; // where its data starts
    uint32_t size;
};

// The chunks after the 12-byte file header, in file order.
inline std::vector<Chunk> chunksOf (const Bytes& bytes)
{
    std::vector<Chunk> chunks;
    for (size_t at = 12; at + 8 <= bytes.size();)
    {
        const uint32_t size = getField32 (bytes, at + 4);
        chunks.push_back ({ at, at + 8, size });
        at += 8 + size_t (size) + (size & 1);
    }
    return chunks;
}

inline std::optional<Chunk> findChunk (const Bytes& bytes, const char* id)
{
    for (const auto& chunk : chunksOf (bytes))
        if (std::memcmp (bytes.data() + chunk.header, id, 4) == 0)
            return chunk;
    return std::nullopt;
}

inline Bytes load (const juce::File& file)
{
    juce::MemoryBlock block;
    file.loadFileAsData (block);
    const auto* data = static_cast<const uint8_t*> (block.getData());
    return Bytes (data, data + block.getSize());
}

inline bool save (const juce::File& file, const Bytes& bytes)
{
    return file.replaceWithData (bytes.data(), bytes.size());
}
} // namespace sound_file_bytes
