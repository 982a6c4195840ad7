#pragma once
// The toolbox with one window open and current, as a plug-in view meets it: 40 x 30 pixels whose
// top-left corner is at global (v 100, h 200), and helpers to read its pixels.

#include "HostExtFixture.h"

#include <functional>
#include <string>

inline constexpr uint32_t kWhite = 0xFFFFFFFFu;
inline constexpr uint32_t kBlack = 0xFF000000u;

class HostExtWindowTest : public HostExtTest
{
protected:
    static constexpr int kWidth = 40;
    static constexpr int kHeight = 30;
    static constexpr Rect kGlobalBounds { 100, 200, 100 + kHeight, 200 + kWidth };

    void SetUp() override
    {
        HostExtTest::SetUp();
        window = toolbox.newWindow (kGlobalBounds);
        ASSERT_NE (window, nullptr);
        host.SetPort (window);
    }

    uint32_t at (int x, int y) { return toolbox.pixel (window, x, y); }

    // The pixels (window coordinates) that differ from what `expected` says they should be, as
    // text for a failure message; empty when all match.
    std::string mismatches (const std::function<uint32_t (int x, int y)>& expected)
    {
        std::string found;
        const auto pixels = toolbox.windowPixels (window);
        for (int y = 0; y < kHeight; ++y)
            for (int x = 0; x < kWidth; ++x)
                if (pixels[size_t (y * kWidth + x)] != expected (x, y) && found.size() < 200)
                    found += "(" + std::to_string (x) + "," + std::to_string (y) + ") ";
        return found;
    }

    WindowRef window = nullptr;
};
