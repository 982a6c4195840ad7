// The version block's layout and its queries, also on damaged blocks.

#include <win/ByteOrder.h>
#include <win/VersionBlock.h>

#include <gtest/gtest.h>

#include <random>

namespace
{

using namespace kestrune::win;

VersionInfo sampleInfo()
{
    VersionInfo info;
    info.fileVersion = { 1, 5, 0, 0 };
    info.productVersion = { 1, 5, 0, 9 };
    info.translations = { { 0x0409, 0x04b0 }, { 0x0407, 0x04e4 } };
    info.strings = { { "LegalCopyright", "(c)" }, { "ProductName", "KESTrune" } };
    return info;
}

TEST (VersionBlock, TheLayoutIsPinned)
{
    const auto block = writeVersionBlock (sampleInfo());
    ASSERT_EQ (block.size(), 8u + 52 + 2 + 8 + 2 + (2 + 23 + 2 + 4) + (2 + 20 + 2 + 9));
    EXPECT_EQ (std::string (block.begin(), block.begin() + 4), "KVER");
    EXPECT_EQ (readLE32 (&block[4]), block.size());
    EXPECT_EQ (readLE32 (&block[8]), 0xFEEF04BDu);
    EXPECT_EQ (readLE32 (&block[16]), 0x00010005u); // file version, most significant word
    EXPECT_EQ (readLE32 (&block[20]), 0x00000000u);
    EXPECT_EQ (readLE32 (&block[28]), 0x00000009u); // product version, least significant word
    EXPECT_EQ (readLE16 (&block[60]), 2);
    EXPECT_EQ (readLE16 (&block[62]), 0x0409);
    EXPECT_EQ (readLE16 (&block[64]), 0x04b0);
    EXPECT_EQ (readLE16 (&block[70]), 2);
    EXPECT_EQ (readLE16 (&block[72]), 23);
    EXPECT_EQ (std::string (block.begin() + 74, block.begin() + 97), "040904b0\\LegalCopyright");
    EXPECT_EQ (readLE16 (&block[97]), 4);
    EXPECT_EQ (std::string (block.begin() + 99, block.begin() + 103), std::string ("(c)\0", 4));
}

TEST (VersionBlock, QueriesFindTheirValues)
{
    const auto block = writeVersionBlock (sampleInfo());
    const auto fixed = queryVersionBlock (block, "\\");
    ASSERT_TRUE (fixed);
    EXPECT_EQ (fixed->length, 52u);
    const auto translations = queryVersionBlock (block, "\\VarFileInfo\\Translation");
    ASSERT_TRUE (translations);
    EXPECT_EQ (translations->length, 8u);
    const auto product = queryVersionBlock (block, "\\StringFileInfo\\040904b0\\ProductName");
    ASSERT_TRUE (product);
    EXPECT_STREQ (static_cast<const char*> (product->data), "KESTrune");
    EXPECT_FALSE (queryVersionBlock (block, "\\StringFileInfo\\"));
    EXPECT_FALSE (queryVersionBlock (block, "\\Other"));
    EXPECT_THROW (writeVersionBlock ({ {}, {}, {}, { { "Name", "value" } } }), std::invalid_argument);
}

TEST (VersionBlock, DamagedBlocksAreReadSafely)
{
    std::mt19937 random (5109);
    const auto good = writeVersionBlock (sampleInfo());
    const char* queries[] = { "\\", "\\VarFileInfo\\Translation", "\\StringFileInfo\\040904b0\\ProductName" };
    for (int round = 0; round < 3000; ++round)
    {
        auto bytes = good;
        for (int c = 0; c < 3; ++c)
            bytes[4 + random() % (bytes.size() - 4)] = uint8_t (random());
        bytes.resize (random() % (bytes.size() + 1));
        for (const char* query : queries)
            if (const auto value = queryVersionBlock (bytes, query))
            {
                const auto* data = static_cast<const uint8_t*> (value->data);
                EXPECT_GE (data, bytes.data());
                EXPECT_LE (data + value->length, bytes.data() + bytes.size());
            }
    }
}

} // namespace
