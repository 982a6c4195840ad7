// Ten seconds of deterministic program material: silence, level steps, noise bursts, a loud
// high tone, a loud low tone, a mix and a lone click; each channel differs from the others in
// level, and every second one is inverted.
#pragma once

#include <juce_audio_basics/juce_audio_basics.h>

#include <cmath>
#include <iterator>
#include <random>

namespace program_material
{
inline constexpr double channelGains[] = { 1.0, 0.7, 0.45, 0.85 };

inline juce::AudioBuffer<float> make (int numChannels, double rate, double seconds = 10.0)
{
    const int length = static_cast<int> (seconds * rate);
    juce::AudioBuffer<float> buffer (numChannels, length);
    std::mt19937 random (2024);
    std::uniform_real_distribution<float> noise (-1.0f, 1.0f);
    const double twoPi = juce::MathConstants<double>::twoPi;
    for (int i = 0; i < length; ++i)
    {
        const double t = i / rate;
        const float white = noise (random);
        for (int c = 0; c < numChannels; ++c)
        {
            const double sign = c % 2 == 0 ? 1.0 : -1.0;
            const double gain = channelGains[static_cast<size_t> (c) % std::size (channelGains)];
            double v = 0.0;
            if (t >= 1.0 && t < 2.5) // a low tone stepping from -30 dB to -6 dB
                v = (t < 1.75 ? 0.0316 : 0.5) * std::sin (twoPi * 220.0 * t);
            else if (t >= 3.0 && t < 5.0) // 40 ms noise bursts at full scale every 200 ms
                v = std::fmod (t - 3.0, 0.2) < 0.04 ? white : 0.0;
            else if (t >= 5.0 && t < 6.5) // a loud high tone, stepping down to -40 dB
                v = (t < 6.0 ? 0.7 : 0.01) * std::sin (twoPi * 3000.0 * t);
            else if (t >= 6.5 && t < 8.0) // a loud low tone, louder than full scale through the shelf
                v = 0.95 * std::tanh (4.0 * std::sin (twoPi * 60.0 * t));
            else if (t >= 8.0 && t < 9.0) // noise under a tone
                v = 0.25 * std::sin (twoPi * 440.0 * t) + 0.1 * white;
            else if (i == static_cast<int> (9.5 * rate)) // a lone click in silence
                v = 0.9;
            buffer.setSample (c, i, static_cast<float> (sign * gain * v));
        }
    }
    return buffer;
}
} // namespace program_material
