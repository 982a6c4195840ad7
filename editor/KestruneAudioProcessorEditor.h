#pragma once

#include "KESTruneUI.h"
#include "KestruneAudioProcessor.h"

#include <memory>

// The processor's fixed 900 x 300 editor window: one KESTruneUI panel filling it.
class KestruneAudioProcessorEditor : public juce::AudioProcessorEditor
{
public:
    // [message thread]
    explicit KestruneAudioProcessorEditor (KestruneAudioProcessor& owner);
    ~KestruneAudioProcessorEditor() override;

    static constexpr int editorWidth = 900;
    static constexpr int editorHeight = 300;

private:
    KestruneAudioProcessor& kestruneProcessor;
    std::unique_ptr<KESTruneUI> ui;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR (KestruneAudioProcessorEditor)
};
