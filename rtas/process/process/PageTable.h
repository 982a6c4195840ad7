#pragma once
// Control-surface page tables: which control sits in which slot of which page for a surface of a
// given size. A table is a run of entries (layouts), each three 16-bit words {columns, rows, data
// words} followed by that many 16-bit control indexes laid out row by row; an entry with 0
// columns, or the end of the table's bytes, ends it. Words are in host byte order.
//
// The layout for a surface size S is the first whose columns equal S, else the first whose columns
// equal 1; S = -1 means the first layout. A page of a surface of size S holds S / columns rows.
// Negative row and data-word counts read as 0.

#include <cstddef>
#include <cstdint>
#include <optional>

struct PageTable
{
    const uint8_t* bytes = nullptr;
    size_t size = 0;

    bool Exists() const { return bytes != nullptr; }
};

struct PageLayout
{
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t dataWords = 0;
    const uint8_t* data = nullptr;

    // The control index at a position; 0 beyond the layout's data.
    int32_t IndexAt (int32_t position) const;
};

inline constexpr int16_t kAnySurface = -1;

// The layout a surface uses; none when the table has none for it.
std::optional<PageLayout> FindPageLayout (const PageTable& table, int16_t surface);

// Pages of a layout on a surface of size S: its rows for S = -1, else ceil(rows / (S / columns));
// 0 when a page would hold no row.
int32_t PageCountOf (const PageLayout& layout, int16_t surface);
// The control index in a slot of a page: for S = -1 the index at row page, column slot; else the
// slot-th index of the page's rows. 0 for an empty or unknown slot.
int32_t PageControlOf (const PageLayout& layout, int16_t surface, int16_t page, int16_t slot);

// The same through the table: -1 without a table, 0 when it has no layout for the surface.
int32_t PageCount (const PageTable& table, int16_t surface);
int32_t PageControl (const PageTable& table, int16_t surface, int16_t page, int16_t slot);
// Whether some layout has exactly S columns (S = -1: any table has a layout); false without a table.
bool HasPageLayout (const PageTable& table, int16_t surface);
