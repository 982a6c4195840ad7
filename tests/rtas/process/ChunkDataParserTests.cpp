#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ChunkRecords.h"
#include "process/chunks/ChunkDataParser.h"

using Bytes = std::vector<uint8_t>;

namespace
{
int32_t TotalSize (const Bytes& record)
{
    int32_t total;
    std::memcpy (&total, record.data(), 4);
    return total;
}

void ExpectSameEntries (const ChunkDataParser& a, const ChunkDataParser& b)
{
    EXPECT_EQ (a.Names(), b.Names());
    EXPECT_EQ (a.Values(), b.Values());
    EXPECT_EQ (a.Types(), b.Types());
}
}

TEST (ChunkDataParserTest, AnEmptyListIsTheMarkerAlone)
{
    ChunkDataParser parser;
    EXPECT_EQ (parser.Cursor(), -1);
    EXPECT_EQ (parser.Version(), -1);
    EXPECT_EQ (parser.GetDataSize(), 4);
    const Bytes record = WrittenRecord (parser);
    ASSERT_EQ (record.size(), 60u);
    EXPECT_EQ (TotalSize (record), 60);
    EXPECT_EQ (DataArea (record), (Bytes { 1, 1, 1, 1 }));

    ChunkDataParser reader;
    reader.AddLong ("stale", 1);
    reader.ReadChunk (record.data());
    EXPECT_TRUE (reader.Names().empty());
    EXPECT_EQ (reader.Version(), static_cast<int32_t> (0xCCCCCCCC));
}

TEST (ChunkDataParserTest, GoldenBytes)
{
    ChunkDataParser parser;
    parser.AddLong ("abcd", -2);
    parser.AddDouble ("gain", 1.0);
    parser.AddLong ("x", 0x01020304);
    parser.AddDouble ("level", -2.5);
    EXPECT_EQ (parser.GetDataSize(), 4 + 12 + 16 + 8 + 16);
    const Bytes record = WrittenRecord (parser);
    EXPECT_EQ (TotalSize (record), 56 + 56);
    EXPECT_EQ (DataArea (record), (Bytes {
                                      0x01, 0x01, 0x01, 0x01,
                                      0x6C, 0x5F, 0x61, 0x62, 0x63, 0x64, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFE,
                                      'd', '_', 'g', 'a', 'i', 'n', 0x00, 0x00, 0x3F, 0xF0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00,
                                      'l', '_', 'x', 0x00, 0x01, 0x02, 0x03, 0x04,
                                      'd', '_', 'l', 'e', 'v', 'e', 'l', 0x00, 0xC0, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00 }));
}

TEST (ChunkDataParserTest, FloatAndShortEntriesSurviveReadAndWrite)
{
    const Bytes data {
        1, 1, 1, 1,
        'f', '_', 'm', 'i', 'x', 0, 0, 0, 0x3F, 0x40, 0x00, 0x00,
        's', '_', 'n', 0, 0xFF, 0xFE, 0x00, 0x00
    };
    ChunkDataParser parser;
    parser.ReadChunk (MakeChunkRecord (data, 3).data());
    EXPECT_EQ (parser.Version(), 3);
    EXPECT_EQ (parser.Names(), (std::vector<std::string> { "mix", "n" }));
    EXPECT_EQ (parser.Types(), (std::vector<int32_t> { 1, 4 }));
    EXPECT_EQ (parser.Values(), (std::vector<int64_t> { 0x3F400000, -2 }));
    EXPECT_EQ (DataArea (WrittenRecord (parser)), data);
}

