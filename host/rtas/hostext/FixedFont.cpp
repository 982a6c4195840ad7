#include "FixedFont.h"

#include <algorithm>

namespace kestrune::host::rtas
{

FontMetrics fontMetrics (int16_t size, int16_t face)
{
    const int32_t s = size == 0 ? 12 : std::clamp<int32_t> (size, 1, 255);
    FontMetrics metrics;
    metrics.bold = (face & kTextFaceBold) != 0;
    metrics.underline = (face & kTextFaceUnderline) != 0;
    metrics.advance = std::max (1, (2 * s + 1) / 3) + (metrics.bold ? 1 : 0);
    metrics.ascent = std::max (1, (7 * s + 4) / 9);
    metrics.descent = std::max (1, (2 * s + 4) / 9);
    metrics.leading = std::max (1, (s + 4) / 9);
    return metrics;
}

bool drawsGlyph (unsigned char character)
{
    return character > ' ' && character != 127;
}

size_t visibleLength (std::string_view text, const TextLine& line)
{
    size_t length = line.length;
    while (length > 0 && text[line.start + length - 1] == ' ')
        --length;
    return length;
}

std::vector<TextLine> layoutLines (std::string_view text, int32_t width, const FontMetrics& font)
{
    const size_t perLine = size_t (std::max (1, width / std::max (1, font.advance)));
    const auto isBreak = [] (char c) { return c == '\r' || c == '\n'; };
    std::vector<TextLine> lines;
    size_t at = 0;
    for (;;)
    {
        size_t hard = at;
        while (hard < text.size() && ! isBreak (text[hard]))
            ++hard;
        TextLine line { at, hard - at, hard < text.size() ? hard + 1 : hard };
        if (hard - at > perLine)
        {
            const size_t limit = at + perLine;
            size_t wrap = limit;
            while (wrap > at && text[wrap - 1] != ' ')
                --wrap;
            if (text[limit] == ' ')
                wrap = limit;
            if (wrap == at)
                wrap = limit; // a word longer than the line is cut
            while (wrap < hard && text[wrap] == ' ')
                ++wrap;
            line.length = wrap - at;
            line.next = wrap;
        }
        lines.push_back (line);
        if (line.next >= text.size())
        {
            if (! text.empty() && isBreak (text.back()) && line.next == text.size() && hard < text.size())
                lines.push_back ({ text.size(), 0, text.size() });
            return lines;
        }
        at = line.next;
    }
}

int32_t justifiedLeft (int32_t left, int32_t right, int32_t lineWidth, int16_t just)
{
    const int32_t spare = right - left - lineWidth;
    if (just == teFlushRight)
        return left + spare;
    if (just == teCenter)
        return left + spare / 2;
    return left;
}

} // namespace kestrune::host::rtas
