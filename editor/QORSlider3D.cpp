#include "QORSlider3D.h"

#include "KestruneImages.h"

#include <cmath>

QORSlider3D::QORSlider3D (const juce::String& componentName)
    : juce::Slider (componentName),
      capImage (juce::ImageCache::getFromMemory (KestruneImages::knob_cap_png, KestruneImages::knob_cap_pngSize)),
      pointerImage (juce::ImageCache::getFromMemory (KestruneImages::knob_pointer_png, KestruneImages::knob_pointer_pngSize)),
      bodyImage (juce::ImageCache::getFromMemory (KestruneImages::knob_body_png, KestruneImages::knob_body_pngSize))
{
    setSize (200, 200);
}

QORSlider3D::~QORSlider3D() = default;

void QORSlider3D::paint (juce::Graphics& g)
{
    const int w = getWidth();
    const int h = getHeight();

    g.setColour (juce::Colours::black);
    g.drawImage (bodyImage, 0, 0, w, h, 0, 0, bodyImage.getWidth(), bodyImage.getHeight());

    const int dx = juce::roundToInt ((float) w * offsetX);
    const int dy = juce::roundToInt ((float) w * offsetY);

    paintedValue = (float) getValue();
    const float angle = (paintedValue - 0.5f) * 6.0f * juce::MathConstants<float>::pi * 0.25f;

    g.setColour (juce::Colours::white);
    const float px = (std::sin (angle) * 0.33f + 0.5f) * (float) w;
    const float py = (0.5f - std::cos (angle) * 0.33f) * (float) h;

    // The pointer's side face, between its foot on the body and the displaced cap.
    g.setOpacity (0.5f);
    g.drawLine (px, py, px + (float) dx, py + (float) dy, (float) w / 150.0f + 1.0f);
    g.setOpacity (1.0f);

    g.drawImage (capImage, dx, dy, w, h, 0, 0, capImage.getWidth(), capImage.getHeight());

    juce::Graphics::ScopedSaveState saved (g);
    g.addTransform (juce::AffineTransform::rotation (angle, (float) (w / 2 + dx), (float) (h / 2 + dy)));
    g.drawImageWithin (pointerImage, dx, dy, w, h, juce::RectanglePlacement::centred);
}
