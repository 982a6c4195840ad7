#include "StateFile.h"

#include <cstring>

namespace kestrune::tool
{
namespace
{
    constexpr uint8_t magic[4] = { 'K', 'S', 'T', 'H' };
    // More chunks than any plug-in reports: a count beyond it is not a state file.
    constexpr uint32_t maxChunks = 64;

    void putWord (std::vector<uint8_t>& bytes, uint32_t value)
    {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back (static_cast<uint8_t> (value >> shift));
    }

    bool getWord (const std::vector<uint8_t>& bytes, size_t& position, uint32_t& value)
    {
        if (position > bytes.size() || bytes.size() - position < 4)
            return false;
        value = 0;
        for (int i = 0; i < 4; ++i)
            value |= static_cast<uint32_t> (bytes[position + static_cast<size_t> (i)]) << (8 * i);
        position += 4;
        return true;
    }
} // namespace

std::vector<uint8_t> encodeStateFile (const std::vector<ChunkBytes>& chunks)
{
    std::vector<uint8_t> bytes (magic, magic + 4);
    putWord (bytes, static_cast<uint32_t> (chunks.size()));
    for (const auto& chunk : chunks)
    {
        putWord (bytes, static_cast<uint32_t> (chunk.size()));
        bytes.insert (bytes.end(), chunk.begin(), chunk.end());
    }
    return bytes;
}

std::optional<std::vector<ChunkBytes>> decodeStateFile (const std::vector<uint8_t>& bytes, ChunkSizeField sizeField)
{
    if (bytes.size() < 8 || std::memcmp (bytes.data(), magic, 4) != 0)
        return std::nullopt;
    size_t position = 4;
    uint32_t count = 0;
    if (! getWord (bytes, position, count) || count > maxChunks)
        return std::nullopt;

    std::vector<ChunkBytes> chunks;
    for (uint32_t i = 0; i < count; ++i)
    {
        uint32_t length = 0;
        if (! getWord (bytes, position, length) || length < chunkHeaderSize || length > bytes.size() - position)
            return std::nullopt;
        ChunkBytes chunk (bytes.begin() + static_cast<std::ptrdiff_t> (position),
                          bytes.begin() + static_cast<std::ptrdiff_t> (position + length));
        uint32_t sizeWord = 0;
        size_t sizeAt = position;
        getWord (bytes, sizeAt, sizeWord);
        position += length;
        if (sizeWord != (sizeField == ChunkSizeField::data ? length - chunkHeaderSize : length))
            return std::nullopt;
        chunks.push_back (std::move (chunk));
    }
    if (position != bytes.size())
        return std::nullopt;
    return chunks;
}
} // namespace kestrune::tool
