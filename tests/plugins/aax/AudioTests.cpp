// Audio through the process procedure: the same as the processor run directly, bypass by the
// host's packet, the input passed through until the host gives its format, a new preparation
// for every new rate or layout, and contexts the procedure must leave alone.
#include "PluginTestSupport.h"

#include "KestruneAudioProcessor.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <random>
#include <thread>

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

// The processor run directly, prepared as a host's format changes would prepare it.
class DirectRun
{
public:
    void Prepare (int channels, double rate)
    {
        processor_.setPlayConfigDetails (channels, channels, rate, 1024);
        processor_.prepareToPlay (rate, 1024);
    }
    KestruneAudioProcessor& Processor() { return processor_; }
    std::vector<std::vector<float>> Process (std::vector<std::vector<float>> block)
    {
        std::vector<float*> pointers;
        for (auto& channel : block)
            pointers.push_back (channel.data());
        juce::AudioBuffer<float> buffer (pointers.data(), int (pointers.size()), int (block[0].size()));
        processor_.processBlock (buffer, midi_);
        return block;
    }

private:
    KestruneAudioProcessor processor_;
    juce::MidiBuffer midi_;
};

// One block through the host into output buffers that start out holding a canary.
std::vector<std::vector<float>> HostBlock (HostInstance& instance, const std::vector<std::vector<float>>& input)
{
    std::vector<std::vector<float>> output (input.size(), std::vector<float> (input[0].size(), -7.0f));
    std::vector<const float*> in;
    std::vector<float*> out;
    for (size_t c = 0; c < input.size(); ++c)
    {
        in.push_back (input[c].data());
        out.push_back (output[c].data());
    }
    instance.ProcessBlock (in.data(), out.data(), int32_t (input[0].size()));
    return output;
}

// The signal's block starting at a sample, for as many channels as asked.
std::vector<std::vector<float>> BlockOf (const std::vector<std::vector<float>>& signal, int channels, int start, int length)
{
    std::vector<std::vector<float>> block;
    for (int c = 0; c < channels; ++c)
        block.emplace_back (signal[size_t (c)].begin() + start, signal[size_t (c)].begin() + start + length);
    return block;
}

// The controller queries a block made, by slot: rate 4, input 5 and output 6 stem formats.
std::vector<int> FormatQueries (const HostFramework& framework)
{
    std::vector<int> slots;
    for (const HostCall& call : framework.CallsTo ("Controller"))
        if (call.slot >= 4 && call.slot <= 6)
            slots.push_back (call.slot);
    return slots;
}

TEST (AAXPluginAudio, PassesTheInputThroughUntilTheHostGivesItsFormat)
{
    struct Case
    {
        int slot; // the controller query that fails at first: rate, input or output stem format
        int channels;
    };
    const Case cases[] = { { 4, 1 }, { 4, 2 }, { 5, 1 }, { 5, 2 }, { 6, 1 }, { 6, 2 } };
    const auto signal = TestSignal (2, 6 * 256);
    for (const Case& c : cases)
    {
        SCOPED_TRACE (testing::Message() << "query " << c.slot << ", " << c.channels << " channels");
        LoadedPlugin plugin;
        plugin.framework.SetResult ("Controller", c.slot, AAX_ERROR_NULL_OBJECT);
        auto instance = plugin.NewInstance (c.channels, kRate);
        instance->Parameters().SetParameterNormalizedValue ("3", 0.8);
        // Every output channel holds its input, none the canary the host's buffer held.
        for (int block = 0; block < 2; ++block)
        {
            const auto input = BlockOf (signal, c.channels, block * 256, 256);
            EXPECT_EQ (HostBlock (*instance, input), input) << "block " << block;
        }

        // The host answers now, but blocks do not ask: they pass through until it notifies.
        plugin.framework.SetResult ("Controller", c.slot, AAX_SUCCESS);
        plugin.framework.ClearCalls();
        const auto unannounced = BlockOf (signal, c.channels, 2 * 256, 256);
        EXPECT_EQ (HostBlock (*instance, unannounced), unannounced);
        EXPECT_TRUE (FormatQueries (plugin.framework).empty());

        instance->ChangeFormat (c.channels, kRate);
        DirectRun direct;
        direct.Prepare (c.channels, kRate);
        direct.Processor().setParameter (KestruneAudioProcessor::ratioParam, 0.8f);
        for (int block = 3; block < 5; ++block)
        {
            const auto input = BlockOf (signal, c.channels, block * 256, 256);
            const auto output = HostBlock (*instance, input);
            EXPECT_EQ (output, direct.Process (input)) << "block " << block;
            EXPECT_NE (output, input) << "block " << block;
        }

        // A notification the controller cannot answer: the format is unknown again.
        plugin.framework.SetResult ("Controller", c.slot, AAX_ERROR_NULL_OBJECT);
        instance->ChangeFormat (c.channels, kRate);
        const auto unknown = BlockOf (signal, c.channels, 5 * 256, 256);
        EXPECT_EQ (HostBlock (*instance, unknown), unknown);
    }
}

