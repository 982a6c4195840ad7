#include "ExampleSignal.h"

#include <cmath>

namespace
{
constexpr double twoPi = juce::MathConstants<double>::twoPi;
constexpr double beatsPerSecond = 2.0; // 120 beats per minute

double kick (double t)
{
    const double pitch = 50.0 + 100.0 * std::exp (-t * 30.0);
    return std::sin (twoPi * pitch * t) * std::exp (-t * 8.0);
}

// Deterministic noise for the snare: a small linear congruential generator.
double noise (uint32_t& seed)
{
    seed = seed * 1664525u + 1013904223u;
    return static_cast<double> (seed >> 8) / static_cast<double> (1u << 24) * 2.0 - 1.0;
}

double bass (double t, int beat)
{
    static constexpr double notes[] = { 55.0, 55.0, 65.41, 49.0 };
    const double frequency = notes[(beat / 2) % 4];
    return 0.5 * std::sin (twoPi * frequency * t) + 0.2 * std::sin (twoPi * 2.0 * frequency * t);
}
} // namespace

juce::AudioBuffer<float> makeExampleSignal (double sampleRate, double seconds)
{
    const int numSamples = static_cast<int> (sampleRate * seconds);
    juce::AudioBuffer<float> buffer (2, numSamples);
    uint32_t seed = 12345u;
    for (int i = 0; i < numSamples; ++i)
    {
        const double t = i / sampleRate;
        const int beat = static_cast<int> (t * beatsPerSecond);
        const double inBeat = t - beat / beatsPerSecond;
        const double drums = 0.9 * kick (inBeat) + (beat % 2 == 1 ? 0.35 * noise (seed) * std::exp (-inBeat * 20.0) : 0.0);
        const double line = 0.3 * bass (t, beat);
        buffer.setSample (0, i, static_cast<float> (0.7 * (drums + line * 1.1)));
        buffer.setSample (1, i, static_cast<float> (0.7 * (drums * 0.9 + line)));
    }
    return buffer;
}
