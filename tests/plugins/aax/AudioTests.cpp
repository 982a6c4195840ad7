// Audio through the process procedure: the same as the processor run directly, bypass by the
// host's packet, and contexts the procedure must leave alone.
#include "PluginTestSupport.h"

#include "KestruneAudioProcessor.h"

#include <cmath>
#include <random>

namespace
{
using namespace plugin_test;

constexpr double kRate = 48000.0;
constexpr int kBlocks[] = { 512, 100, 1, 2000, 37, 1024 };

std::vector<std::vector<float>> TestSignal (int channels, int length)
{
    std::mt19937 random (7);
    std::uniform_real_distribution<float> noise (-0.05f, 0.05f);
    std::vector<std::vector<float>> signal (static_cast<size_t> (channels), std::vector<float> (static_cast<size_t> (length)));
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < length; ++i)
            signal[size_t (c)][size_t (i)] = float (0.8 * std::sin (0.03 * i * (c + 1)) * (i % 3000 < 1500 ? 1.0 : 0.1)) + noise (random);
    return signal;
}

int TotalLength()
{
    int total = 0;
    for (int block : kBlocks)
        total += block;
    return total;
}

// Runs the signal through the instance, block by block, into separate output buffers.
std::vector<std::vector<float>> RunThroughHost (HostInstance& instance, const std::vector<std::vector<float>>& input)
{
    auto output = input;
    for (auto& channel : output)
        std::fill (channel.begin(), channel.end(), 0.0f);
    int start = 0;
    for (int block : kBlocks)
    {
        std::vector<const float*> in;
        std::vector<float*> out;
        for (size_t c = 0; c < input.size(); ++c)
        {
            in.push_back (input[c].data() + start);
            out.push_back (output[c].data() + start);
        }
        instance.ProcessBlock (in.data(), out.data(), block);
        start += block;
    }
    return output;
}

std::vector<std::vector<float>> RunDirectly (const std::vector<std::vector<float>>& input, float ratio)
{
    KestruneAudioProcessor processor;
    const int channels = int (input.size());
    processor.setPlayConfigDetails (channels, channels, kRate, 1024);
    processor.prepareToPlay (kRate, 1024);
    processor.setParameter (KestruneAudioProcessor::ratioParam, ratio);
    auto output = input;
    juce::MidiBuffer midi;
    int start = 0;
    for (int block : kBlocks)
    {
        std::vector<float*> pointers;
        for (auto& channel : output)
            pointers.push_back (channel.data() + start);
        juce::AudioBuffer<float> buffer (pointers.data(), channels, block);
        processor.processBlock (buffer, midi);
        start += block;
    }
    return output;
}

TEST (AAXPluginAudio, MonoAndStereoEqualTheProcessorRunDirectly)
{
    LoadedPlugin plugin;
    for (int channels : { 1, 2 })
    {
        SCOPED_TRACE (channels);
        auto instance = plugin.NewInstance (channels, kRate);
        instance->Parameters().SetParameterNormalizedValue ("3", 0.8);
        const auto input = TestSignal (channels, TotalLength());
        const auto viaHost = RunThroughHost (*instance, input);
        const auto direct = RunDirectly (input, 0.8f);
        EXPECT_EQ (viaHost, direct);
        EXPECT_NE (viaHost, input);
    }
}

TEST (AAXPluginAudio, ProcessesInPlace)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    const auto input = TestSignal (2, 512);
    auto buffer = input;
    float* pointers[] = { buffer[0].data(), buffer[1].data() };
    instance->ProcessBlock (pointers, pointers, 512);
    KestruneAudioProcessor reference;
    reference.setPlayConfigDetails (2, 2, kRate, 1024);
    reference.prepareToPlay (kRate, 1024);
    auto expected = input;
    float* expectedPointers[] = { expected[0].data(), expected[1].data() };
    juce::AudioBuffer<float> block (expectedPointers, 2, 512);
    juce::MidiBuffer midi;
    reference.processBlock (block, midi);
    EXPECT_EQ (buffer, expected);
}

TEST (AAXPluginAudio, BypassByPacketGivesTheInputBitForBit)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    const auto input = TestSignal (2, TotalLength());
    ASSERT_EQ (instance->Parameters().SetParameterNormalizedValue ("MasterBypassID", 1.0), AAX_SUCCESS);
    EXPECT_EQ (RunThroughHost (*instance, input), input);
    const auto packets = instance->Controller().Packets();
    ASSERT_FALSE (packets.empty());
    EXPECT_EQ (packets.back().port, 3u);
    EXPECT_EQ (packets.back().payload, (std::vector<uint8_t> { 1, 0, 0, 0 }));

    ASSERT_EQ (instance->Parameters().SetParameterNormalizedValue ("MasterBypassID", 0.0), AAX_SUCCESS);
    EXPECT_NE (RunThroughHost (*instance, input), input);
}

TEST (AAXPluginAudio, SkipsContextsWithoutInstanceOrLength)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (1, kRate);
    std::vector<float> in (64, 0.5f), out (64, -7.0f);
    const float* inputs[] = { in.data() };
    float* outputs[] = { out.data() };
    instance->ProcessBlock (inputs, outputs, 0);
    instance->ProcessBlock (inputs, outputs, -5);
    EXPECT_EQ (out, std::vector<float> (64, -7.0f));

    // A context whose private data holds no instance, a null context, and a null list.
    std::vector<void*> fields (static_cast<void**> (instance->Context()), static_cast<void**> (instance->Context()) + 5);
    int32_t length = 64;
    void* noInstance = nullptr;
    fields[2] = &length;
    fields[4] = &noInstance;
    void* const contexts[] = { fields.data(), nullptr };
    instance->CallProcessProcedure (contexts, 2);
    instance->CallProcessProcedure (nullptr, 0);
    EXPECT_EQ (out, std::vector<float> (64, -7.0f));
}

TEST (AAXPluginAudio, NeverProcessesWithoutTheHostsRateAndLayout)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (1, kRate);
    plugin.framework.SetResult ("Controller", 4, AAX_ERROR_NULL_OBJECT);
    std::vector<float> in (64, 0.5f), out (64, -7.0f);
    const float* inputs[] = { in.data() };
    float* outputs[] = { out.data() };
    instance->ProcessBlock (inputs, outputs, 64);
    EXPECT_EQ (out, std::vector<float> (64, -7.0f));

    // Once the host answers, the first block prepares the processor.
    plugin.framework.SetResult ("Controller", 4, AAX_SUCCESS);
    instance->ProcessBlock (inputs, outputs, 64);
    EXPECT_NE (out, std::vector<float> (64, -7.0f));
    size_t rateQueries = 0;
    for (const HostCall& call : plugin.framework.CallsTo ("Controller"))
        rateQueries += call.slot == 4 ? 1 : 0;
    EXPECT_EQ (rateQueries, 2u);
}
} // namespace
