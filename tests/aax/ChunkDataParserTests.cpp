// The controls chunk's byte format, written and read.
#include "AAX_CChunkDataParser.h"
#include "ChunkTestSupport.h"

#include <gtest/gtest.h>

namespace
{
using aax_test::ChunkBuffer;
using Bytes = std::vector<uint8_t>;

Bytes Write (const AAX_CChunkDataParser& parser)
{
    ChunkBuffer chunk (size_t (parser.GetChunkDataSize()));
    EXPECT_EQ (parser.WriteChunk (chunk.Header()), AAX_SUCCESS);
    EXPECT_EQ (chunk.Header()->fSize, parser.GetChunkDataSize());
    return chunk.Data();
}

TEST (ChunkDataParser, GoldenBytes)
{
    AAX_CChunkDataParser parser;
    EXPECT_EQ (Write (parser), (Bytes { 1, 1, 1, 1 }));

    parser.AddDouble ("0", 0.5);
    EXPECT_EQ (Write (parser), (Bytes { 1, 1, 1, 1, 0x64, 0x5F, 0x30, 0x00, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0 }));

    parser.Reset();
    parser.AddInt32 ("ab", -2);
    parser.AddString ("t", AAX_CString ("abc"));
    parser.AddString ("uv", AAX_CString ("abcd"));
    const Bytes expected = {
        1, 1, 1, 1,
        'l', '_', 'a', 'b', 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFE, // key of 5 bytes padded to 8
        'r', '_', 't', 0, 'a', 'b', 'c', 0, // a text of 3 takes 4 bytes
        'r', '_', 'u', 'v', 0, 0, 0, 0, 'a', 'b', 'c', 'd', 0, 0, 0, 0 // of 4, 8 bytes
    };
    EXPECT_EQ (parser.GetChunkDataSize(), int32_t (expected.size()));
    EXPECT_EQ (Write (parser), expected);
}

TEST (ChunkDataParser, WriteReadWriteGivesTheSameBytes)
{
    AAX_CChunkDataParser parser;
    parser.AddDouble ("0", 0.123456789);
    parser.AddDouble ("MasterBypassID", -1e300);
    parser.AddInt32 ("9", 0x7FFFFFFF);
    parser.AddString ("name", AAX_CString ("Complete Controls State"));
    const Bytes first = Write (parser);

    ChunkBuffer chunk = ChunkBuffer::WithData (first, int32_t (first.size()));
    chunk.Header()->fVersion = 7;
    AAX_CChunkDataParser reader;
    reader.ReadChunk (chunk.Header());
    EXPECT_EQ (reader.GetChunkVersion(), 7);
    EXPECT_EQ (reader.Entries().size(), 4u);
    EXPECT_EQ (Write (reader), first);

    double d = 0;
    int32_t l = 0;
    AAX_CString s;
    EXPECT_TRUE (reader.FindDouble ("0", &d));
    EXPECT_EQ (d, 0.123456789);
    EXPECT_TRUE (reader.FindInt32 ("9", &l));
    EXPECT_EQ (l, 0x7FFFFFFF);
    EXPECT_TRUE (reader.FindString ("name", &s));
    EXPECT_STREQ (s.Get(), "Complete Controls State");
    EXPECT_FALSE (reader.FindInt32 ("0", &l)); // wrong type
    EXPECT_FALSE (reader.FindDouble ("missing", &d));
}

TEST (ChunkDataParser, ReadsOtherPrefixesByTheirFirstCharacter)
{
    const Bytes data = {
        1, 1, 1, 1,
        'f', 'x', 0, 0, 0x3F, 0x80, 0, 0, // "fx": a float named ""
        's', '_', 'g', 0, 0x12, 0x34, 0, 0, // 16-bit in the first half of its slot
        'q', '_', 'z', 0, // unknown prefix: type 0, no value bytes
        'l', '_', 'k', 0, 0, 0, 0, 5
    };
    AAX_CChunkDataParser parser;
    parser.ReadChunk (ChunkBuffer::WithData (data, int32_t (data.size())).Header());
    const auto& entries = parser.Entries();
    ASSERT_EQ (entries.size(), 4u);
    EXPECT_EQ (entries[0].fDataType, AAX_CChunkDataParser::kFloat);
    EXPECT_STREQ (entries[0].fDataName.Get(), "");
    EXPECT_EQ (entries[0].fIntValue, 0x3F800000u);
    EXPECT_EQ (entries[1].fDataType, AAX_CChunkDataParser::kInt16);
    EXPECT_EQ (entries[1].fIntValue, 0x1234u);
    EXPECT_EQ (entries[2].fDataType, AAX_CChunkDataParser::kNone);
    EXPECT_EQ (entries[3].fDataType, AAX_CChunkDataParser::kInt32);
    EXPECT_EQ (entries[3].fIntValue, 5u);
    double d = 0;
    EXPECT_FALSE (parser.FindDouble ("", &d)); // float entries are not doubles
}

TEST (ChunkDataParser, FindIndexStartsAfterTheLastHitAndWraps)
{
    AAX_CChunkDataParser parser;
    parser.AddInt32 ("a", 1);
    parser.AddInt32 ("b", 2);
    parser.AddInt32 ("a", 3);
    EXPECT_EQ (parser.FindIndex ("a"), 0);
    EXPECT_EQ (parser.FindIndex ("a"), 2);
    EXPECT_EQ (parser.FindIndex ("a"), 0); // from the last entry: back to the start
    EXPECT_EQ (parser.FindIndex ("b"), 1);
    EXPECT_EQ (parser.FindIndex ("c"), -1);
    EXPECT_EQ (parser.FindIndex (nullptr), -1);
}

TEST (ChunkDataParser, ShortKeysAreEntriesAndReadingGoesOnAfterThem)
{
    struct Expected
    {
        int32_t type;
        const char* name;
        uint64_t value;
    };
    struct Case
    {
        const char* what;
        Bytes data;
        std::vector<Expected> entries;
    };
    using P = AAX_CChunkDataParser;
    const Case cases[] = {
        { "an empty key between two entries",
          { 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1, 0, 0, 0, 0, 'l', '_', 'b', 0, 0, 0, 0, 2 },
          { { P::kInt32, "a", 1 }, { P::kNone, "", 0 }, { P::kInt32, "b", 2 } } },
        { "a one-character key of a known type takes its value",
          { 1, 1, 1, 1, 'l', 0, 0, 0, 0, 0, 0, 7, 'l', '_', 'b', 0, 0, 0, 0, 2 },
          { { P::kInt32, "", 7 }, { P::kInt32, "b", 2 } } },
        { "a one-character key of no known type takes none",
          { 1, 1, 1, 1, 'x', 0, 0, 0, 'l', '_', 'b', 0, 0, 0, 0, 2 },
          { { P::kNone, "", 0 }, { P::kInt32, "b", 2 } } },
        { "an empty key whose padding runs past the end",
          { 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1, 0 },
          { { P::kInt32, "a", 1 }, { P::kNone, "", 0 } } },
        { "a typed one-character key whose value runs past the end",
          { 1, 1, 1, 1, 'l', '_', 'a', 0, 0, 0, 0, 1, 'd', 0, 0, 0, 0x3F, 0xE0 },
          { { P::kInt32, "a", 1 } } },
    };
    for (const Case& c : cases)
    {
        AAX_CChunkDataParser parser;
        parser.ReadChunk (ChunkBuffer::WithData (c.data, int32_t (c.data.size())).Header());
        const auto& entries = parser.Entries();
        ASSERT_EQ (entries.size(), c.entries.size()) << c.what;
        for (size_t i = 0; i < entries.size(); ++i)
        {
            EXPECT_EQ (entries[i].fDataType, c.entries[i].type) << c.what << ", entry " << i;
            EXPECT_STREQ (entries[i].fDataName.Get(), c.entries[i].name) << c.what << ", entry " << i;
            EXPECT_EQ (entries[i].fIntValue, c.entries[i].value) << c.what << ", entry " << i;
        }
    }
}

TEST (ChunkDataParser, TruncatedAndHostileChunksKeepTheCompleteEntries)
{
    const Bytes valid = {
        1, 1, 1, 1,
        'l', '_', 'a', 0, 0, 0, 0, 1,
        'd', '_', 'b', 0, 0x3F, 0xE0, 0, 0, 0, 0, 0, 0,
        'r', '_', 'c', 0, 'x', 'y', 0, 0
    };
    struct Case
    {
        const char* what;
        Bytes data;
        int32_t size; // declared size
        size_t entries;
    };
    Bytes noTerminatorKey = valid;
    noTerminatorKey.resize (24);
    noTerminatorKey.insert (noTerminatorKey.end(), { 'r', '_', 'c', 'c' });
    Bytes unterminatedText = valid;
    unterminatedText[30] = 'z';
    unterminatedText[31] = 'z';
    Bytes shortKey = valid;
    shortKey[12] = 'd';
    shortKey[13] = 0;
    Bytes longKey = { 1, 1, 1, 1 };
    longKey.insert (longKey.end(), 300, 'l');
    const Case cases[] = {
        { "whole", valid, int32_t (valid.size()), 3 },
        { "negative size", valid, -8, 0 },
        { "below the marker", valid, 3, 0 },
        { "marker only", valid, 4, 0 },
        { "wrong marker", Bytes { 1, 1, 1, 2, 'l', '_', 'a', 0, 0, 0, 0, 1 }, 12, 0 },
        { "value past the end", valid, 10, 0 },
        { "double cut short", valid, 20, 1 },
        { "text cut before its zero", valid, 30, 2 },
        { "key without its zero byte", noTerminatorKey, int32_t (noTerminatorKey.size()), 2 },
        { "text without a terminator", unterminatedText, int32_t (unterminatedText.size()), 2 },
        { "key shorter than two characters", shortKey, int32_t (shortKey.size()), 3 },
        { "key longer than 255 bytes", longKey, int32_t (longKey.size()), 0 },
    };
    for (const Case& c : cases)
    {
        AAX_CChunkDataParser parser;
        parser.AddInt32 ("stale", 1);
        ChunkBuffer chunk = ChunkBuffer::WithData (c.data, c.size);
        parser.ReadChunk (chunk.Header());
        EXPECT_EQ (parser.Entries().size(), c.entries) << c.what;
        int32_t value = 0;
        EXPECT_FALSE (parser.FindInt32 ("stale", &value)) << c.what;
    }
}
} // namespace
