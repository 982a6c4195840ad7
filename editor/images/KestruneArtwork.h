#pragma once

#include <juce_graphics/juce_graphics.h>

#include <vector>

// The editor's nine pictures, drawn by code: brushed-metal panel and knobs, the meter's
// scale and bezel, the slide switch and the bypass toggle. Everything is computed with
// plain arithmetic from fixed tables and seeds, so drawing again gives the same pixels,
// and the PNG encoding of those pixels gives the same bytes.
namespace KestruneArtwork
{
struct Picture
{
    const char* fileName;
    int width, height;
    bool hasAlpha;
    juce::Image (*draw)();
};

// Every picture the editor embeds, by file name.
const std::vector<Picture>& pictures();

// The PNG file of an image.
juce::MemoryBlock encodePng (const juce::Image& image);
}
