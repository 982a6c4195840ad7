// The processor's chain run sample by sample through QORCompressorChannel::processSample:
// the reference the block path is measured against, in the tests and in the benchmark.
// Settings come from normalised values through formulas of its own. A sample that is no
// audio is silence for the side-chain and gives 0.
#pragma once

#include "AudioSample.h"
#include "KestruneAudioProcessor.h"
#include "QORBiquadFilter.h"
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

// The side-chain high-pass: Butterworth at 10^(3 lowCut + 1.30103) Hz, kept below 0.49 of the
// rate, as designed, before its coefficients are kept inside the stable region.
inline juce::IIRCoefficients lowCutDesign (float lowCut, double sampleRate)
{
    const double f = std::min (static_cast<double> (std::pow (10.0f, 3.0f * lowCut + 1.30103f)), 0.49 * sampleRate);
    const double n = std::tan (juce::MathConstants<double>::pi * f / sampleRate);
    const double c1 = 1.0 / (1.0 + std::sqrt (2.0) * n + n * n);
    return { c1, -2.0 * c1, c1, 1.0, 2.0 * c1 * (n * n - 1.0), c1 * (1.0 - std::sqrt (2.0) * n + n * n) };
}

// The processor as the sample-by-sample chain: prepareToPlay, setParameter and processBlock
// each doing what theirs do, the whole block in one pass per channel.
class Chain
{
public:
    Chain (int numChannels, double rate, const Settings& s) : settings (s), sampleRate (rate)
    {
        for (int c = 0; c < numChannels; ++c)
        {
            channels.emplace_back (std::make_unique<QORCompressorChannel>());
            lowCuts.emplace_back();
            outputSmoothers.emplace_back().setTime (0.15);
        }
        prepare (rate);
    }

    // A further prepareToPlay: everything re-rated and brought up to date, running states kept.
    void prepare (double rate)
    {
        sampleRate = rate;
        for (auto& channel : channels)
            channel->setSampleRate (rate);
        pushToChannels();
        designLowCuts();
        for (auto& smoother : outputSmoothers)
            smoother.setSampleRate (rate);
    }

    // setParameter, taking effect at once: attack to knee pushed into every channel, the
    // low-cut filters redesigned for a low-cut change, the rest read at each sample.
    void setParameter (int index, float value)
    {
        settings = settings.with (index, value);
        if (index <= 4)
            pushToChannels();
        else if (index == 5)
            designLowCuts();
    }

    void process (juce::AudioBuffer<float>& buffer)
    {
        if (settings.bypass)
            return;
        const double norm = KestruneAudioProcessor::driveCurve (static_cast<double> (0.6f), settings.drive, 0.5, 1.0);
        const double scale = static_cast<double> (0.6f) / norm;
        const bool lowCutOn = settings.lowCut > 0.00001f;
        const int length = buffer.getNumSamples();
        for (size_t c = 0; c < channels.size(); ++c)
        {
            float* samples = buffer.getWritePointer (static_cast<int> (c));
            // The side-chain copy, high-passed over the whole block at once.
            side.assign (samples, samples + length);
            std::replace_if (
                side.begin(), side.end(), [] (float x) { return ! kestrune::engine::isAudioSample (x); }, 0.0f);
            if (lowCutOn)
                lowCuts[c].processSamples (side.data(), length);
            for (int k = 0; k < length; ++k)
            {
                const float in = samples[k];
                double y = channels[c]->processSample (in, side[static_cast<size_t> (k)]);
                y = KestruneAudioProcessor::driveCurve (y, settings.drive, 0.5, scale);
                const float out = kestrune::engine::isAudioSample (in)
                                      ? static_cast<float> (settings.level * y) * settings.mix + (1.0f - settings.mix) * in
                                      : 0.0f;
                outputSmoothers[c].feed (out);
                samples[k] = out;
            }
        }
    }

    double gainReductionMeter() const { return channels.front()->getGainSmootherState(); }
    double outputMeter() const { return outputSmoothers.front().state; }

private:
    void pushToChannels()
    {
        for (auto& channel : channels)
            channel->setParameters (settings.attack, settings.release, settings.threshold, settings.ratioSlope, settings.softKnee);
    }

    // The design with its coefficients kept inside the stable region, as every filter of the
    // chain takes them.
    void designLowCuts()
    {
        auto design = lowCutDesign (settings.lowCut, sampleRate);
        design.coefficients[3] = QORBiquadFilter::insideTheUnitCircle (design.coefficients[3], design.coefficients[4]);
        for (auto& filter : lowCuts)
            filter.setCoefficients (design);
    }

    Settings settings;
    double sampleRate;
    std::vector<std::unique_ptr<QORCompressorChannel>> channels;
    std::vector<juce::IIRFilter> lowCuts;
    std::vector<QORLevelSmoother> outputSmoothers;
    // Grows to the longest block and keeps its storage.
    std::vector<float> side;
};
} // namespace scalar_chain
