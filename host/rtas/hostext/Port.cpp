#include "Port.h"

#include <algorithm>

namespace kestrune::host::rtas
{

namespace
{

    constexpr uint32_t kOpaque = 0xFF000000u;
    constexpr uint32_t kColourBits = 0x00FFFFFFu;

    int32_t wrap (int32_t value, int32_t size)
    {
        const int32_t remainder = value % size;
        return remainder < 0 ? remainder + size : remainder;
    }

    // The eight boolean transfer operations by the source bit; pattern modes (8-15) are the same
    // operations with the pen as the source; any other mode is a copy.
    uint32_t transferPixel (int16_t mode, bool source, uint32_t destination, uint32_t fore, uint32_t back)
    {
        const int operation = mode >= srcCopy && mode <= notPatBic ? mode & 7 : srcCopy;
        const uint32_t inverted = destination ^ kColourBits;
        switch (operation)
        {
            case srcCopy: return source ? fore : back;
            case srcOr: return source ? fore : destination;
            case srcXor: return source ? inverted : destination;
            case srcBic: return source ? back : destination;
            case notSrcCopy: return source ? back : fore;
            case notSrcOr: return source ? destination : fore;
            case notSrcXor: return source ? destination : inverted;
            default: return source ? destination : back;
        }
    }

} // namespace

uint32_t PixelPattern::at (int32_t x, int32_t y) const
{
    return pixels[size_t (wrap (y, height) * width + wrap (x, width))];
}

uint32_t pixelOf (const RGBColor& colour)
{
    return kOpaque | (uint32_t (colour.red >> 8) << 16) | (uint32_t (colour.green >> 8) << 8) | uint32_t (colour.blue >> 8);
}

uint32_t blendOver (uint32_t source, uint32_t destination)
{
    const uint32_t alpha = source >> 24;
    if (alpha == 0xFF)
        return source;
    uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const uint32_t s = (source >> shift) & 0xFF;
        const uint32_t d = (destination >> shift) & 0xFF;
        result |= std::min<uint32_t> (0xFF, s + (d * (255 - alpha) + 127) / 255) << shift;
    }
    return result;
}

Port::Port (const Box& globalBounds)
    : global (globalBounds), width (globalBounds.width()), height (globalBounds.height()), pixels (size_t (std::max (0, width)) * size_t (std::max (0, height)), 0xFFFFFFFFu)
{
}

Region Port::reachable (const Box& area, const Region* limit) const
{
    Region region = Region::combine (clip, Region (area.intersection (localBounds())), Region::Operation::intersect);
    if (limit != nullptr)
        region = Region::combine (region, *limit, Region::Operation::intersect);
    return region;
}

void Port::transfer (const Box& area, int16_t mode, const Source& source, const PixelPattern* backPattern, const Region* limit)
{
    const uint32_t forePixel = pixelOf (fore);
    const uint32_t backPixel = pixelOf (back);
    const Region reached = reachable (area, limit);
    for (const Box& box : reached.boxes())
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
            {
                const auto bit = source (x, y);
                if (! bit)
                    continue;
                uint32_t& pixel = pixels[size_t ((y - originV) * width + (x - originH))];
                const uint32_t ground = backPattern != nullptr ? backPattern->at (x, y) : backPixel;
                pixel = transferPixel (mode, *bit, pixel, forePixel, ground);
            }
}

void Port::blend (const Box& area, const Image& image, const Region* limit)
{
    const Region reached = reachable (area, limit);
    for (const Box& box : reached.boxes())
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                if (const auto source = image (x, y))
                {
                    uint32_t& pixel = pixels[size_t ((y - originV) * width + (x - originH))];
                    pixel = blendOver (*source, pixel);
                }
}

Region Port::scroll (const Box& area, int32_t dh, int32_t dv, const PixelPattern* backPattern)
{
    const Region moving = reachable (area);
    Region shifted = moving;
    shifted.offset (dh, dv);
    const Region covered = Region::combine (moving, shifted, Region::Operation::intersect);
    const std::vector<uint32_t> before = pixels;
    for (const Box& box : covered.boxes())
        for (int32_t y = box.top; y < box.bottom; ++y)
            for (int32_t x = box.left; x < box.right; ++x)
                pixels[size_t ((y - originV) * width + (x - originH))] = before[size_t ((y - dv - originV) * width + (x - dh - originH))];
    const Region uncovered = Region::combine (moving, covered, Region::Operation::subtract);
    transfer (
        uncovered.bounds(), srcCopy, [] (int32_t, int32_t) { return std::optional<bool> (false); }, backPattern, &uncovered);
    return uncovered;
}

uint32_t Port::pixel (int32_t x, int32_t y) const
{
    if (x < 0 || y < 0 || x >= width || y >= height)
        return 0;
    return pixels[size_t (y * width + x)];
}

} // namespace kestrune::host::rtas
