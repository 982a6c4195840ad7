#include "AudioFiles.h"

#include <algorithm>
#include <iomanip>
#include <sstream>
#include <stdexcept>
#include <string>

namespace
{
constexpr double lowestSampleRate = 1000.0;
constexpr double highestSampleRate = 768000.0;

std::runtime_error refusal (const juce::File& file, const std::string& why)
{
    return std::runtime_error ("cannot read " + file.getFullPathName().toStdString() + ": " + why);
}

// The header's claims, checked before a reader of ours sizes anything from them: a damaged
// header can claim thousands of channels. The frames it promises are checked against the
// file's bytes once the sample data is found.
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

    if (reader.lengthInSamples < 0)
        throw refusal (file, "its header gives a negative length");
}
} // namespace

// The file, remembering where a reader last moved in it.
class SoundFileReader::PositionRecordingStream final : public juce::InputStream
{
public:
    explicit PositionRecordingStream (std::unique_ptr<juce::FileInputStream> fileToRead) : file (std::move (fileToRead)) {}

    int64_t lastMove = -1;

    juce::int64 getTotalLength() override { return file->getTotalLength(); }
    bool isExhausted() override { return file->isExhausted(); }
    int read (void* destination, int bytes) override { return file->read (destination, bytes); }
    juce::int64 getPosition() override { return file->getPosition(); }
    bool setPosition (juce::int64 position) override
    {
        lastMove = position;
        return file->setPosition (position);
    }

private:
    std::unique_ptr<juce::FileInputStream> file;
};

SoundFileReader::SoundFileReader (const juce::File& file)
{
    auto input = std::make_unique<juce::FileInputStream> (file);
    if (! input->openedOk())
        throw refusal (file, file.existsAsFile() ? "the file cannot be opened" : "no such file");
    auto recording = std::make_unique<PositionRecordingStream> (std::move (input));
    stream = recording.get();
    juce::AudioFormatManager formats;
    formats.registerBasicFormats();
    // The reader owns the stream when it is made; otherwise the manager deletes it.
    reader.reset (formats.createReaderFor (std::move (recording)));
    if (reader == nullptr)
        throw refusal (file, "not a sound file the tool knows");
    checkHeader (file, *reader);

    const int64_t bytesPerFrame = static_cast<int64_t> (reader->numChannels) * reader->bitsPerSample / 8;
    const auto dataStart = framesPromised() > 0 ? sampleDataStart() : std::optional<int64_t> {};
    if (dataStart)
        framesFound = std::clamp<int64_t> ((stream->getTotalLength() - *dataStart) / bytesPerFrame, 0, framesPromised());
}

std::optional<int64_t> SoundFileReader::sampleDataStart()
{
    juce::AudioBuffer<float> frame (channels(), 1);
    stream->lastMove = -1;
    reader->read (&frame, 0, 1, 0, true, true);
    if (stream->lastMove < 0)
        return std::nullopt;
    return stream->lastMove;
}

bool SoundFileReader::read (juce::AudioBuffer<float>& block, int64_t start, int count)
{
    if (start < 0 || count < 0 || count > framesFound - start)
        return false;
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
