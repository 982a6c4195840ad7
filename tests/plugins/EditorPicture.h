// Pictures of the editor as a host keeps them, for the tests of both plug-in files: ARGB words
// row by row, regions of them, how far two of them differ, and waiting for a picture to change.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <thread>
#include <vector>

namespace editor_test
{
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

// How many pixels of two pictures of one size differ by more than a little in any channel.
inline size_t DifferentPixels (const Picture& a, const Picture& b)
{
    size_t different = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i)
        for (int shift = 0; shift < 24; shift += 8)
            if (std::abs (int ((a.pixels[i] >> shift) & 0xFF) - int ((b.pixels[i] >> shift) & 0xFF)) > 8)
            {
                ++different;
                break;
            }
    return different;
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
} // namespace editor_test
