#include "AudioFiles.h"

#include <memory>

std::optional<AudioFile> readAudioFile (const juce::File& file)
{
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    const std::unique_ptr<juce::AudioFormatReader> reader (formats.createReaderFor (file));
    if (reader == nullptr || reader->lengthInSamples > std::numeric_limits<int>::max())
        return std::nullopt;

    AudioFile audio;
    audio.sampleRate = reader->sampleRate;
    audio.samples.setSize (static_cast<int> (reader->numChannels), static_cast<int> (reader->lengthInSamples));
    if (! reader->read (&audio.samples, 0, audio.samples.getNumSamples(), 0, true, true))
        return std::nullopt;
    return audio;
}

bool writeWavFile (const juce::File& file, const AudioFile& audio)
{
    file.deleteFile();
    auto stream = file.createOutputStream();
    if (stream == nullptr)
        return false;

    juce::WavAudioFormat wav;
    std::unique_ptr<juce::AudioFormatWriter> writer (
        wav.createWriterFor (stream.get(), audio.sampleRate, static_cast<unsigned int> (audio.samples.getNumChannels()), 24, {}, 0));
    if (writer == nullptr)
        return false;
    stream.release(); // the writer owns the stream now
    return writer->writeFromAudioSampleBuffer (audio.samples, 0, audio.samples.getNumSamples());
}
