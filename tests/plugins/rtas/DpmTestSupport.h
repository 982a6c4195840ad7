// KESTrune.dpm as the host engine loads it: the stand-in engine, card library, DSP manager and
// toolbox loaded, then the module; opened on one of the engine's roads; its group, types and
// processes driven through the routines (HostedPlugIn); and the processor run directly beside it.
#pragma once

#include "KestruneAudioProcessor.h"

#include <HostedPlugIn.h>
#include <HostedWindow.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace dpm_test
{
using namespace kestrune::host::rtas;

inline constexpr uint32_t kManufacturer = 0x514F5261; // 'QORa'
inline constexpr uint32_t kProduct = 0x4B535452; // 'KSTR'
inline constexpr uint32_t kMonoType = 0x6A636161; // 'jcaa'
inline constexpr uint32_t kStereoType = 0x6A636162; // 'jcab'
inline constexpr uint32_t kControlsChunk = 0x656C636B; // 'elck'
inline constexpr uint32_t kMIDIChunk = 0x6D696469; // 'midi'
inline constexpr uint32_t kStateChunk = 0x6A756365; // 'juce'
inline constexpr int32_t kParameters = 10;
// Control index = parameter index + 2; control 1 is the master bypass.
inline constexpr int32_t kFirstParameterControl = 2;
inline constexpr double kRate = 48000.0;

// The processor's own block size, as the wrapper prepares it.
inline constexpr int kPreparedBlockSize = 1024;

// The fixture on any gtest base (a test, or a suite on a display of its own).
template <typename Base>
class DpmTestOn : public Base
{
protected:
    void TearDown() override { Unload(); }

    // Loads the host's libraries (with the engine given) and the module.
    PlugInLoader& Load (const char* engine = KESTRUNE_DAE_PATH)
    {
        loader.emplace (PlugInLoaderPaths { engine, KESTRUNE_HOSTEXT_PATH, KESTRUNE_PLUGIN_PATH, KESTRUNE_DSI_PATH, KESTRUNE_DSP_MANAGER_PATH });
        EXPECT_TRUE (loader->loadHost());
        EXPECT_TRUE (loader->loadPlugIn());
        return *loader;
    }

    // Loads and opens on the road (WinPlugInOpen: without views), then hands the group the
    // engine's callback and reads its types.
    HostedPlugIn& Open (StartUpRoad road = StartUpRoad::kWinPlugInOpen)
    {
        Load();
        if (offerSDS)
            loader->engine().setGestalt (kFicGestaltHostSDS, 1);
        EXPECT_EQ (loader->open (road), 0);
        openRoad = road;
        plugIn.emplace (*loader);
        return *plugIn;
    }

    HostedProcess& Make (int channels, double rate = kRate)
    {
        plugIn->SetSampleRate (int32_t (rate));
        const HostedType* type = plugIn->TypeFor (channels);
        if (type == nullptr)
            throw std::runtime_error ("no type for " + std::to_string (channels) + " channels");
        processes.push_back (std::make_unique<HostedProcess> (*plugIn, *type));
        return *processes.back();
    }

    // Deletes the processes, closes on the road it was opened on and unloads the module and the
    // host's libraries; true when the module is gone.
    bool Unload()
    {
        processes.clear();
        plugIn.reset();
        if (openRoad)
            loader->close (*openRoad);
        openRoad.reset();
        const bool gone = ! loader || loader->unloadPlugIn();
        if (loader)
            loader->unloadHost();
        loader.reset();
        return gone;
    }

    // Whether the engine offers its SDS service to the plug-in that Open opens.
    bool offerSDS = false;
    std::optional<PlugInLoader> loader;
    std::optional<HostedPlugIn> plugIn;
    std::optional<StartUpRoad> openRoad;
    std::vector<std::unique_ptr<HostedProcess>> processes;
};

using DpmTest = DpmTestOn<::testing::Test>;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

// The processor run directly, prepared as the wrapper prepares it.
struct DirectProcessor
{
    DirectProcessor (int channels, double rate = kRate)
    {
        processor.setPlayConfigDetails (channels, channels, rate, kPreparedBlockSize);
        processor.prepareToPlay (rate, kPreparedBlockSize);
    }

    void Process (juce::AudioBuffer<float>& block)
    {
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);
    }

    KestruneAudioProcessor processor;
};

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

