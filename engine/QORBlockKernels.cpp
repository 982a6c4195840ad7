// Compiled once per instruction set by Highway's foreach_target; the best one the machine
// supports is called through its dispatch table.
#undef HWY_TARGET_INCLUDE
#define HWY_TARGET_INCLUDE "QORBlockKernels.cpp"
#include <hwy/foreach_target.h> // IWYU pragma: keep

#include <hwy/contrib/math/math-inl.h>
#include <hwy/highway.h>

#include "AudioSample.h"
#include "QORBlockKernels.h"

#include <algorithm>
#include <array>
#include <type_traits>

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
// recursive stages run first, then the inputs of the next group are made (the side-chain
// low-cut with them, whose chain the vector stages then overlap), then the vector stages,
// which take what the recursive ones have just made; the recursive stages take what the
// vector stages made a step before. The level and program detectors run with the filters
// that feed them, the target gain changes follow in the same step; the applied gains and
// outputs follow the reductions.
struct Lags
{
    static constexpr size_t filters = 0;
    static constexpr size_t reductions = 1;
    static constexpr size_t meters = 2;
};
// Per-group arrays kept for the groups in flight from the next group's inputs to the
// outputs.
constexpr size_t numSlots = 3;
static_assert (Lags::reductions + 1 < numSlots);

// The four level smoothers of a channel, lane by lane: level detector, program detector,
// gain smoother, output smoother.
constexpr size_t numSmoothers = 4;
using DB = hn::CappedTag<double, numSmoothers>;
using VB = hn::Vec<DB>;
constexpr size_t bankLanes = hn::MaxLanes (DB());
constexpr size_t bankVectors = numSmoothers / bankLanes;
static_assert (bankLanes == 1 || bankLanes == 2 || bankLanes == 4);

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

// Values of the four smoothers as the bank's vectors, lane by lane, built in registers:
// values stored one by one and loaded as a vector would wait for the stores. The last two
// come as a pair from memory, or one by one.
template <typename Last>
HWY_INLINE void bankOf (double level, double program, Last last, VB (&bank)[bankVectors])
{
    const DB db;
#if HWY_TARGET == HWY_SCALAR
    bank[0] = hn::Set (db, level);
    bank[1] = hn::Set (db, program);
    bank[2] = hn::Set (db, last[0]);
    bank[3] = hn::Set (db, last[1]);
#else
    const auto pairOf = [] (auto d, double first, double second) {
        return hn::InterleaveLower (d, hn::Set (d, first), hn::Set (d, second));
    };
    const auto lastOf = [&] (auto d) {
        if constexpr (std::is_pointer_v<Last>)
            return hn::LoadU (d, last);
        else
            return pairOf (d, last[0], last[1]);
    };
    if constexpr (bankLanes == 4)
    {
        const hn::Half<DB> dh;
        bank[0] = hn::Combine (db, lastOf (dh), pairOf (dh, level, program));
    }
    else
    {
        bank[0] = pairOf (db, level, program);
        bank[1] = lastOf (db);
    }
#endif
}

// The recursive states of one channel's recursive step.
struct RecursiveStates
{
    QORBiquadFilter shelf;
    VS reduction;
    VB bank[bankVectors];
};

