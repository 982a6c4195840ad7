#include "Region.h"

#include <algorithm>
#include <limits>

namespace kestrune::host::rtas
{

namespace
{

    int16_t clamp16 (int32_t value)
    {
        return int16_t (std::clamp<int32_t> (value, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
    }

    struct Span
    {
        int32_t left;
        int32_t right;
        bool operator== (const Span&) const = default;
    };

    // The merged horizontal spans of the boxes that cover the band starting at `top`.
    std::vector<Span> spansAt (const std::vector<Box>& boxes, int32_t top)
    {
        std::vector<Span> spans;
        for (const Box& box : boxes)
            if (box.top <= top && box.bottom > top)
                spans.push_back ({ box.left, box.right });
        std::sort (spans.begin(), spans.end(), [] (const Span& a, const Span& b) { return a.left < b.left; });
        std::vector<Span> merged;
        for (const Span& span : spans)
            if (! merged.empty() && span.left <= merged.back().right)
                merged.back().right = std::max (merged.back().right, span.right);
            else
                merged.push_back (span);
        return merged;
    }

    bool covers (const std::vector<Span>& spans, int32_t left, int32_t right)
    {
        for (const Span& span : spans)
            if (span.left <= left && span.right >= right)
                return true;
        return false;
    }

    bool keeps (Region::Operation operation, bool inA, bool inB)
    {
        switch (operation)
        {
            case Region::Operation::unite: return inA || inB;
            case Region::Operation::intersect: return inA && inB;
            case Region::Operation::subtract: return inA && ! inB;
        }
        return false;
    }

} // namespace

Box Box::intersection (const Box& other) const
{
    Box result { std::max (left, other.left), std::max (top, other.top), std::min (right, other.right), std::min (bottom, other.bottom) };
    return result.empty() ? Box {} : result;
}

Box boxOf (const Rect& rect)
{
    return { rect.left, rect.top, rect.right, rect.bottom };
}

Rect rectOf (const Box& box)
{
    return { clamp16 (box.top), clamp16 (box.left), clamp16 (box.bottom), clamp16 (box.right) };
}

Region::Region (const Box& box)
{
    if (! box.empty())
        boxes_.push_back (box);
}

// Cuts both regions into bands at every top and bottom edge, decides each piece of each band by
// the operation, and joins the pieces back into the canonical form.
Region Region::combine (const Region& a, const Region& b, Operation operation)
{
    std::vector<int32_t> edges;
    for (const auto* region : { &a, &b })
        for (const Box& box : region->boxes_)
        {
            edges.push_back (box.top);
            edges.push_back (box.bottom);
        }
    std::sort (edges.begin(), edges.end());
    edges.erase (std::unique (edges.begin(), edges.end()), edges.end());

    Region result;
    std::vector<Span> previous;
    size_t previousFirst = 0;
    for (size_t band = 0; band + 1 < edges.size(); ++band)
    {
        const int32_t top = edges[band];
        const int32_t bottom = edges[band + 1];
        const auto spansA = spansAt (a.boxes_, top);
        const auto spansB = spansAt (b.boxes_, top);
        std::vector<int32_t> cuts;
        for (const auto* spans : { &spansA, &spansB })
            for (const Span& span : *spans)
            {
                cuts.push_back (span.left);
                cuts.push_back (span.right);
            }
        std::sort (cuts.begin(), cuts.end());
        cuts.erase (std::unique (cuts.begin(), cuts.end()), cuts.end());

        std::vector<Span> spans;
        for (size_t cut = 0; cut + 1 < cuts.size(); ++cut)
        {
            const int32_t left = cuts[cut];
            const int32_t right = cuts[cut + 1];
            if (! keeps (operation, covers (spansA, left, right), covers (spansB, left, right)))
                continue;
            if (! spans.empty() && spans.back().right == left)
                spans.back().right = right;
            else
                spans.push_back ({ left, right });
        }

        const bool joinsPrevious = ! spans.empty() && spans == previous && previousFirst < result.boxes_.size()
                                   && result.boxes_[previousFirst].bottom == top;
        if (joinsPrevious)
        {
            for (size_t i = previousFirst; i < result.boxes_.size(); ++i)
                result.boxes_[i].bottom = bottom;
            continue;
        }
        previousFirst = result.boxes_.size();
        for (const Span& span : spans)
            result.boxes_.push_back ({ span.left, top, span.right, bottom });
        previous = std::move (spans);
    }
    return result;
}

bool Region::contains (int32_t x, int32_t y) const
{
    return std::any_of (boxes_.begin(), boxes_.end(), [&] (const Box& box) { return box.contains (x, y); });
}

Box Region::bounds() const
{
    if (boxes_.empty())
        return {};
    Box bounds = boxes_.front();
    for (const Box& box : boxes_)
        bounds = { std::min (bounds.left, box.left), std::min (bounds.top, box.top), std::max (bounds.right, box.right),
                   std::max (bounds.bottom, box.bottom) };
    return bounds;
}

void Region::offset (int32_t dx, int32_t dy)
{
    for (Box& box : boxes_)
        box = box.offset (dx, dy);
}

} // namespace kestrune::host::rtas
