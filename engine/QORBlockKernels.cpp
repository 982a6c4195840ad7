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

// The vector stages' vectors, in double and in single precision.
using DM = hn::CappedTag<double, 8>;
using DF = hn::Rebind<float, DM>;
using VM = hn::Vec<DM>;
using VF = hn::Vec<DF>;
constexpr size_t mathLanes = hn::MaxLanes (DM());

// Samples per group, the unit that moves from stage to stage: two vectors per channel,
// which the vector stages of both channels work on side by side.
constexpr size_t groupLength = 2 * mathLanes;

// The steps by which each stage follows the filters on the same group. In a step the
// recursive stages run first, then the vector stages, which take what the recursive ones
// have just made; the recursive stages take what the vector stages made a step before.
struct Lags
{
    static constexpr size_t detectorInputs = 0;
    static constexpr size_t detectors = 1;
    static constexpr size_t targets = 1;
    static constexpr size_t reductions = 2;
    static constexpr size_t outputs = 2;
    static constexpr size_t meters = 3;
};
// Per-group arrays kept for the groups in flight.
constexpr size_t numSlots = 4;
static_assert (Lags::meters < numSlots && (numSlots & (numSlots - 1)) == 0);

// The four level smoothers of a channel, lane by lane: level detector, program detector,
// gain smoother, output smoother.
constexpr size_t numSmoothers = 4;
using DB = hn::CappedTag<double, numSmoothers>;
using VB = hn::Vec<DB>;
constexpr size_t bankLanes = hn::MaxLanes (DB());
constexpr size_t bankVectors = numSmoothers / bankLanes;

// One lane, for the reduction smoother, whose branches become selects.
using DS = hn::CappedTag<double, 1>;
using VS = hn::Vec<DS>;

// The library's exponential holds up to about 706. Above 709.8 the true result overflows
// anyway; 1000 still gives infinity and keeps the argument's conversion in range.
HWY_INLINE VM boundedExp (DM d, VM x)
{
    return hn::Exp (d, hn::Min (x, hn::Set (d, 1000.0)));
}

// 20 log10 (g), taken as -100 when g <= 0 or when the result is not above -100.
HWY_INLINE VM decibelsOf (DM d, VM gain)
{
    const VM floor = hn::Set (d, -100.0);
    const VM dB = hn::Mul (hn::Set (d, 20.0), hn::Log10 (d, gain));
    return hn::IfThenElse (hn::And (hn::Gt (gain, hn::Zero (d)), hn::Gt (dB, floor)), dB, floor);
}

// The recursive states of one channel.
struct RecursiveStates
{
    QORBiquadFilter shelf;
    QORBiquadFilter lowCut;
    VS reduction;
    VB bank[bankVectors];
};

// One channel in the pipeline: its settings, its running states between steps and the
// per-group arrays that pass samples from stage to stage.
struct Pipe
{
    explicit Pipe (const ChannelBlock& channel) : settings (channel)
    {
        alignas (32) double states[numSmoothers];
        for (size_t i = 0; i < numSmoothers; ++i)
        {
            const QORLevelSmoother& smoother = *smootherOf (i);
            states[i] = smoother.state;
            coefficients[i] = smoother.coefficient;
            floors[i] = smoother.floor;
        }
        const DB db;
        for (size_t k = 0; k < bankVectors; ++k)
            recursive.bank[k] = hn::Load (db, states + k * bankLanes);
        recursive.shelf = *channel.shelfFilter;
        if (channel.lowCutFilter != nullptr)
            recursive.lowCut = *channel.lowCutFilter;
        recursive.reduction = hn::Set (DS(), *channel.reduction);
        for (auto* bank : { bankInputs[0], bankStates[0], bankStates[1] })
            std::fill (bank, bank + groupLength * numSmoothers, 1.0);
        for (auto* inputs : { levelInputs, programInputs, gainInputs, outputInputs })
            std::fill (inputs, inputs + groupLength, 1.0);
    }

    QORLevelSmoother* smootherOf (size_t lane) const noexcept
    {
        QORLevelSmoother* const smoothers[numSmoothers] = { settings.levelDetector, settings.programDetector,
                                                            settings.gainSmoother, settings.outputSmoother };
        return smoothers[lane];
    }

