#pragma once

#include <juce_audio_processors/juce_audio_processors.h>

#include <optional>
#include <ostream>

struct ParameterSetting
{
    int index = -1;
    float value = 0.0f;
};

// Reads "NAME=VALUE": NAME is a parameter name (letter case ignored), VALUE a normalised
// value in [0, 1]. On failure returns nothing and says why in error.
std::optional<ParameterSetting> parseSetting (juce::AudioProcessor& processor, const juce::String& text, juce::String& error);

// Prepares the processor for the buffer's layout and runs it over the buffer in blocks.
void processInBlocks (juce::AudioProcessor& processor, juce::AudioBuffer<float>& buffer, double sampleRate, int blockSize);

// The command line: returns the process exit code (0 done, 1 failed, 2 bad usage).
int runHostCommand (const juce::StringArray& arguments, std::ostream& out, std::ostream& err);
