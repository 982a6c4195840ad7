// What the host tool's tests share: a command run in the test's process, a folder of its own
// for each test, sound files read as the tool reads them, and the difference of two sounds.
#pragma once

#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "HostCommands.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace tool_test
{
using namespace kestrune::tool;

struct Run
{
    int code;
    std::string out, err;
};

inline Run run (const juce::StringArray& arguments)
{
    std::ostringstream out, err;
    const int code = runHostCommand (arguments, out, err);
    return { code, out.str(), err.str() };
}

// The whole of a sound file, read as the tool reads its input; nothing when it refuses it.
inline std::optional<AudioFile> readAudioFile (const juce::File& file)
{
    try
    {
        SoundFileReader reader (file);
        AudioFile audio { juce::AudioBuffer<float> (reader.channels(), int (reader.frames())), reader.sampleRate() };
        if (! reader.read (audio.samples, 0, audio.samples.getNumSamples()))
            return std::nullopt;
        return audio;
    }
    catch (const std::runtime_error&)
    {
        return std::nullopt;
    }
}

// Arguments as the program receives them, without its own name.
inline Run runRaw (const std::vector<const char*>& arguments)
{
    std::ostringstream out, err;
    const int code = runHostCommand (int (arguments.size()), arguments.data(), out, err);
    return { code, out.str(), err.str() };
}

// A folder of its own for each test, removed afterwards.
struct ToolTest : ::testing::Test
{
    juce::File folder = juce::File::createTempFile ("kestrune-host-test");
    void SetUp() override { ASSERT_TRUE (folder.createDirectory()); }
    void TearDown() override { folder.deleteRecursively(); }
    juce::String path (const char* name) const { return folder.getChildFile (name).getFullPathName(); }
    void writeExample (const char* name, int channels, double seconds = 0.5)
    {
        auto samples = makeExampleSignal (44100.0, seconds);
        samples.setSize (channels, samples.getNumSamples(), true);
        for (int c = 2; c < channels; ++c)
            samples.copyFrom (c, 0, samples, 0, 0, samples.getNumSamples());
        ASSERT_TRUE (writeWavFile (folder.getChildFile (name), { samples, 44100.0 }));
    }
    juce::AudioBuffer<float> read (const char* name) const
    {
        auto audio = readAudioFile (folder.getChildFile (name));
        return audio ? audio->samples : juce::AudioBuffer<float>();
    }
};

// The largest difference between two sounds of one shape (infinite when the shapes differ).
inline float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return std::numeric_limits<float>::infinity();
    float largest = 0.0f;
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = std::max (largest, std::abs (a.getSample (c, i) - b.getSample (c, i)));
    return largest;
}
} // namespace tool_test
