#include "KestruneArtwork.h"

#include "KestruneLettering.h"
#include "KestrunePanelLayout.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace KestruneArtwork
{
namespace
{
    using juce::Colour;
    using juce::Image;
    namespace Layout = KestrunePanelLayout;

    constexpr double pi = 3.14159265358979323846;

    // Sine by a fixed series: the geometry then does not depend on the C library's
    // trigonometry, which differs between machines in the last bits.
    double seriesSin (double x) noexcept
    {
        x -= 2.0 * pi * std::floor (x / (2.0 * pi) + 0.5);
        double term = x, sum = x;

        for (int n = 1; n < 12; ++n)
        {
            term *= -x * x / (double) ((2 * n) * (2 * n + 1));
            sum += term;
        }

        return sum;
    }

    double seriesCos (double x) noexcept { return seriesSin (x + pi * 0.5); }

    // The point at a distance from a centre, at an angle in degrees clockwise from straight up.
    juce::Point<float> polar (juce::Point<float> centre, float radius, double degrees) noexcept
    {
        const double radians = degrees * pi / 180.0;
        return { centre.x + radius * (float) seriesSin (radians),
                 centre.y - radius * (float) seriesCos (radians) };
    }

    float clamp01 (float v) noexcept { return std::clamp (v, 0.0f, 1.0f); }

    // Repeatable noise in [0, 1) from integer coordinates and a seed.
    float noise (int x, int y, uint32_t seed) noexcept
    {
        uint32_t h = (uint32_t) x * 0x8da6b343u ^ (uint32_t) y * 0xd8163841u ^ seed * 0xcb1ab31fu;
        h ^= h >> 13;
        h *= 0x5bd1e995u;
        h ^= h >> 15;
        return (float) (h & 0xffffffu) / 16777216.0f;
    }

    // Noise along one axis, interpolated between integer steps.
    float smoothNoise (float t, int row, uint32_t seed) noexcept
    {
        const float cell = std::floor (t);
        const float f = t - cell;
        const int i = (int) cell;
        return noise (i, row, seed) * (1.0f - f) + noise (i + 1, row, seed) * f;
    }

    Colour grey (float v, float alpha = 1.0f) noexcept
    {
        return Colour::fromFloatRGBA (clamp01 (v), clamp01 (v * 0.995f), clamp01 (v * 0.985f), alpha);
    }

    // Paints a disc pixel by pixel: shader (dx, dy, r) gives the colour at an offset from the
    // centre; the edge is antialiased by coverage.
    template <typename Shader>
    void paintDisc (Image& image, juce::Point<float> centre, float radius, Shader shader)
    {
        Image::BitmapData data (image, Image::BitmapData::readWrite);
        const int x0 = std::max (0, (int) std::floor (centre.x - radius - 1.0f));
        const int x1 = std::min (image.getWidth() - 1, (int) std::ceil (centre.x + radius + 1.0f));
        const int y0 = std::max (0, (int) std::floor (centre.y - radius - 1.0f));
        const int y1 = std::min (image.getHeight() - 1, (int) std::ceil (centre.y + radius + 1.0f));

        for (int y = y0; y <= y1; ++y)
        {
            for (int x = x0; x <= x1; ++x)
            {
                const float dx = (float) x + 0.5f - centre.x;
                const float dy = (float) y + 0.5f - centre.y;
                const float r = std::sqrt (dx * dx + dy * dy);
                const float coverage = clamp01 (radius - r + 0.5f);

                if (coverage > 0.0f)
                {
                    const Colour c = shader (dx, dy, r);
                    data.setPixelColour (x, y, data.getPixelColour (x, y).overlaidWith (c.withMultipliedAlpha (coverage)));
                }
            }
        }
    }

    // Concentrically brushed metal: two bright reflections along the top-left to
    // bottom-right diagonal, rings of fine grain, and a bevel that catches light from the
    // top left within bevel pixels of the rim.
    auto brushedDisc (float radius, float base, float contrast, float bevel, uint32_t seed)
    {
        return [=] (float dx, float dy, float r) {
            const float r2 = std::max (dx * dx + dy * dy, 1.0e-6f);
            const float diagonal = -2.0f * dx * dy / r2;
            const float cross = (dx * dx - dy * dy) / r2;
            const float lobes = diagonal * diagonal * diagonal * diagonal;
            float v = base + contrast * (0.8f * lobes + 0.25f * diagonal - 0.15f * cross * cross - 0.3f)
                      + 0.05f * (smoothNoise (r * 1.7f, 0, seed) - 0.5f)
                      + 0.02f * (noise ((int) (dx * 8.0f), (int) (dy * 8.0f), seed + 1) - 0.5f);

            if (r > radius - bevel)
            {
                const float light = (-dx - dy) / (std::max (r, 1.0e-3f) * 1.41421356f);
                const float edge = clamp01 ((r - (radius - bevel)) / bevel);
                v = v * (1.0f - edge) + (base + 0.3f * light) * edge;
            }

            return grey (v);
        };
    }

    void stroke (juce::Graphics& g, const juce::Path& path, float width)
    {
        g.strokePath (path, juce::PathStrokeType (width, juce::PathStrokeType::beveled, juce::PathStrokeType::butt));
    }

    void line (juce::Graphics& g, juce::Point<float> from, juce::Point<float> to, float width)
    {
        juce::Path path;
        path.startNewSubPath (from);
        path.lineTo (to);
        stroke (g, path, width);
    }

    juce::Path roundedRect (float x, float y, float w, float h, float corner)
    {
        juce::Path path;
        path.addRoundedRectangle (x, y, w, h, corner);
        return path;
    }

    void fillGradient (juce::Graphics& g, const juce::Path& path, Colour top, Colour bottom, float y0, float y1)
    {
        g.setGradientFill (juce::ColourGradient (top, 0.0f, y0, bottom, 0.0f, y1, false));
        g.fillPath (path);
    }

    void screw (Image& image, juce::Point<float> centre, float radius, double slotDegrees)
    {
        paintDisc (image, centre + juce::Point<float> (0.0f, 1.0f), radius + 1.5f,
                   [] (float, float, float) { return Colour (0x80000000); });
        paintDisc (image, centre, radius, brushedDisc (radius, 0.55f, 0.2f, radius * 0.35f, 7));
        juce::Graphics g (image);
        g.setColour (Colour (0xff1a1a1a));
        line (g, polar (centre, radius * 0.8f, slotDegrees), polar (centre, radius * 0.8f, slotDegrees + 180.0), radius * 0.3f);
    }

    //==========================================================================
    // Panel: horizontally brushed dark aluminium.
    void brushPanel (Image& image)
    {
        Image::BitmapData data (image, Image::BitmapData::writeOnly);

        for (int y = 0; y < image.getHeight(); ++y)
        {
            const float row = 0.02f * (noise (0, y, 2) - 0.5f);
            const float shade = 0.05f * (1.0f - (float) y / (float) image.getHeight());

            for (int x = 0; x < image.getWidth(); ++x)
            {
                const float v = 0.16f + shade + row
                                + 0.035f * (smoothNoise ((float) x / 40.0f, y, 1) - 0.5f)
                                + 0.012f * (noise (x, y, 3) - 0.5f);
                data.setPixelColour (x, y, Colour::fromFloatRGBA (v, v * 1.01f, v * 1.045f, 1.0f));
            }
        }
    }

    void drawPanelEdges (juce::Graphics& g)
    {
        g.setColour (Colour (0x30ffffff));
        g.fillRect (0, 0, Layout::panelWidth, 2);
        g.setColour (Colour (0x60000000));
        g.fillRect (0, Layout::panelHeight - 2, Layout::panelWidth, 2);
        // The recess behind the meter.
        const auto& m = Layout::meter;
        g.setColour (Colour (0x80000000));
        g.fillRect (m.x + 2, m.y + 2, m.width - 4, m.height - 4);
        g.setColour (Colour (0x20ffffff));
        g.fillRect (m.x + 2, m.y + m.height - 3, m.width - 4, 1);
    }

    void knobWell (Image& image, const Layout::Bounds& knob)
    {
        const juce::Point<float> centre (knob.centreX(), knob.centreY());
        const float radius = (float) knob.width * 0.5f;
        paintDisc (image, centre + juce::Point<float> (0.0f, 1.0f), radius + 3.0f, [radius] (float, float, float r) {
            return Colour::fromFloatRGBA (0.0f, 0.0f, 0.0f, 0.45f * clamp01 ((radius + 3.0f - r) / 3.0f));
        });
        paintDisc (image, centre, radius, [radius] (float, float dy, float r) {
            const float rim = clamp01 ((r - (radius - 2.0f)) / 2.0f) * clamp01 (dy / radius + 0.3f);
            return Colour::fromFloatRGBA (0.06f + 0.25f * rim, 0.062f + 0.25f * rim, 0.068f + 0.25f * rim, 1.0f);
        });
    }

    void caption (juce::Graphics& g, const juce::String& text, float centreX, float baselineY, float capHeight, float width)
    {
        g.setColour (Colour (0xffd2cdbe));
        KestruneLettering::drawCentred (g, text, centreX, baselineY, capHeight, width);
    }

    void drawCaptions (juce::Graphics& g)
    {
        const auto& attack = Layout::attackKnob;
        const auto& release = Layout::releaseKnob;
        caption (g, "Attack", attack.centreX(), 23.0f, 9.0f, 1.3f);
        caption (g, "Release", release.centreX(), 23.0f, 9.0f, 1.3f);

        for (auto* knob : { &attack, &release })
        {
            caption (g, "fast", knob->centreX() - 27.0f, 127.0f, 7.0f, 1.1f);
            caption (g, "slow", knob->centreX() + 27.0f, 127.0f, 7.0f, 1.1f);
        }

        caption (g, "Threshold", Layout::thresholdKnob.centreX(), 154.0f, 9.0f, 1.3f);
        caption (g, "Level", Layout::levelKnob.centreX(), 154.0f, 9.0f, 1.3f);
        caption (g, "Drive", Layout::driveKnob.centreX(), 23.0f, 9.0f, 1.3f);

        const auto& ratio = Layout::ratioKnob;
        caption (g, "Ratio", ratio.centreX(), 13.0f, 8.0f, 1.2f);

        // The ratio scale at the knob's steps: step i of ten lies at (i / 10 - 0.5) * 270 degrees.
        struct RatioMark
        {
            int step;
            const char* text;
        };
        constexpr RatioMark ratioMarks[] = {
            { 0, "1" },
            { 2, "2" },
            { 4, "3" },
            { 5, "4" },
            { 6, "8" },
            { 7, "12" },
            { 8, "16" },
            { 9, "20" },
            { 10, "+inf" },
        };

        for (const auto& mark : ratioMarks)
        {
            const auto at = polar ({ ratio.centreX(), ratio.centreY() }, 50.0f, ((double) mark.step / 10.0 - 0.5) * 270.0);
            caption (g, mark.text, at.x, at.y + 3.0f, 6.0f, 1.0f);
        }

        // The maker's lettering.
        g.setColour (Colour (0xffe8e4d8));
        KestruneLettering::drawCentred (g, "QORaudio", 52.0f, 72.0f, 13.0f, 2.0f);
        g.setColour (Colour (0xffb03020));
        g.fillRect (19, 78, 66, 2);
    }

    //==========================================================================
    // The bypass toggle: a lamp jewel in a chrome bezel beside a bat-lever toggle on a hex nut.
    void drawBypassSwitch (Image& image, int ox, int oy, bool lit)
    {
        const auto origin = juce::Point<float> ((float) ox, (float) oy);
        {
            juce::Graphics g (image);
            g.setColour (Colour (0x50000000));
            g.fillPath (roundedRect ((float) ox + 2.0f, (float) oy + 2.0f, 87.0f, 71.0f, 6.0f));
            g.setColour (Colour (0x25ffffff));
            g.strokePath (roundedRect ((float) ox + 2.5f, (float) oy + 2.5f, 86.0f, 70.0f, 6.0f), juce::PathStrokeType (1.0f));
        }

        const auto lamp = origin + juce::Point<float> (25.0f, 37.5f);

        if (lit)
            paintDisc (image, lamp, 24.0f, [] (float, float, float r) {
                const float t = 1.0f - r / 24.0f;
                return Colour::fromFloatRGBA (1.0f, 0.15f, 0.1f, 0.55f * t * t);
            });

        paintDisc (image, lamp, 15.0f, brushedDisc (15.0f, 0.7f, 0.2f, 4.0f, 11));
        paintDisc (image, lamp, 11.0f, [lit] (float dx, float dy, float r) {
            const float t = r / 11.0f;
            const float sx = dx + 4.0f, sy = dy + 4.0f;
            const float spot = clamp01 (1.0f - (sx * sx + sy * sy) / 9.0f);

            if (lit)
                return Colour::fromFloatRGBA (1.0f, clamp01 (0.45f * (1.0f - t) + 0.08f + spot * 0.6f),
                                              clamp01 (0.3f * (1.0f - t) + 0.05f + spot * 0.6f), 1.0f);

            return Colour::fromFloatRGBA (0.3f - 0.12f * t + spot * 0.35f, 0.05f + spot * 0.3f, 0.05f + spot * 0.3f, 1.0f);
        });

        const auto toggle = origin + juce::Point<float> (62.0f, 40.0f);
        paintDisc (image, toggle, 18.0f, brushedDisc (18.0f, 0.38f, 0.15f, 3.0f, 12));

        juce::Graphics g (image);
        juce::Path nut;
        for (int corner = 0; corner < 6; ++corner)
        {
            const auto p = polar (toggle, 13.0f, 30.0 + 60.0 * corner);
            if (corner == 0)
                nut.startNewSubPath (p);
            else
                nut.lineTo (p);
        }
        nut.closeSubPath();
        fillGradient (g, nut, Colour (0xffd8d8d8), Colour (0xff606060), toggle.y - 13.0f, toggle.y + 13.0f);
        g.setColour (Colour (0xff303030));
        stroke (g, nut, 1.0f);

        juce::Path lever;
        lever.startNewSubPath (toggle.x - 5.0f, toggle.y);
        lever.lineTo (toggle.x - 3.0f, (float) oy + 10.0f);
        lever.lineTo (toggle.x + 3.0f, (float) oy + 10.0f);
        lever.lineTo (toggle.x + 5.0f, toggle.y);
        lever.closeSubPath();
        lever.addEllipse (toggle.x - 4.5f, (float) oy + 5.0f, 9.0f, 9.0f);
        juce::ColourGradient chrome (Colour (0xff707070), toggle.x - 5.0f, 0.0f,
                                     Colour (0xff505050), toggle.x + 5.0f, 0.0f, false);
        chrome.addColour (0.35, Colour (0xfff4f4f4));
        g.setGradientFill (chrome);
        g.fillPath (lever);
        g.setColour (Colour (0xff202020));
        g.fillEllipse (toggle.x - 5.0f, toggle.y - 5.0f, 10.0f, 10.0f);
    }

    Image drawPanel (bool bypassLit)
    {
        Image image (Image::RGB, Layout::panelWidth, Layout::panelHeight, false);
        brushPanel (image);
        {
            juce::Graphics g (image);
            drawPanelEdges (g);
        }

        for (auto* knob : { &Layout::attackKnob, &Layout::releaseKnob, &Layout::ratioKnob, &Layout::driveKnob,
                            &Layout::thresholdKnob, &Layout::levelKnob, &Layout::lowCutKnob, &Layout::mixKnob })
            knobWell (image, *knob);

        screw (image, { 14.0f, 14.0f }, 5.0f, 30.0);
        screw (image, { 886.0f, 14.0f }, 5.0f, 75.0);
        screw (image, { 14.0f, 286.0f }, 5.0f, 120.0);
        screw (image, { 886.0f, 286.0f }, 5.0f, 10.0);

        drawBypassSwitch (image, Layout::bypassButton.x, Layout::bypassButton.y, bypassLit);

        juce::Graphics g (image);
        drawCaptions (g);
        return image;
    }

    Image drawBackground() { return drawPanel (false); }

    // The lit switch cut from a panel drawn with the lamp on, so that it covers the
    // background's unlit switch exactly.
    Image drawBypass()
    {
        const auto& b = Layout::bypassButton;
        const Image panel = drawPanel (true);
        Image image (Image::RGB, b.width, b.height, false);
        juce::Graphics g (image);
        g.drawImageAt (panel, -b.x, -b.y);
        return image;
    }

    //==========================================================================
    // The meter's scale: marks by linear level, the needle's angle being
    // level * 80 / 1.41 - 40 degrees about the pivot.
    // The labels of the two lowest marks, close together, are nudged apart (degrees).
    struct MeterMark
    {
        const char* text;
        double level;
        double labelNudge;
    };
    constexpr MeterMark meterMarks[] = {
        { "-50", 0.0031623, -2.0 },
        { "-20", 0.1, 0.8 },
        { "-10", 0.3162278, 0.0 },
        { "-7", 0.4466836, 0.0 },
        { "-5", 0.5623413, 0.0 },
        { "-3", 0.7079458, 0.0 },
        { "-2", 0.7943282, 0.0 },
        { "-1", 0.8912509, 0.0 },
        { "0", 1.0, 0.0 },
        { "+1", 1.1220185, 0.0 },
        { "+2", 1.2589254, 0.0 },
        { "+3", 1.4125375, 0.0 },
    };

    const juce::Point<float> meterPivot (150.0f, 240.0f);
    constexpr float windowInset = 14.0f;

    double meterDegrees (double level) noexcept
    {
        return std::min (level, 1.41) * 80.0 / 1.41 - 40.0;
    }

    // Appends an arc about the pivot as a polyline, from one angle to another.
    void appendArc (juce::Path& path, float radius, double fromDegrees, double toDegrees, bool startNewSubPath)
    {
        constexpr int steps = 80;

        for (int i = 0; i <= steps; ++i)
        {
            const auto p = polar (meterPivot, radius, fromDegrees + (toDegrees - fromDegrees) * i / steps);
            if (i == 0 && startNewSubPath)
                path.startNewSubPath (p);
            else
                path.lineTo (p);
        }
    }

    Image drawMeterFace()
    {
        Image image (Image::ARGB, 300, 300, true);
        juce::Graphics g (image);
        const float window = 300.0f - 2.0f * windowInset;
        fillGradient (g, roundedRect (windowInset, windowInset, window, window, 10.0f),
                      Colour (0xfff7eed0), Colour (0xffdccb98), windowInset, 300.0f - windowInset);

        const double zeroDegrees = meterDegrees (1.0);
        juce::Path redZone;
        appendArc (redZone, 147.0f, zeroDegrees, 40.0, true);
        appendArc (redZone, 154.0f, 40.0, zeroDegrees, false);
        redZone.closeSubPath();
        g.setColour (Colour (0xffc42a1e));
        g.fillPath (redZone);

        g.setColour (Colour (0xff2a2520));
        juce::Path scale;
        appendArc (scale, 146.0f, -40.0, 40.0, true);
        stroke (g, scale, 1.6f);

        for (size_t i = 0; i < std::size (meterMarks); ++i)
        {
            const auto& mark = meterMarks[i];
            const double degrees = meterDegrees (mark.level);
            const bool red = mark.level > 1.0;
            g.setColour (red ? Colour (0xffb01e14) : Colour (0xff2a2520));
            line (g, polar (meterPivot, 146.0f, degrees), polar (meterPivot, 158.0f, degrees), 2.0f);
            const auto at = polar (meterPivot, 170.0f, degrees + mark.labelNudge);
            KestruneLettering::drawCentred (g, mark.text, at.x, at.y + 4.5f, 9.0f, 1.4f);

            if (i + 1 < std::size (meterMarks))
            {
                const double between = (degrees + meterDegrees (meterMarks[i + 1].level)) * 0.5;
                g.setColour (between > zeroDegrees ? Colour (0xffb01e14) : Colour (0xff2a2520));
                line (g, polar (meterPivot, 146.0f, between), polar (meterPivot, 152.0f, between), 1.0f);
            }
        }

        g.setColour (Colour (0xff2a2520));
        KestruneLettering::drawCentred (g, "dB", 150.0f, 200.0f, 16.0f, 2.0f);
        return image;
    }

    Image drawMeterOverlay()
    {
        Image image (Image::ARGB, 300, 300, true);
        const float window = 300.0f - 2.0f * windowInset;
        {
            juce::Graphics g (image);
            juce::Path bezel = roundedRect (2.0f, 2.0f, 296.0f, 296.0f, 16.0f);
            bezel.addPath (roundedRect (windowInset, windowInset, window, window, 10.0f));
            bezel.setUsingNonZeroWinding (false);
            fillGradient (g, bezel, Colour (0xff303030), Colour (0xff0a0a0a), 2.0f, 298.0f);
            g.setColour (Colour (0x30ffffff));
            g.strokePath (roundedRect (2.5f, 2.5f, 295.0f, 295.0f, 16.0f), juce::PathStrokeType (1.0f));
            g.setColour (Colour (0x80000000));
            g.strokePath (roundedRect (windowInset + 1.0f, windowInset + 1.0f, window - 2.0f, window - 2.0f, 9.0f),
                          juce::PathStrokeType (3.0f));

            // Reflection on the glass over the upper part of the scale.
            juce::Path glass;
            glass.startNewSubPath (windowInset + 4.0f, windowInset + 4.0f);
            glass.lineTo (300.0f - windowInset - 4.0f, windowInset + 4.0f);
            glass.lineTo (300.0f - windowInset - 4.0f, 96.0f);
            glass.cubicTo (210.0f, 126.0f, 100.0f, 96.0f, windowInset + 4.0f, 150.0f);
            glass.closeSubPath();
            fillGradient (g, glass, Colour (0x38ffffff), Colour (0x04ffffff), windowInset, 150.0f);
        }

        paintDisc (image, meterPivot, 17.0f, [] (float, float dy, float) {
            return Colour::fromFloatRGBA (0.08f - dy * 0.002f, 0.08f - dy * 0.002f, 0.08f - dy * 0.002f, 1.0f);
        });
        screw (image, meterPivot, 9.0f, 35.0);
        return image;
    }

    //==========================================================================
    Image drawSwitch (bool on)
    {
        Image image (Image::ARGB, 64, 64, true);
        juce::Graphics g (image);
        const auto plate = roundedRect (14.0f, 1.0f, 36.0f, 62.0f, 5.0f);
        fillGradient (g, plate, Colour (0xff585858), Colour (0xff262626), 1.0f, 63.0f);
        g.setColour (Colour (0xff101010));
        g.strokePath (plate, juce::PathStrokeType (1.0f));
        g.setColour (Colour (0xff050505));
        g.fillPath (roundedRect (27.0f, 7.0f, 10.0f, 50.0f, 3.0f));

        const float top = on ? 5.0f : 35.0f;
        fillGradient (g, roundedRect (17.0f, top, 30.0f, 24.0f, 3.0f), Colour (0xffececec), Colour (0xff808080), top, top + 24.0f);
        g.setColour (Colour (0xff3a3a3a));
        for (float ridge : { 7.0f, 12.0f, 17.0f })
            line (g, { 21.0f, top + ridge }, { 43.0f, top + ridge }, 1.5f);
        return image;
    }

    Image drawSwitchOff() { return drawSwitch (false); }
    Image drawSwitchOn() { return drawSwitch (true); }

    //==========================================================================
    // Knob parts, in the knob's own square: the body with its tick ring, the cap the
    // pointer turns on, and the pointer.
    Image drawKnobBody()
    {
        Image image (Image::ARGB, 200, 200, true);
        const juce::Point<float> centre (100.0f, 100.0f);
        paintDisc (image, centre + juce::Point<float> (0.0f, 3.0f), 80.0f, [] (float, float, float r) {
            return Colour::fromFloatRGBA (0.0f, 0.0f, 0.0f, 0.5f * clamp01 ((80.0f - r) / 10.0f));
        });
        paintDisc (image, centre, 74.0f, brushedDisc (74.0f, 0.3f, 0.12f, 6.0f, 21));

        juce::Graphics g (image);
        g.setColour (Colour (0xffd8d8d8));
        for (int tick = 0; tick <= 20; ++tick)
        {
            const double degrees = -135.0 + 13.5 * tick;
            const bool major = tick % 2 == 0;
            line (g, polar (centre, major ? 79.0f : 82.0f, degrees), polar (centre, major ? 95.0f : 91.0f, degrees),
                  major ? 3.0f : 1.6f);
        }
        return image;
    }

    Image drawKnobCap()
    {
        Image image (Image::ARGB, 600, 600, true);
        paintDisc (image, { 300.0f, 300.0f }, 198.0f, brushedDisc (198.0f, 0.62f, 0.2f, 14.0f, 31));
        juce::Graphics g (image);
        g.setColour (Colour (0x40000000));
        juce::Path rim;
        rim.addEllipse (300.0f - 184.0f, 300.0f - 184.0f, 368.0f, 368.0f);
        g.strokePath (rim, juce::PathStrokeType (2.0f));
        return image;
    }

    Image drawKnobPointer()
    {
        Image image (Image::ARGB, 200, 200, true);
        juce::Graphics g (image);
        g.setColour (juce::Colours::white);
        g.fillPath (roundedRect (97.0f, 36.0f, 6.0f, 34.0f, 3.0f));
        return image;
    }
}

const std::vector<Picture>& pictures()
{
    static const std::vector<Picture> all {
        { "background.png", 900, 300, false, drawBackground },
        { "bypass.png", 91, 75, false, drawBypass },
        { "meter_face.png", 300, 300, true, drawMeterFace },
        { "meter_overlay.png", 300, 300, true, drawMeterOverlay },
        { "switch_off.png", 64, 64, true, drawSwitchOff },
        { "switch_on.png", 64, 64, true, drawSwitchOn },
        { "knob_body.png", 200, 200, true, drawKnobBody },
        { "knob_cap.png", 600, 600, true, drawKnobCap },
        { "knob_pointer.png", 200, 200, true, drawKnobPointer },
    };
    return all;
}

juce::MemoryBlock encodePng (const juce::Image& image)
{
    juce::MemoryOutputStream stream;
    juce::PNGImageFormat().writeImageToStream (image, stream);
    return stream.getMemoryBlock();
}
}
