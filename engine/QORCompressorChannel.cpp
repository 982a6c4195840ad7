#include "QORCompressorChannel.h"

#include "AudioSample.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace
{
// 20 * log10 (g), floored at -100 dB; silence and negative gains read as -100.
double decibelsOf (double gain) noexcept
{
    if (gain <= 0.0)
        return -100.0;
    const double dB = 20.0 * std::log10 (gain);
    return dB > -100.0 ? dB : -100.0;
}

double coefficientForTime (double seconds, double rate) noexcept
{
    return 1.0 - std::exp (-4.0 / (seconds * rate));
}

double kneeConstant (bool softKnee) noexcept
{
    return softKnee ? 0.3 : 0.7;
}
} // namespace

QORCompressorChannel::QORCompressorChannel() : thresholdInDb (decibelsOf (threshold))
{
    levelDetector.setTime (levelDetectorTime);
    programDetector.setTime (programDetectorTime);
    gainSmoother.setTime (gainSmootherTime);
}

void QORCompressorChannel::setSampleRate (double rate)
{
    sampleRate = rate;
    levelDetector.time = levelDetectorTime;
    levelDetector.setSampleRate (rate);
    programDetector.time = programDetectorTime;
    programDetector.setSampleRate (rate);
    gainSmoother.time = gainSmootherTime;
    gainSmoother.setSampleRate (rate);
    designShelfFilter();
}

// High shelf at 1.5 kHz, Q 0.5, with A = 10^-0.75 used directly (no square root): it
// weights the program detector towards the highs. A corner at or above half the rate makes
// the filter unstable, and one within a ten-thousandth of the rate below it can round to
// float coefficients that are: there, at rates up to 3 kHz, the corner is held at 0.49 of
// the rate, as the low-cut's is.
void QORCompressorChannel::designShelfFilter()
{
    constexpr double shelfCorner = 1500.0;
    const double corner = shelfCorner < 0.4999 * sampleRate ? shelfCorner : 0.49 * sampleRate;
    const double A = static_cast<double> (std::pow (10.0f, -0.75f));
    const double w = 2.0 * juce::MathConstants<double>::pi * corner / sampleRate;
    const double c = std::cos (w);
    const double beta = std::sin (w) * std::sqrt (A) / 0.5;

    const double b0 = A * ((A + 1.0) + (A - 1.0) * c + beta);
    const double b1 = -2.0 * A * ((A - 1.0) + (A + 1.0) * c);
    const double b2 = A * ((A + 1.0) + (A - 1.0) * c - beta);
    const double a0 = (A + 1.0) - (A - 1.0) * c + beta;
    const double a1 = 2.0 * ((A - 1.0) - (A + 1.0) * c);
    const double a2 = (A + 1.0) - (A - 1.0) * c - beta;

    shelfFilter.setCoefficients (juce::IIRCoefficients (b0, b1, b2, a0, a1, a2).coefficients);
}

void QORCompressorChannel::setParameters (double attack, double release, double newThreshold,
                                          double newRatioSlope, bool newSoftKnee) noexcept
{
    attackTime = attack;
    attackCoefficient = coefficientForTime (attackTime, sampleRate);
    releaseTime = release;
    releaseCoefficient = coefficientForTime (releaseTime, sampleRate);
    threshold = newThreshold;
    thresholdInDb = decibelsOf (threshold);
    ratioSlope = newRatioSlope;
    softKnee = newSoftKnee;
}

double QORCompressorChannel::processSample (double input, double sideChain) noexcept
{
    // What is no audio is silence here, so that no state ever takes it in.
    using kestrune::engine::isAudioSample;
    input = isAudioSample (input) ? input : 0.0;
    sideChain = isAudioSample (sideChain) ? sideChain : 0.0;
    const double x = inputGain * input * 2.0;
    const double z = inputGain * sideChain * 2.0;

    levelDetector.feed (z);
    const double level = decibelsOf (levelDetector.state);

    const double knee = kneeConstant (softKnee);
    double target = 0.0;
    if (level > -100.0)
        target = -(std::log (1.0 + std::exp ((level - thresholdInDb) * knee)) / knee) * ratioSlope;

    const float shelved = shelfFilter.processSample (static_cast<float> (x));
    programDetector.feed (shelved);
    float programFactor = std::log10 (static_cast<float> (programDetector.state)) * 0.25f + 1.0f;
    programFactor = std::clamp (programFactor, 0.0f, 1.0f);

    const double difference = target - reduction;
    double smoothed = reduction;
    if (difference > 0.0)
        smoothed = reduction + difference * releaseCoefficient * (1.0 - programFactor * releaseShaping);
    else if (difference < 0.0)
        smoothed = reduction + difference * attackCoefficient;
    if (std::abs (smoothed) < kestrune::engine::kernels::negligibleReduction)
        smoothed = 0.0;

    const double applied = smoothed - std::max (0.0, (smoothed - target) * 0.6);
    const double gain = applied > -100.0
                            ? static_cast<double> (std::pow (10.0f, static_cast<float> (applied * 0.05)))
                            : 0.0;

    reduction = smoothed;
    gainSmoother.feed (gain);
    return gain * x * outputGain * 2.0;
}

//==============================================================================
void QORCompressorChannel::processBlock (QORCompressorChannel* const* channels, QORLevelSmoother* const* outputSmoothers,
                                         QORBiquadFilter* const* lowCutFilters, int numChannels, float* const* samples,
                                         int numSamples, const OutputStage& stage) noexcept
{
    const auto blockOf = [&] (int c) {
        return channels[c]->blockView (*outputSmoothers[c], lowCutFilters != nullptr ? lowCutFilters[c] : nullptr, samples[c]);
    };
    const auto length = static_cast<size_t> (std::max (numSamples, 0));
    if (numChannels >= 2)
    {
        const std::array blocks { blockOf (0), blockOf (1) };
        kestrune::engine::kernels::processBlock (blocks.data(), blocks.size(), length, stage);
    }
    else if (numChannels == 1)
    {
        const std::array blocks { blockOf (0) };
        kestrune::engine::kernels::processBlock (blocks.data(), blocks.size(), length, stage);
    }
}

kestrune::engine::kernels::ChannelBlock QORCompressorChannel::blockView (QORLevelSmoother& outputSmoother, QORBiquadFilter* lowCutFilter,
                                                                         float* samples) noexcept
{
    return { inputGain, outputGain, thresholdInDb, kneeConstant (softKnee), ratioSlope,
             attackCoefficient, releaseCoefficient, releaseShaping,
             &levelDetector, &shelfFilter, &programDetector, &reduction, &gainSmoother, &outputSmoother, lowCutFilter,
             samples };
}
