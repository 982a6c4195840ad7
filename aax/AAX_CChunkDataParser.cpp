#include "AAX_CChunkDataParser.h"

#include <bit>
#include <cstring>

namespace
{
constexpr int64_t kMaxKeyBytes = 255;

int64_t RoundUp4 (int64_t value)
{
    return (value + 3) & ~int64_t (3);
}

const char* PrefixOf (int32_t type)
{
    switch (type)
    {
        case AAX_CChunkDataParser::kFloat: return "f_";
        case AAX_CChunkDataParser::kInt32: return "l_";
        case AAX_CChunkDataParser::kDouble: return "d_";
        case AAX_CChunkDataParser::kInt16: return "s_";
        case AAX_CChunkDataParser::kString: return "r_";
        default: return nullptr;
    }
}

int32_t TypeOfPrefix (char first)
{
    switch (first)
    {
        case 'd': return AAX_CChunkDataParser::kDouble;
        case 'f': return AAX_CChunkDataParser::kFloat;
        case 'l': return AAX_CChunkDataParser::kInt32;
        case 's': return AAX_CChunkDataParser::kInt16;
        case 'r': return AAX_CChunkDataParser::kString;
        default: return AAX_CChunkDataParser::kNone;
    }
}

// Value bytes of the types whose value has a fixed size; 0 for strings and for no type.
int64_t FixedValueSize (int32_t type)
{
    switch (type)
    {
        case AAX_CChunkDataParser::kFloat:
        case AAX_CChunkDataParser::kInt32:
        case AAX_CChunkDataParser::kInt16: return 4;
        case AAX_CChunkDataParser::kDouble: return 8;
        default: return 0;
    }
}

// Value bytes after the key; 0 for an entry of no known type.
int64_t ValueSize (const AAX_CChunkDataParser::DataValue& entry)
{
    if (entry.fDataType == AAX_CChunkDataParser::kString)
        return RoundUp4 (int64_t (entry.fStringValue.Length()) + 1);
    return FixedValueSize (entry.fDataType);
}

int64_t EntrySize (const AAX_CChunkDataParser::DataValue& entry)
{
    if (PrefixOf (entry.fDataType) == nullptr)
        return 0;
    return RoundUp4 (int64_t (entry.fDataName.Length()) + 3) + ValueSize (entry);
}

void PutBigEndian (uint8_t* out, uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out[i] = uint8_t (value >> (8 * (bytes - 1 - i)));
}

uint64_t GetBigEndian (const uint8_t* in, int bytes)
{
    uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value = (value << 8) | in[i];
    return value;
}

// Length of the zero-terminated text at data[position], looking at no more than limit bytes;
// -1 when no zero byte is among them.
int64_t TerminatedLength (const uint8_t* data, int64_t position, int64_t limit)
{
    const void* zero = std::memchr (data + position, 0, size_t (limit));
    return zero != nullptr ? static_cast<const uint8_t*> (zero) - (data + position) : -1;
}
} // namespace

void AAX_CChunkDataParser::Reset()
{
    entries_.clear();
    lastFoundIndex_ = -1;
    version_ = -1;
}

void AAX_CChunkDataParser::AddDouble (const char* name, double value)
{
    entries_.push_back ({ kDouble, AAX_CString (name), std::bit_cast<uint64_t> (value), {} });
}

void AAX_CChunkDataParser::AddInt32 (const char* name, int32_t value)
{
    entries_.push_back ({ kInt32, AAX_CString (name), static_cast<uint32_t> (value), {} });
}

void AAX_CChunkDataParser::AddString (const char* name, const AAX_CString& value)
{
    entries_.push_back ({ kString, AAX_CString (name), 0, value });
}

int32_t AAX_CChunkDataParser::GetChunkDataSize() const
{
    int64_t size = 4;
    for (const DataValue& entry : entries_)
        size += EntrySize (entry);
    return static_cast<int32_t> (size);
}

