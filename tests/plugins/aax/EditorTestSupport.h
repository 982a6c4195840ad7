// The editor as the stand-in host shows it: pictures of its views and of regions of them.
#pragma once

#include "HostEditor.h"
#include "PluginTestSupport.h"

#include <chrono>
#include <functional>
#include <thread>

namespace plugin_test
{
// A picture as the host keeps it: ARGB words, row by row.
struct Picture
{
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;

    uint32_t At (int32_t x, int32_t y) const { return pixels[size_t (y) * size_t (width) + size_t (x)]; }
    // The pixels of a region, row by row.
    std::vector<uint32_t> Region (int32_t x, int32_t y, int32_t w, int32_t h) const
    {
        std::vector<uint32_t> region;
        for (int32_t row = y; row < y + h; ++row)
            for (int32_t column = x; column < x + w; ++column)
                region.push_back (At (column, row) | 0xFF000000u);
        return region;
    }
};

inline Picture Draw (HostViewContainer& view)
{
    return { view.Width(), view.Height(), view.Draw() };
}

// Waits, a short while at most, until the condition holds.
inline bool Eventually (const std::function<bool()>& condition)
{
    for (int attempt = 0; attempt < 200; ++attempt)
    {
        if (condition())
            return true;
        std::this_thread::sleep_for (std::chrono::milliseconds (10));
    }
    return condition();
}

// Where the panel places the ratio knob.
struct Region
{
    int32_t x, y, w, h;
};
inline constexpr Region kRatioKnob { 606, 30, 90, 90 };
inline constexpr Region kMeter { 300, 0, 300, 300 };
} // namespace plugin_test
