#pragma once

#include <juce_graphics/juce_graphics.h>

// The panel's printed lettering, drawn from a small stroke alphabet of our own so that the
// artwork needs no font and comes out the same on every machine. Glyphs sit on a grid
// whose capitals are 10 units high; only the characters the artwork prints exist.
namespace KestruneLettering
{
// The outline of text whose capitals are capHeight pixels high, left end of the
// baseline at (0, 0); unknown characters are left out.
juce::Path textPath (const juce::String& text, float capHeight);

// Width of that text in pixels.
float textWidth (const juce::String& text, float capHeight);

// Strokes text centred horizontally on centreX, its baseline at baselineY.
void drawCentred (juce::Graphics& g, const juce::String& text, float centreX, float baselineY,
                  float capHeight, float strokeWidth);
}