    void writeBack() const noexcept
    {
        alignas (32) double states[numSmoothers];
        const DB db;
        for (size_t k = 0; k < bankVectors; ++k)
            hn::Store (recursive.bank[k], db, states + k * bankLanes);
        for (size_t i = 0; i < numSmoothers; ++i)
            smootherOf (i)->state = states[i];
        *settings.shelfFilter = recursive.shelf;
        if (settings.lowCutFilter != nullptr)
        {
            *settings.lowCutFilter = recursive.lowCut;
            settings.lowCutFilter->endRun();
        }
        *settings.reduction = hn::GetLane (recursive.reduction);
    }

    ChannelBlock settings;
    RecursiveStates recursive;
    alignas (32) double coefficients[numSmoothers];
    alignas (32) double floors[numSmoothers];

    // Per group slot: the input samples, the shelf filter's inputs and outputs, the
    // low-cut's outputs, the target gain changes, the release weights 1 - F releaseShaping
    // and the reductions. Lanes past the end of a short group hold harmless values.
    alignas (64) float input[numSlots][groupLength];
    alignas (64) float shelfInputs[numSlots][groupLength];
    alignas (64) float shelved[numSlots][groupLength];
    alignas (64) float side[numSlots][groupLength];
    alignas (64) double targets[numSlots][groupLength];
    alignas (64) double weights[numSlots][groupLength];
    alignas (64) double reductions[numSlots][groupLength];

    // The smoothers' squared inputs (floored) and their states, sample by sample, four
    // lanes each, by step parity.
    alignas (64) double bankInputs[2][groupLength * numSmoothers];
    alignas (64) double bankStates[2][groupLength * numSmoothers];
    // This step's squared inputs of each smoother before they are interleaved.
    alignas (64) double levelInputs[groupLength];
    alignas (64) double programInputs[groupLength];
    alignas (64) double gainInputs[groupLength];
    alignas (64) double outputInputs[groupLength];
    alignas (64) float outputs[groupLength];
};

// The group a stage works on in a step, by slot and length (0 when none).
struct StageGroup
{
    size_t slot = 0;
    size_t start = 0;
    size_t length = 0;
};

struct Step
{
    StageGroup filters, detectorInputs, detectors, targets, reductions, outputs, meters;
    size_t parity = 0;

    // Every stage has a whole group or none.
    bool isFull() const noexcept
    {
        auto whole = [] (const StageGroup& group) { return group.length == 0 || group.length == groupLength; };
        return whole (filters) && whole (reductions) && whole (detectors) && whole (meters);
    }
};

// The input samples of a group, and the shelf filter's inputs float (inputGain in 2), for
// the filters of the next step.
HWY_INLINE void groupInputs (Pipe& pipe, const StageGroup& group)
{
    const DM d;
    const DF df;
    float* input = pipe.input[group.slot];
    const float* samples = pipe.settings.samples + group.start;
    if (group.length < groupLength)
        std::fill (std::copy (samples, samples + group.length, input), input + groupLength, 0.0f);
    const VM inputGain = hn::Set (d, pipe.settings.inputGain);
    for (size_t i = 0; i < groupLength; i += mathLanes)
    {
        const VF in = group.length < groupLength ? hn::Load (df, input + i) : hn::LoadU (df, samples + i);
        hn::Store (in, df, input + i);
        const VM x = hn::Mul (hn::Mul (inputGain, hn::PromoteTo (d, in)), hn::Set (d, 2.0));
        hn::Store (hn::DemoteTo (df, x), df, pipe.shelfInputs[group.slot] + i);
    }
}

