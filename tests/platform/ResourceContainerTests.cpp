// The resource container's stored layout, its round trip, and its reader on damaged input.

#include <win/ResourceContainer.h>

#include <gtest/gtest.h>

#include <random>

namespace
{

using namespace kestrune::win;

std::vector<ResourceEntry> sampleEntries()
{
    return { { "STR#", 128, "ab", { 1, 2 } }, { "#16", 1, "", {} } };
}

TEST (ResourceContainer, TheStoredLayoutIsPinned)
{
    const std::vector<uint8_t> expected = {
        'K', 'R', 'S', 'R', 0x01, 0x00, 0x02, 0x00, 0x2B, 0x00, 0x00, 0x00,
        0x04, 'S', 'T', 'R', '#', 0x80, 0x00, 0x00, 0x00, 0x02, 'a', 'b', 0x02, 0x00, 0x00, 0x00, 0x01, 0x02,
        0x03, '#', '1', '6', 0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00
    };
    EXPECT_EQ (writeResourceContainer (sampleEntries()), expected);
}

TEST (ResourceContainer, WhatIsWrittenReadsBack)
{
    std::vector<ResourceEntry> entries = sampleEntries();
    entries.push_back ({ "DSPCODE", -7, std::string (255, 'n'), std::vector<uint8_t> (70000, 0x5A) });
    const auto bytes = writeResourceContainer (entries);
    const auto container = ResourceContainerView::parse (bytes);
    ASSERT_TRUE (container);
    ASSERT_EQ (container->entries().size(), entries.size());
    for (size_t i = 0; i < entries.size(); ++i)
    {
        const auto& view = container->entries()[i];
        EXPECT_EQ (view.type, entries[i].type);
        EXPECT_EQ (view.id, entries[i].id);
        EXPECT_EQ (view.name, entries[i].name);
        EXPECT_EQ (std::vector<uint8_t> (view.data.begin(), view.data.end()), entries[i].data);
    }
}

TEST (ResourceContainer, EntriesThatCannotBeStoredAreRefused)
{
    EXPECT_THROW (writeResourceContainer ({ { "", 1, "", {} } }), std::invalid_argument);
    EXPECT_THROW (writeResourceContainer ({ { std::string (256, 't'), 1, "", {} } }), std::invalid_argument);
    EXPECT_THROW (writeResourceContainer ({ { "TEXT", 1, std::string (256, 'n'), {} } }), std::invalid_argument);
}

TEST (ResourceContainer, DamagedHeadersAreRefused)
{
    const auto good = writeResourceContainer (sampleEntries());
    struct Damage
    {
        size_t offset;
        uint8_t value;
    };
    const Damage damages[] = { { 0, 'X' }, { 4, 2 }, { 6, 3 }, { 6, 1 }, { 8, 0x2A }, { 8, 0x2C }, { 8, 0x05 }, { 12, 0 }, { 12, 0x40 } };
    for (const auto& [offset, value] : damages)
    {
        auto bytes = good;
        bytes[offset] = value;
        EXPECT_FALSE (ResourceContainerView::parse (bytes)) << "offset " << offset;
    }
    for (size_t length = 0; length < good.size(); ++length)
        EXPECT_FALSE (ResourceContainerView::parse (std::span (good.data(), length))) << "cut at " << length;
    auto longer = good;
    longer.push_back (0);
    EXPECT_TRUE (ResourceContainerView::parse (longer)) << "bytes after the declared size are not the container's";
}

// Randomly damaged containers never make the reader step outside the bytes it was given.
TEST (ResourceContainer, RandomDamageIsReadSafely)
{
    std::mt19937 random (20261210);
    std::vector<ResourceEntry> entries = sampleEntries();
    entries.push_back ({ "thng", 128, "x", std::vector<uint8_t> (44, 7) });
    const auto good = writeResourceContainer (entries);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round)
    {
        auto bytes = good;
        const int changes = 1 + int (random() % 4);
        for (int c = 0; c < changes; ++c)
            bytes[random() % bytes.size()] = uint8_t (random());
        bytes.resize (random() % 2 == 0 ? bytes.size() : random() % (bytes.size() + 1));
        const auto container = ResourceContainerView::parse (bytes);
        if (! container)
            continue;
        ++accepted;
        for (const auto& entry : container->entries())
        {
            EXPECT_GE (entry.data.data(), bytes.data());
            EXPECT_LE (entry.data.data() + entry.data.size(), bytes.data() + bytes.size());
            EXPECT_GE (reinterpret_cast<const uint8_t*> (entry.name.data()), bytes.data());
            EXPECT_LE (reinterpret_cast<const uint8_t*> (entry.name.data()) + entry.name.size(), bytes.data() + bytes.size());
        }
    }
    EXPECT_GT (accepted, 0) << "some changes (in data bytes) leave a valid container";
}

TEST (ResourceContainer, FourCharacterCodesMapToTypes)
{
    EXPECT_EQ (typeFromFourCC (0x74686E67), "thng");
    EXPECT_EQ (fourCCFromType ("cfrg"), 0x63667267u);
    EXPECT_EQ (fourCCFromType ("DSPCODE"), 0u);
}

} // namespace
