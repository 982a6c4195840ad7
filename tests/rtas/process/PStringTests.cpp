#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeToolbox.h"
#include "ThrownCode.h"
#include "process/base/CDAEError.h"
#include "process/utilities/PStrings.h"

namespace
{
// A 256-byte length-prefixed buffer built from text (at most 255 characters of it).
std::vector<uint8_t> P (const std::string& text)
{
    std::vector<uint8_t> buffer (256, 0xEE);
    buffer[0] = static_cast<uint8_t> (text.size());
    std::copy (text.begin(), text.end(), buffer.begin() + 1);
    return buffer;
}

std::string Text (const uint8_t* p)
{
    return std::string (reinterpret_cast<const char*> (p + 1), p[0]);
}
}

TEST (PStringTest, CopiesKeepAtMostTheirLimit)
{
    struct Case
    {
        int sourceLength;
        void (*copy) (const uint8_t*, uint8_t*);
        int copied;
    };
    const Case cases[] = {
        { 0, PStrCopy, 0 },
        { 255, PStrCopy, 255 },
        { 63, PStrCopy63, 63 },
        { 64, PStrCopy63, 63 },
        { 200, PStrCopy63, 63 },
        { 31, PStrCopy31, 31 },
        { 32, PStrCopy31, 31 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.sourceLength);
        const std::string source (static_cast<size_t> (c.sourceLength), 'q');
        std::vector<uint8_t> destination (257, 0xAA);
        c.copy (P (source).data(), destination.data());
        EXPECT_EQ (Text (destination.data()), source.substr (0, static_cast<size_t> (c.copied)));
        EXPECT_EQ (destination[static_cast<size_t> (c.copied) + 1], 0xAA) << "wrote past the copied characters";
    }
}

TEST (PStringTest, AppendStopsAtTheLimitAndReturnsTheEnd)
{
    struct Case
    {
        int destination;
        int source;
        int16_t limit;
        int appended;
    };
    const Case cases[] = {
        { 250, 10, 255, 5 },
        { 0, 10, 255, 10 },
        { 245, 10, 255, 10 },
        { 255, 1, 255, 0 },
        { 20, 5, 10, 0 },
        { 8, 5, 10, 2 },
        { 3, 4, 0, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.destination << " + " << c.source << " limit " << c.limit);
        auto destination = P (std::string (static_cast<size_t> (c.destination), 'd'));
        const auto source = P (std::string (static_cast<size_t> (c.source), 's'));
        const uint8_t* end = PStrAppend (c.limit, source.data(), destination.data());
        const int expected = c.destination + c.appended;
        EXPECT_EQ (destination[0], expected);
        EXPECT_EQ (end, destination.data() + 1 + expected);
        EXPECT_EQ (Text (destination.data()), std::string (static_cast<size_t> (c.destination), 'd') + std::string (static_cast<size_t> (c.appended), 's'));
    }
}

TEST (PStringTest, EqualityComparesLengthAndCharacters)
{
    const auto abc = P ("abc"), abc2 = P ("abc"), abd = P ("abd"), ab = P ("ab"), empty = P ("");
    EXPECT_TRUE (PStrEqual (nullptr, nullptr));
    EXPECT_FALSE (PStrEqual (abc.data(), nullptr));
    EXPECT_FALSE (PStrEqual (nullptr, abc.data()));
    EXPECT_TRUE (PStrEqual (abc.data(), abc2.data()));
    EXPECT_FALSE (PStrEqual (abc.data(), abd.data()));
    EXPECT_FALSE (PStrEqual (abc.data(), ab.data()));
    EXPECT_TRUE (PStrEqual (empty.data(), P ("").data()));
}

TEST (PStringTest, PadAndAppendFillsTheWidthWithZeros)
{
    FakeToolbox toolbox;
    struct Case
    {
        int32_t number;
        int16_t width;
        const char* start;
        const char* result;
    };
    const Case cases[] = {
        { 7, 3, "", "007" },
        { 7, 0, "", "7" },
        { 7, -4, "", "7" },
        { 1234, 3, "", "1234" },
        { -5, 4, "x", "x00-5" },
        { 0, 1, "ab", "ab0" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.result);
        auto destination = P (c.start);
        PStrPadAndAppend (c.number, destination.data(), c.width);
        EXPECT_EQ (Text (destination.data()), c.result);
    }
    auto full = P (std::string (254, 'f'));
    PStrPadAndAppend (42, full.data(), 5);
    EXPECT_EQ (full[0], 255);
}

