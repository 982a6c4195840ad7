#pragma once
// Rectangle and point arithmetic of the views, in the toolbox's conventions: a Rect covers
// [left, right) x [top, bottom) and is empty when it has no width or no height. Results are
// kept within the 16-bit coordinate range (saturated), so that no move wraps a rectangle round.

#include <abi/HostTypes.h>

namespace ViewGeometry
{
constexpr bool IsEmpty (const Rect& r)
{
    return r.bottom <= r.top || r.right <= r.left;
}

constexpr bool Contains (const Rect& r, Point p)
{
    return p.h >= r.left && p.h < r.right && p.v >= r.top && p.v < r.bottom;
}

// The inner rectangle lies wholly inside the outer one (edges may touch).
constexpr bool Encloses (const Rect& outer, const Rect& inner)
{
    return inner.top >= outer.top && inner.left >= outer.left && inner.bottom <= outer.bottom && inner.right <= outer.right;
}

constexpr bool SameRect (const Rect& a, const Rect& b)
{
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right;
}

constexpr bool SamePoint (Point a, Point b)
{
    return a.v == b.v && a.h == b.h;
}

// The middle of the rectangle, rounded towards zero.
constexpr Point Centre (const Rect& r)
{
    return { static_cast<int16_t> ((r.top + r.bottom) / 2), static_cast<int16_t> ((r.left + r.right) / 2) };
}

// The common part; all zero when the two do not meet.
Rect Intersection (const Rect& a, const Rect& b);
bool Meet (const Rect& a, const Rect& b);
// The smallest rectangle holding both; an empty one adds nothing.
Rect Union (const Rect& a, const Rect& b);
Rect Offset (const Rect& r, int32_t dh, int32_t dv);
Rect Inset (const Rect& r, int32_t dh, int32_t dv);
int16_t Saturate (int32_t coordinate);
} // namespace ViewGeometry
