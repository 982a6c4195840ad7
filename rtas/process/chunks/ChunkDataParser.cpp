#include "process/chunks/ChunkDataParser.h"

#include <algorithm>
#include <cstring>

#include "process/base/CDAEError.h"

namespace
{
constexpr uint8_t kMarker[4] = { 1, 1, 1, 1 };
constexpr size_t kMaxReadName = 255;

int64_t RoundUpTo4 (int64_t n)
{
    return (n + 3) & ~int64_t (3);
}

int32_t ValueSize (int32_t type)
{
    return type == kChunkValueDouble ? 8 : 4;
}

char TypePrefix (int32_t type)
{
    switch (type)
    {
        case kChunkValueFloat: return 'f';
        case kChunkValueLong: return 'l';
        case kChunkValueDouble: return 'd';
        case kChunkValueShort: return 's';
        default: throw CDAEError (RTASError::kUnexpected);
    }
}

void WriteBigEndian (uint8_t* at, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<uint8_t> (value >> (8 * (bytes - 1 - i)));
}

uint64_t ReadBigEndian (const uint8_t* at, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | at[i];
    return value;
}

int32_t ReadHeaderWord (const void* record, int32_t offset)
{
    int32_t word;
    std::memcpy (&word, static_cast<const uint8_t*> (record) + offset, sizeof word);
    return word;
}
}

void ChunkDataParser::Clear()
{
    fCursor = -1;
    fVersion = -1;
    fNames.clear();
    fValues.clear();
    fTypes.clear();
}

void ChunkDataParser::Append (const std::string& name, int64_t cell, int32_t type)
{
    fNames.push_back (name);
    fValues.push_back (cell);
    fTypes.push_back (type);
}

void ChunkDataParser::AddLong (const std::string& name, int32_t value)
{
    Append (name, value, kChunkValueLong);
}

void ChunkDataParser::AddDouble (const std::string& name, double value)
{
    int64_t cell;
    std::memcpy (&cell, &value, sizeof cell);
    Append (name, cell, kChunkValueDouble);
}

int32_t ChunkDataParser::GetDataSize() const
{
    int64_t size = sizeof kMarker;
    for (size_t i = 0; i < fNames.size(); ++i)
        size += RoundUpTo4 (static_cast<int64_t> (fNames[i].size()) + 3) + ValueSize (fTypes[i]);
    return static_cast<int32_t> (size);
}

int32_t ChunkDataParser::WriteChunk (void* chunkRecord, int32_t capacity) const
{
    auto* record = static_cast<uint8_t*> (chunkRecord);
    const int32_t dataSize = GetDataSize();
    const int32_t totalSize = dataSize + kChunkHeaderSize;
    if (record == nullptr || capacity < kChunkSizeOffset + static_cast<int32_t> (sizeof totalSize))
        return RTASError::kChunkWriteFailed;
    std::memcpy (record + kChunkSizeOffset, &totalSize, sizeof totalSize);
    if (capacity < totalSize)
        return RTASError::kChunkWriteFailed;
    try
    {
        uint8_t* data = record + kChunkHeaderSize;
        std::memset (data, 0, static_cast<size_t> (dataSize));
        std::memcpy (data, kMarker, sizeof kMarker);
        size_t offset = sizeof kMarker;
        for (size_t i = 0; i < fNames.size(); ++i)
        {
            const std::string& name = fNames[i];
            data[offset] = static_cast<uint8_t> (TypePrefix (fTypes[i]));
            data[offset + 1] = '_';
            std::memcpy (data + offset + 2, name.data(), name.size());
            offset += static_cast<size_t> (RoundUpTo4 (static_cast<int64_t> (name.size()) + 3));
            const auto bits = static_cast<uint64_t> (fValues[i]);
            switch (fTypes[i])
            {
                case kChunkValueDouble: WriteBigEndian (data + offset, bits, 8); break;
                case kChunkValueShort: WriteBigEndian (data + offset, bits & 0xffff, 2); break;
                default: WriteBigEndian (data + offset, bits & 0xffffffffu, 4); break;
            }
            offset += static_cast<size_t> (ValueSize (fTypes[i]));
        }
    }
    catch (...)
    {
        return RTASError::kChunkWriteFailed;
    }
    return 0;
}

