#include "KestruneAudioProcessorEditor.h"

KestruneAudioProcessorEditor::KestruneAudioProcessorEditor (KestruneAudioProcessor& owner)
    : AudioProcessorEditor (owner),
      kestruneProcessor (owner)
{
    setSize (editorWidth, editorHeight);
    ui = std::make_unique<KESTruneUI> (kestruneProcessor);
    addAndMakeVisible (*ui);
}

KestruneAudioProcessorEditor::~KestruneAudioProcessorEditor() = default;

juce::AudioProcessorEditor* KestruneAudioProcessor::createEditor()
{
    return new KestruneAudioProcessorEditor (*this);
}