// What one channel's recursive stages read and write in a step, and their settings.
struct RecursionView
{
    RecursionView (Pipe& pipe, const Step& step, bool full)
        : shelfInputs (pipe.shelfInputs[step.filters.slot]),
          input (pipe.input[step.filters.slot]),
          shelved (pipe.shelved[step.filters.slot]),
          side (pipe.side[step.filters.slot]),
          targets (pipe.targets[step.reductions.slot]),
          weights (pipe.weights[step.reductions.slot]),
          reductions (pipe.reductions[step.reductions.slot]),
          bankInputs (pipe.bankInputs[step.parity]),
          bankStates (pipe.bankStates[step.parity]),
          attack (hn::Set (DS(), pipe.settings.attackCoefficient)),
          release (hn::Set (DS(), pipe.settings.releaseCoefficient))
    {
        // Zero in the lanes whose group has ended (or not begun) leaves their states as they
        // are. In a full step the lanes are the same for every sample.
        for (size_t j = 0; j < (full ? 1 : groupLength); ++j)
        {
            const bool detecting = j < step.detectors.length;
            const bool metering = j < step.meters.length;
            for (size_t i = 0; i < numSmoothers; ++i)
                laneCoefficients[j][i] = (i < 2 ? detecting : metering) ? pipe.coefficients[i] : 0.0;
        }
    }

    const float* shelfInputs;
    const float* input;
    float* shelved;
    float* side;
    const double* targets;
    const double* weights;
    double* reductions;
    const double* bankInputs;
    double* bankStates;
    VS attack, release;
    alignas (32) double laneCoefficients[groupLength][numSmoothers];
};

// Sample j of one channel's recursive stages: the filters, the reduction smoother and the
// four level smoothers.
template <bool full, bool lowCutOn>
HWY_INLINE void recursiveSample (const RecursionView& view, RecursiveStates& states, const Step& step, size_t j)
{
    if (full ? step.filters.length > 0 : j < step.filters.length)
    {
        view.shelved[j] = states.shelf.processSample (view.shelfInputs[j]);
        if constexpr (lowCutOn)
            view.side[j] = states.lowCut.processRunSample (view.input[j]);
    }
    if (full ? step.reductions.length > 0 : j < step.reductions.length)
    {
        const DS ds;
        const VS reduction = states.reduction;
        const VS difference = hn::Sub (hn::LoadU (ds, view.targets + j), reduction);
        const VS recovered = hn::Add (reduction, hn::Mul (hn::Mul (difference, view.release), hn::LoadU (ds, view.weights + j)));
        const VS attacked = hn::Add (reduction, hn::Mul (difference, view.attack));
        const VS zero = hn::Zero (ds);
        states.reduction = hn::IfThenElse (hn::Gt (difference, zero), recovered,
                                           hn::IfThenElse (hn::Lt (difference, zero), attacked, reduction));
        hn::StoreU (states.reduction, ds, view.reductions + j);
    }
    const DB db;
    for (size_t k = 0; k < bankVectors; ++k)
    {
        VB& state = states.bank[k];
        const VB squared = hn::Load (db, view.bankInputs + j * numSmoothers + k * bankLanes);
        const VB coefficient = hn::Load (db, view.laneCoefficients[full ? 0 : j] + k * bankLanes);
        state = hn::Add (state, hn::Mul (hn::Sub (hn::Div (squared, state), state), coefficient));
        hn::Store (state, db, view.bankStates + j * numSmoothers + k * bankLanes);
    }
}

// The recursive stages of one step for every channel, sample by sample; the chains of the
// channels and stages are independent, so the processor overlaps them. Full steps have
// whole groups only; the low-cut runs when it is on.
template <size_t numChannels, bool full, bool lowCutOn>
HWY_NOINLINE void recursiveStep (std::array<Pipe, numChannels>& pipes, const Step& step)
{
    const size_t length = std::max ({ step.filters.length, step.reductions.length, step.detectors.length, step.meters.length });
    // Each channel's states in locals of their own, so that they stay in registers.
    RecursiveStates first = pipes[0].recursive;
    const RecursionView firstView (pipes[0], step, full);
    if constexpr (numChannels == 2)
    {
        RecursiveStates second = pipes[1].recursive;
        const RecursionView secondView (pipes[1], step, full);
#pragma GCC unroll 16
        for (size_t j = 0; j < (full ? groupLength : length); ++j)
        {
            recursiveSample<full, lowCutOn> (firstView, first, step, j);
            recursiveSample<full, lowCutOn> (secondView, second, step, j);
        }
        pipes[1].recursive = second;
    }
    else
    {
#pragma GCC unroll 16
        for (size_t j = 0; j < (full ? groupLength : length); ++j)
            recursiveSample<full, lowCutOn> (firstView, first, step, j);
    }
    pipes[0].recursive = first;
}