TEST (ChunkDataParserTest, WriteReadWriteGivesTheSameEntriesAndBytes)
{
    ChunkDataParser parser;
    parser.AddDouble ("attk", 0.125);
    parser.AddLong ("bypa", static_cast<int32_t> (0x80000000u));
    parser.AddDouble ("rels", -1e300);
    parser.AddLong ("", 9);
    parser.AddDouble (std::string (40, 'n'), std::nan (""));
    const Bytes first = WrittenRecord (parser);

    ChunkDataParser reader;
    reader.ReadChunk (first.data());
    ExpectSameEntries (reader, parser);
    EXPECT_EQ (WrittenRecord (reader), first);
    for (int32_t i = 0; i < static_cast<int32_t> (parser.Names().size()); ++i)
        EXPECT_EQ (reader.FindEntry (parser.Names()[static_cast<size_t> (i)]), i);
}

TEST (ChunkDataParserTest, FindWrapsAroundFromTheLastHit)
{
    ChunkDataParser parser;
    for (const char* name : { "a", "b", "c", "b" })
        parser.AddLong (name, 0);
    struct Step
    {
        const char* name;
        int32_t index;
        int32_t cursor;
    };
    const Step steps[] = {
        { "b", 1, 1 },
        { "b", 3, 3 },
        { "b", 1, 1 },
        { "a", 0, 0 },
        { "zz", -1, 0 },
        { "a", 0, 0 },
        { "c", 2, 2 },
        { "a", 0, 0 },
        { "b", 1, 1 },
        { "c", 2, 2 },
        { "c", 2, 2 },
    };
    for (const auto& step : steps)
    {
        SCOPED_TRACE (step.name);
        EXPECT_EQ (parser.FindEntry (step.name), step.index);
        EXPECT_EQ (parser.Cursor(), step.cursor);
    }
    ChunkDataParser empty;
    EXPECT_EQ (empty.FindEntry ("a"), -1);
}

TEST (ChunkDataParserTest, TypedLookupsRefuseTheOtherType)
{
    ChunkDataParser parser;
    parser.AddLong ("gain", 17);
    parser.AddDouble ("freq", 440.0);
    double d = 0.0;
    int32_t l = 0;
    EXPECT_TRUE (parser.GetLong ("gain", &l));
    EXPECT_EQ (l, 17);
    EXPECT_TRUE (parser.GetDouble ("freq", &d));
    EXPECT_EQ (d, 440.0);
    d = 5.0;
    l = 5;
    EXPECT_FALSE (parser.GetDouble ("gain", &d));
    EXPECT_FALSE (parser.GetLong ("freq", &l));
    EXPECT_FALSE (parser.GetLong ("none", &l));
    EXPECT_EQ (d, 5.0);
    EXPECT_EQ (l, 5);
}

TEST (ChunkDataParserTest, TruncatedAndCorruptChunks)
{
    const Bytes good {
        1, 1, 1, 1,
        'l', '_', 'a', 'b', 'c', 'd', 0, 0, 0xFF, 0xFF, 0xFF, 0xFE,
        'd', '_', 'g', 'a', 'i', 'n', 0, 0, 0x3F, 0xF0, 0, 0, 0, 0, 0, 0
    };
    const auto cut = [&] (size_t length) { return Bytes (good.begin(), good.begin() + static_cast<long> (length)); };
    Bytes wrongMarker = good;
    wrongMarker[2] = 0;
    Bytes unknownPrefix {
        1, 1, 1, 1,
        'x', '_', 'q', 0,
        'l', '_', 'a', 'b', 'c', 'd', 0, 0, 0, 0, 0, 5
    };
    Bytes longName { 1, 1, 1, 1, 'l', '_' };
    longName.insert (longName.end(), 300, 'n');
    longName.insert (longName.end(), { 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x2A });
    longName.resize (4 + ((2 + 300 + 1 + 3) & ~size_t (3)));
    longName.insert (longName.end(), { 0, 0, 0, 0x2A });

    struct Case
    {
        const char* what;
        Bytes data;
        size_t entries;
        bool versionTaken;
    };
    const Case cases[] = {
        { "no data", {}, 0, true },
        { "marker only", cut (4), 0, true },
        { "three bytes", cut (3), 0, true },
        { "wrong marker", wrongMarker, 0, true },
        { "complete", good, 2, true },
        { "second value cut", cut (good.size() - 1), 1, true },
        { "second name without its end", cut (20), 1, true },
        { "second name ends at the data end", cut (23), 1, true },
        { "first value cut", cut (15), 0, true },
        { "padding runs past the end", cut (11), 0, true },
        { "unknown prefix skipped", unknownPrefix, 1, true },
        { "long name cut, its value still found", longName, 1, true },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        ChunkDataParser parser;
        parser.ReadChunk (MakeChunkRecord (c.data, 11).data());
        EXPECT_EQ (parser.Names().size(), c.entries);
        EXPECT_EQ (parser.Values().size(), c.entries);
        EXPECT_EQ (parser.Types().size(), c.entries);
        EXPECT_EQ (parser.Version(), c.versionTaken ? 11 : -1);
        if (c.entries > 0)
        {
            EXPECT_EQ (parser.Types()[0], 2);
        }
    }

    ChunkDataParser parser;
    parser.ReadChunk (MakeChunkRecord (longName).data());
    ASSERT_EQ (parser.Names().size(), 1u);
    EXPECT_EQ (parser.Names()[0], std::string (253, 'n'));
    EXPECT_EQ (parser.Values()[0], 0x2A);
}

