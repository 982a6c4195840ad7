// Sound files for the host tool: read block by block from any format JUCE reads here, their
// headers checked before anything is sized from them, and written block by block as WAV.
#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdint>
#include <memory>

struct AudioFile
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
};

class SoundFileReader
{
public:
    // Opens the file and checks what its header claims: 1 or 2 channels, 8-, 16-, 24- or
    // 32-bit samples, a sample rate from 1 kHz to 768 kHz, and no more frames than the file's
    // bytes can hold. Throws std::runtime_error with a message for the user otherwise.
    explicit SoundFileReader (const juce::File& file);

    int channels() const { return static_cast<int> (reader->numChannels); }
    double sampleRate() const { return reader->sampleRate; }
    int64_t frames() const { return reader->lengthInSamples; }

    // Reads count frames from frame start on into the block's first count samples; false
    // when the file could not be read.
    bool read (juce::AudioBuffer<float>& block, int64_t start, int count);

private:
    std::unique_ptr<juce::AudioFormatReader> reader;
};

// A WAV file written block by block in the tool's output sample format; it is complete once
// the writer is gone.
class SoundFileWriter
{
public:
    // Nothing when the file cannot be created.
    static std::unique_ptr<SoundFileWriter> create (const juce::File& file, int channels, double sampleRate);

    // Writes the block's first count frames; false when they could not be written.
    bool write (const juce::AudioBuffer<float>& block, int count);

private:
    explicit SoundFileWriter (std::unique_ptr<juce::AudioFormatWriter> writerToUse);

    std::unique_ptr<juce::AudioFormatWriter> writer;
};

// Writes the whole buffer as one WAV file; false when the file cannot be written.
bool writeWavFile (const juce::File& file, const AudioFile& audio);
