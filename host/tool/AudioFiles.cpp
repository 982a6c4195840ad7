#include "AudioFiles.h"

#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>

namespace
{
// The sample format of every file the tool writes.
constexpr int outputBitsPerSample = 24;

constexpr double lowestSampleRate = 1000.0;
constexpr double highestSampleRate = 768000.0;

std::runtime_error refusal (const juce::File& file, const std::string& why)
{
    return std::runtime_error ("cannot read " + file.getFullPathName().toStdString() + ": " + why);
}

// The header's claims, checked against each other and the file's size before a reader of
// ours sizes anything from them: a damaged header can claim thousands of channels or
// billions of frames.
void checkHeader (const juce::File& file, const juce::AudioFormatReader& reader)
{
    const auto channels = reader.numChannels;
    if (channels < 1 || channels > 2)
        throw std::runtime_error (file.getFullPathName().toStdString() + " has " + std::to_string (channels)
                                  + " channels; the plug-in takes 1 or 2");

    const auto bits = reader.bitsPerSample;
    if (bits != 8 && bits != 16 && bits != 24 && bits != 32)
        throw refusal (file, "its header gives " + std::to_string (bits) + "-bit samples; the tool reads 8, 16, 24 and 32 bits");

    if (! (reader.sampleRate >= lowestSampleRate && reader.sampleRate <= highestSampleRate))
    {
        std::ostringstream rate;
        rate << std::setprecision (10) << reader.sampleRate;
        throw refusal (file, "its header gives a sample rate of " + rate.str() + " Hz; the tool takes 1000 to 768000 Hz");
    }

    const int64_t bytesPerFrame = static_cast<int64_t> (channels) * bits / 8;
    const int64_t frames = reader.lengthInSamples;
    if (frames < 0 || frames > file.getSize() / bytesPerFrame)
        throw refusal (file, "its header claims " + std::to_string (frames) + " frames, more than its "
                                 + std::to_string (file.getSize()) + " bytes can hold");
}
} // namespace

SoundFileReader::SoundFileReader (const juce::File& file)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    reader.reset (formats.createReaderFor (file));
    if (reader == nullptr)
        throw refusal (file, file.existsAsFile() ? "not a sound file the tool knows" : "no such file");
    checkHeader (file, *reader);
}

bool SoundFileReader::read (juce::AudioBuffer<float>& block, int64_t start, int count)
{
    return reader->read (&block, 0, count, start, true, true);
}

SoundFileWriter::SoundFileWriter (std::unique_ptr<juce::AudioFormatWriter> writerToUse)
    : writer (std::move (writerToUse))
{
}

std::unique_ptr<SoundFileWriter> SoundFileWriter::create (const juce::File& file, int channels, double sampleRate)
{
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return nullptr;

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), sampleRate, static_cast<unsigned int> (channels), outputBitsPerSample, {}, 0));
    if (writer == nullptr)
        return nullptr;
    stream.release(); // the writer owns the stream now
    return std::unique_ptr<SoundFileWriter> (new SoundFileWriter (std::move (writer)));
}

bool SoundFileWriter::write (const juce::AudioBuffer<float>& block, int count)
{
    return writer->writeFromAudioSampleBuffer (block, 0, count);
}

bool writeWavFile (const juce::File& file, const AudioFile& audio)
{
    const auto writer = SoundFileWriter::create (file, audio.samples.getNumChannels(), audio.sampleRate);
    return writer != nullptr && writer->write (audio.samples, audio.samples.getNumSamples());
}
