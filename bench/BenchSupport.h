// What the benchmarks share: the rate, the heavy settings, the arguments of the engine's cases, a
// second of program material, and a loop that feeds it to a processing step one block per
// iteration and reports nanoseconds per channel sample and the real-time factor.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>
#include <juce_core/juce_core.h>

#include <benchmark/benchmark.h>

#include <cmath>

namespace bench
{
inline constexpr double sampleRate = 48000.0;

// Fast attack, slow release, low threshold, high ratio, hard knee, the side-chain high-pass,
// strong drive, level and a mix.
inline constexpr float heavySettings[] = { 0.05f, 0.6f, 0.2f, 0.8f, 0.0f, 0.4f, 0.9f, 0.6f, 0.7f };

// Arguments of the engine's cases: channels, block size, heavy settings.
inline int channelsOf (const benchmark::State& state) { return static_cast<int> (state.range (0)); }
inline int blockSizeOf (const benchmark::State& state) { return static_cast<int> (state.range (1)); }
inline bool heavyOf (const benchmark::State& state) { return state.range (2) != 0; }

inline juce::AudioBuffer<float> makeProgram (int numChannels)
{
    juce::AudioBuffer<float> buffer (numChannels, 48000);
    juce::Random random (42);
    for (int c = 0; c < numChannels; ++c)
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (c, i, 0.6f * std::sin (0.031f * static_cast<float> (i)) + 0.2f * (random.nextFloat() - 0.5f));
    return buffer;
}

inline void reportRates (benchmark::State& state, int numChannels, int blockSize)
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

} // namespace bench
