// Sound files for the host tool: read block by block from any format JUCE reads here, their
// headers checked before anything is sized from them, and written block by block as 32-bit
// float WAV, which keeps every value the plug-in produces, those above full scale too.
#pragma once

#include <juce_audio_formats/juce_audio_formats.h>

#include <cstdint>
#include <memory>
#include <optional>

struct AudioFile
{
    juce::AudioBuffer<float> samples;
    double sampleRate = 0.0;
};

class SoundFileReader
{
public:
    // Opens the file and checks what its header claims: 1 or 2 channels, 8-, 16-, 24- or
    // 32-bit samples and a sample rate from 1 kHz to 768 kHz. Throws std::runtime_error with a
    // message for the user otherwise. A file that ends before the frames its header promises
    // is read as far as it goes (truncated()).
    explicit SoundFileReader (const juce::File& file);

    int channels() const { return static_cast<int> (reader->numChannels); }
    double sampleRate() const { return reader->sampleRate; }
    // The whole frames the file holds: at most the frames its header promises.
    int64_t frames() const { return framesFound; }
    int64_t framesPromised() const { return reader->lengthInSamples; }
    bool truncated() const { return framesFound < framesPromised(); }

    // Reads count frames from frame start on into the block's first count samples; false
    // when the file could not be read or the frames lie beyond frames().
    bool read (juce::AudioBuffer<float>& block, int64_t start, int count);

private:
    // Where the sample data of frame 0 begins in the file: where the format's reader goes to
    // read it. Nothing when the reader does not go there.
    std::optional<int64_t> sampleDataStart();

    class PositionRecordingStream;
    PositionRecordingStream* stream = nullptr; // owned by the reader
    std::unique_ptr<juce::AudioFormatReader> reader;
    int64_t framesFound = 0;
};

// The sample format of every file the tool writes: 32-bit IEEE float, so that values above full
// scale (the plug-in's Level goes up to +15 dB) reach the file unclipped.
inline constexpr int outputBitsPerSample = 32;

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