// One channel in the pipeline: its settings, its running states between steps and the
// arrays that pass samples from stage to stage.
struct Pipe
{
    explicit Pipe (const ChannelBlock& channel) : settings (channel)
    {
        for (size_t i = 0; i < numSmoothers; ++i)
        {
            coefficients[i] = smootherOf (i)->coefficient;
            floors[i] = smootherOf (i)->floor;
        }
        bankOf (settings.levelDetector->state, settings.programDetector->state,
                std::array { settings.gainSmoother->state, settings.outputSmoother->state }, recursive.bank);
        recursive.shelf = *channel.shelfFilter;
        if (channel.lowCutFilter != nullptr)
            lowCut = *channel.lowCutFilter;
        recursive.reduction = hn::Set (DS(), *channel.reduction);
        std::fill (std::begin (meterInputs), std::end (meterInputs), 1.0);
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
            *settings.lowCutFilter = lowCut;
            settings.lowCutFilter->endRun();
        }
        *settings.reduction = hn::GetLane (recursive.reduction);
    }

    const ChannelBlock& settings;
    RecursiveStates recursive;
    // The side-chain high-pass, which runs over each group before the recursive step takes it.
    QORBiquadFilter lowCut;
    alignas (32) double coefficients[numSmoothers];
    alignas (32) double floors[numSmoothers];

    // Per group slot: the input samples (silence for those that are no audio), which of
    // them are audio (all bits set), the target gain changes and the release weights
    // 1 - F releaseShaping. Lanes past the end of a short group hold harmless values.
    alignas (64) float input[numSlots][groupLength];
    alignas (64) float isAudio[numSlots][groupLength];
    alignas (64) double targets[numSlots][groupLength];
    alignas (64) double weights[numSlots][groupLength];
    // The group the filters take next: the shelf filter's inputs float (inputGain in 2), the
    // low-cut's outputs and the level detector's inputs, the squared side-chain values
    // floored (silence for those that are no audio).
    alignas (64) float shelfInputs[groupLength];
    alignas (64) float lowCutOutputs[groupLength];
    alignas (64) double levelInputs[groupLength];
    // The reductions of the group the outputs take.
    alignas (64) double reductions[groupLength];
    // The smoothers' states sample by sample, four lanes each, for the target gain changes.
    alignas (64) double bankStates[groupLength * numSmoothers];
    // The squared, floored inputs of the gain and output smoothers, a pair per sample, for
    // the meters of the next step.
    alignas (64) double gainInputs[groupLength];
    alignas (64) double meterInputs[groupLength * 2];
    alignas (64) float outputs[groupLength];
};

// The group a stage works on in a step, by slot and length (0 when none).
struct StageGroup
{
    size_t slot = 0;
    size_t start = 0;
    size_t length = 0;
};

// The groups of a step: the filters' (with the detectors and targets), the reductions'
// (with the outputs) and the meters'.
struct Step
{
    StageGroup filters, reductions, meters;

    // Every stage has a whole group or none.
    bool isFull() const noexcept
    {
        auto whole = [] (const StageGroup& group) { return group.length == 0 || group.length == groupLength; };
        return whole (filters) && whole (reductions) && whole (meters);
    }
};

// The level detector's inputs for a group's side-chain values: max (z z, floor) for
// z = inputGain side 2, a value that is no audio taken as 0.
HWY_INLINE void sideChainInputs (Pipe& pipe, const float* sideChain)
{
    const DM d;
    const DF df;
    const VM inputGain = hn::Set (d, pipe.settings.inputGain);
    const VM floor = hn::Set (d, pipe.floors[0]);
    const VF largest = hn::Set (df, largestAudioSample);
    for (size_t i = 0; i < groupLength; i += mathLanes)
    {
        const VF value = hn::Load (df, sideChain + i);
        const VF side = hn::IfThenElseZero (hn::Le (hn::Abs (value), largest), value);
        const VM z = hn::Mul (hn::Mul (inputGain, hn::PromoteTo (d, side)), hn::Set (d, 2.0));
        hn::Store (hn::Max (hn::Mul (z, z), floor), d, pipe.levelInputs + i);
    }
}

