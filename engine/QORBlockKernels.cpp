// Compiled once per instruction set by Highway's foreach_target; the best one the machine
// supports is called through its dispatch table.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "QORBlockKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include "QORBlockKernels.h"

#include <algorithm>
#include <array>

HWY_BEFORE_NAMESPACE();
namespace kestrune::engine::kernels::HWY_NAMESPACE
{
namespace hn = hwy::HWY_NAMESPACE;

using D = hn::ScalableTag<double>;
using DF = hn::Rebind<float, D>;
using V = hn::Vec<D>;
using VF = hn::Vec<DF>;

// Samples per pipeline step: a multiple of every target's number of lanes.
constexpr size_t chunkLength = 16;
// A chunk's results live on for two more steps.
constexpr size_t numSlots = 3;

// The library's exponential holds up to about 706. Above 709.8 the true result overflows
// anyway; 1000 still gives infinity and keeps the argument's conversion in range.
HWY_INLINE V boundedExp (D d, V x)
{
    return hn::Exp (d, hn::Min (x, hn::Set (d, 1000.0)));
}

// 20 log10 (g), taken as -100 when g <= 0 or when the result is not above -100.
HWY_INLINE V decibelsOf (D d, V gain)
{
    const V floor = hn::Set (d, -100.0);
    const V dB = hn::Mul (hn::Set (d, 20.0), hn::Log10 (d, gain));
    return hn::IfThenElse (hn::And (hn::Gt (gain, hn::Zero (d)), hn::Gt (dB, floor)), dB, floor);
}

// One channel in the pipeline: its settings, its states between steps, and the results of
// the last three chunks.
struct Pipe
{
    explicit Pipe (const ChannelBlock& block)
        : settings (block), level (*block.levelDetector), shelf (*block.shelfFilter), program (*block.programDetector), reduction (*block.reduction), gain (*block.gainSmoother), output (*block.outputSmoother)
    {
    }

    void writeBack() const noexcept
    {
        settings.levelDetector->state = level.state;
        *settings.shelfFilter = shelf;
        settings.programDetector->state = program.state;
        *settings.reduction = reduction;
        settings.gainSmoother->state = gain.state;
        settings.outputSmoother->state = output.state;
    }

    ChannelBlock settings;
    QORLevelSmoother level;
    QORShelfFilter shelf;
    QORLevelSmoother program;
    double reduction;
    QORLevelSmoother gain;
    QORLevelSmoother output;

    float input[numSlots][chunkLength];
    // Level detector states, then target gain changes.
    double targets[numSlots][chunkLength];
    // Program detector states, then release weights 1 - F releaseShaping.
    double weights[numSlots][chunkLength];
    double reductions[numSlots][chunkLength];
    float gains[numSlots][chunkLength];
    float outputs[numSlots][chunkLength];
};

// Where one stage works in a step: the chunk's slot, its first sample and its length.
struct Chunk
{
    size_t slot = 0;
    size_t start = 0;
    size_t length = 0;
};

// The running states of one channel, copied into locals for the length of a step so that
// they stay in registers while the arrays are written.
struct States
{
    explicit States (const Pipe& pipe)
        : level (pipe.level), program (pipe.program), gain (pipe.gain), output (pipe.output), shelf (pipe.shelf), reduction (pipe.reduction), inputGain (pipe.settings.inputGain), attack (pipe.settings.attackCoefficient), release (pipe.settings.releaseCoefficient), samples (pipe.settings.samples), sideChain (pipe.settings.sideChain)
    {
    }

    void storeInto (Pipe& pipe) const noexcept
    {
        pipe.level = level;
        pipe.program = program;
        pipe.gain = gain;
        pipe.output = output;
        pipe.shelf = shelf;
        pipe.reduction = reduction;
    }

