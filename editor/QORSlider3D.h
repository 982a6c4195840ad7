#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A rotary knob that looks three-dimensional: a body with its tick ring, a cap displaced
// by (offsetX, offsetY) times the knob's width, and a pointer turned by the value over
// -135 to +135 degrees; a short half-transparent line joins the pointer's foot on the
// body to the displaced cap. All else is JUCE's slider.
class QORSlider3D : public juce::Slider
{
public:
    explicit QORSlider3D (const juce::String& componentName);
    ~QORSlider3D() override;

    // [message thread]
    void paint (juce::Graphics& g) override;

    // Cap displacement as a fraction of the knob's width.
    float offsetX = 0.0f;
    float offsetY = 0.0f;

private:
    juce::Image capImage;
    juce::Image pointerImage;
    juce::Image bodyImage;
    float paintedValue = 0.0f;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QORSlider3D)
};
