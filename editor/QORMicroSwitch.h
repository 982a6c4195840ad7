#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A small two-state slide switch; a click toggles it.
class QORMicroSwitch : public juce::Button
{
public:
    QORMicroSwitch();
    ~QORMicroSwitch() override;

    // [message thread] The on picture when switched on, else the off picture, in 32 x 32.
    void paintButton (juce::Graphics& g, bool shouldDrawButtonAsHighlighted, bool shouldDrawButtonAsDown) override;

private:
    juce::Image offImage;
    juce::Image onImage;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (QORMicroSwitch)
};
