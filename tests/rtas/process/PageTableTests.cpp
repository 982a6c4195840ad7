// Control-surface page tables: the entry a surface uses, its pages and slots, the degenerate
// surfaces, and tables that end early or are damaged.

#include "process/process/PageTable.h"

#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <random>
#include <vector>

namespace
{

std::vector<uint8_t> Words (std::initializer_list<std::vector<int16_t>> entries)
{
    std::vector<uint8_t> bytes;
    for (const auto& entry : entries)
        for (const int16_t word : entry)
        {
            const size_t at = bytes.size();
            bytes.resize (at + 2);
            std::memcpy (bytes.data() + at, &word, 2);
        }
    return bytes;
}

// An entry of the given shape whose index at position p is 100 + p.
std::vector<int16_t> Entry (int16_t columns, int16_t rows, int16_t dataWords)
{
    std::vector<int16_t> words { columns, rows, dataWords };
    for (int16_t p = 0; p < dataWords; ++p)
        words.push_back (int16_t (100 + p));
    return words;
}

PageTable Of (const std::vector<uint8_t>& bytes)
{
    return { bytes.data(), bytes.size() };
}

const std::vector<int16_t> kEnd { 0, 0, 0 };

TEST (PageTables, ASurfaceOfEightShowsNineRowsOfTwoOnThreePages)
{
    const auto bytes = Words ({ Entry (2, 9, 18), kEnd });
    const auto layout = FindPageLayout (Of (bytes), 2);
    ASSERT_TRUE (layout.has_value());
    EXPECT_EQ (PageCountOf (*layout, 8), 3) << "four rows of two a page";
    EXPECT_EQ (PageControlOf (*layout, 8, 2, 1), 117) << "page 2 starts at row 8: position 8 * 2 + 1";
    EXPECT_EQ (PageControlOf (*layout, 8, 2, 2), 0) << "the last page holds one row of two slots";
    EXPECT_EQ (PageControlOf (*layout, 8, 0, 7), 107);
    EXPECT_EQ (PageControlOf (*layout, 8, 0, 8), 0);
    EXPECT_EQ (PageControlOf (*layout, 8, 3, 0), 0) << "no fourth page";
}

TEST (PageTables, ASurfaceUsesTheLayoutOfItsOwnWidth)
{
    const auto bytes = Words ({ Entry (3, 4, 12), Entry (2, 5, 10), kEnd });
    const PageTable table = Of (bytes);
    EXPECT_EQ (PageCount (table, 2), 5) << "a layout as wide as the surface shows a row a page";
    EXPECT_EQ (PageControl (table, 2, 3, 1), 107);
    EXPECT_EQ (PageCount (table, 3), 4);
    EXPECT_EQ (PageControl (table, 3, 1, 2), 105);
    EXPECT_EQ (PageCount (table, 4), 0) << "no layout of four columns and none of one";
    EXPECT_TRUE (HasPageLayout (table, 2));
    EXPECT_FALSE (HasPageLayout (table, 4));
}

TEST (PageTables, AnySurfaceReadsTheFirstLayoutRowByRow)
{
    const auto bytes = Words ({ Entry (3, 4, 12), Entry (2, 1, 2), kEnd });
    const PageTable table = Of (bytes);
    EXPECT_EQ (PageCount (table, kAnySurface), 4);
    EXPECT_EQ (PageControl (table, kAnySurface, 2, 1), 107);
    EXPECT_EQ (PageControl (table, kAnySurface, 4, 0), 0);
    EXPECT_EQ (PageControl (table, kAnySurface, 0, 3), 0);
    EXPECT_EQ (PageControl (table, kAnySurface, -1, 0), 0);
    EXPECT_TRUE (HasPageLayout (table, kAnySurface));
}

TEST (PageTables, ASurfaceWithoutItsOwnLayoutFallsBackToOneColumn)
{
    const auto bytes = Words ({ Entry (4, 2, 8), Entry (1, 5, 5), kEnd });
    const PageTable table = Of (bytes);
    EXPECT_EQ (PageCount (table, 4), 2);
    EXPECT_EQ (PageCount (table, 3), 2) << "one column, five rows, three rows a page";
    EXPECT_EQ (PageControl (table, 3, 1, 1), 104);
    EXPECT_TRUE (HasPageLayout (table, 4));
    EXPECT_FALSE (HasPageLayout (table, 3)) << "only an exact layout counts";
}

TEST (PageTables, DegenerateSurfacesAnswerZeroInsteadOfDividingByZero)
{
    // Surfaces below one column fall back to the one-column entry, whose page would hold no row.
    const auto bytes = Words ({ Entry (2, 9, 18), Entry (1, 5, 5), kEnd });
    const PageTable table = Of (bytes);
    for (const int16_t surface : { int16_t (0), int16_t (-2), int16_t (-32768) })
    {
        SCOPED_TRACE (surface);
        EXPECT_EQ (PageCount (table, surface), 0);
        EXPECT_EQ (PageControl (table, surface, 0, 0), 0);
        EXPECT_EQ (PageControl (table, surface, 1, 0), 0);
    }
    EXPECT_EQ (PageCount (table, 1), 5) << "one row a page";
    // A surface narrower than every entry has no page at all.
    const auto wide = Words ({ Entry (6, 1, 6), kEnd });
    EXPECT_EQ (PageCount (Of (wide), 5), 0);
    EXPECT_EQ (PageControl (Of (wide), 5, 0, 0), 0);
    const auto noRows = Words ({ Entry (1, 0, 0), kEnd });
    EXPECT_EQ (PageCount (Of (noRows), 5), 0);
}

TEST (PageTables, WithoutATableEveryQuestionSaysSo)
{
    const PageTable none;
    EXPECT_EQ (PageCount (none, 8), -1);
    EXPECT_EQ (PageControl (none, 8, 0, 0), -1);
    EXPECT_FALSE (HasPageLayout (none, kAnySurface));
    const auto empty = Words ({ kEnd });
    EXPECT_EQ (PageCount (Of (empty), kAnySurface), 0);
    EXPECT_EQ (PageControl (Of (empty), kAnySurface, 0, 0), 0);
}

TEST (PageTables, TheWalkStopsWhereTheTableEnds)
{
    // The entry claims 18 data words but the table holds 10: it is not an entry.
    auto bytes = Words ({ Entry (2, 9, 18) });
    bytes.resize (6 + 10 * 2);
    EXPECT_EQ (PageCount (Of (bytes), 8), 0);
    EXPECT_FALSE (HasPageLayout (Of (bytes), 2));
    // A table without its end marker ends with its bytes.
    const auto unterminated = Words ({ Entry (2, 2, 4) });
    EXPECT_EQ (PageCount (Of (unterminated), 2), 2);
    EXPECT_EQ (PageCount (Of (unterminated), kAnySurface), 2);
    // Rows beyond the data read as empty slots.
    const auto shortData = Words ({ Entry (2, 9, 3), kEnd });
    EXPECT_EQ (PageControl (Of (shortData), 2, 1, 0), 102);
    EXPECT_EQ (PageControl (Of (shortData), 2, 1, 1), 0);
}

TEST (PageTables, DamagedTablesAreReadWithinTheirBytes)
{
    std::mt19937 random (20240611);
    for (int round = 0; round < 2000; ++round)
    {
        std::vector<uint8_t> bytes (1 + random() % 64);
        for (uint8_t& byte : bytes)
            byte = uint8_t (random() % 4 == 0 ? random() : random() % 8);
        const PageTable table = Of (bytes);
        const auto surface = int16_t (int (random() % 20) - 2);
        const auto page = int16_t (int (random() % 12) - 1);
        const auto slot = int16_t (int (random() % 12) - 1);
        EXPECT_GE (PageCount (table, surface), 0);
        PageControl (table, surface, page, slot);
        HasPageLayout (table, surface);
    }
}

}