TEST (AAXPluginAudio, RateAndLayoutChangesPrepareTheProcessorAgain)
{
    struct Step
    {
        int channels;
        double rate;
    };
    // Stereo at 48 kHz, then 96 kHz, then mono at 44.1 kHz, then stereo again.
    const Step steps[] = { { 2, kRate }, { 2, 96000.0 }, { 1, 44100.0 }, { 2, 44100.0 } };
    const auto signal = TestSignal (2, 4 * 3 * 300);
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    instance->Parameters().SetParameterNormalizedValue ("3", 0.8);
    DirectRun direct;
    direct.Processor().setParameter (KestruneAudioProcessor::ratioParam, 0.8f);
    int start = 0;
    for (const Step& step : steps)
    {
        if (start > 0)
            instance->ChangeFormat (step.channels, step.rate);
        direct.Prepare (step.channels, step.rate);
        for (int block = 0; block < 3; ++block, start += 300)
        {
            const auto input = BlockOf (signal, step.channels, start, 300);
            const auto output = HostBlock (*instance, input);
            EXPECT_EQ (output, direct.Process (input)) << step.channels << " channels at " << step.rate << ", block " << block;
            EXPECT_NE (output, input);
        }
    }
}

TEST (AAXPluginAudio, AFormatTheHostDoesNotAnnounceIsNotReadOnTheAudioThread)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    instance->Parameters().SetParameterNormalizedValue ("3", 0.8);
    DirectRun direct;
    direct.Prepare (2, kRate);
    direct.Processor().setParameter (KestruneAudioProcessor::ratioParam, 0.8f);
    const auto signal = TestSignal (2, 4 * 256);
    plugin.framework.ClearCalls();

    // A new rate without a word: the blocks run on in the format prepared.
    instance->ChangeFormat (2, 96000.0, false);
    for (int block = 0; block < 2; ++block)
    {
        const auto input = BlockOf (signal, 2, block * 256, 256);
        EXPECT_EQ (HostBlock (*instance, input), direct.Process (input)) << "block " << block;
    }
    // A new layout without a word: its component's blocks pass through, whole.
    instance->ChangeFormat (1, 96000.0, false);
    const auto mono = BlockOf (signal, 1, 2 * 256, 256);
    EXPECT_EQ (HostBlock (*instance, mono), mono);
    EXPECT_TRUE (FormatQueries (plugin.framework).empty());

    // Announced, it is prepared for.
    instance->Parameters().ReceiveNotification (AAX_NOTIFICATION_FORMAT_CHANGED, nullptr, 0);
    direct.Prepare (1, 96000.0);
    const auto announced = BlockOf (signal, 1, 3 * 256, 256);
    EXPECT_EQ (HostBlock (*instance, announced), direct.Process (announced));
}

TEST (AAXPluginAudio, ReadsNoChannelBeyondItsComponentAndNoMissingOne)
{
    LoadedPlugin plugin;
    const auto signal = TestSignal (2, 256);
    {
        // The controller claims stereo for a mono instance: its procedure reads one channel of
        // each array and passes it through.
        auto mono = plugin.NewInstance (1, kRate);
        mono->Controller().SetStemFormats (AAX_STEM_FORMAT_STEREO, AAX_STEM_FORMAT_STEREO);
        mono->Parameters().ReceiveNotification (AAX_NOTIFICATION_FORMAT_CHANGED, nullptr, 0);
        const auto input = BlockOf (signal, 1, 0, 256);
        EXPECT_EQ (HostBlock (*mono, input), input);
    }

    // A stereo block with a channel missing is silence wherever there is a buffer, and is not
    // rendered: the next whole block continues as if it had never come.
    auto instance = plugin.NewInstance (2, kRate);
    DirectRun direct;
    direct.Prepare (2, kRate);
    const auto input = BlockOf (signal, 2, 0, 128);
    const std::vector<float> silence (128, 0.0f);
    for (const int missing : { 0, 1, 2, 3 }) // input 0, input 1, output 0, output 1
    {
        SCOPED_TRACE (missing);
        std::vector<std::vector<float>> output (2, std::vector<float> (128, -7.0f));
        std::vector<const float*> in { input[0].data(), input[1].data() };
        std::vector<float*> out { output[0].data(), output[1].data() };
        if (missing < 2)
            in[size_t (missing)] = nullptr;
        else
            out[size_t (missing - 2)] = nullptr;
        instance->ProcessBlock (in.data(), out.data(), 128);
        for (size_t c = 0; c < 2; ++c)
        {
            if (out[c] != nullptr)
            {
                EXPECT_EQ (output[c], silence) << "output " << c;
            }
        }
    }
    const auto whole = BlockOf (signal, 2, 128, 128);
    EXPECT_EQ (HostBlock (*instance, whole), direct.Process (whole));
}

