#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// An analogue needle meter, 300 x 300, pivot at (150, 240). A level of 0 puts the needle at
// -40 degrees, 1.41 and above at +40 degrees, linearly between. The optional held needle
// follows peaks at once and falls back ever faster.
class QORVuMeter : public juce::Button
{
public:
    QORVuMeter();
    ~QORVuMeter() override;

    // [message thread] Shows a new level; the same level again changes and repaints nothing.
    void setLevel (float value);

    // [message thread] Draws and updates the held needle, or not.
    void setPeakHold (bool shouldHoldPeaks) noexcept { peakHold = shouldHoldPeaks; }
    bool isHoldingPeaks() const noexcept { return peakHold; }

    float getLevel() const noexcept { return level; }
    float getHeldLevel() const noexcept { return heldLevel; }

    // [message thread]
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

    // The needle's angle in radians for a level; not-a-number counts as 0.
    static float needleAngle (float value) noexcept;

    static constexpr float pivotX = 150.0f;
    static constexpr float pivotY = 240.0f;

private:
    juce::Image faceImage;
    juce::Image overlayImage;
    float level = 0.0f;
    float heldLevel = 0.0f;
    float fallStep = 0.0f;
    bool peakHold = true;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QORVuMeter)
};
