#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <optional>

struct AudioFile
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
};

// Reads a sound file in any format JUCE knows; nothing when it cannot be read.
std::optional<AudioFile> readAudioFile (const juce::File& file);

// Writes 24-bit WAV; false when the file cannot be written.
bool writeWavFile (const juce::File& file, const AudioFile& audio);