// A context whose input or output channel array is missing is silence on every output buffer it
// has (a missing one among them left alone), and is not rendered either.
TEST (AAXPluginAudio, AMissingChannelArrayGivesSilenceOnEveryOutputThereIs)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    DirectRun direct;
    direct.Prepare (2, kRate);
    const auto signal = TestSignal (2, 256);
    const auto first = BlockOf (signal, 2, 0, 128);
    ASSERT_EQ (HostBlock (*instance, first), direct.Process (first));

    struct Case
    {
        const char* what;
        bool inputArray;
        bool outputArray;
        int missingOutput; // an output whose pointer in the array is null, or -1
    };
    const Case cases[] = {
        { "no input array", false, true, -1 },
        { "no input array, output 0 missing", false, true, 0 },
        { "no input array, output 1 missing", false, true, 1 },
        { "no output array", true, false, -1 },
        { "neither array", false, false, -1 },
    };
    const std::vector<float> silence (128, 0.0f);
    const std::vector<float> untouched (128, -7.0f);
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.what);
        std::vector<std::vector<float>> output (2, untouched);
        const float* in[] = { first[0].data(), first[1].data() };
        float* out[] = { output[0].data(), output[1].data() };
        if (c.missingOutput >= 0)
            out[c.missingOutput] = nullptr;
        int32_t length = 128;
        // The last block's context, with its channel arrays replaced.
        std::vector<void*> fields (static_cast<void**> (instance->Context()), static_cast<void**> (instance->Context()) + 5);
        fields[0] = c.inputArray ? static_cast<void*> (in) : nullptr;
        fields[1] = c.outputArray ? static_cast<void*> (out) : nullptr;
        fields[2] = &length;
        void* const contexts[] = { fields.data() };
        instance->CallProcessProcedure (contexts, 1);
        for (int channel = 0; channel < 2; ++channel)
        {
            const bool written = c.outputArray && channel != c.missingOutput;
            EXPECT_EQ (output[size_t (channel)], written ? silence : untouched) << "output " << channel;
        }
    }
    const auto whole = BlockOf (signal, 2, 128, 128);
    EXPECT_EQ (HostBlock (*instance, whole), direct.Process (whole));
}

TEST (AAXPluginAudio, BlocksAndDispatchesWhileTheHostReinitialisesMeetAWholeInstance)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    const auto input = BlockOf (TestSignal (2, 256), 2, 0, 256);
    std::vector<std::vector<float>> output (2, std::vector<float> (256));
    const float* in[] = { input[0].data(), input[1].data() };
    float* out[] = { output[0].data(), output[1].data() };
    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 };
    bool everySampleWritten = true;
    // The audio thread renders; another host thread dispatches the packets meanwhile.
    std::thread audio ([&] {
        while (running.load())
        {
            for (auto& channel : output)
                std::fill (channel.begin(), channel.end(), -7.0f);
            instance->RenderBlock (in, out, 256);
            for (const auto& channel : output)
                for (float sample : channel)
                    everySampleWritten = everySampleWritten && sample != -7.0f && std::isfinite (sample);
            ++blocks;
        }
    });
    std::thread dispatch ([&] {
        while (running.load())
            instance->Parameters().DispatchPackets();
    });
    for (int round = 0; round < 40 || blocks.load() < 40; ++round)
    {
        ASSERT_EQ (instance->Parameters().Uninitialize(), AAX_SUCCESS);
        ASSERT_EQ (instance->Parameters().Initialize (&instance->Host()), AAX_SUCCESS);
        ASSERT_EQ (instance->Parameters().ReceiveNotification (AAX_NOTIFICATION_FORMAT_CHANGED, nullptr, 0), AAX_SUCCESS);
    }
    running = false;
    audio.join();
    dispatch.join();
    EXPECT_TRUE (everySampleWritten);
    // Initialised again, the instance processes.
    EXPECT_NE (HostBlock (*instance, input), input);
}

TEST (AAXPluginAudio, RateChangesWhileBlocksRunNeverMeetAHalfPreparedProcessor)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance (2, kRate);
    instance->Parameters().SetParameterNormalizedValue ("3", 0.8);
    const auto input = BlockOf (TestSignal (2, 256), 2, 0, 256);
    std::atomic<bool> running { true };
    std::vector<std::vector<float>> last;
    bool allFinite = true;
    std::thread audio ([&] {
        while (running.load())
        {
            last = HostBlock (*instance, input);
            for (const auto& channel : last)
                for (float sample : channel)
                    allFinite = allFinite && std::isfinite (sample);
        }
    });
    const double rates[] = { 96000.0, 44100.0, 88200.0, kRate };
    for (int change = 0; change < 40; ++change)
    {
        instance->ChangeFormat (2, rates[change % 4]);
        std::this_thread::sleep_for (std::chrono::microseconds (200));
    }
    running = false;
    audio.join();
    EXPECT_TRUE (allFinite);
    // The last format is the one the processor runs in.
    EXPECT_NE (HostBlock (*instance, input), input);
}
} // namespace