// The input samples of a group, silence for those that are no audio, which of them are
// audio, the shelf filter's inputs float (inputGain in 2) and the level detector's inputs,
// for the filters of the next step. The side-chain is the input, run through the low-cut
// when it is on; a side-chain value that is no audio (the low-cut overshoots) is silence.
HWY_INLINE void groupInputs (Pipe& pipe, const StageGroup& group)
{
    const DM d;
    const DF df;
    float* input = pipe.input[group.slot];
    const float* samples = pipe.settings.samples + group.start;
    if (group.length < groupLength)
        std::fill (std::copy (samples, samples + group.length, input), input + groupLength, 0.0f);
    const VM inputGain = hn::Set (d, pipe.settings.inputGain);
    const VF largest = hn::Set (df, largestAudioSample);
    for (size_t i = 0; i < groupLength; i += mathLanes)
    {
        const VF sample = group.length < groupLength ? hn::Load (df, input + i) : hn::LoadU (df, samples + i);
        // False for a NaN too.
        const auto isAudio = hn::Le (hn::Abs (sample), largest);
        const VF in = hn::IfThenElseZero (isAudio, sample);
        hn::Store (in, df, input + i);
        hn::Store (hn::VecFromMask (df, isAudio), df, pipe.isAudio[group.slot] + i);
        const VM x = hn::Mul (hn::Mul (inputGain, hn::PromoteTo (d, in)), hn::Set (d, 2.0));
        hn::Store (hn::DemoteTo (df, x), df, pipe.shelfInputs + i);
    }
    if (pipe.settings.lowCutFilter == nullptr)
    {
        sideChainInputs (pipe, input);
        return;
    }
    // The low-cut's own states take its outputs as they are, as a filter run over a copy of
    // the side-chain does; only the detector's inputs are tested.
    for (size_t j = 0; j < group.length; ++j)
        pipe.lowCutOutputs[j] = pipe.lowCut.processRunSample (input[j]);
    std::fill (pipe.lowCutOutputs + group.length, pipe.lowCutOutputs + groupLength, 0.0f);
    sideChainInputs (pipe, pipe.lowCutOutputs);
}

// What one channel's recursive stages read and write in a step, and their settings.
struct RecursionView
{
    RecursionView (Pipe& pipe, const Step& step, bool full)
        : shelfInputs (pipe.shelfInputs),
          levelInputs (pipe.levelInputs),
          targets (pipe.targets[step.reductions.slot]),
          weights (pipe.weights[step.reductions.slot]),
          reductions (pipe.reductions),
          meterInputs (pipe.meterInputs),
          bankStates (pipe.bankStates),
          programFloor (pipe.floors[1]),
          attack (hn::Set (DS(), pipe.settings.attackCoefficient)),
          release (hn::Set (DS(), pipe.settings.releaseCoefficient))
    {
        // Zero in the lanes whose group has ended (or not begun) leaves their states as they
        // are. In a full step the lanes are the same for every sample.
        auto coefficientOf = [&] (size_t lane, size_t j) {
            return j < (lane < 2 ? step.filters.length : step.meters.length) ? pipe.coefficients[lane] : 0.0;
        };
        if (full)
            bankOf (coefficientOf (0, 0), coefficientOf (1, 0), std::array { coefficientOf (2, 0), coefficientOf (3, 0) },
                    fullCoefficients);
        else
            for (size_t j = 0; j < groupLength; ++j)
                for (size_t i = 0; i < numSmoothers; ++i)
                    laneCoefficients[j][i] = coefficientOf (i, j);
    }

    const float* shelfInputs;
    const double* levelInputs;
    const double* targets;
    const double* weights;
    double* reductions;
    const double* meterInputs;
    double* bankStates;
    double programFloor;
    VS attack, release;
    VB fullCoefficients[bankVectors];
    alignas (32) double laneCoefficients[groupLength][numSmoothers];
};

