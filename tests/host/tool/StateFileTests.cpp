// The host tool's state file: its byte layout, and what a damaged file reads as.
#include "StateFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace
{
using namespace kestrune::tool;

// A chunk record: the size field (data alone, or header and data), the identifier at byte 20,
// the data after the 56-byte header.
ChunkBytes Record (uint32_t id, std::vector<uint8_t> data, ChunkSizeField sizeField = ChunkSizeField::data)
{
    ChunkBytes record (chunkHeaderSize, 0);
    const auto size = uint32_t (data.size() + (sizeField == ChunkSizeField::data ? 0 : chunkHeaderSize));
    for (int i = 0; i < 4; ++i)
    {
        record[size_t (i)] = uint8_t (size >> (8 * i));
        record[size_t (20 + i)] = uint8_t (id >> (8 * i));
    }
    record.insert (record.end(), data.begin(), data.end());
    return record;
}

TEST (StateFile, LayoutIsPinned)
{
    const auto bytes = encodeStateFile ({ Record (0x656C636B, { 1, 2, 3 }) });
    ASSERT_EQ (bytes.size(), 4u + 4u + 4u + 56u + 3u);
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin(), bytes.begin() + 12), (std::vector<uint8_t> { 'K', 'S', 'T', 'H', 1, 0, 0, 0, 59, 0, 0, 0 }));
    // The record: size 3, chunk identifier 'elck' at byte 20, the data after 56 bytes.
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin() + 12, bytes.begin() + 16), (std::vector<uint8_t> { 3, 0, 0, 0 }));
    EXPECT_EQ (std::vector<uint8_t> (bytes.begin() + 32, bytes.begin() + 36), (std::vector<uint8_t> { 0x6B, 0x63, 0x6C, 0x65 }));
    EXPECT_EQ (std::vector<uint8_t> (bytes.end() - 3, bytes.end()), (std::vector<uint8_t> { 1, 2, 3 }));

    const auto decoded = decodeStateFile (bytes, ChunkSizeField::data);
    ASSERT_TRUE (decoded.has_value());
    ASSERT_EQ (decoded->size(), 1u);
    EXPECT_EQ ((*decoded)[0], Record (0x656C636B, { 1, 2, 3 }));
    EXPECT_EQ (encodeStateFile (*decoded), bytes);
}

// A format whose size field counts the header too: the same layout, checked by its own rule.
TEST (StateFile, SizeFieldsCountAsTheFormatsDo)
{
    const auto whole = encodeStateFile ({ Record (1, { 1, 2, 3 }, ChunkSizeField::headerAndData), Record (2, {}, ChunkSizeField::headerAndData) });
    EXPECT_EQ (std::vector<uint8_t> (whole.begin() + 12, whole.begin() + 16), (std::vector<uint8_t> { 59, 0, 0, 0 }));
    const auto decoded = decodeStateFile (whole, ChunkSizeField::headerAndData);
    ASSERT_TRUE (decoded.has_value());
    EXPECT_EQ (encodeStateFile (*decoded), whole);
    EXPECT_FALSE (decodeStateFile (whole, ChunkSizeField::data).has_value());
    EXPECT_FALSE (decodeStateFile (encodeStateFile ({ Record (1, { 1, 2, 3 }) }), ChunkSizeField::headerAndData).has_value());
}

TEST (StateFile, RejectsDamagedFiles)
{
    const auto good = encodeStateFile ({ Record (1, { 9, 9 }), Record (2, {}) });
    auto wrongMagic = good;
    wrongMagic[0] = 'X';
    auto extra = good;
    extra.push_back (0);
    auto wrongSize = good;
    wrongSize[12] = 5; // the first record's size field no longer matches its length
    auto hugeCount = good;
    hugeCount[7] = 0x7F;
    for (const auto& bytes : { std::vector<uint8_t> {}, std::vector<uint8_t> (good.begin(), good.end() - 1), wrongMagic, extra, wrongSize, hugeCount })
        EXPECT_FALSE (decodeStateFile (bytes, ChunkSizeField::data).has_value());
}

TEST (StateFile, RandomBytesNeverReadOutOfBounds)
{
    std::mt19937 random (3);
    for (const auto sizeField : { ChunkSizeField::data, ChunkSizeField::headerAndData })
    {
        const auto good = encodeStateFile ({ Record (1, { 1, 2, 3, 4, 5 }, sizeField), Record (2, { 6 }, sizeField) });
        for (int round = 0; round < 3000; ++round)
        {
            auto bytes = good;
            const int flips = 1 + int (random() % 4);
            for (int i = 0; i < flips; ++i)
                bytes[random() % bytes.size()] = uint8_t (random());
            bytes.resize (random() % (bytes.size() + 8), uint8_t (random()));
            if (const auto decoded = decodeStateFile (bytes, sizeField))
            {
                EXPECT_EQ (encodeStateFile (*decoded), bytes);
            }
        }
    }
}
} // namespace