// The vector stages of a step for every channel, in one stretch of code: each part runs
// for all vectors before the next, so that their independent chains overlap. Target gain
// changes from the level detector states and release weights from the program detector
// states (for one group); applied gains from the smoothed reductions, the compressor's
// output through the drive curve, level and mix, and the squared, floored inputs of the
// gain and output smoothers (for another).
template <size_t numChannels, bool withTargets, bool withOutputs>
HWY_NOINLINE void vectorStep (std::array<Pipe, numChannels>& pipes, const Step& step, const OutputStage& stage)
{
    constexpr size_t perChannel = groupLength / mathLanes;
    constexpr size_t count = numChannels * perChannel;
    const DM d;
    const DF df;
    const VM one = hn::Set (d, 1.0);
    const VM two = hn::Set (d, 2.0);
    const VM floor = hn::Set (d, -100.0);
    // With the drive at 0 the bump is 0.
    const bool withBump = stage.driveShape > 0.0 && stage.drive != 0.0;
    auto pipeOf = [&] (size_t u) -> Pipe& { return pipes[u / perChannel]; };
    auto offsetOf = [] (size_t u) { return (u % perChannel) * mathLanes; };

    VM dB[count], program[count], curve[count];
    VM applied[count], gain[count], y[count], saturated[count], hump[count];
    VF in[count];
    if constexpr (withTargets)
    {
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            const ChannelBlock& settings = pipeOf (u).settings;
            VM level, gainState, outputState;
            hn::LoadInterleaved4 (d, pipeOf (u).bankStates[step.parity] + offsetOf (u) * numSmoothers, level, program[u],
                                  gainState, outputState);
            dB[u] = decibelsOf (d, level);
            curve[u] = boundedExp (d, hn::Mul (hn::Sub (dB[u], hn::Set (d, settings.thresholdDb)), hn::Set (d, settings.knee)));
        }
    }
    if constexpr (withOutputs)
    {
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            Pipe& pipe = pipeOf (u);
            const size_t slot = step.outputs.slot;
            const VM reduction = hn::Load (d, pipe.reductions[slot] + offsetOf (u));
            const VM target = hn::Load (d, pipe.targets[slot] + offsetOf (u));
            applied[u] = hn::Sub (reduction, hn::Max (hn::Mul (hn::Sub (reduction, target), hn::Set (d, 0.6)), hn::Zero (d)));
            // 10^e for the single-precision exponent e, in single precision: e ln 10 formed
            // in double precision, rounded once, and its exponential.
            const VF exponent = hn::DemoteTo (df, hn::Mul (applied[u], hn::Set (d, 0.05)));
            const VM argument = hn::Mul (hn::PromoteTo (d, exponent), hn::Set (d, 2.302585092994045684017991454684364208));
            const VF power = hn::Exp (df, hn::DemoteTo (df, argument));
            gain[u] = hn::IfThenElseZero (hn::Gt (applied[u], floor), hn::PromoteTo (d, power));
            hn::Store (hn::Max (hn::Mul (gain[u], gain[u]), hn::Set (d, pipe.floors[2])), d, pipe.gainInputs + offsetOf (u));
        }
    }
    if constexpr (withTargets)
    {
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
            curve[u] = hn::Log (d, hn::Add (one, curve[u]));
    }
    if constexpr (withOutputs)
    {
        const VM saturation = hn::Set (d, (stage.drive + 0.01) * -10.0);
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            Pipe& pipe = pipeOf (u);
            const ChannelBlock& settings = pipe.settings;
            in[u] = hn::Load (df, pipe.input[step.outputs.slot] + offsetOf (u));
            const VM x = hn::Mul (hn::Mul (hn::Set (d, settings.inputGain), hn::PromoteTo (d, in[u])), two);
            y[u] = hn::Mul (hn::Mul (hn::Mul (gain[u], x), hn::Set (d, settings.outputGain)), two);
            saturated[u] = boundedExp (d, hn::Mul (saturation, y[u]));
            // The bump is small next to the curve: its exponential in single precision stays
            // far inside what the output may differ.
            const VM shifted = hn::Add (y[u], one);
            const VF exponent = hn::DemoteTo (df, hn::Mul (hn::Mul (hn::Set (d, -5.0), shifted), shifted));
            hump[u] = withBump ? hn::PromoteTo (d, hn::Exp (df, exponent)) : hn::Zero (d);
        }
    }
    if constexpr (withTargets)
    {
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            Pipe& pipe = pipeOf (u);
            const ChannelBlock& settings = pipe.settings;
            const VM target = hn::Mul (hn::Neg (hn::Div (curve[u], hn::Set (d, settings.knee))), hn::Set (d, settings.ratioSlope));
            hn::Store (hn::IfThenElseZero (hn::Gt (dB[u], floor), target), d, pipe.targets[step.targets.slot] + offsetOf (u));

            // The program factor in single precision.
            const VF logarithm = hn::Log10 (df, hn::DemoteTo (df, program[u]));
            VF factor = hn::Add (hn::Mul (logarithm, hn::Set (df, 0.25f)), hn::Set (df, 1.0f));
            factor = hn::Max (hn::Min (factor, hn::Set (df, 1.0f)), hn::Zero (df));
            hn::Store (hn::Sub (one, hn::Mul (hn::PromoteTo (d, factor), hn::Set (d, settings.releaseShaping))), d,
                       pipe.weights[step.targets.slot] + offsetOf (u));
        }
    }
    if constexpr (withOutputs)
    {
        const VM scale = hn::Set (d, stage.driveScale);
        const VM bumpWeight = hn::Set (d, std::min (stage.driveShape, 0.5));
        const VM drive = hn::Set (d, stage.drive);
        const VM level = hn::Set (d, static_cast<double> (stage.level));
        const VF mix = hn::Set (df, stage.mix);
        const VF dry = hn::Set (df, 1.0f - stage.mix);
        const bool whole = step.outputs.length == groupLength;
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            Pipe& pipe = pipeOf (u);
            const VM tanhShape = hn::Sub (hn::Div (two, hn::Add (saturated[u], one)), one);
            VM driven = hn::Mul (tanhShape, scale);
            if (withBump)
                driven = hn::Add (driven, hn::Mul (hn::Mul (hn::Mul (hump[u], hn::Set (d, 0.5)), bumpWeight), drive));
            const VF wet = hn::DemoteTo (df, hn::Mul (level, driven));
            const VF out = hn::Add (hn::Mul (wet, mix), hn::Mul (dry, in[u]));
            float* outputs = whole ? pipe.settings.samples + step.outputs.start : pipe.outputs;
            hn::StoreU (out, df, outputs + offsetOf (u));
            const VM widened = hn::PromoteTo (d, out);
            hn::Store (hn::Max (hn::Mul (widened, widened), hn::Set (d, pipe.floors[3])), d, pipe.outputInputs + offsetOf (u));
        }
        if (! whole)
            for (Pipe& pipe : pipes)
                std::copy (pipe.outputs, pipe.outputs + step.outputs.length, pipe.settings.samples + step.outputs.start);
    }
}