// Sample j of one channel's recursive stages: the shelf filter, the reduction smoother and
// the four level smoothers, the program detector taking what the shelf has just made.
template <bool full>
HWY_INLINE void recursiveSample (const RecursionView& view, RecursiveStates& states, const Step& step, size_t j)
{
    // Idle detector lanes take a harmless input: their coefficient is zero.
    double levelInput = 1.0;
    double programInput = 1.0;
    if (full ? step.filters.length > 0 : j < step.filters.length)
    {
        const float shelved = states.shelf.processSample (view.shelfInputs[j]);
        levelInput = view.levelInputs[j];
        const double y = static_cast<double> (shelved);
        programInput = std::max (y * y, view.programFloor);
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
    VB inputs[bankVectors];
    bankOf (levelInput, programInput, view.meterInputs + j * 2, inputs);
    for (size_t k = 0; k < bankVectors; ++k)
    {
        VB& state = states.bank[k];
        const VB coefficient = full ? view.fullCoefficients[k] : hn::Load (db, view.laneCoefficients[j] + k * bankLanes);
        state = hn::Add (state, hn::Mul (hn::Sub (hn::Div (inputs[k], state), state), coefficient));
        hn::Store (state, db, view.bankStates + j * numSmoothers + k * bankLanes);
    }
}

// A reduction below negligibleReduction in magnitude is 0. Taken once per group, off the
// reduction's chain from sample to sample: within a group it cannot decay from there into
// the subnormal range.
HWY_INLINE VS withoutNegligible (VS reduction)
{
    const DS ds;
    return hn::IfThenZeroElse (hn::Lt (hn::Abs (reduction), hn::Set (ds, negligibleReduction)), reduction);
}

// The recursive stages of one step for every channel, sample by sample; the chains of the
// channels and stages are independent, so the processor overlaps them. Full steps have
// whole groups only.
template <size_t numChannels, bool full>
HWY_NOINLINE void recursiveStep (std::array<Pipe, numChannels>& pipes, const Step& step)
{
    const size_t length = std::max ({ step.filters.length, step.reductions.length, step.meters.length });
    // Each channel's states in locals of their own, so that they stay in registers.
    RecursiveStates first = pipes[0].recursive;
    const RecursionView firstView (pipes[0], step, full);
    if constexpr (numChannels == 2)
    {
        RecursiveStates second = pipes[1].recursive;
        const RecursionView secondView (pipes[1], step, full);
#pragma GCC unroll 4
        for (size_t j = 0; j < (full ? groupLength : length); ++j)
        {
            recursiveSample<full> (firstView, first, step, j);
            recursiveSample<full> (secondView, second, step, j);
        }
        second.reduction = withoutNegligible (second.reduction);
        pipes[1].recursive = second;
    }
    else
    {
#pragma GCC unroll 4
        for (size_t j = 0; j < (full ? groupLength : length); ++j)
            recursiveSample<full> (firstView, first, step, j);
    }
    first.reduction = withoutNegligible (first.reduction);
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
            hn::LoadInterleaved4 (d, pipeOf (u).bankStates + offsetOf (u) * numSmoothers, level, program[u], gainState, outputState);
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
            const VM reduction = hn::Load (d, pipe.reductions + offsetOf (u));
            const VM target = hn::Load (d, pipe.targets[step.reductions.slot] + offsetOf (u));
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
            in[u] = hn::Load (df, pipe.input[step.reductions.slot] + offsetOf (u));
            const VM x = hn::Mul (hn::Mul (hn::Set (d, settings.inputGain), hn::PromoteTo (d, in[u])), two);
            y[u] = hn::Mul (hn::Mul (hn::Mul (gain[u], x), hn::Set (d, settings.outputGain)), two);
            saturated[u] = boundedExp (d, hn::Mul (saturation, y[u]));
            const VM shifted = hn::Add (y[u], one);
            hump[u] = withBump ? hn::Exp (d, hn::Mul (hn::Mul (hn::Set (d, -5.0), shifted), shifted)) : hn::Zero (d);
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
            hn::Store (hn::IfThenElseZero (hn::Gt (dB[u], floor), target), d, pipe.targets[step.filters.slot] + offsetOf (u));

            // The program factor in single precision.
            const VF logarithm = hn::Log10 (df, hn::DemoteTo (df, program[u]));
            VF factor = hn::Add (hn::Mul (logarithm, hn::Set (df, 0.25f)), hn::Set (df, 1.0f));
            factor = hn::Max (hn::Min (factor, hn::Set (df, 1.0f)), hn::Zero (df));
            hn::Store (hn::Sub (one, hn::Mul (hn::PromoteTo (d, factor), hn::Set (d, settings.releaseShaping))), d,
                       pipe.weights[step.filters.slot] + offsetOf (u));
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
        const bool whole = step.reductions.length == groupLength;
#pragma GCC unroll 16
        for (size_t u = 0; u < count; ++u)
        {
            Pipe& pipe = pipeOf (u);
            const VM tanhShape = hn::Sub (hn::Div (two, hn::Add (saturated[u], one)), one);
            VM driven = hn::Mul (tanhShape, scale);
            if (withBump)
                driven = hn::Add (driven, hn::Mul (hn::Mul (hn::Mul (hump[u], hn::Set (d, 0.5)), bumpWeight), drive));
            const VF wet = hn::DemoteTo (df, hn::Mul (level, driven));
            const auto isAudio = hn::MaskFromVec (hn::Load (df, pipe.isAudio[step.reductions.slot] + offsetOf (u)));
            const VF out = hn::IfThenElseZero (isAudio, hn::Add (hn::Mul (wet, mix), hn::Mul (dry, in[u])));
            float* outputs = whole ? pipe.settings.samples + step.reductions.start : pipe.outputs;
            hn::StoreU (out, df, outputs + offsetOf (u));
            const VM widened = hn::PromoteTo (d, out);
            const VM outputInput = hn::Max (hn::Mul (widened, widened), hn::Set (d, pipe.floors[3]));
            hn::StoreInterleaved2 (hn::Load (d, pipe.gainInputs + offsetOf (u)), outputInput, d, pipe.meterInputs + offsetOf (u) * 2);
        }
        if (! whole)
            for (Pipe& pipe : pipes)
                std::copy (pipe.outputs, pipe.outputs + step.reductions.length, pipe.settings.samples + step.reductions.start);
    }
}

