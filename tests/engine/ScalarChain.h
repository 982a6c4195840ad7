// The processor's chain run sample by sample through QORCompressorChannel::processSample:
// the reference the block path is measured against, in the tests and in the benchmark.
// Settings come from normalised values through formulas of its own.
#pragma once

#include "KestruneAudioProcessor.h"
#include "QORCompressorChannel.h"
#include "QORLevelSmoother.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <vector>

namespace scalar_chain
{
// Engineering values, starting from the processor's initial ones.
struct Settings
{
    float attack = 0.027f;
    float release = 0.3f;
    float threshold = std::pow (10.0f, -1.0f);
    float ratioSlope = 0.75f;
    bool softKnee = true;
    float lowCut = 0.0f;
    float drive = 0.25f;
    float level = 1.0f;
    float mix = 1.0f;
    bool bypass = false;

    // The setting of one parameter from its normalised value.
    Settings with (int index, float v) const
    {
        static constexpr std::array<float, 11> slopes { 0.0f, 1.0f / 3.0f, 0.5f, 0.6f, 2.0f / 3.0f, 0.75f,
                                                        0.875f, 11.0f / 12.0f, 0.9375f, 0.95f, 1.0f };
        auto gainOf = [] (float dB) { return dB > -100.0f ? std::pow (10.0f, dB * 0.05f) : 0.0f; };
        Settings s = *this;
        switch (index)
        {
            case 0: s.attack = v * v * 0.299f + 0.001f; break;
            case 1: s.release = v * v * 1.9f + 0.1f; break;
            case 2: s.threshold = gainOf (v * 40.0f - 40.0f); break;
            case 3: s.ratioSlope = slopes[static_cast<size_t> (std::floor (v * 10.0f + 0.5f))]; break;
            case 4: s.softKnee = v >= 0.5f; break;
            case 5: s.lowCut = v; break;
            case 6: s.drive = v; break;
            case 7: s.level = gainOf ((v - 0.5f) * 30.0f); break;
            case 8: s.mix = v; break;
            case 9: s.bypass = v >= 0.5f; break;
            default: break;
        }
        return s;
    }
};

class Chain
{
public:
    // segmentLength: the longest stretch the side-chain high-pass runs over at once, as the
    // processor's side-chain copy holds (its prepared block size).
    Chain (int numChannels, double rate, int segmentLength, const Settings& s)
        : settings (s), sampleRate (rate), segmentLength (segmentLength), side (static_cast<size_t> (segmentLength))
    {
        for (int c = 0; c < numChannels; ++c)
        {
            auto& channel = channels.emplace_back (std::make_unique<QORCompressorChannel>());
            channel->setSampleRate (rate);
            channel->setParameters (s.attack, s.release, s.threshold, s.ratioSlope, s.softKnee);
            lowCuts.emplace_back().setCoefficients (lowCutDesign());
            auto& smoother = outputSmoothers.emplace_back();
            smoother.setSampleRate (rate);
            smoother.setTime (0.15);
        }
    }

    void process (juce::AudioBuffer<float>& buffer)
    {
        if (settings.bypass)
            return;
        const double norm = KestruneAudioProcessor::driveCurve (static_cast<double> (0.6f), settings.drive, 0.5, 1.0);
        const double scale = static_cast<double> (0.6f) / norm;
        const bool lowCutOn = settings.lowCut > 0.00001f;
        for (int start = 0; start < buffer.getNumSamples(); start += segmentLength)
        {
            const int length = std::min (segmentLength, buffer.getNumSamples() - start);
            for (size_t c = 0; c < channels.size(); ++c)
            {
                float* samples = buffer.getWritePointer (static_cast<int> (c), start);
                std::copy (samples, samples + length, side.begin());
                if (lowCutOn)
                    lowCuts[c].processSamples (side.data(), length);
                for (int k = 0; k < length; ++k)
                {
                    const float in = samples[k];
                    double y = channels[c]->processSample (in, side[static_cast<size_t> (k)]);
                    y = KestruneAudioProcessor::driveCurve (y, settings.drive, 0.5, scale);
                    const float out = static_cast<float> (settings.level * y) * settings.mix + (1.0f - settings.mix) * in;
                    outputSmoothers[c].feed (out);
                    samples[k] = out;
                }
            }
        }
    }

    double gainReductionMeter() const { return channels.front()->getGainSmootherState(); }
    double outputMeter() const { return outputSmoothers.front().state; }

private:
    // Butterworth high-pass at 10^(3 lowCut + 1.30103) Hz, kept below 0.49 of the rate.
    juce::IIRCoefficients lowCutDesign() const
    {
        const double f = std::min (static_cast<double> (std::pow (10.0f, 3.0f * settings.lowCut + 1.30103f)), 0.49 * sampleRate);
        const double n = std::tan (juce::MathConstants<double>::pi * f / sampleRate);
        const double c1 = 1.0 / (1.0 + std::sqrt (2.0) * n + n * n);
        return { c1, -2.0 * c1, c1, 1.0, 2.0 * c1 * (n * n - 1.0), c1 * (1.0 - std::sqrt (2.0) * n + n * n) };
    }

    Settings settings;
    double sampleRate;
    int segmentLength;
    std::vector<std::unique_ptr<QORCompressorChannel>> channels;
    std::vector<juce::IIRFilter> lowCuts;
    std::vector<QORLevelSmoother> outputSmoothers;
    std::vector<float> side;
};
} // namespace scalar_chain
