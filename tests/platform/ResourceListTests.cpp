// The resource list read by the resource tool.

#include <win/ResourceList.h>
#include <win/VersionBlock.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{

using namespace kestrune::win;

const std::filesystem::path kFixtures = KESTRUNE_FIXTURES;

TEST (ResourceList, EachContentKindGivesItsBytes)
{
    const auto list = parseResourceList (R"(# every kind
resource TEXT 1 text "a \"b\"\n\x41"
resource "STR " 2 named "two words" hex "00 01" ff
resource STR# 128 strings "one" "" "three"
resource DSPCODE 1000 file dspcode.bin
)",
                                         kFixtures);
    ASSERT_EQ (list.entries.size(), 4u);
    const auto& text = list.entries[0].data;
    EXPECT_EQ (std::string (text.begin(), text.end()), "a \"b\"\nA");
    EXPECT_EQ (list.entries[1].type, "STR ");
    EXPECT_EQ (list.entries[1].name, "two words");
    EXPECT_EQ (list.entries[1].data, (std::vector<uint8_t> { 0x00, 0x01, 0xFF }));
    EXPECT_EQ (list.entries[2].data, (std::vector<uint8_t> { 0, 3, 3, 'o', 'n', 'e', 0, 5, 't', 'h', 'r', 'e', 'e' }));
    EXPECT_EQ (list.entries[3].id, 1000);
    EXPECT_EQ (list.entries[3].data.size(), 600u);
    ASSERT_EQ (list.inputFiles.size(), 1u);
    EXPECT_EQ (list.inputFiles[0], kFixtures / "dspcode.bin");
}

TEST (ResourceList, VersionLinesMakeTheVersionBlock)
{
    const auto list = parseResourceList ("version 1.5.0.0\nstring LegalCopyright \"(c) QOR\"\n", kFixtures);
    ASSERT_EQ (list.entries.size(), 1u);
    EXPECT_EQ (list.entries[0].type, "#16");
    EXPECT_EQ (list.entries[0].id, 1);
    const auto copyright = queryVersionBlock (list.entries[0].data, "\\StringFileInfo\\040904b0\\LegalCopyright");
    ASSERT_TRUE (copyright);
    EXPECT_STREQ (static_cast<const char*> (copyright->data), "(c) QOR");
}

TEST (ResourceList, MistakesNameTheirLine)
{
    const char* mistakes[] = {
        "resource TEXT x text \"a\"",
        "resource TEXT 1 hex \"0g\"",
        "resource TEXT 1 hex \"123\"",
        "resource TEXT 1 paste \"a\"",
        "resource TEXT 1 file no-such-file.bin",
        "resource TEXT 1",
        "version 1.5.0",
        "version 1.5.0.70000",
        "translation 0409",
        "string Name \"unterminated",
        "string Name \"bad \\q escape\"",
        "unknown directive"
    };
    for (const char* mistake : mistakes)
    {
        try
        {
            parseResourceList (std::string ("# first line\n") + mistake + "\n", kFixtures);
            ADD_FAILURE() << "accepted: " << mistake;
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_EQ (std::strncmp (error.what(), "line 2: ", 8), 0) << error.what();
        }
    }
}

} // namespace