// Lanes past the end of a short group get harmless values for the vector stages.
HWY_INLINE void padShortGroups (Pipe& pipe, const Step& step)
{
    if (step.filters.length > 0)
        std::fill (pipe.bankStates + step.filters.length * numSmoothers, pipe.bankStates + groupLength * numSmoothers, 1.0);
    if (step.reductions.length > 0)
        std::fill (pipe.reductions + step.reductions.length, pipe.reductions + groupLength, 0.0);
}

template <size_t numChannels>
HWY_INLINE void runVectorStep (std::array<Pipe, numChannels>& pipes, const Step& step, const OutputStage& stage)
{
    if (step.filters.length > 0 && step.reductions.length > 0)
        vectorStep<numChannels, true, true> (pipes, step, stage);
    else if (step.filters.length > 0)
        vectorStep<numChannels, true, false> (pipes, step, stage);
    else if (step.reductions.length > 0)
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
        groupInputs (pipe, groupAt (0, Lags::filters));
    for (size_t stepIndex = 0; stepIndex < numGroups + Lags::meters; ++stepIndex)
    {
        const Step step { groupAt (stepIndex, Lags::filters), groupAt (stepIndex, Lags::reductions),
                          groupAt (stepIndex, Lags::meters) };
        if (step.isFull())
            recursiveStep<numChannels, true> (pipes, step);
        else
        {
            recursiveStep<numChannels, false> (pipes, step);
            for (Pipe& pipe : pipes)
                padShortGroups (pipe, step);
        }
        const StageGroup next = groupAt (stepIndex + 1, Lags::filters);
        if (next.length > 0)
            for (Pipe& pipe : pipes)
                groupInputs (pipe, next);
        runVectorStep (pipes, step, stage);
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