TEST (PStringTest, FixedPointTextTruncatesTheFraction)
{
    FakeToolbox toolbox;
    struct Case
    {
        double value;
        int16_t digits;
        const char* text;
    };
    const Case cases[] = {
        { 1.5, 3, "1.500" },
        { -2.25, 3, "-2.250" },
        { 0.0625, 3, "0.062" },
        { 12.999, 2, "12.99" },
        { 3.75, 1, "3.7" },
        { -0.5, 4, "-0.5000" },
        { 0.0, 3, "0.000" },
        { 1e12, 3, "2147483647.000" },
        { 2.5, 30, "2.500000000" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.text);
        auto destination = P ("");
        if (c.digits == 3)
            PStrAppendFixed (c.value, destination.data());
        else
            PStrAppendFixed (c.value, destination.data(), c.digits);
        EXPECT_EQ (Text (destination.data()), c.text);
    }
}

TEST (PStringTest, LongTextIsCutTo255Characters)
{
    for (size_t length : { size_t (0), size_t (1), size_t (255), size_t (256), size_t (1000) })
    {
        SCOPED_TRACE (length);
        const std::string text (length, 'z');
        std::vector<uint8_t> destination (257, 0xAA);
        CopyCToPStr (text.c_str(), destination.data());
        EXPECT_EQ (Text (destination.data()), text.substr (0, 255));
        EXPECT_EQ (destination[256], 0xAA);
    }
}

TEST (PStringTest, FixedNamesCopyAll32BytesOfTheBlock)
{
    FakeToolbox toolbox;
    uint8_t data[kFixedNameSize];
    for (int i = 0; i < kFixedNameSize; ++i)
        data[i] = static_cast<uint8_t> (i + 1);
    const Handle block = toolbox.Block (data, kFixedNameSize);

    uint8_t name[kFixedNameSize + 1] = {};
    name[kFixedNameSize] = 0xAA;
    CopyFixedNameFromBlock (block, name);
    EXPECT_EQ (std::memcmp (name, data, kFixedNameSize), 0);
    EXPECT_EQ (name[kFixedNameSize], 0xAA);

    uint8_t replacement[kFixedNameSize];
    std::fill (std::begin (replacement), std::end (replacement), uint8_t (0x5A));
    CopyFixedNameToBlock (replacement, block);
    EXPECT_EQ (std::memcmp (data, replacement, kFixedNameSize), 0);

    EXPECT_EQ (ThrownCode ([&] { CopyFixedNameFromBlock (toolbox.Block (nullptr, 0), name); }), -7053);
    EXPECT_EQ (ThrownCode ([&] { CopyFixedNameFromBlock (nullptr, name); }), -7053);
}

TEST (PStringTest, FixedNamesRefuseABlockShorterThanAName)
{
    FakeToolbox toolbox;
    // The block's bytes sit at the end of the heap allocation, so a copy past them is caught.
    const auto bytes = std::make_unique<uint8_t[]> (kFixedNameSize - 1);
    std::fill (bytes.get(), bytes.get() + kFixedNameSize - 1, uint8_t (0x11));
    const Handle shortBlock = toolbox.Block (bytes.get(), kFixedNameSize - 1);

    uint8_t name[kFixedNameSize];
    std::fill (std::begin (name), std::end (name), uint8_t (0xAA));
    EXPECT_EQ (ThrownCode ([&] { CopyFixedNameFromBlock (shortBlock, name); }), -7400);
    EXPECT_EQ (name[0], 0xAA) << "nothing copied";
    EXPECT_EQ (ThrownCode ([&] { CopyFixedNameToBlock (name, shortBlock); }), -7400);
    EXPECT_EQ (bytes[0], 0x11) << "nothing written";
}