// A second of program material: a sine with some noise, the channels apart.
inline juce::AudioBuffer<float> Program (int channels, int frames)
{
    juce::AudioBuffer<float> buffer (channels, frames);
    juce::Random random (7);
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < frames; ++i)
            buffer.setSample (c, i, 0.7f * std::sin (0.02f * float (i) * float (c + 1)) + 0.2f * (random.nextFloat() - 0.5f));
    return buffer;
}

// Runs the program through the process block by block (the sizes in turn) into a new buffer.
inline juce::AudioBuffer<float> RenderThrough (HostedProcess& process, const juce::AudioBuffer<float>& program,
                                               const std::vector<int>& blockSizes)
{
    juce::AudioBuffer<float> out (program.getNumChannels(), program.getNumSamples());
    std::vector<float*> outputs (size_t (program.getNumChannels()));
    size_t next = 0;
    for (int start = 0; start < program.getNumSamples();)
    {
        const int frames = std::min (blockSizes[next++ % blockSizes.size()], program.getNumSamples() - start);
        std::vector<const float*> inputs;
        for (int c = 0; c < program.getNumChannels(); ++c)
        {
            inputs.push_back (program.getReadPointer (c, start));
            outputs[size_t (c)] = out.getWritePointer (c, start);
        }
        EXPECT_EQ (process.Render (inputs.data(), outputs.data(), frames), 0);
        start += frames;
    }
    return out;
}

// The same blocks through the processor directly.
inline juce::AudioBuffer<float> ProcessDirectly (DirectProcessor& direct, const juce::AudioBuffer<float>& program,
                                                 const std::vector<int>& blockSizes)
{
    juce::AudioBuffer<float> out (program);
    size_t next = 0;
    for (int start = 0; start < out.getNumSamples();)
    {
        const int frames = std::min (blockSizes[next++ % blockSizes.size()], out.getNumSamples() - start);
        juce::AudioBuffer<float> block (out.getArrayOfWritePointers(), out.getNumChannels(), start, frames);
        direct.Process (block);
        start += frames;
    }
    return out;
}

// Whether two buffers hold the same samples, bit for bit; else where they first differ.
inline ::testing::AssertionResult SameSamples (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return ::testing::AssertionFailure() << "the buffers differ in size";
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (a.getSample (c, i) != b.getSample (c, i))
                return ::testing::AssertionFailure() << "channel " << c << ", sample " << i << ": " << a.getSample (c, i) << " against " << b.getSample (c, i);
    return ::testing::AssertionSuccess();
}

// The processor's state text from a 'juce' chunk record (header, then the state block: magic,
// length, the element, a zero byte). A block that ends with another byte is a failure.
inline std::string StateText (const std::vector<uint8_t>& chunk)
{
    constexpr size_t header = 56;
    constexpr size_t blockHeader = 8;
    if (chunk.size() <= header + blockHeader + 1)
        return {};
    if (chunk.back() != 0)
        ADD_FAILURE() << "the state block ends with byte 0x" << std::hex << int (chunk.back()) << std::dec << " (offset "
                      << chunk.size() - header - 1 << "), not with its zero byte";
    return std::string (chunk.begin() + header + blockHeader, chunk.end() - 1);
}

// The same text from a processor's own state block.
inline std::string StateTextOf (juce::AudioProcessor& processor)
{
    juce::MemoryBlock block;
    processor.getStateInformation (block);
    const auto* bytes = static_cast<const uint8_t*> (block.getData());
    std::vector<uint8_t> chunk (56, 0);
    chunk.insert (chunk.end(), bytes, bytes + block.getSize());
    return StateText (chunk);
}
} // namespace dpm_test
