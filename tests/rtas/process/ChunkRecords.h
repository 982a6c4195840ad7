#pragma once
// Builds host chunk records for the chunk parser tests: a 56-byte header with the total size and
// the version word, then the data area. The record's memory is exactly its total size.

#include <cstdint>
#include <cstring>
#include <vector>

#include "process/chunks/ChunkDataParser.h"

inline std::vector<uint8_t> MakeChunkRecord (const std::vector<uint8_t>& data, int32_t version = 7)
{
    std::vector<uint8_t> record (kChunkHeaderSize + data.size(), 0xCC);
    const auto total = static_cast<int32_t> (record.size());
    std::memcpy (record.data(), &total, 4);
    std::memcpy (record.data() + 4, &version, 4);
    std::copy (data.begin(), data.end(), record.begin() + kChunkHeaderSize);
    return record;
}

inline std::vector<uint8_t> WrittenRecord (const ChunkDataParser& parser)
{
    std::vector<uint8_t> record (static_cast<size_t> (parser.GetDataSize() + kChunkHeaderSize), 0xCC);
    const int32_t result = parser.WriteChunk (record.data(), static_cast<int32_t> (record.size()));
    if (result != 0)
        record.clear();
    return record;
}

inline std::vector<uint8_t> DataArea (const std::vector<uint8_t>& record)
{
    return std::vector<uint8_t> (record.begin() + kChunkHeaderSize, record.end());
}
