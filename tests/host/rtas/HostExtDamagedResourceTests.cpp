// Damaged drawing and control resources: the toolbox reads only what they hold and draws or
// makes nothing from what does not add up. Seeded, so every run damages the same way.

#include "HostExtWindowFixture.h"

#include <win/ResourceContainer.h>

#include <fstream>
#include <random>

namespace
{

using kestrune::rtas::abi::fourCC;

const std::string kScratch = KESTRUNE_SCRATCH;

// The good resources of the toolbox fixture, as the damage starts from them.
const std::vector<uint8_t> kPattern { 2, 0, 2, 0, 0x33, 0x22, 0x11, 0xff, 0x66, 0x55, 0x44, 0xff,
                                      0x99, 0x88, 0x77, 0xff, 0xcc, 0xbb, 0xaa, 0xff };
const std::vector<uint8_t> kPicture { 0, 0, 0, 0, 0, 0, 2, 0, 2, 0, 0, 0, 0xff, 0xff, 0, 0xff, 0, 0xff, 0x80, 0, 0, 0x80, 0, 0, 0, 0 };
const std::vector<uint8_t> kTemplate { 10, 0, 20, 0, 30, 0, 100, 0, 1, 0, 0, 0, 1, 0, 1, 0, 1, 0, 0x78, 0x56, 0x34, 0x12, 2, 'G', 'o' };

std::vector<uint8_t> damage (std::vector<uint8_t> bytes, std::mt19937& random)
{
    switch (random() % 3)
    {
        case 0: bytes.resize (random() % (bytes.size() + 1)); break;
        case 1:
            for (int flips = 1 + int (random() % 4); flips > 0 && ! bytes.empty(); --flips)
                bytes[random() % bytes.size()] = uint8_t (random());
            break;
        default:
            // A header field (sizes, edges, the title's length) set to anything.
            if (bytes.size() >= 10)
            {
                const size_t at = 2 * (random() % 5);
                bytes[at] = uint8_t (random());
                bytes[at + 1] = uint8_t (random());
            }
            break;
    }
    return bytes;
}

using HostExtDamagedResources = HostExtWindowTest;

TEST_F (HostExtDamagedResources, AreReadWithinTheirBounds)
{
    std::mt19937 random (20240601);
    const std::string path = kScratch + "/damaged-toolbox.rsr";
    for (int round = 0; round < 300; ++round)
    {
        SCOPED_TRACE (round);
        std::vector<uint8_t> icon (128);
        for (auto& byte : icon)
            byte = uint8_t (random());
        const auto bytes = kestrune::win::writeResourceContainer ({
            { kestrune::win::typeFromFourCC (fourCC ("ppat")), 1, "", damage (kPattern, random) },
            { kestrune::win::typeFromFourCC (fourCC ("PICT")), 1, "", damage (kPicture, random) },
            { kestrune::win::typeFromFourCC (fourCC ("CNTL")), 1, "", damage (kTemplate, random) },
            { kestrune::win::typeFromFourCC (fourCC ("ICON")), 1, "", damage (icon, random) },
        });
        std::ofstream (path, std::ios::binary | std::ios::trunc).write (reinterpret_cast<const char*> (bytes.data()), std::streamsize (bytes.size()));
        const int16_t file = host.OpenResFileWithSwap (path.c_str(), nullptr);
        ASSERT_GT (file, 0);

        const Rect frame { 0, 0, kHeight, kWidth };
        if (PixPatHandle pattern = host.GetPixPat (1))
        {
            host.BackPixPat (pattern);
            host.EraseRect (&frame);
            host.BackPixPat (nullptr);
            host.DisposePixPat (pattern);
        }
        if (ControlHandle made = host.GetNewControl (1, window))
        {
            EXPECT_LE ((*made)->title[0], 2) << "a title never runs past the template";
            host.ShowControl (made);
            host.DisposeControl (made);
        }
        host.DrawPicture (host.GetResource (fourCC ("PICT"), 1), &frame);
        host.PlotIcon (&frame, host.GetResource (fourCC ("ICON"), 1));
        host.CloseResFile (file);
    }
    EXPECT_EQ (toolbox.objectCounts().patterns, 0u);
    EXPECT_EQ (toolbox.objectCounts().controls, 0u);
}

} // namespace
