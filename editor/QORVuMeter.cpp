#include "QORVuMeter.h"

#include "KestruneImages.h"

#include <algorithm>
#include <cmath>

QORVuMeter::QORVuMeter()
    : juce::Button (juce::String()),
      faceImage (juce::ImageCache::getFromMemory (KestruneImages::meter_face_png, KestruneImages::meter_face_pngSize)),
      overlayImage (juce::ImageCache::getFromMemory (KestruneImages::meter_overlay_png, KestruneImages::meter_overlay_pngSize))
{
    setSize (300, 300);
    setBufferedToImage (false);
}

QORVuMeter::~QORVuMeter() = default;

float QORVuMeter::needleAngle (float value) noexcept
{
    // A level that is not a number (from a broken signal) rests the needle instead of
    // handing the renderer a non-finite rotation.
    const float a = std::isnan (value) ? 0.0f : std::clamp (value, 0.0f, 1.41f);
    return (a * 80.0f / 1.41f - 40.0f) * juce::MathConstants<float>::pi / 180.0f;
}

void QORVuMeter::setLevel (float value)
{
    if (value == level)
        return;

    level = value;

    if (peakHold)
    {
        if (value >= heldLevel)
        {
            fallStep = 0.000001f;
            heldLevel = value;
        }
        else
        {
            heldLevel = std::max (value, heldLevel - fallStep);
            fallStep *= 1.1f;
        }
    }

    repaint();
}

void QORVuMeter::paintButton (juce::Graphics& g, bool, bool)
{
    g.setColour (juce::Colours::black);
    g.drawImageAt (faceImage, 0, 0);

    const float angle = needleAngle (level);
    const auto rotation = juce::AffineTransform::rotation (angle, pivotX, pivotY);

    {
        juce::Graphics::ScopedSaveState saved (g);
        g.addTransform (juce::AffineTransform::translation (0.0f, 10.0f));
        g.addTransform (rotation);
        g.setOpacity (0.1f);
        g.drawLine (pivotX, pivotY, pivotX, 90.0f, 5.0f);
        g.drawLine (pivotX, pivotY, pivotX, 92.0f, 3.0f);
    }

    {
        juce::Graphics::ScopedSaveState saved (g);
        g.addTransform (rotation);
        g.drawLine (pivotX, pivotY, pivotX, 90.0f, 2.0f);
    }

    if (peakHold)
    {
        juce::Graphics::ScopedSaveState saved (g);
        const bool over = heldLevel >= 1.0f;
        g.setColour (juce::Colour (over ? 0xffff0000 : 0xff8b0000));
        g.addTransform (juce::AffineTransform::rotation (needleAngle (heldLevel), pivotX, pivotY));
        g.drawLine (pivotX, pivotY, pivotX, 105.0f, over ? 3.0f : 1.0f);
    }

    g.drawImageAt (overlayImage, 0, 0);
}
