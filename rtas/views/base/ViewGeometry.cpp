#include "views/base/ViewGeometry.h"

#include <algorithm>
#include <limits>

namespace ViewGeometry
{
int16_t Saturate (int32_t coordinate)
{
    return static_cast<int16_t> (std::clamp<int32_t> (coordinate, std::numeric_limits<int16_t>::min(), std::numeric_limits<int16_t>::max()));
}

Rect Intersection (const Rect& a, const Rect& b)
{
    const Rect r { std::max (a.top, b.top), std::max (a.left, b.left), std::min (a.bottom, b.bottom), std::min (a.right, b.right) };
    return IsEmpty (r) ? Rect {} : r;
}

bool Meet (const Rect& a, const Rect& b)
{
    return ! IsEmpty (Intersection (a, b));
}

Rect Union (const Rect& a, const Rect& b)
{
    if (IsEmpty (a))
        return b;
    if (IsEmpty (b))
        return a;
    return { std::min (a.top, b.top), std::min (a.left, b.left), std::max (a.bottom, b.bottom), std::max (a.right, b.right) };
}

Rect Offset (const Rect& r, int32_t dh, int32_t dv)
{
    return { Saturate (r.top + dv), Saturate (r.left + dh), Saturate (r.bottom + dv), Saturate (r.right + dh) };
}

Rect Inset (const Rect& r, int32_t dh, int32_t dv)
{
    return { Saturate (r.top + dv), Saturate (r.left + dh), Saturate (r.bottom - dv), Saturate (r.right - dh) };
}
} // namespace ViewGeometry
