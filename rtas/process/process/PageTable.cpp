#include "process/process/PageTable.h"

#include <algorithm>

#include "process/base/ByteSwap.h"

namespace
{
constexpr size_t kLayoutHeaderSize = 3 * sizeof (int16_t);

// The first layout for which accept answers true; the walk stays inside the table's bytes.
template <typename Accept>
std::optional<PageLayout> FindLayout (const PageTable& table, Accept accept)
{
    size_t offset = 0;
    while (table.size - offset >= kLayoutHeaderSize)
    {
        PageLayout layout;
        layout.columns = FieldAt<int16_t> (table.bytes, offset);
        layout.rows = std::max<int32_t> (0, FieldAt<int16_t> (table.bytes, offset + 2));
        layout.dataWords = std::max<int32_t> (0, FieldAt<int16_t> (table.bytes, offset + 4));
        if (layout.columns == 0)
            break;
        offset += kLayoutHeaderSize;
        const size_t dataSize = static_cast<size_t> (layout.dataWords) * sizeof (int16_t);
        if (table.size - offset < dataSize)
            break;
        layout.data = table.bytes + offset;
        offset += dataSize;
        if (accept (layout))
            return layout;
    }
    return std::nullopt;
}

// Rows of the layout on one page of the surface; 0 when not even one fits.
int32_t RowsPerPage (const PageLayout& layout, int16_t surface)
{
    return layout.columns > 0 && surface > 0 ? surface / layout.columns : 0;
}
}

int32_t PageLayout::IndexAt (int32_t position) const
{
    if (position < 0 || position >= dataWords)
        return 0;
    return FieldAt<int16_t> (data, static_cast<size_t> (position) * sizeof (int16_t));
}

std::optional<PageLayout> FindPageLayout (const PageTable& table, int16_t surface)
{
    if (! table.Exists())
        return std::nullopt;
    if (surface == kAnySurface)
        return FindLayout (table, [] (const PageLayout&) { return true; });
    if (auto exact = FindLayout (table, [surface] (const PageLayout& l) { return l.columns == surface; }))
        return exact;
    return FindLayout (table, [] (const PageLayout& l) { return l.columns == 1; });
}

int32_t PageCountOf (const PageLayout& layout, int16_t surface)
{
    if (surface == kAnySurface)
        return layout.rows;
    const int32_t perPage = RowsPerPage (layout, surface);
    if (perPage == 0 || layout.rows <= 0)
        return 0;
    return (layout.rows + perPage - 1) / perPage;
}

int32_t PageControlOf (const PageLayout& layout, int16_t surface, int16_t page, int16_t slot)
{
    if (page < 0 || slot < 0)
        return 0;
    if (surface == kAnySurface)
        return page < layout.rows && slot < layout.columns ? layout.IndexAt (page * layout.columns + slot) : 0;
    const int32_t perPage = RowsPerPage (layout, surface);
    const int32_t rowsLeft = layout.rows - page * perPage;
    const int32_t rowsOnPage = std::min (perPage, rowsLeft);
    if (rowsLeft <= 0 || slot >= rowsOnPage * layout.columns)
        return 0;
    return layout.IndexAt (page * perPage * layout.columns + slot);
}

int32_t PageCount (const PageTable& table, int16_t surface)
{
    if (! table.Exists())
        return -1;
    const auto layout = FindPageLayout (table, surface);
    return layout ? PageCountOf (*layout, surface) : 0;
}

int32_t PageControl (const PageTable& table, int16_t surface, int16_t page, int16_t slot)
{
    if (! table.Exists())
        return -1;
    const auto layout = FindPageLayout (table, surface);
    return layout ? PageControlOf (*layout, surface, page, slot) : 0;
}

bool HasPageLayout (const PageTable& table, int16_t surface)
{
    if (! table.Exists())
        return false;
    if (surface == kAnySurface)
        return true;
    return FindLayout (table, [surface] (const PageLayout& l) { return l.columns == surface; }).has_value();
}
