#pragma once

#include "QORBiquadFilter.h"
#include "QORBlockKernels.h"
#include "QORLevelSmoother.h"

// The compressor of one audio channel: RMS detector on the side-chain, log-domain soft or
// hard knee, attack/release smoothing in dB with a program-dependent release, and a
// smoothed copy of the applied gain for the gain-reduction meter.
class QORCompressorChannel
{
public:
    using OutputStage = kestrune::engine::kernels::OutputStage;

    QORCompressorChannel();

    // Re-rates the detectors and redesigns the shelf filter; running states are kept.
    void setSampleRate (double rate);

    // The processor's parameter push: times in seconds, threshold as linear gain,
    // ratioSlope = 1 - 1/ratio. Coefficients follow from this channel's sample rate.
    void setParameters (double attack, double release, double threshold, double ratioSlope, bool softKnee) noexcept;

    // One sample of audio with its side-chain value; returns the compressed sample. Either
    // value, when it is no audio (isAudioSample), counts as silence: 0 comes out for such an
    // input.
    double processSample (double input, double sideChain) noexcept;

    // [audio thread] processSample's chain over a block of one channel, or of two channels
    // side by side, followed by the processor's output stage: every sample is replaced by
    // the output stage of processSample (sample, side-chain) and fed to that channel's
    // output smoother. The side-chain is the sample itself, run through that channel's
    // low-cut filter when lowCutFilters is given. A sample that is no audio is silence for
    // the side-chain, the filters and the detectors, and comes out as 0; a side-chain value
    // that is no audio is silence for the level detector. The same results as
    // sample by sample: the recursive steps run so, the others vectorised.
    static void processBlock (QORCompressorChannel* const* channels, QORLevelSmoother* const* outputSmoothers,
                              QORBiquadFilter* const* lowCutFilters, int numChannels, float* const* samples,
                              int numSamples, const OutputStage& stage) noexcept;

    // Smoothed applied gain (1.0 = no reduction): what the gain-reduction meter shows.
    double getGainSmootherState() const noexcept { return gainSmoother.state; }

    // Current smoothed gain change in dB (0 or negative).
    double getReduction() const noexcept { return reduction; }

    double getAttackCoefficient() const noexcept { return attackCoefficient; }
    double getReleaseCoefficient() const noexcept { return releaseCoefficient; }

    static constexpr double levelDetectorTime = 0.0005;
    static constexpr double programDetectorTime = 0.2;
    static constexpr double gainSmootherTime = 0.06;

private:
    void designShelfFilter();

    // The settings and states the block path works with; the output smoother is the
    // processor's.
    kestrune::engine::kernels::ChannelBlock blockView (QORLevelSmoother& outputSmoother, QORBiquadFilter* lowCutFilter,
                                                       float* samples) noexcept;

    double inputGain = 0.5;
    double attackTime = 0.01;
    double releaseTime = 1.0;
    double threshold = 0.8;
    double ratioSlope = 0.5;
    double outputGain = 0.5;
    bool softKnee = true;
    double attackCoefficient = 0.1;
    double releaseCoefficient = 0.1;
    double sampleRate = 44100.0;
    QORLevelSmoother levelDetector;
    QORBiquadFilter shelfFilter;
    QORLevelSmoother programDetector;
    double releaseShaping = 1.0;
    QORLevelSmoother gainSmoother;
    double reduction = 0.0;
    // The threshold in dB, worked out once per parameter push.
    double thresholdInDb;
};