TEST (ChunkDataParserTest, RecordsSmallerThanTheirHeaderHaveNoEntriesButKeepTheirVersionWhenTheyHoldIt)
{
    const std::pair<int32_t, int32_t> cases[] = { { -100, -1 }, { 0, -1 }, { 7, -1 }, { 8, 7 }, { 55, 7 }, { 56, 7 } };
    for (const auto& [total, version] : cases)
    {
        SCOPED_TRACE (total);
        Bytes record = MakeChunkRecord ({ 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1 });
        std::memcpy (record.data(), &total, 4);
        ChunkDataParser parser;
        parser.AddLong ("stale", 1);
        parser.ReadChunk (record.data());
        EXPECT_TRUE (parser.Names().empty());
        EXPECT_EQ (parser.Version(), version);
    }
}

TEST (ChunkDataParserTest, WritingStaysInsideTheCapacityItIsGiven)
{
    ChunkDataParser parser;
    parser.AddLong ("abcd", -2);
    const int32_t total = parser.GetDataSize() + kChunkHeaderSize;
    ASSERT_EQ (total, 72);
    struct Case
    {
        int32_t capacity;
        int32_t result;
        bool sizeStored;
    };
    const Case cases[] = { { 0, -333, false }, { 3, -333, false }, { 4, -333, true }, { 71, -333, true }, { 72, 0, true } };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.capacity);
        // Exactly the capacity on the heap, so that a write past it is caught.
        std::vector<uint8_t> record (static_cast<size_t> (std::max (c.capacity, 1)), 0xCC);
        EXPECT_EQ (parser.WriteChunk (record.data(), c.capacity), c.result);
        int32_t stored = 0;
        if (c.capacity >= 4)
            std::memcpy (&stored, record.data(), 4);
        EXPECT_EQ (stored, c.sizeStored ? total : 0);
        if (c.result != 0 && c.capacity > 4)
        {
            EXPECT_EQ (std::count (record.begin() + 4, record.end(), 0xCC), c.capacity - 4) << "no data written";
        }
    }
}

TEST (ChunkDataParserTest, ClearForgetsEverything)
{
    ChunkDataParser parser;
    parser.ReadChunk (MakeChunkRecord ({ 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1 }, 4).data());
    EXPECT_EQ (parser.FindEntry ("a"), 0);
    parser.Clear();
    EXPECT_EQ (parser.Cursor(), -1);
    EXPECT_EQ (parser.Version(), -1);
    EXPECT_TRUE (parser.Names().empty());
    EXPECT_EQ (parser.GetDataSize(), 4);
}
