#pragma once

#include "KestruneAudioProcessor.h"
#include "QORMicroSwitch.h"
#include "QORSlider3D.h"
#include "QORVuMeter.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The editor's panel: owns every control, turns knob drags and button clicks into
// parameter changes of the processor, and keeps the controls (every 50 ms) and the meter
// (every 5 ms) in step with the processor while it is visible.
class KESTruneUI : public juce::Component,
                   public juce::MultiTimer,
                   public juce::Button::Listener,
                   public juce::Slider::Listener
{
public:
    explicit KESTruneUI (KestruneAudioProcessor& processorToControl);
    ~KESTruneUI() override;

    // [message thread] Runs the timers while visible, stops them while hidden.
    void visibilityChanged() override;
    // [message thread]
    void paint (juce::Graphics& g) override;
    void resized() override;

    // [message thread] Timer 0 refreshes the controls, timer 2 the meter.
    void timerCallback (int timerID) override;

    // [message thread] Bypass and knee flip their parameter inside a gesture; the meter
    // switch flips what the meter shows.
    void buttonClicked (juce::Button* button) override;

    // [message thread] A knob's value goes to its parameter; drags bracket it in a gesture.
    void sliderValueChanged (juce::Slider* slider) override;
    void sliderDragStarted (juce::Slider* slider) override;
    void sliderDragEnded (juce::Slider* slider) override;

    // [message thread] Reads every parameter and display text into the controls, sending
    // nothing back.
    void refreshControls();
    // [message thread] Sets the meter from the processor's published meter values.
    void updateMeter();

    static constexpr int refreshTimer = 0;
    static constexpr int meterTimer = 2;
    static constexpr int refreshIntervalMs = 50;
    static constexpr int meterIntervalMs = 5;

private:
    std::unique_ptr<juce::Label> makeLabel (const juce::String& text, float fontHeight);
    std::unique_ptr<QORSlider3D> makeKnob (const juce::String& name);
    int parameterOf (const juce::Slider* slider) const noexcept;

    KestruneAudioProcessor& processor;
    bool meterShowsReduction = true;
    juce::Image background;

    std::unique_ptr<juce::Label> meterCaptionBelow;
    std::unique_ptr<juce::Label> meterCaptionAbove;
    std::unique_ptr<juce::Label> lowCutValue;
    std::unique_ptr<juce::Label> driveValue;
    std::unique_ptr<juce::Label> releaseCaption;
    std::unique_ptr<juce::Label> attackCaption;
    std::unique_ptr<juce::Label> levelValue;
    std::unique_ptr<juce::Label> thresholdValue;
    std::unique_ptr<juce::ImageButton> bypassButton;
    std::unique_ptr<QORVuMeter> meter;
    std::unique_ptr<QORSlider3D> attackKnob;
    std::unique_ptr<QORSlider3D> releaseKnob;
    std::unique_ptr<QORSlider3D> ratioKnob;
    std::unique_ptr<QORSlider3D> driveKnob;
    std::unique_ptr<QORSlider3D> thresholdKnob;
    std::unique_ptr<QORSlider3D> levelKnob;
    std::unique_ptr<juce::Label> version;
    std::unique_ptr<QORSlider3D> lowCutKnob;
    std::unique_ptr<juce::Label> lowCutCaption;
    std::unique_ptr<QORMicroSwitch> meterSwitch;
    std::unique_ptr<juce::Label> mixValue;
    std::unique_ptr<QORSlider3D> mixKnob;
    std::unique_ptr<juce::Label> mixCaption;
    std::unique_ptr<QORMicroSwitch> kneeSwitch;
    std::unique_ptr<juce::Label> kneeCaptionBelow;
    std::unique_ptr<juce::Label> kneeCaptionAbove;

    // Each knob's parameter, double-click value and cap offsets, in the order the refresh
    // reads them.
    struct KnobSetting
    {
        std::unique_ptr<QORSlider3D> KESTruneUI::*knob;
        int parameter;
        double doubleClickValue;
        float offsetX, offsetY;
    };
    static const KnobSetting knobSettings[8];

    // Value labels and the parameter whose display text each shows.
    struct ValueLabel
    {
        std::unique_ptr<juce::Label> KESTruneUI::*label;
        int parameter;
    };
    static const ValueLabel valueLabels[5];

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KESTruneUI)
};
