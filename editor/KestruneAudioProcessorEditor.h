#pragma once

#include "KestruneAudioProcessor.h"

// The processor's fixed-size editor window.
class KestruneAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    explicit KestruneAudioProcessorEditor (KestruneAudioProcessor& owner);
    ~KestruneAudioProcessorEditor() override;

    void paint (juce::Graphics& g) override;

    static constexpr int editorWidth = 900;
    static constexpr int editorHeight = 300;
};
