#pragma once
// Areas of the toolbox's drawing: boxes with 32-bit edges (so that arithmetic on 16-bit
// rectangles cannot overflow) and regions, sets of boxes kept in one canonical form so that two
// regions covering the same pixels compare equal.

#include <abi/HostTypes.h>

#include <cstdint>
#include <vector>

namespace kestrune::host::rtas
{

// The pixels [left, right) x [top, bottom).
struct Box
{
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;

    bool empty() const { return right <= left || bottom <= top; }
    int32_t width() const { return right - left; }
    int32_t height() const { return bottom - top; }
    bool contains (int32_t x, int32_t y) const { return x >= left && x < right && y >= top && y < bottom; }
    Box intersection (const Box& other) const;
    Box offset (int32_t dx, int32_t dy) const { return { left + dx, top + dy, right + dx, bottom + dy }; }
    Box inset (int32_t dx, int32_t dy) const { return { left + dx, top + dy, right - dx, bottom - dy }; }
    bool operator== (const Box&) const = default;
};

Box boxOf (const Rect& rect);
// Each edge clamped to the 16-bit range.
Rect rectOf (const Box& box);

// The widest region the toolbox knows: a port's clip before anyone narrows it.
inline constexpr Box kWideOpen { -32767, -32767, 32767, 32767 };

class Region
{
public:
    enum class Operation
    {
        unite,
        intersect,
        subtract
    };

    Region() = default;
    explicit Region (const Box& box);

    static Region combine (const Region& a, const Region& b, Operation operation);

    bool empty() const { return boxes_.empty(); }
    bool contains (int32_t x, int32_t y) const;
    // All zero for an empty region.
    Box bounds() const;
    void offset (int32_t dx, int32_t dy);

    // Disjoint boxes in bands from top to bottom, left to right within a band; a band's boxes
    // never touch and two bands touching with the same boxes are one.
    const std::vector<Box>& boxes() const { return boxes_; }
    bool operator== (const Region&) const = default;

private:
    std::vector<Box> boxes_;
};

} // namespace kestrune::host::rtas
