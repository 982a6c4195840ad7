// processBlock on stereo 48 kHz 512-sample blocks, beside JUCE's own compressor on the same
// buffers. Reports nanoseconds per sample and the real-time factor (audio time / CPU time).
#include "KestruneAudioProcessor.h"

#include <benchmark/benchmark.h>
#include <juce_dsp/juce_dsp.h>

namespace
{
constexpr double sampleRate = 48000.0;
constexpr int blockSize = 512;
constexpr int numChannels = 2;

juce::AudioBuffer<float> makeProgram()
{
    juce::AudioBuffer<float> buffer (numChannels, blockSize * 64);
    juce::Random random (42);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (c, i, 0.6f * std::sin (0.031f * static_cast<float> (i)) + 0.2f * (random.nextFloat() - 0.5f));
    return buffer;
}

void reportRates (benchmark::State& state)
{
    const auto frames = static_cast<double> (state.iterations()) * blockSize;
    // Inverted rate of 1e-9 samples: CPU nanoseconds per channel sample (printed with an "s").
    state.counters["ns_per_sample"] = benchmark::Counter (frames * numChannels * 1.0e-9,
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["realtime_factor"] = benchmark::Counter (frames / sampleRate, benchmark::Counter::kIsRate);
}

template <typename Process>
void runBlocks (benchmark::State& state, Process&& process)
{
    const auto program = makeProgram();
    juce::AudioBuffer<float> block (numChannels, blockSize);
    int offset = 0;
    for (auto _ : state)
    {
        for (int c = 0; c < numChannels; ++c)
            block.copyFrom (c, 0, program, c, offset, blockSize);
        offset = (offset + blockSize) % program.getNumSamples();
        process (block);
        benchmark::DoNotOptimize (block.getReadPointer (0));
    }
    reportRates (state);
}

void kestrune (benchmark::State& state, bool heavy)
{
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (numChannels, numChannels, sampleRate, blockSize);
    processor.prepareToPlay (sampleRate, blockSize);
    if (heavy)
    {
        const float settings[] = { 0.05f, 0.6f, 0.2f, 0.8f, 0.0f, 0.4f, 0.9f, 0.6f, 0.7f };
        for (int i = 0; i < 9; ++i)
            processor.setParameter (i, settings[i]);
    }
    juce::MidiBuffer midi;
    runBlocks (state, [&] (juce::AudioBuffer<float>& block) { processor.processBlock (block, midi); });
}

void BM_KestruneDefault (benchmark::State& state) { kestrune (state, false); }
void BM_KestruneHeavyWithLowCut (benchmark::State& state) { kestrune (state, true); }

void BM_JuceDspCompressorReference (benchmark::State& state)
{
    juce::dsp::Compressor<float> compressor;
    compressor.prepare ({ sampleRate, static_cast<juce::uint32> (blockSize), static_cast<juce::uint32> (numChannels) });
    compressor.setThreshold (-20.0f);
    compressor.setRatio (4.0f);
    compressor.setAttack (27.0f);
    compressor.setRelease (300.0f);
    runBlocks (state, [&] (juce::AudioBuffer<float>& block) {
        juce::dsp::AudioBlock<float> audio (block);
        compressor.process (juce::dsp::ProcessContextReplacing<float> (audio));
    });
}

BENCHMARK (BM_KestruneDefault);
BENCHMARK (BM_KestruneHeavyWithLowCut);
BENCHMARK (BM_JuceDspCompressorReference);
} // namespace
