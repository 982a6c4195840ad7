// A chunk record in a byte buffer: header plus data.
#pragma once

#include "ACFInterfaces.h"

#include <cstring>
#include <vector>

namespace aax_test
{
class ChunkBuffer
{
public:
    explicit ChunkBuffer (size_t dataCapacity) : bytes_ (sizeof (AAX_SPlugInChunkHeader) + dataCapacity, 0) {}
    // A record whose declared size is size and whose data are the given bytes.
    static ChunkBuffer WithData (const std::vector<uint8_t>& data, int32_t size)
    {
        ChunkBuffer chunk (data.size());
        if (! data.empty())
            std::memcpy (AAX_ChunkData (chunk.Header()), data.data(), data.size());
        chunk.Header()->fSize = size;
        return chunk;
    }

    AAX_SPlugInChunkHeader* Header() { return reinterpret_cast<AAX_SPlugInChunkHeader*> (bytes_.data()); }
    std::vector<uint8_t> Data() const
    {
        const auto* header = reinterpret_cast<const AAX_SPlugInChunkHeader*> (bytes_.data());
        const uint8_t* data = AAX_ChunkData (header);
        return std::vector<uint8_t> (data, data + header->fSize);
    }

private:
    std::vector<uint8_t> bytes_;
};
} // namespace aax_test
