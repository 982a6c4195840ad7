#pragma once
// A window of the stand-in toolbox: its pixels and the drawing state of its port. Drawing here
// works in the port's local coordinates; the pixel (0, 0) is at the local point `origin`.

#include "Region.h"

#include <abi/HostTypes.h>

#include <functional>
#include <optional>
#include <vector>

namespace kestrune::host::rtas
{

struct PixelPattern
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    // Tiled from local (0, 0).
    uint32_t at (int32_t x, int32_t y) const;
};

uint32_t pixelOf (const RGBColor& colour);
// Premultiplied source over destination.
uint32_t blendOver (uint32_t source, uint32_t destination);

class Port
{
public:
    explicit Port (const Box& globalBounds);

    // Source of a transfer at a local point: nullopt leaves the pixel alone, otherwise the source
    // bit (1 for the pen or a glyph's pixel, 0 for the ground) that the mode combines.
    using Source = std::function<std::optional<bool> (int32_t x, int32_t y)>;
    // Source of a blend: nullopt leaves the pixel alone, otherwise a premultiplied pixel.
    using Image = std::function<std::optional<uint32_t> (int32_t x, int32_t y)>;

    // Applies a transfer mode to the pixels of `area` (local) that are inside the clip (and
    // inside `limit` when given), with the port's colours and `backPattern` as the back.
    void transfer (const Box& area, int16_t mode, const Source& source, const PixelPattern* backPattern,
                   const Region* limit = nullptr);
    void blend (const Box& area, const Image& image, const Region* limit = nullptr);
    // Moves the pixels of `area` inside the clip by (dh, dv); what is left uncovered is erased
    // and returned (local coordinates).
    Region scroll (const Box& area, int32_t dh, int32_t dv, const PixelPattern* backPattern);

    // The part of `area` that drawing reaches: inside the port's pixels and its clip.
    Region reachable (const Box& area, const Region* limit = nullptr) const;
    Box localBounds() const { return { originH, originV, originH + width, originV + height }; }
    // Pixel by window coordinates; 0 outside.
    uint32_t pixel (int32_t x, int32_t y) const;

    Box global;
    int32_t width;
    int32_t height;
    std::vector<uint32_t> pixels;
    int32_t originH = 0;
    int32_t originV = 0;
    Region clip { kWideOpen };
    RGBColor fore { 0, 0, 0 };
    RGBColor back { 0xFFFF, 0xFFFF, 0xFFFF };
    PenState pen { { 0, 0 }, { 1, 1 }, patCopy };
    int16_t textFont = 0;
    int16_t textSize = 0;
    int16_t textFace = 0;
    int16_t textMode = srcOr;
    PixPatHandle backPattern = nullptr;
    Region update; // window coordinates
    uint32_t nativeWindow = 0; // the platform window that shows it; 0 for none
};

} // namespace kestrune::host::rtas
