#include "KestruneAudioProcessorEditor.h"

KestruneAudioProcessorEditor::KestruneAudioProcessorEditor (KestruneAudioProcessor& owner)
    : AudioProcessorEditor (owner)
{
    setSize (editorWidth, editorHeight);
}

KestruneAudioProcessorEditor::~KestruneAudioProcessorEditor() = default;

void KestruneAudioProcessorEditor::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::darkgrey);
}

juce::AudioProcessorEditor* KestruneAudioProcessor::createEditor()
{
    return new KestruneAudioProcessorEditor (*this);
}