void ChunkDataParser::ReadChunk (const void* chunkRecord)
{
    Clear();
    const int32_t totalSize = ReadHeaderWord (chunkRecord, kChunkSizeOffset);
    if (totalSize >= kChunkVersionOffset + static_cast<int32_t> (sizeof fVersion))
        fVersion = ReadHeaderWord (chunkRecord, kChunkVersionOffset);
    if (totalSize < kChunkHeaderSize)
        return;

    const size_t length = static_cast<size_t> (totalSize - kChunkHeaderSize);
    const uint8_t* data = static_cast<const uint8_t*> (chunkRecord) + kChunkHeaderSize;
    if (length <= sizeof kMarker || std::memcmp (data, kMarker, sizeof kMarker) != 0)
        return;

    size_t offset = sizeof kMarker;
    while (offset < length)
    {
        // The prefixed name must end inside the data; names longer than 255 characters are cut.
        const auto* text = reinterpret_cast<const char*> (data + offset);
        const size_t textLength = strnlen (text, length - offset);
        if (textLength == length - offset)
            return;
        const std::string prefixed (text, std::min (textLength, kMaxReadName));
        const size_t valueOffset = static_cast<size_t> (RoundUpTo4 (static_cast<int64_t> (offset + textLength + 1)));

        int32_t type = 0;
        switch (prefixed.empty() ? '\0' : prefixed[0])
        {
            case 'd': type = kChunkValueDouble; break;
            case 'f': type = kChunkValueFloat; break;
            case 'l': type = kChunkValueLong; break;
            case 's': type = kChunkValueShort; break;
            default:
                // An unknown prefix carries no usable value: skip past its name only.
                offset = valueOffset;
                continue;
        }
        const size_t valueSize = static_cast<size_t> (ValueSize (type));
        if (valueOffset > length || length - valueOffset < valueSize)
            return;

        int64_t cell;
        if (type == kChunkValueDouble)
            cell = static_cast<int64_t> (ReadBigEndian (data + valueOffset, 8));
        else if (type == kChunkValueShort)
            cell = static_cast<int16_t> (ReadBigEndian (data + valueOffset, 2));
        else
            cell = static_cast<int32_t> (ReadBigEndian (data + valueOffset, 4));
        Append (prefixed.size() > 2 ? prefixed.substr (2) : std::string(), cell, type);
        offset = valueOffset + valueSize;
    }
}

int32_t ChunkDataParser::FindEntry (const std::string& name)
{
    const auto count = static_cast<int32_t> (fNames.size());
    if (count == 0)
        return -1;
    const int32_t start = (fCursor < 0 || fCursor >= count - 1) ? 0 : fCursor + 1;
    for (int32_t i = 0; i < count; ++i)
    {
        const int32_t index = (start + i) % count;
        if (fNames[static_cast<size_t> (index)] == name)
        {
            fCursor = index;
            return index;
        }
    }
    return -1;
}

bool ChunkDataParser::GetDouble (const std::string& name, double* value)
{
    const int32_t index = FindEntry (name);
    if (index < 0 || fTypes[static_cast<size_t> (index)] != kChunkValueDouble)
        return false;
    std::memcpy (value, &fValues[static_cast<size_t> (index)], sizeof *value);
    return true;
}

bool ChunkDataParser::GetLong (const std::string& name, int32_t* value)
{
    const int32_t index = FindEntry (name);
    if (index < 0 || fTypes[static_cast<size_t> (index)] != kChunkValueLong)
        return false;
    *value = static_cast<int32_t> (fValues[static_cast<size_t> (index)]);
    return true;
}
