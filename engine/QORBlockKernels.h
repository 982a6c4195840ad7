#pragma once

#include "QORBiquadFilter.h"
#include "QORLevelSmoother.h"

#include <cstddef>

// The compressor channel's chain over a whole block, built for the best vector instruction
// set of the machine (chosen once, at the first call). The recursive steps run sample by
// sample; the others run vectorised, lane by lane with the per-sample chain's arithmetic in
// the same order and precision, only the transcendental functions coming from the vector
// library.
// A channel's four level smoothers step together as the lanes of one vector. The block
// moves through the chain in groups of samples: in a step the recursive stages of all
// channels run sample by sample side by side, so that their chains overlap, then the vector
// stages of all channels side by side on what the recursive stages have just made; the
// recursive stages of the next step take what the vector stages made.
namespace kestrune::engine::kernels
{
// The settings of the processor's output stage that follows the compressor on each sample.
struct OutputStage
{
    double drive;
    double driveShape;
    double driveScale;
    float level;
    float mix;
};

// One channel as the block path sees it: its settings, the running states it advances and
// its samples.
struct ChannelBlock
{
    double inputGain;
    double outputGain;
    double thresholdDb;
    double knee;
    double ratioSlope;
    double attackCoefficient;
    double releaseCoefficient;
    double releaseShaping;

    QORLevelSmoother* levelDetector;
    QORBiquadFilter* shelfFilter;
    QORLevelSmoother* programDetector;
    double* reduction;
    QORLevelSmoother* gainSmoother;
    QORLevelSmoother* outputSmoother;
    // The side-chain high-pass, run over the block as one run; null when it is off.
    QORBiquadFilter* lowCutFilter;

    // The input, replaced by the output; the side-chain is the input itself, high-passed
    // when the low-cut filter is given.
    float* samples;
};

// A smoothed reduction decaying towards 0 dB would end on a subnormal value, each step on
// which costs many times a normal one: below this magnitude (in dB, far below anything the
// single-precision gain can show and far above the subnormal range) it is 0.
inline constexpr double negligibleReduction = 1.0e-30;

// For each of numChannels (1 or 2) channels, every sample k in turn:
//  0. a sample that is no audio (isAudioSample) is taken as 0 by every step and comes out
//     as 0;
//  1. x = inputGain in 2, z = inputGain side-chain 2, the side-chain value taken as 0 when
//     it is no audio (the low-cut's output can overshoot the input); the level detector
//     takes z;
//  2. L = 20 log10 (level state), floored at -100; the target G = 0 when L <= -100, else
//     -(ln (1 + exp ((L - thresholdDb) knee)) / knee) ratioSlope;
//  3. the shelf filter takes float (x), the program detector its output; the program
//     factor F = log10 (float (program state)) 0.25 + 1 in single precision, limited to
//     [0, 1];
//  4. D = G - reduction: reduction += D releaseCoefficient (1 - F releaseShaping) when
//     D > 0, D attackCoefficient when D < 0; a reduction whose magnitude is below
//     negligibleReduction is 0 (here at the end of each group of samples, in processSample
//     at each sample: the two differ only below it);
//  5. H = reduction - max (0, (reduction - G) 0.6); g = 10^(float (H 0.05)) in single
//     precision when H > -100, else 0; the gain smoother takes g;
//  6. y = g x outputGain 2; the drive curve d = (2 / (exp ((drive + 0.01) (-10) y) + 1)
//     - 1) driveScale + exp (-5 (y + 1)^2) 0.5 min (driveShape, 0.5) drive, the last term
//     only when driveShape > 0; out = float (level d) mix + (1 - mix) in in single
//     precision; the output smoother takes out, which replaces the sample.
void processBlock (const ChannelBlock* channels, size_t numChannels, size_t numSamples, const OutputStage& stage) noexcept;

// Picks the instruction set now, so that the first block does not.
void chooseTarget() noexcept;
} // namespace kestrune::engine::kernels
