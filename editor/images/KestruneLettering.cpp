#include "KestruneLettering.h"

namespace KestruneLettering
{
namespace
{
    // A glyph: its advance in grid units and its strokes as commands: "M x,y" moves,
    // "L x,y" draws a line, "C cx,cy x,y" draws a quarter-ellipse-like curve to (x, y)
    // whose tangents meet at the corner (cx, cy). Capitals run from y 0 to the baseline at 10,
    // lower case from 4 to 10.
    struct Glyph
    {
        juce::juce_wchar character;
        float width;
        const char* strokes;
    };

    constexpr Glyph glyphs[] = {
        { ' ', 2.5f, "" },
        { '+', 5.0f, "M0,6.5 L5,6.5 M2.5,4 L2.5,9" },
        { '-', 3.5f, "M0,6.5 L3.5,6.5" },
        { '0', 5.0f, "M2.5,0 C5,0 5,5 C5,10 2.5,10 C0,10 0,5 C0,0 2.5,0" },
        { '1', 3.0f, "M0,2 L2.2,0 L2.2,10" },
        { '2', 5.0f, "M0.2,2.5 C0.2,0 2.5,0 C4.8,0 4.8,2.6 C4.8,4.6 2.5,6.3 L0,10 L5,10" },
        { '3', 5.0f, "M0.3,1 C1,0 2.4,0 C4.6,0 4.6,2.5 C4.6,5 2.2,5 C5,5 5,7.5 C5,10 2.4,10 C0.8,10 0,8.8" },
        { '4', 5.0f, "M3.8,10 L3.8,0 L0,7 L5,7" },
        { '5', 5.0f, "M4.6,0 L0.8,0 L0.4,4.6 C1,4 2.5,4 C5,4 5,7 C5,10 2.4,10 C0.8,10 0,8.8" },
        { '6', 5.0f, "M4.4,0.8 C3.8,0 2.6,0 C0,0 0,5 L0,7 C0,10 2.5,10 C5,10 5,7 C5,4 2.5,4 C0.6,4 0,5.8" },
        { '7', 5.0f, "M0,0 L5,0 L1.8,10" },
        { '8', 5.0f, "M2.5,5 C0.4,5 0.4,2.5 C0.4,0 2.5,0 C4.6,0 4.6,2.5 C4.6,5 2.5,5 C0,5 0,7.5 C0,10 2.5,10 C5,10 5,7.5 C5,5 2.5,5" },
        { '9', 5.0f, "M0.6,9.2 C1.2,10 2.5,10 C5,10 5,5 L5,3 C5,0 2.5,0 C0,0 0,3 C0,6 2.5,6 C4.4,6 5,4.2" },
        { 'A', 6.0f, "M0,10 L3,0 L6,10 M1,6.7 L5,6.7" },
        { 'B', 5.0f, "M0,0 L0,10 L2.8,10 C5,10 5,7.5 C5,5 2.8,5 L0,5 M0,0 L2.6,0 C4.6,0 4.6,2.5 C4.6,5 2.6,5" },
        { 'D', 5.5f, "M0,0 L0,10 L2.5,10 C5.5,10 5.5,5 C5.5,0 2.5,0 L0,0" },
        { 'L', 4.5f, "M0,0 L0,10 L4.5,10" },
        { 'O', 7.0f, "M3.5,0 C7,0 7,5 C7,10 3.5,10 C0,10 0,5 C0,0 3.5,0" },
        { 'Q', 7.0f, "M3.5,0 C7,0 7,5 C7,10 3.5,10 C0,10 0,5 C0,0 3.5,0 M4.3,7.3 L7,10.5" },
        { 'R', 5.0f, "M0,10 L0,0 L2.8,0 C5,0 5,2.5 C5,5 2.8,5 L0,5 M2.5,5 L5,10" },
        { 'T', 6.0f, "M0,0 L6,0 M3,0 L3,10" },
        { 'a', 5.0f, "M5,4 L5,10 M5,7 C5,4 2.5,4 C0,4 0,7 C0,10 2.5,10 C5,10 5,7" },
        { 'c', 4.5f, "M4.5,5 C4,4 2.5,4 C0,4 0,7 C0,10 2.5,10 C4,10 4.5,9" },
        { 'd', 5.0f, "M5,0 L5,10 M5,7 C5,4 2.5,4 C0,4 0,7 C0,10 2.5,10 C5,10 5,7" },
        { 'e', 5.0f, "M0,7 L5,7 C5,4 2.5,4 C0,4 0,7 C0,10 2.5,10 C4,10 4.8,9" },
        { 'f', 3.5f, "M3.5,0.5 C1.5,0 1.5,2 L1.5,10 M0,4 L3.2,4" },
        { 'h', 5.0f, "M0,0 L0,10 M0,6.5 C0,4 2.5,4 C5,4 5,6.5 L5,10" },
        { 'i', 1.0f, "M0.5,4 L0.5,10 M0.5,1.6 L0.5,2.4" },
        { 'k', 4.5f, "M0,0 L0,10 M4.5,4 L0,7.5 M1.6,6.3 L4.5,10" },
        { 'l', 1.0f, "M0.5,0 L0.5,10" },
        { 'n', 5.0f, "M0,4 L0,10 M0,6.5 C0,4 2.5,4 C5,4 5,6.5 L5,10" },
        { 'o', 5.0f, "M2.5,4 C5,4 5,7 C5,10 2.5,10 C0,10 0,7 C0,4 2.5,4" },
        { 'r', 3.5f, "M0,4 L0,10 M0,6.5 C0,4 2.5,4 L3.5,4.2" },
        { 's', 4.5f, "M4.3,4.8 C4,4 2.3,4 C0.2,4 0.2,5.5 C0.2,7 2.3,7 C4.5,7 4.5,8.5 C4.5,10 2.2,10 C0.5,10 0,9" },
        { 't', 3.5f, "M1.5,1.5 L1.5,8.5 C1.5,10 3,10 L3.5,10 M0,4 L3.3,4" },
        { 'u', 5.0f, "M0,4 L0,7.5 C0,10 2.5,10 C5,10 5,7.5 M5,4 L5,10" },
        { 'v', 5.0f, "M0,4 L2.5,10 L5,4" },
        { 'w', 7.0f, "M0,4 L1.75,10 L3.5,5 L5.25,10 L7,4" },
    };

