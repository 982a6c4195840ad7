// processBlock at 48 kHz, default and heavy settings, mono and stereo, blocks of 32 to 4096
// samples; beside it, on the same buffers, JUCE's own compressor and the chain run sample by
// sample through processSample; and the AAX process procedure of KESTrune.aaxplugin driven
// by the stand-in host. Reports nanoseconds per channel sample and the real-time factor
// (audio time / CPU time).
#include "HostInstance.h"
#include "KestruneAudioProcessor.h"
#include "ScalarChain.h"

#include <benchmark/benchmark.h>
#include <juce_dsp/juce_dsp.h>

#include <vector>

namespace
{
using namespace kestrune::host::aax;

constexpr double sampleRate = 48000.0;

// Fast attack, slow release, low threshold, high ratio, hard knee, the side-chain high-pass,
// strong drive, level and a mix.
constexpr float heavySettings[] = { 0.05f, 0.6f, 0.2f, 0.8f, 0.0f, 0.4f, 0.9f, 0.6f, 0.7f };

// Arguments of the engine's cases: channels, block size, heavy settings.
int channelsOf (const benchmark::State& state) { return static_cast<int> (state.range (0)); }
int blockSizeOf (const benchmark::State& state) { return static_cast<int> (state.range (1)); }
bool heavyOf (const benchmark::State& state) { return state.range (2) != 0; }

juce::AudioBuffer<float> makeProgram (int numChannels)
{
    juce::AudioBuffer<float> buffer (numChannels, 48000);
    juce::Random random (42);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (c, i, 0.6f * std::sin (0.031f * static_cast<float> (i)) + 0.2f * (random.nextFloat() - 0.5f));
    return buffer;
}

void reportRates (benchmark::State& state, int numChannels, int blockSize)
{
    const auto frames = static_cast<double> (state.iterations()) * blockSize;
    // Inverted rate of 1e-9 samples: CPU nanoseconds per channel sample (printed with an "s").
    state.counters["ns_per_sample"] = benchmark::Counter (frames * numChannels * 1.0e-9,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_factor"] = benchmark::Counter (frames / sampleRate, benchmark::Counter::kIsRate);
}

// Feeds consecutive stretches of the program to process, one block per iteration.
template <typename Process>
void runBlocks (benchmark::State& state, int numChannels, int blockSize, Process&& process)
{
    const auto program = makeProgram (numChannels);
    juce::AudioBuffer<float> block (numChannels, blockSize);
    int offset = 0;
    for (auto _ : state)
    {
        if (offset + blockSize > program.getNumSamples())
            offset = 0;
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom (c, 0, program, c, offset, blockSize);
        offset += blockSize;
        process (block);
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    reportRates (state, numChannels, blockSize);
}

void BM_ProcessBlock (benchmark::State& state)
{
    const int channels = channelsOf (state);
    const int blockSize = blockSizeOf (state);
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (channels, channels, sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
    if (heavyOf (state))
        for (int i = 0; i < static_cast<int> (std::size (heavySettings)); ++i)
            processor.setParameter (i, heavySettings[i]);
    juce::MidiBuffer midi;
    runBlocks (state, channels, blockSize, [&] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
}

void BM_ScalarChain (benchmark::State& state)
{
    const int channels = channelsOf (state);
    const int blockSize = blockSizeOf (state);
    scalar_chain::Settings settings;
    if (heavyOf (state))
        for (int i = 0; i < static_cast<int> (std::size (heavySettings)); ++i)
            settings = settings.with (i, heavySettings[i]);
    scalar_chain::Chain chain (channels, sampleRate, blockSize, settings);
    runBlocks (state, channels, blockSize, [&] (juce::AudioBuffer<float>& block) { chain.process (block); });
}

// JUCE's compressor at the processor's default threshold, ratio, attack and release.
void BM_JuceCompressor (benchmark::State& state)
{
    const int channels = channelsOf (state);
    const int blockSize = blockSizeOf (state);
    juce::dsp::Compressor<float> compressor;
    compressor.prepare ({ sampleRate, static_cast<juce::uint32> (blockSize), static_cast<juce::uint32> (channels) });
    compressor.setThreshold (-20.0f);
    compressor.setRatio (4.0f);
    compressor.setAttack (27.0f);
    compressor.setRelease (300.0f);
    runBlocks (state, channels, blockSize, [&] (juce::AudioBuffer<float>& block) {
        juce::dsp::AudioBlock<float> audio (block);
        compressor.process (juce::dsp::ProcessContextReplacing<float> (audio));
    });
}

// The plug-in file's process procedure, stereo, default settings: called with the context
// of a block as a host's engine calls it (wrapper alone), or through the stand-in host's
// whole block, which first dispatches and delivers the instance's packets and records
// every host call.
void runAAX (benchmark::State& state, bool throughStandInHost)
{
    const int blockSize = blockSizeOf (state);
    HostFramework framework;
    AAXModuleDriver driver (framework, KESTRUNE_PLUGIN_PATH);
    if (driver.Startup() != ACF_OK || driver.RegisterPlugin() != ACF_OK)
    {
        state.SkipWithError ("KESTrune.aaxplugin does not start");
        return;
    }
    {
        HostInstance instance (driver, InstanceSettings { 2, sampleRate, 0 });
        std::vector<float> output (static_cast<size_t> (2 * blockSize));
        float* outputs[] = { output.data(), output.data() + blockSize };
        int blocks = 0;
        runBlocks (state, 2, blockSize, [&] (juce::AudioBuffer<float>& block) {
            if (throughStandInHost || blocks == 0)
                instance.ProcessBlock (block.getArrayOfReadPointers(), outputs, blockSize);
            else
            {
                void* const contexts[] = { instance.Context() };
                instance.CallProcessProcedure (contexts, 1);
            }
            // The record of host calls would otherwise grow without bound.
            if (++blocks % 1024 == 0)
                framework.ClearCalls();
        });
    }
    driver.Shutdown();
}

void BM_AAXProcessProcedure (benchmark::State& state) { runAAX (state, false); }
void BM_AAXStandInHostBlock (benchmark::State& state) { runAAX (state, true); }

void engineCases (benchmark::internal::Benchmark* b)
{
    for (int heavy : { 0, 1 })
        for (int channels : { 1, 2 })
            for (int blockSize : { 32, 64, 512, 4096 })
                b->Args ({ channels, blockSize, heavy });
    b->ArgNames ({ "channels", "block", "heavy" });
}

void juceCases (benchmark::internal::Benchmark* b)
{
    for (int channels : { 1, 2 })
        for (int blockSize : { 32, 64, 512, 4096 })
            b->Args ({ channels, blockSize, 0 });
    b->ArgNames ({ "channels", "block", "heavy" });
}

BENCHMARK (BM_ProcessBlock)->Apply (engineCases);
BENCHMARK (BM_ScalarChain)->Apply (engineCases);
BENCHMARK (BM_JuceCompressor)->Apply (juceCases);
BENCHMARK (BM_AAXProcessProcedure)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
BENCHMARK (BM_AAXStandInHostBlock)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
} // namespace
