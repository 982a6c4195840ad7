// Hostile input for the chunk reader: random bytes, and valid chunks with random damage, with
// random declared sizes. A fixed seed keeps runs repeatable; the sanitized build catches any
// read outside the record.
#include "AAX_CChunkDataParser.h"
#include "ChunkTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace
{
using aax_test::ChunkBuffer;

// One input: the data bytes with a declared size. Checks what must hold for any input.
void FuzzChunkReaderOnce (const std::vector<uint8_t>& data, int32_t size)
{
    // The record holds exactly the data; a declared size beyond it is lowered, as the host's
    // record always holds the size it declares.
    const int32_t declared = std::min<int32_t> (size, int32_t (data.size()));
    ChunkBuffer chunk = ChunkBuffer::WithData (data, declared);
    AAX_CChunkDataParser parser;
    parser.ReadChunk (chunk.Header());
    for (const auto& entry : parser.Entries())
        ASSERT_LE (int64_t (entry.fDataName.Length()) + 3, std::max<int64_t> (declared, 0));
    // What was read writes back within the size it reports.
    ChunkBuffer rewritten (size_t (parser.GetChunkDataSize()));
    ASSERT_EQ (parser.WriteChunk (rewritten.Header()), AAX_SUCCESS);
    AAX_CChunkDataParser again;
    again.ReadChunk (rewritten.Header());
    ASSERT_EQ (again.GetChunkDataSize(), parser.GetChunkDataSize());
}

std::vector<uint8_t> ValidChunk()
{
    AAX_CChunkDataParser parser;
    for (int i = 0; i < 10; ++i)
        parser.AddDouble (std::to_string (i).c_str(), i / 10.0);
    parser.AddInt32 ("MasterBypassID", 1);
    parser.AddString ("text", AAX_CString ("Complete Controls State"));
    ChunkBuffer chunk (size_t (parser.GetChunkDataSize()));
    parser.WriteChunk (chunk.Header());
    return chunk.Data();
}

TEST (ChunkReaderFuzz, RandomAndDamagedChunksAreReadSafely)
{
    std::mt19937 random (20240501);
    const std::vector<uint8_t> valid = ValidChunk();
    const uint8_t alphabet[] = { 0, 1, 'd', 'f', 'l', 's', 'r', '_', 'x', 0xFF };
    for (int round = 0; round < 4000; ++round)
    {
        std::vector<uint8_t> data;
        if (round % 2 == 0)
        {
            data.resize (random() % 300);
            for (size_t i = 0; i < data.size(); ++i)
                data[i] = i < 4 && round % 4 == 0 ? 1 : alphabet[random() % std::size (alphabet)];
        }
        else
        {
            data = valid;
            for (int damage = int (random() % 6); damage > 0; --damage)
                data[random() % data.size()] = uint8_t (random());
            data.resize (random() % (data.size() + 1));
        }
        const int32_t size = random() % 8 == 0 ? -int32_t (random() % 100) : int32_t (data.size());
        FuzzChunkReaderOnce (data, size);
        if (HasFatalFailure())
            return;
    }
}
} // namespace