    constexpr float letterGap = 1.6f;
    constexpr float gridCapHeight = 10.0f;
    // Control points of a cubic that follows a quarter ellipse.
    constexpr float quarterEllipse = 0.5522848f;

    const Glyph* findGlyph (juce::juce_wchar c) noexcept
    {
        for (auto& glyph : glyphs)
            if (glyph.character == c)
                return &glyph;
        return nullptr;
    }

    juce::Point<float> parsePoint (const juce::String& token)
    {
        return { token.upToFirstOccurrenceOf (",", false, false).getFloatValue(),
                 token.fromFirstOccurrenceOf (",", false, false).getFloatValue() };
    }

    // Appends one glyph's strokes, shifted right by originX grid units.
    void addGlyph (juce::Path& path, const Glyph& glyph, float originX)
    {
        const auto tokens = juce::StringArray::fromTokens (glyph.strokes, " ", "");
        const juce::Point<float> origin (originX, 0.0f);
        juce::Point<float> current;

        for (int i = 0; i < tokens.size(); ++i)
        {
            const auto command = tokens[i][0];
            const auto point = origin + parsePoint (tokens[i].substring (1));

            if (command == 'M')
            {
                path.startNewSubPath (point);
                current = point;
            }
            else if (command == 'L')
            {
                path.lineTo (point);
                current = point;
            }
            else if (command == 'C' && i + 1 < tokens.size())
            {
                const auto end = origin + parsePoint (tokens[++i]);
                path.cubicTo (current + (point - current) * quarterEllipse,
                              end + (point - end) * quarterEllipse,
                              end);
                current = end;
            }
        }
    }

    float gridWidth (const juce::String& text) noexcept
    {
        float width = 0.0f;

        for (auto c : text)
            if (auto* glyph = findGlyph (c))
                width += glyph->width + letterGap;

        return width > 0.0f ? width - letterGap : 0.0f;
    }
}

juce::Path textPath (const juce::String& text, float capHeight)
{
    juce::Path path;
    float x = 0.0f;

    for (auto c : text)
    {
        if (auto* glyph = findGlyph (c))
        {
            addGlyph (path, *glyph, x);
            x += glyph->width + letterGap;
        }
    }

    const float scale = capHeight / gridCapHeight;
    path.applyTransform (juce::AffineTransform::translation (0.0f, -gridCapHeight).scaled (scale));
    return path;
}

float textWidth (const juce::String& text, float capHeight)
{
    return gridWidth (text) * capHeight / gridCapHeight;
}

void drawCentred (juce::Graphics& g, const juce::String& text, float centreX, float baselineY,
                  float capHeight, float strokeWidth)
{
    auto path = textPath (text, capHeight);
    path.applyTransform (juce::AffineTransform::translation (centreX - textWidth (text, capHeight) * 0.5f, baselineY));
    // Bevelled joints and square ends: no arcs, so the strokes come out the same everywhere.
    g.strokePath (path, juce::PathStrokeType (strokeWidth, juce::PathStrokeType::beveled,
                                              juce::PathStrokeType::square));
}
}
