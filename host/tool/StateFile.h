// The host tool's state file: the chunks a plug-in instance reported, as the host keeps them.
//
// Layout (little-endian): the magic "KSTH", a 32-bit count, then per chunk a 32-bit length and
// that many bytes: the chunk record's 56-byte header followed by its data. The header's first
// word is its size field, which counts the data alone (AAX) or header and data (RTAS).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace kestrune::tool
{
// A chunk record as the host keeps it: header, then data.
using ChunkBytes = std::vector<uint8_t>;

inline constexpr size_t chunkHeaderSize = 56;

enum class ChunkSizeField
{
    data, // the size field counts the data after the header
    headerAndData // the size field counts the whole record
};

std::vector<uint8_t> encodeStateFile (const std::vector<ChunkBytes>& chunks);
// Nothing when the bytes are not a complete, consistent state file whose records' size fields
// count as the format's do.
std::optional<std::vector<ChunkBytes>> decodeStateFile (const std::vector<uint8_t>& bytes, ChunkSizeField sizeField);
} // namespace kestrune::tool