// The squared, floored inputs of the level and program detectors for a group.
HWY_INLINE void detectorInputs (Pipe& pipe, const StageGroup& group)
{
    const DM d;
    const DF df;
    const VM inputGain = hn::Set (d, pipe.settings.inputGain);
    const float* side = pipe.settings.lowCutFilter != nullptr ? pipe.side[group.slot] : pipe.input[group.slot];
    for (size_t i = 0; i < groupLength; i += mathLanes)
    {
        const VM z = hn::Mul (hn::Mul (inputGain, hn::PromoteTo (d, hn::Load (df, side + i))), hn::Set (d, 2.0));
        hn::Store (hn::Max (hn::Mul (z, z), hn::Set (d, pipe.floors[0])), d, pipe.levelInputs + i);
        const VM y = hn::PromoteTo (d, hn::Load (df, pipe.shelved[group.slot] + i));
        hn::Store (hn::Max (hn::Mul (y, y), hn::Set (d, pipe.floors[1])), d, pipe.programInputs + i);
    }
}

// The four smoothers' inputs of this step, interleaved sample by sample for the next.
HWY_INLINE void interleaveBankInputs (Pipe& pipe, size_t parity)
{
    const DM d;
    double* bankInputs = pipe.bankInputs[parity];
    for (size_t i = 0; i < groupLength; i += mathLanes)
        hn::StoreInterleaved4 (hn::Load (d, pipe.levelInputs + i), hn::Load (d, pipe.programInputs + i),
                               hn::Load (d, pipe.gainInputs + i), hn::Load (d, pipe.outputInputs + i), d,
                               bankInputs + i * numSmoothers);
}

