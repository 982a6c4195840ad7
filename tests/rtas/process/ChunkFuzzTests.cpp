// Randomised records for the chunk reader, deterministic by seed: mutated and truncated valid
// chunks and random bytes behind the marker. Each record's memory is exactly its stated size, so
// the sanitized build catches any read past the data. Whatever is read must survive a write and
// a second read unchanged.

#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "ChunkRecords.h"
#include "process/chunks/ChunkDataParser.h"

namespace
{
using Bytes = std::vector<uint8_t>;

Bytes ValidData (std::mt19937& random)
{
    ChunkDataParser parser;
    const int entries = static_cast<int> (random() % 6);
    for (int i = 0; i < entries; ++i)
    {
        std::string name (random() % 12, 'a');
        for (char& c : name)
            c = static_cast<char> ('a' + random() % 26);
        if (random() % 2 == 0)
            parser.AddLong (name, static_cast<int32_t> (random()));
        else
            parser.AddDouble (name, static_cast<double> (static_cast<int32_t> (random())) / 7.0);
    }
    return DataArea (WrittenRecord (parser));
}

Bytes Mutate (Bytes data, std::mt19937& random)
{
    const uint8_t interesting[] = { 0, 1, 'd', 'f', 'l', 's', '_', 0xFF };
    const int edits = static_cast<int> (random() % 4);
    for (int i = 0; i < edits && ! data.empty(); ++i)
    {
        const size_t at = random() % data.size();
        data[at] = random() % 2 == 0 ? static_cast<uint8_t> (random()) : interesting[random() % sizeof interesting];
    }
    if (random() % 3 == 0 && ! data.empty())
        data.resize (random() % data.size());
    return data;
}

Bytes RandomData (std::mt19937& random)
{
    Bytes data { 1, 1, 1, 1 };
    const size_t extra = random() % 64;
    for (size_t i = 0; i < extra; ++i)
        data.push_back (random() % 4 == 0 ? 0 : static_cast<uint8_t> ("dfls_xyz"[random() % 8]));
    return data;
}
}

TEST (ChunkDataParserFuzzTest, RandomRecordsReadSafelyAndRoundTrip)
{
    std::mt19937 random (20240601u);
    size_t entriesSeen = 0;
    for (int iteration = 0; iteration < 20000; ++iteration)
    {
        const uint32_t kind = random() % 3;
        const Bytes data = kind == 0 ? ValidData (random) : kind == 1 ? Mutate (ValidData (random), random)
                                                                      : RandomData (random);
        Bytes record = MakeChunkRecord (data, iteration);
        if (random() % 8 == 0)
        {
            // A total size smaller than the memory: only that much may be read.
            const auto total = static_cast<int32_t> (random() % (record.size() + 1));
            std::memcpy (record.data(), &total, 4);
        }

        ChunkDataParser parser;
        parser.ReadChunk (record.data());
        ASSERT_EQ (parser.Names().size(), parser.Values().size());
        ASSERT_EQ (parser.Names().size(), parser.Types().size());
        entriesSeen += parser.Names().size();

        const Bytes written = WrittenRecord (parser);
        ASSERT_FALSE (written.empty());
        ChunkDataParser again;
        again.ReadChunk (written.data());
        ASSERT_EQ (again.Names(), parser.Names()) << "iteration " << iteration;
        ASSERT_EQ (again.Values(), parser.Values()) << "iteration " << iteration;
        ASSERT_EQ (again.Types(), parser.Types()) << "iteration " << iteration;
    }
    EXPECT_GT (entriesSeen, 10000u) << "the generator stopped producing readable entries";
}
