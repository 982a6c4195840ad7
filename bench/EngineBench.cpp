// processBlock at 48 kHz, default and heavy settings, mono and stereo, blocks of 32 to 4096
// samples; beside it, on the same buffers, JUCE's own compressor and the chain run sample by
// sample through processSample; and processBlock at 1:1 come to rest after compressing, beside
// one that never compressed. Reports nanoseconds per channel sample and the real-time factor
// (audio time / CPU time). Built in both builds, so that the i386 figures stand beside the native.
#include "BenchSupport.h"
#include "KestruneAudioProcessor.h"
#include "ScalarChain.h"

#include <juce_dsp/juce_dsp.h>

#include <memory>

namespace
{
using namespace bench;

// A processor prepared for the case's channels and block size at the benchmarks' rate.
std::unique_ptr<KestruneAudioProcessor> preparedProcessor (const benchmark::State& state)
{
    auto processor = std::make_unique<KestruneAudioProcessor>();
    processor->setPlayConfigDetails (channelsOf (state), channelsOf (state), sampleRate, blockSizeOf (state));
    processor->prepareToPlay (sampleRate, blockSizeOf (state));
    return processor;
}

void measureProcessBlock (benchmark::State& state, KestruneAudioProcessor& processor)
{
    juce::MidiBuffer midi;
    runBlocks (state, channelsOf (state), blockSizeOf (state), [&] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
}

void BM_ProcessBlock (benchmark::State& state)
{
    const auto processor = preparedProcessor (state);
    if (heavyOf (state))
        for (int i = 0; i < static_cast<int> (std::size (heavySettings)); ++i)
            processor->setParameter (i, heavySettings[i]);
    measureProcessBlock (state, *processor);
}

// Stereo at 1:1 with the shortest release. With "released" the processor first compresses a
// loud second at an infinite ratio, then takes 40 s of silence at 1:1, in which its smoothed
// reduction decays all the way towards 0; without, its reduction never left 0.
void BM_ProcessBlockAtRest (benchmark::State& state)
{
    const auto processor = preparedProcessor (state);
    processor->setParameter (KestruneAudioProcessor::releaseParam, 0.0f);
    processor->setParameter (KestruneAudioProcessor::ratioParam, 0.0f);
    if (state.range (2) != 0)
    {
        juce::MidiBuffer midi;
        processor->setParameter (KestruneAudioProcessor::ratioParam, 1.0f);
        auto loud = makeProgram (channelsOf (state));
        processor->processBlock (loud, midi);
        processor->setParameter (KestruneAudioProcessor::ratioParam, 0.0f);
        juce::AudioBuffer<float> silence (channelsOf (state), blockSizeOf (state));
        for (int block = 0; block < static_cast<int> (40.0 * sampleRate) / blockSizeOf (state); ++block)
        {
            silence.clear();
            processor->processBlock (silence, midi);
        }
    }
    measureProcessBlock (state, *processor);
}

void BM_ScalarChain (benchmark::State& state)
{
    const int channels = channelsOf (state);
    const int blockSize = blockSizeOf (state);
    scalar_chain::Settings settings;
    if (heavyOf (state))
        for (int i = 0; i < static_cast<int> (std::size (heavySettings)); ++i)
            settings = settings.with (i, heavySettings[i]);
    scalar_chain::Chain chain (channels, sampleRate, settings);
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
BENCHMARK (BM_ProcessBlockAtRest)->Args ({ 2, 512, 0 })->Args ({ 2, 512, 1 })->ArgNames ({ "channels", "block", "released" });
BENCHMARK (BM_ScalarChain)->Apply (engineCases);
BENCHMARK (BM_JuceCompressor)->Apply (juceCases);
} // namespace