// Lanes past the end of a short group get harmless values for the vector stages.
HWY_INLINE void padShortGroups (Pipe& pipe, const Step& step)
{
    if (step.filters.length > 0)
        for (size_t j = step.filters.length; j < groupLength; ++j)
        {
            pipe.shelved[step.filters.slot][j] = 0.0f;
            pipe.side[step.filters.slot][j] = 0.0f;
        }
    if (step.reductions.length > 0)
        std::fill (pipe.reductions[step.reductions.slot] + step.reductions.length, pipe.reductions[step.reductions.slot] + groupLength, 0.0);
}

template <size_t numChannels, bool full>
HWY_INLINE void runRecursiveStep (std::array<Pipe, numChannels>& pipes, const Step& step, bool lowCutOn)
{
    if (lowCutOn)
        recursiveStep<numChannels, full, true> (pipes, step);
    else
        recursiveStep<numChannels, full, false> (pipes, step);
}

template <size_t numChannels>
HWY_INLINE void runVectorStep (std::array<Pipe, numChannels>& pipes, const Step& step, const OutputStage& stage)
{
    if (step.targets.length > 0 && step.outputs.length > 0)
        vectorStep<numChannels, true, true> (pipes, step, stage);
    else if (step.targets.length > 0)
        vectorStep<numChannels, true, false> (pipes, step, stage);
    else if (step.outputs.length > 0)
        vectorStep<numChannels, false, true> (pipes, step, stage);
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
    const bool lowCutOn = blocks[0].lowCutFilter != nullptr;

    const size_t numGroups = (numSamples + groupLength - 1) / groupLength;
    // The group a stage lagging by lag steps works on in a step.
    auto groupAt = [&] (size_t stepIndex, size_t lag) {
        if (stepIndex < lag || stepIndex - lag >= numGroups)
            return StageGroup {};
        const size_t index = stepIndex - lag;
        const size_t start = index * groupLength;
        return StageGroup { index % numSlots, start, std::min (groupLength, numSamples - start) };
    };

    for (Pipe& pipe : pipes)
        groupInputs (pipe, groupAt (0, 0));
    for (size_t stepIndex = 0; stepIndex < numGroups + Lags::meters; ++stepIndex)
    {
        const Step step { groupAt (stepIndex, 0),
                          groupAt (stepIndex, Lags::detectorInputs),
                          groupAt (stepIndex, Lags::detectors),
                          groupAt (stepIndex, Lags::targets),
                          groupAt (stepIndex, Lags::reductions),
                          groupAt (stepIndex, Lags::outputs),
                          groupAt (stepIndex, Lags::meters),
                          stepIndex % 2 };
        if (step.isFull())
            runRecursiveStep<numChannels, true> (pipes, step, lowCutOn);
        else
        {
            runRecursiveStep<numChannels, false> (pipes, step, lowCutOn);
            for (Pipe& pipe : pipes)
                padShortGroups (pipe, step);
        }
        runVectorStep (pipes, step, stage);

        const StageGroup next = groupAt (stepIndex + 1, 0);
        for (Pipe& pipe : pipes)
        {
            if (step.detectorInputs.length > 0)
                detectorInputs (pipe, step.detectorInputs);
            interleaveBankInputs (pipe, (stepIndex + 1) % 2);
            if (next.length > 0)
                groupInputs (pipe, next);
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