    QORLevelSmoother level, program, gain, output;
    QORShelfFilter shelf;
    double reduction;
    // Settings and buffers, held apart from anything written through pointers.
    double inputGain, attack, release;
    float* samples;
    const float* sideChain;
};

// Sample j of the chunks a, b and c of one channel: the detectors and the shelf filter on
// chunk a, the reduction smoother on chunk b, the gain and output smoothers on chunk c.
template <bool runA, bool runB, bool runC>
HWY_INLINE void recursiveSample (Pipe& pipe, States& states, size_t j, const Chunk& a, const Chunk& b, const Chunk& c)
{
    if (runA && j < a.length)
    {
        const float in = states.samples[a.start + j];
        pipe.input[a.slot][j] = in;
        states.level.feed (states.inputGain * states.sideChain[a.start + j] * 2.0);
        pipe.targets[a.slot][j] = states.level.state;
        const double x = states.inputGain * in * 2.0;
        states.program.feed (states.shelf.processSample (static_cast<float> (x)));
        pipe.weights[a.slot][j] = states.program.state;
    }
    if (runB && j < b.length)
    {
        const double reduction = states.reduction;
        const double difference = pipe.targets[b.slot][j] - reduction;
        const double recovered = reduction + difference * states.release * pipe.weights[b.slot][j];
        const double attacked = reduction + difference * states.attack;
        states.reduction = difference > 0.0 ? recovered : (difference < 0.0 ? attacked : reduction);
        pipe.reductions[b.slot][j] = states.reduction;
    }
    if (runC && j < c.length)
    {
        states.gain.feed (pipe.gains[c.slot][j]);
        const float out = pipe.outputs[c.slot][j];
        states.output.feed (out);
        states.samples[c.start + j] = out;
    }
}

// Lanes past the end of a short last chunk get harmless values for the vector steps.
template <bool runA, bool runB>
HWY_INLINE void padShortChunks (Pipe& pipe, const Chunk& a, const Chunk& b)
{
    for (size_t j = a.length; runA && j < chunkLength; ++j)
    {
        pipe.input[a.slot][j] = 0.0f;
        pipe.targets[a.slot][j] = 1.0;
        pipe.weights[a.slot][j] = 1.0;
    }
    for (size_t j = b.length; runB && j < chunkLength; ++j)
        pipe.reductions[b.slot][j] = 0.0;
}

// The recursive steps of one pipeline step, for up to three chunks at once. The chains of
// the three chunks and of the channels are independent, so the processor overlaps them.
template <size_t numChannels, bool runA, bool runB, bool runC>
HWY_NOINLINE void recursiveSteps (std::array<Pipe, numChannels>& pipes, const Chunk& a, const Chunk& b, const Chunk& c)
{
    States first (pipes[0]);
    if constexpr (numChannels == 2)
    {
        States second (pipes[1]);
        for (size_t j = 0; j < chunkLength; ++j)
        {
            recursiveSample<runA, runB, runC> (pipes[0], first, j, a, b, c);
            recursiveSample<runA, runB, runC> (pipes[1], second, j, a, b, c);
        }
        second.storeInto (pipes[1]);
    }
    else
    {
        for (size_t j = 0; j < chunkLength; ++j)
            recursiveSample<runA, runB, runC> (pipes[0], first, j, a, b, c);
    }
    first.storeInto (pipes[0]);

    for (Pipe& pipe : pipes)
        padShortChunks<runA, runB> (pipe, a, b);
}

// Target gain changes from the level detector states, release weights from the program
// detector states, in place.
HWY_INLINE void targetsAndWeights (Pipe& pipe, size_t slot)
{
    const D d;
    const DF df;
    const ChannelBlock& block = pipe.settings;
    const V threshold = hn::Set (d, block.thresholdDb);
    const V knee = hn::Set (d, block.knee);
    const V slope = hn::Set (d, block.ratioSlope);
    const V shaping = hn::Set (d, block.releaseShaping);
    const V one = hn::Set (d, 1.0);
    const V floor = hn::Set (d, -100.0);
    for (size_t i = 0; i < chunkLength; i += hn::Lanes (d))
    {
        double* targets = pipe.targets[slot] + i;
        const V level = decibelsOf (d, hn::LoadU (d, targets));
        const V curve = hn::Log (d, hn::Add (one, boundedExp (d, hn::Mul (hn::Sub (level, threshold), knee))));
        const V target = hn::Mul (hn::Neg (hn::Div (curve, knee)), slope);
        hn::StoreU (hn::IfThenElseZero (hn::Gt (level, floor), target), d, targets);

        // log10 of the single-precision state, rounded to single precision.
        double* weights = pipe.weights[slot] + i;
        const VF program = hn::DemoteTo (df, hn::LoadU (d, weights));
        const VF logarithm = hn::DemoteTo (df, hn::Log10 (d, hn::PromoteTo (d, program)));
        VF factor = hn::Add (hn::Mul (logarithm, hn::Set (df, 0.25f)), hn::Set (df, 1.0f));
        factor = hn::Max (hn::Min (factor, hn::Set (df, 1.0f)), hn::Zero (df));
        hn::StoreU (hn::Sub (one, hn::Mul (hn::PromoteTo (d, factor), shaping)), d, weights);
    }
}

// Applied gains from the smoothed reductions, then the compressor's output through the
// drive curve, level and mix.
HWY_INLINE void gainsAndOutputs (Pipe& pipe, size_t slot, const OutputStage& stage)
{
    const D d;
    const DF df;
    const ChannelBlock& block = pipe.settings;
    const V attackShare = hn::Set (d, 0.6);
    const V toExponent = hn::Set (d, 0.05);
    const V ln10 = hn::Set (d, 2.302585092994045684017991454684364208);
    const V floor = hn::Set (d, -100.0);
    const V inputGain = hn::Set (d, block.inputGain);
    const V outputGain = hn::Set (d, block.outputGain);
    const V two = hn::Set (d, 2.0);
    const V one = hn::Set (d, 1.0);
    const V saturation = hn::Set (d, (stage.drive + 0.01) * -10.0);
    const V scale = hn::Set (d, stage.driveScale);
    const bool withBump = stage.driveShape > 0.0;
    const V bumpWidth = hn::Set (d, std::min (stage.driveShape, 0.5));
    const V drive = hn::Set (d, stage.drive);
    const V level = hn::Set (d, static_cast<double> (stage.level));
    const VF mix = hn::Set (df, stage.mix);
    const VF dry = hn::Set (df, 1.0f - stage.mix);
    for (size_t i = 0; i < chunkLength; i += hn::Lanes (d))
    {
        const V reduction = hn::LoadU (d, pipe.reductions[slot] + i);
        const V overshoot = hn::Max (hn::Mul (hn::Sub (reduction, hn::LoadU (d, pipe.targets[slot] + i)), attackShare), hn::Zero (d));
        const V applied = hn::Sub (reduction, overshoot);
        // 10^e for the single-precision exponent e, as exp (e ln 10) in double precision
        // rounded once to single precision.
        const VF exponent = hn::DemoteTo (df, hn::Mul (applied, toExponent));
        const V power = boundedExp (d, hn::Mul (hn::PromoteTo (d, exponent), ln10));
        const VF gain = hn::DemoteTo (df, hn::IfThenElseZero (hn::Gt (applied, floor), power));
        hn::StoreU (gain, df, pipe.gains[slot] + i);

        const VF in = hn::LoadU (df, pipe.input[slot] + i);
        const V x = hn::Mul (hn::Mul (inputGain, hn::PromoteTo (d, in)), two);
        const V y = hn::Mul (hn::Mul (hn::Mul (hn::PromoteTo (d, gain), x), outputGain), two);

        const V tanhShape = hn::Sub (hn::Div (two, hn::Add (boundedExp (d, hn::Mul (saturation, y)), one)), one);
        V bump = hn::Zero (d);
        if (withBump)
        {
            const V shifted = hn::Add (y, one);
            const V hump = hn::Exp (d, hn::Mul (hn::Mul (hn::Set (d, -5.0), shifted), shifted));
            bump = hn::Mul (hn::Mul (hn::Mul (hump, hn::Set (d, 0.5)), bumpWidth), drive);
        }
        const V driven = hn::Add (hn::Mul (tanhShape, scale), bump);

        const VF wet = hn::DemoteTo (df, hn::Mul (level, driven));
        hn::StoreU (hn::Add (hn::Mul (wet, mix), hn::Mul (dry, in)), df, pipe.outputs[slot] + i);
    }
}

template <size_t numChannels>
void runPipeline (const ChannelBlock* blocks, size_t numSamples, const OutputStage& stage)
{
    std::array<Pipe, numChannels> pipes = [&] {
        if constexpr (numChannels == 2)
            return std::array<Pipe, 2> { Pipe (blocks[0]), Pipe (blocks[1]) };
        else
            return std::array<Pipe, 1> { Pipe (blocks[0]) };
    }();

    const size_t numChunks = (numSamples + chunkLength - 1) / chunkLength;
    auto chunk = [&] (size_t index) {
        const size_t start = index * chunkLength;
        return Chunk { index % numSlots, start, std::min (chunkLength, numSamples - start) };
    };

    // Step s runs the detectors on chunk s, the reduction smoother on chunk s - 1 and the
    // meter smoothers on chunk s - 2; two more steps finish the last chunks.
    for (size_t step = 0; step < numChunks + 2; ++step)
    {
        const bool runA = step < numChunks;
        const bool runB = step >= 1 && step <= numChunks;
        const bool runC = step >= 2;
        const Chunk a = runA ? chunk (step) : Chunk {};
        const Chunk b = runB ? chunk (step - 1) : Chunk {};
        const Chunk c = runC ? chunk (step - 2) : Chunk {};
        if (runA && runB && runC)
            recursiveSteps<numChannels, true, true, true> (pipes, a, b, c);
        else if (runA && runB)
            recursiveSteps<numChannels, true, true, false> (pipes, a, b, c);
        else if (runA)
            recursiveSteps<numChannels, true, false, false> (pipes, a, b, c);
        else if (runB && runC)
            recursiveSteps<numChannels, false, true, true> (pipes, a, b, c);
        else if (runB)
            recursiveSteps<numChannels, false, true, false> (pipes, a, b, c);
        else
            recursiveSteps<numChannels, false, false, true> (pipes, a, b, c);

        for (Pipe& pipe : pipes)
        {
            if (runA)
                targetsAndWeights (pipe, a.slot);
            if (runB)
                gainsAndOutputs (pipe, b.slot, stage);
        }
    }

    for (const Pipe& pipe : pipes)
        pipe.writeBack();
}

void ProcessBlock (const ChannelBlock* channels, size_t numChannels, size_t numSamples, const OutputStage& stage)
{
    if (numChannels == 2)
        runPipeline<2> (channels, numSamples, stage);
    else if (numChannels == 1)
        runPipeline<1> (channels, numSamples, stage);
}
} // namespace kestrune::engine::kernels::HWY_NAMESPACE
HWY_AFTER_NAMESPACE();

#if HWY_ONCE
namespace kestrune::engine::kernels
{
HWY_EXPORT (ProcessBlock);

void processBlock (const ChannelBlock* channels, size_t numChannels, size_t numSamples, const OutputStage& stage) noexcept
{
    if (numSamples == 0)
        return;
    const auto process = HWY_DYNAMIC_DISPATCH (ProcessBlock);
    process (channels, numChannels, numSamples, stage);
}

void chooseTarget() noexcept
{
    hwy::GetChosenTarget().Update (hwy::SupportedTargets());
}
} // namespace kestrune::engine::kernels
#endif
