#pragma once
// The toolbox's one font: fixed-width, with metrics that follow from the size alone, and the
// layout of text into lines for text boxes and text-edit records.

#include <abi/HostTypes.h>

#include <string_view>
#include <vector>

namespace kestrune::host::rtas
{

struct FontMetrics
{
    int32_t advance = 0; // width of every character
    int32_t ascent = 0;
    int32_t descent = 0;
    int32_t leading = 0;
    bool bold = false;
    bool underline = false;

    int32_t lineHeight() const { return ascent + descent + leading; }
    int32_t width (size_t characters) const { return int32_t (characters) * advance; }
    // The columns of a glyph: the advance less one pixel, or the whole advance in bold.
    int32_t glyphWidth() const { return bold ? advance : advance - 1; }
};

// Size 0 is the default size 12; sizes are clamped to 1-255.
FontMetrics fontMetrics (int16_t size, int16_t face);

// Whether a character draws a glyph (spaces and control characters draw nothing).
bool drawsGlyph (unsigned char character);

// One line of laid-out text: its characters are [start, start + length) (a line break is not
// one of them, the spaces at a wrap point are); the next line starts at `next`.
struct TextLine
{
    size_t start = 0;
    size_t length = 0;
    size_t next = 0;
};

// The characters of a line that take room: its length less its trailing spaces.
size_t visibleLength (std::string_view text, const TextLine& line);

// Breaks text into lines no wider than `width` pixels: at carriage returns and line feeds, and
// otherwise after the last space that fits, or inside a word longer than a line. Empty text is one
// empty line, and so is the end of a text that ends with a line break.
std::vector<TextLine> layoutLines (std::string_view text, int32_t width, const FontMetrics& font);

// The left edge of a line of `lineWidth` pixels in a box from `left` to `right` for a
// justification: teFlushRight puts the spare width on the left, teCenter half on each side
// (the odd pixel on the right), anything else none.
int32_t justifiedLeft (int32_t left, int32_t right, int32_t lineWidth, int16_t just);

} // namespace kestrune::host::rtas