int32_t AAX_CChunkDataParser::WriteChunk (AAX_SPlugInChunkHeader* chunk) const
{
    if (chunk == nullptr)
        return AAX_ERROR_CHUNK_WRITE;
    const int32_t size = GetChunkDataSize();
    chunk->fSize = size;
    try
    {
        std::vector<uint8_t> data (size_t (size), 0);
        PutBigEndian (data.data(), kMarker, 4);
        size_t position = 4;
        for (const DataValue& entry : entries_)
        {
            const char* prefix = PrefixOf (entry.fDataType);
            if (prefix == nullptr)
                continue;
            std::memcpy (&data[position], prefix, 2);
            std::memcpy (&data[position + 2], entry.fDataName.Get(), entry.fDataName.Length());
            position = size_t (RoundUp4 (int64_t (position) + entry.fDataName.Length() + 3));
            switch (entry.fDataType)
            {
                case kFloat:
                case kInt32: PutBigEndian (&data[position], entry.fIntValue, 4); break;
                case kInt16: PutBigEndian (&data[position], entry.fIntValue, 2); break;
                case kDouble: PutBigEndian (&data[position], entry.fIntValue, 8); break;
                case kString: std::memcpy (&data[position], entry.fStringValue.Get(), entry.fStringValue.Length()); break;
            }
            position += size_t (ValueSize (entry));
        }
        std::memcpy (AAX_ChunkData (chunk), data.data(), data.size());
        return AAX_SUCCESS;
    }
    catch (...)
    {
        return AAX_ERROR_CHUNK_WRITE;
    }
}

void AAX_CChunkDataParser::ReadChunk (const AAX_SPlugInChunkHeader* chunk)
{
    Reset();
    if (chunk == nullptr)
        return;
    version_ = chunk->fVersion;
    const int64_t size = chunk->fSize;
    const uint8_t* data = AAX_ChunkData (chunk);
    if (size < 5 || GetBigEndian (data, 4) != kMarker)
        return;

    int64_t position = 4;
    while (position < size)
    {
        const int64_t keyLength = TerminatedLength (data, position, std::min (kMaxKeyBytes, size - position));
        if (keyLength < 0)
            return; // no zero byte in reach: what follows cannot be told apart into entries
        const int64_t valuePosition = RoundUp4 (position + keyLength + 1);

        // The first character alone gives the type (an empty key's is its zero byte); the name
        // is what follows the two-character prefix.
        DataValue entry;
        entry.fDataType = TypeOfPrefix (char (data[position]));
        if (keyLength > 2)
            entry.fDataName.Set (std::string (reinterpret_cast<const char*> (data + position + 2), size_t (keyLength - 2)).c_str());
        int64_t valueSize = FixedValueSize (entry.fDataType);
        if (entry.fDataType != kNone && valuePosition + valueSize > size)
            return; // the value runs past the end
        switch (entry.fDataType)
        {
            case kDouble: entry.fIntValue = GetBigEndian (data + valuePosition, 8); break;
            case kFloat:
            case kInt32: entry.fIntValue = GetBigEndian (data + valuePosition, 4); break;
            case kInt16: entry.fIntValue = GetBigEndian (data + valuePosition, 2); break;
            case kString:
            {
                if (valuePosition >= size)
                    return;
                const int64_t length = TerminatedLength (data, valuePosition, size - valuePosition);
                if (length < 0)
                    return; // a text without its terminator
                entry.fStringValue.Set (reinterpret_cast<const char*> (data + valuePosition));
                valueSize = RoundUp4 (length + 1);
                break;
            }
        }
        entries_.push_back (std::move (entry));
        position = valuePosition + valueSize;
    }
}

int32_t AAX_CChunkDataParser::FindIndex (const char* name)
{
    if (name == nullptr || entries_.empty())
        return -1;
    const auto count = static_cast<int32_t> (entries_.size());
    const int32_t start = (lastFoundIndex_ < 0 || lastFoundIndex_ >= count - 1) ? 0 : lastFoundIndex_ + 1;
    for (int32_t step = 0; step < count; ++step)
    {
        const int32_t index = (start + step) % count;
        if (std::strcmp (entries_[size_t (index)].fDataName.Get(), name) == 0)
        {
            lastFoundIndex_ = index;
            return index;
        }
    }
    return -1;
}

const AAX_CChunkDataParser::DataValue* AAX_CChunkDataParser::FindTyped (const char* name, int32_t type)
{
    const int32_t index = FindIndex (name);
    if (index < 0 || entries_[size_t (index)].fDataType != type)
        return nullptr;
    return &entries_[size_t (index)];
}

bool AAX_CChunkDataParser::FindDouble (const char* name, double* outValue)
{
    const DataValue* entry = FindTyped (name, kDouble);
    if (entry == nullptr)
        return false;
    *outValue = std::bit_cast<double> (entry->fIntValue);
    return true;
}

bool AAX_CChunkDataParser::FindInt32 (const char* name, int32_t* outValue)
{
    const DataValue* entry = FindTyped (name, kInt32);
    if (entry == nullptr)
        return false;
    *outValue = static_cast<int32_t> (static_cast<uint32_t> (entry->fIntValue));
    return true;
}

bool AAX_CChunkDataParser::FindString (const char* name, AAX_CString* outValue)
{
    const DataValue* entry = FindTyped (name, kString);
    if (entry == nullptr)
        return false;
    outValue->Set (entry->fStringValue);
    return true;
}
