// processBlock's block path against the chain run sample by sample through processSample:
// every parameter corner with both knees, one to four channels, three rates, every block
// size, every instruction set, parameter changes between blocks, a second prepareToPlay;
// samples that are no audio, the reduction coming to rest, the drive curve near its zero.
#include "ProgramMaterial.h"
#include "QORBlockKernels.h"
#include "ScalarChain.h"

#include <gtest/gtest.h>
#include <hwy/targets.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace
{
constexpr double outputTolerance = 1.0e-6; // absolute, per sample
constexpr double meterTolerance = 1.0e-6; // relative

using Parameters = std::vector<std::pair<int, float>>;

const juce::AudioBuffer<float>& materialFor (int numChannels, double rate)
{
    static std::map<std::pair<int, double>, juce::AudioBuffer<float>> cache;
    auto [entry, added] = cache.try_emplace ({ numChannels, rate });
    if (added)
        entry->second = program_material::make (numChannels, rate);
    return entry->second;
}

struct Differences
{
    double output = 0.0;
    double gainMeter = 0.0;
    double outputMeter = 0.0;
    juce::AudioBuffer<float> processed;
};

double relativeDifference (double a, double b)
{
    const double scale = std::max (std::abs (a), std::abs (b));
    return scale > 0.0 ? std::abs (a - b) / scale : 0.0;
}

// The processor and the reference chain side by side over the program material, or its
// first seconds, block by block from its start, with the largest differences seen.
class SideBySide
{
public:
    SideBySide (int numChannels, double rate, int preparedSize, double seconds = 10.0)
        : numChannels (numChannels), preparedSize (preparedSize), material (materialFor (numChannels, rate)), end (std::min (material.getNumSamples(), static_cast<int> (seconds * rate)))
    {
        processor.setPlayConfigDetails (numChannels, numChannels, rate, preparedSize);
        differences.processed.makeCopyOf (material);
        expected.makeCopyOf (material);
    }

    // Both take the value: the processor through setParameter, the reference at once.
    void setParameter (int index, float value)
    {
        processor.setParameter (index, value);
        settings = settings.with (index, value);
        if (reference)
            reference->setParameter (index, value);
    }

    // Settings that reach the processor on another road, as it reads them back.
    void takeSettingsFromProcessor (const Parameters& parameters)
    {
        settings = {};
        for (const auto& [index, value] : parameters)
            settings = settings.with (index, processor.getParameter (index));
    }

    // The first prepareToPlay, or a further one that keeps the running states; the reference
    // may take another rate than the processor.
    void prepare (double newRate) { prepare (newRate, newRate); }
    void prepare (double processorRate, double referenceRate)
    {
        processor.prepareToPlay (processorRate, preparedSize);
        if (reference)
            reference->prepare (referenceRate);
        else
            reference.emplace (numChannels, referenceRate, settings);
    }

    // The next length samples of the material, or what is left of it.
    void processNext (int length)
    {
        length = std::min (length, end - position);
        juce::AudioBuffer<float> block (differences.processed.getArrayOfWritePointers(), numChannels, position, length);
        juce::AudioBuffer<float> referenceBlock (expected.getArrayOfWritePointers(), numChannels, position, length);
        juce::MidiBuffer midi;
        processor.processBlock (block, midi);
        reference->process (referenceBlock);
        for (int c = 0; c < numChannels; ++c)
            for (int k = 0; k < length; ++k)
                differences.output = std::max (differences.output, static_cast<double> (std::abs (block.getSample (c, k) - referenceBlock.getSample (c, k))));
        differences.gainMeter = std::max (differences.gainMeter, relativeDifference (processor.getGainReductionMeterValue(), reference->gainReductionMeter()));
        differences.outputMeter = std::max (differences.outputMeter, relativeDifference (processor.getOutputMeterValue(), reference->outputMeter()));
        position += length;
    }

    bool finished() const { return position >= end; }

    KestruneAudioProcessor processor;
    Differences differences;

private:
    int numChannels;
    int preparedSize;
    const juce::AudioBuffer<float>& material;
    int end;
    juce::AudioBuffer<float> expected;
    scalar_chain::Settings settings;
    std::optional<scalar_chain::Chain> reference;
    int position = 0;
};

// How the parameters reach the processor before prepareToPlay, which must bring them to
// the channels and the low-cut design it creates.
enum class Road
{
    setParameter,
    restoredState
};

Differences runBoth (const Parameters& parameters, int numChannels, double rate, int blockSize, int preparedSize,
                     Road road = Road::setParameter, double seconds = 10.0)
{
    SideBySide run (numChannels, rate, preparedSize, seconds);
    if (road == Road::setParameter)
        for (const auto& [index, value] : parameters)
            run.setParameter (index, value);
    else
    {
        KestruneAudioProcessor source;
        for (const auto& [index, value] : parameters)
            source.setParameter (index, value);
        juce::MemoryBlock state;
        source.getStateInformation (state);
        run.processor.setStateInformation (state.getData(), static_cast<int> (state.getSize()));
        // The block keeps the values to float precision: the reference takes them as read back.
        run.takeSettingsFromProcessor (parameters);
    }
    run.prepare (rate);
    while (! run.finished())
        run.processNext (blockSize);
    return std::move (run.differences);
}

struct Corner
{
    int index;
    float value;
    bool hardKnee;
    int numChannels;
    double rate;
};

// Each parameter at 0, 0.5 and 1 with the others at their defaults, with both knees (the
// knee parameter sets its own); mono and stereo at 44.1, 48 and 96 kHz take turns.
std::vector<Corner> corners()
{
    const std::pair<int, double> layouts[] = { { 1, 44100.0 }, { 2, 48000.0 }, { 1, 96000.0 }, { 2, 44100.0 }, { 1, 48000.0 }, { 2, 96000.0 } };
    std::vector<Corner> result;
    for (int index = 0; index < KestruneAudioProcessor::numParams; ++index)
        for (float value : { 0.0f, 0.5f, 1.0f })
            for (bool hardKnee : { false, true })
            {
                if (index == KestruneAudioProcessor::kneeParam && hardKnee)
                    continue;
                const auto& [channels, rate] = layouts[result.size() % std::size (layouts)];
                result.push_back ({ index, value, hardKnee, channels, rate });
            }
    return result;
}

std::string cornerName (const testing::TestParamInfo<Corner>& info)
{
    const auto& c = info.param;
    return KestruneAudioProcessor().getParameterName (c.index).toStdString() + "_" + std::to_string (static_cast<int> (c.value * 10.0f))
           + (c.hardKnee ? "_hard_" : "_") + (c.numChannels == 1 ? "mono_" : "stereo_") + std::to_string (static_cast<int> (c.rate));
}

class PrecisionAtCorner : public testing::TestWithParam<Corner>
{
};

TEST_P (PrecisionAtCorner, BlockPathFollowsTheSampleChain)
{
    const auto& c = GetParam();
    Parameters parameters { { c.index, c.value } };
    if (c.hardKnee)
        parameters.push_back ({ KestruneAudioProcessor::kneeParam, 0.0f });
    const auto differences = runBoth (parameters, c.numChannels, c.rate, 512, 512);
    EXPECT_LE (differences.output, outputTolerance);
    EXPECT_LE (differences.gainMeter, meterTolerance);
    EXPECT_LE (differences.outputMeter, meterTolerance);
}

INSTANTIATE_TEST_SUITE_P (Corners, PrecisionAtCorner, testing::ValuesIn (corners()), cornerName);

// Settings that work every step hard: fast attack, slow program-dependent release, low
// threshold, high ratio, hard knee, the side-chain high-pass, strong drive, level and a mix.
const Parameters heavySettings { { 0, 0.05f }, { 1, 0.6f }, { 2, 0.2f }, { 3, 0.8f }, { 4, 0.0f }, { 5, 0.4f }, { 6, 0.9f }, { 7, 0.6f }, { 8, 0.7f } };

// A state restored before prepareToPlay reaches the channels and the low-cut design too.
TEST (PrecisionOfRoads, StateRestoredBeforePrepareReachesChannelsAndLowCut)
{
    const auto differences = runBoth (heavySettings, 2, 44100.0, 512, 512, Road::restoredState);
    EXPECT_LE (differences.output, outputTolerance);
    EXPECT_LE (differences.gainMeter, meterTolerance);
    EXPECT_LE (differences.outputMeter, meterTolerance);
}

struct BlockCase
{
    int blockSize;
    int preparedSize;
};

class PrecisionForBlocks : public testing::TestWithParam<BlockCase>
{
};

// Every block size gives the per-sample chain's output; without the side-chain high-pass
// (whose state JUCE rounds at the end of each run) all of them give the same bits.
TEST_P (PrecisionForBlocks, EveryBlockSizeGivesTheSameOutput)
{
    const auto [blockSize, preparedSize] = GetParam();
    const auto whole = runBoth ({}, 2, 48000.0, 512, 512);
    const auto blocks = runBoth ({}, 2, 48000.0, blockSize, preparedSize);
    EXPECT_LE (blocks.output, outputTolerance);
    EXPECT_LE (blocks.gainMeter, meterTolerance);
    EXPECT_LE (blocks.outputMeter, meterTolerance);
    for (int c = 0; c < 2; ++c)
        for (int k = 0; k < whole.processed.getNumSamples(); ++k)
            ASSERT_EQ (blocks.processed.getSample (c, k), whole.processed.getSample (c, k)) << "channel " << c << " sample " << k;

    const auto heavy = runBoth (heavySettings, 2, 48000.0, blockSize, preparedSize);
    EXPECT_LE (heavy.output, outputTolerance);
    EXPECT_LE (heavy.gainMeter, meterTolerance);
    EXPECT_LE (heavy.outputMeter, meterTolerance);
}

// Makes the block path run on one instruction set while it lives, then lets the machine's
// best one back.
class TargetChoice
{
public:
    explicit TargetChoice (int64_t target) { hwy::SetSupportedTargetsForTest (target); }
    ~TargetChoice()
    {
        hwy::SetSupportedTargetsForTest (0);
        kestrune::engine::kernels::chooseTarget();
    }
    TargetChoice (const TargetChoice&) = delete;
    TargetChoice& operator= (const TargetChoice&) = delete;
};

// Each instruction set the block path is built for and this machine runs (prepareToPlay
// takes the one allowed), not only the best: the smoothers' vectors are built per width.
// Short blocks with their partial groups and long ones; one to four channels, which the
// block path takes in pairs and a single one.
TEST (PrecisionOnEveryTarget, BlockPathFollowsTheSampleChain)
{
    struct Case
    {
        Parameters parameters;
        int numChannels;
        int blockSize;
        double seconds;
    };
    // Three and four channels through the first tones only: the i386 build may run emulated.
    const Case cases[] = { { heavySettings, 2, 31, 10.0 }, { {}, 1, 512, 10.0 }, { heavySettings, 3, 100, 3.0 }, { {}, 4, 45, 3.0 } };
    const auto targets = hwy::SupportedAndGeneratedTargets();
    ASSERT_FALSE (targets.empty());
    for (const int64_t target : targets)
    {
        SCOPED_TRACE (hwy::TargetName (target));
        const TargetChoice choice (target);
        for (const auto& [parameters, numChannels, blockSize, seconds] : cases)
        {
            const auto differences = runBoth (parameters, numChannels, 48000.0, blockSize, 512, Road::setParameter, seconds);
            EXPECT_LE (differences.output, outputTolerance) << numChannels << " channels, blocks of " << blockSize;
            EXPECT_LE (differences.gainMeter, meterTolerance);
            EXPECT_LE (differences.outputMeter, meterTolerance);
        }
    }
}

// A stretch of the stereo material through processBlock in blocks of 333 samples (so with
// short groups), or through the reference chain; whether the meters stayed finite after
// every block.
struct Stretch
{
    juce::AudioBuffer<float> output;
    bool metersFinite = true;
};

Stretch processStretch (const juce::AudioBuffer<float>& input, bool throughReference, const Parameters& parameters = heavySettings)
{
    constexpr double rate = 48000.0;
    Stretch stretch;
    stretch.output.makeCopyOf (input);
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (2, 2, rate, 512);
    scalar_chain::Settings settings;
    for (const auto& [index, value] : parameters)
    {
        processor.setParameter (index, value);
        settings = settings.with (index, value);
    }
    processor.prepareToPlay (rate, 512);
    scalar_chain::Chain reference (2, rate, settings);
    juce::MidiBuffer midi;
    for (int start = 0; start < input.getNumSamples(); start += 333)
    {
        juce::AudioBuffer<float> block (stretch.output.getArrayOfWritePointers(), 2, start, std::min (333, input.getNumSamples() - start));
        if (throughReference)
            reference.process (block);
        else
            processor.processBlock (block, midi);
        const double meters[] = { throughReference ? reference.gainReductionMeter() : processor.getGainReductionMeterValue(),
                                  throughReference ? reference.outputMeter() : processor.getOutputMeterValue() };
        stretch.metersFinite = stretch.metersFinite && std::isfinite (meters[0]) && std::isfinite (meters[1]);
    }
    return stretch;
}

// The largest difference between two outputs in one channel, from a sample on.
double largestDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channel, int from = 0)
{
    double largest = 0.0;
    for (int k = from; k < a.getNumSamples(); ++k)
    {
        const double difference = std::abs (static_cast<double> (a.getSample (channel, k)) - b.getSample (channel, k));
        largest = std::isnan (difference) ? std::numeric_limits<double>::infinity() : std::max (largest, difference);
    }
    return largest;
}

// One sample at or beyond the edge of audio in one channel of a stereo block, silence in the
// other, on every instruction set: the other channel comes out bit for bit as with silence in
// both. A sample that is no audio (beyond 1e10 in magnitude, or not a number) comes out as 0
// and the rest of its channel as with silence in its place; one up to 1e10 is audio and does
// not come out as 0; either way both paths, the block path and the reference chain, give the
// same, and the meters stay finite. At 1:1, where it reaches the drive curve whole, the
// largest audio sample has the same result on both paths too.
TEST (PrecisionOfBadSamples, SampleThatIsNoAudioCountsAsSilenceOnEveryTarget)
{
    constexpr double rate = 48000.0;
    // Two seconds from the low tone on: compressed, then released in silence.
    const auto& material = materialFor (2, rate);
    juce::AudioBuffer<float> stretch (2, static_cast<int> (2.0 * rate));
    for (int c = 0; c < 2; ++c)
        stretch.copyFrom (c, 0, material, c, static_cast<int> (1.0 * rate), stretch.getNumSamples());
    const int badAt = static_cast<int> (0.9 * rate) + 7;
    const float largest = 1.0e10f; // the largest magnitude that is audio, exact in float
    const float infinity = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    struct EdgeSample
    {
        int channel;
        float value;
        bool isAudio;
    };
    const EdgeSample edgeSamples[] = {
        { 0, nan, false },
        { 0, infinity, false },
        { 0, -infinity, false },
        { 0, 1.0e30f, false },
        { 0, std::nextafter (largest, infinity), false },
        { 1, nan, false },
        { 1, -infinity, false },
        { 1, 1.0e30f, false },
        { 1, -std::nextafter (largest, infinity), false },
        { 0, 1.0e9f, true },
        { 0, -largest, true },
        { 1, largest, true },
    };

    auto withSample = [&] (int channel, float value) {
        juce::AudioBuffer<float> input (stretch);
        input.setSample (0, badAt, 0.0f);
        input.setSample (1, badAt, 0.0f);
        input.setSample (channel, badAt, value);
        return input;
    };
    // The reference's outputs, which do not depend on the instruction set.
    std::vector<Stretch> references;
    for (const auto& [channel, value, isAudio] : edgeSamples)
    {
        references.push_back (processStretch (withSample (channel, value), true));
        EXPECT_EQ (references.back().output.getSample (channel, badAt) != 0.0f, isAudio) << value << " in the reference chain";
    }
    const Parameters oneToOne { { KestruneAudioProcessor::ratioParam, 0.0f }, { KestruneAudioProcessor::driveParam, 1.0f } };
    const auto unreducedReference = processStretch (withSample (1, largest), true, oneToOne);

    for (const int64_t target : hwy::SupportedAndGeneratedTargets())
    {
        SCOPED_TRACE (hwy::TargetName (target));
        const TargetChoice choice (target);
        const auto silent = processStretch (withSample (0, 0.0f), false);
        for (size_t i = 0; i < std::size (edgeSamples); ++i)
        {
            const auto [channel, value, isAudio] = edgeSamples[i];
            SCOPED_TRACE (testing::Message() << value << " in channel " << channel);
            const auto hit = processStretch (withSample (channel, value), false);
            EXPECT_EQ (largestDifference (hit.output, silent.output, 1 - channel), 0.0);
            EXPECT_EQ (hit.output.getSample (channel, badAt) != 0.0f, isAudio);
            if (! isAudio)
            {
                EXPECT_LE (largestDifference (hit.output, silent.output, channel, badAt + 1), outputTolerance);
            }
            EXPECT_LE (largestDifference (hit.output, references[i].output, channel), outputTolerance);
            EXPECT_TRUE (hit.metersFinite);
            EXPECT_TRUE (references[i].metersFinite);
        }
        const auto unreduced = processStretch (withSample (1, largest), false, oneToOne);
        EXPECT_LE (largestDifference (unreduced.output, unreducedReference.output, 1), outputTolerance);
        EXPECT_TRUE (unreduced.metersFinite);
    }
}

// The block path on its own, without the processor's flushing of subnormals, on every
// instruction set: at 1:1 after compressing, the smoothed reduction decays to 0 and stays
// there, never resting on a subnormal value between blocks.
TEST (PrecisionOfRest, ReductionComesToRestAtZeroOnEveryTarget)
{
    constexpr double rate = 48000.0;
    for (const int64_t target : hwy::SupportedAndGeneratedTargets())
    {
        SCOPED_TRACE (hwy::TargetName (target));
        const TargetChoice choice (target);
        QORCompressorChannel channel;
        channel.setSampleRate (rate);
        channel.setParameters (0.005, 0.02, 0.0316, 0.75, true);
        QORLevelSmoother outputSmoother;
        outputSmoother.setSampleRate (rate);
        outputSmoother.setTime (0.15);
        QORCompressorChannel* channels[] = { &channel };
        QORLevelSmoother* outputSmoothers[] = { &outputSmoother };
        const QORCompressorChannel::OutputStage stage { 0.25, 0.5, 1.0, 1.0f, 1.0f };
        std::vector<float> block (512);
        auto process = [&] (float amplitude) {
            for (size_t k = 0; k < block.size(); ++k)
                block[k] = amplitude * static_cast<float> (std::sin (0.05 * static_cast<double> (k)));
            float* samples[] = { block.data() };
            QORCompressorChannel::processBlock (channels, outputSmoothers, nullptr, 1, samples, static_cast<int> (block.size()), stage);
        };
        for (int i = 0; i < 10; ++i)
            process (0.9f);
        ASSERT_LT (channel.getReduction(), -10.0);

        channel.setParameters (0.005, 0.02, 0.0316, 0.0, true);
        int blocks = 0;
        for (; blocks < 2000 && channel.getReduction() != 0.0; ++blocks)
        {
            process (0.0f);
            ASSERT_NE (std::fpclassify (channel.getReduction()), FP_SUBNORMAL) << blocks;
        }
        EXPECT_EQ (channel.getReduction(), 0.0);
        for (int i = 0; i < 100; ++i)
            process (0.3f);
        EXPECT_EQ (channel.getReduction(), 0.0);
    }
}

// The drive curve's bump in double precision, on every instruction set: at 1:1, unit level
// and all wet the output is the drive curve of the input, rounded to float. Near the curve's
// zero, where its tanh-shaped part cancels the bump, a bump taken in single precision would
// be off by some 1e-10.
TEST (PrecisionOfDrive, CurveNearItsZeroOnEveryTarget)
{
    constexpr double rate = 48000.0;
    constexpr float drive = 1.0f;
    const double scale = static_cast<double> (0.6f) / KestruneAudioProcessor::driveCurve (static_cast<double> (0.6f), drive, 0.5, 1.0);
    // The zero lies near -bump (0) / (tanh'(0) scale) = -(exp (-5) / 4) / (5 (drive + 0.01) scale).
    const double zero = -(std::exp (-5.0) * 0.25) / (5.0 * (drive + 0.01) * scale);
    juce::AudioBuffer<float> input (1, 1000);
    for (int k = 0; k < input.getNumSamples(); ++k)
        input.setSample (0, k, static_cast<float> (zero * (1.0 + (k - 500) * 0.002)));
    auto expectedAt = [&] (int k) {
        return static_cast<float> (KestruneAudioProcessor::driveCurve (input.getSample (0, k), drive, 0.5, scale));
    };
    ASSERT_LT (expectedAt (0) * expectedAt (input.getNumSamples() - 1), 0.0f);

    for (const int64_t target : hwy::SupportedAndGeneratedTargets())
    {
        SCOPED_TRACE (hwy::TargetName (target));
        const TargetChoice choice (target);
        KestruneAudioProcessor processor;
        processor.setPlayConfigDetails (1, 1, rate, 512);
        processor.setParameter (KestruneAudioProcessor::ratioParam, 0.0f);
        processor.setParameter (KestruneAudioProcessor::driveParam, drive);
        processor.prepareToPlay (rate, 512);
        juce::AudioBuffer<float> output (input);
        juce::MidiBuffer midi;
        processor.processBlock (output, midi);
        double largest = 0.0;
        for (int k = 0; k < output.getNumSamples(); ++k)
            largest = std::max (largest, std::abs (static_cast<double> (output.getSample (0, k)) - expectedAt (k)));
        EXPECT_LE (largest, 1.0e-12);
    }
}

// Between blocks of random length, random parameters change, now and then the bypass with
// them: the block path takes each change from the next block on, as the reference takes it
// at once.
TEST (PrecisionOfChanges, ParameterChangesBetweenBlocksOfRandomLength)
{
    for (const auto& [numChannels, rate] : { std::pair { 2, 48000.0 }, std::pair { 1, 44100.0 } })
    {
        SCOPED_TRACE (numChannels);
        std::mt19937 random (static_cast<unsigned> (numChannels));
        std::uniform_int_distribution<int> lengths (1, 2000);
        std::uniform_int_distribution<int> numChanges (0, 3);
        std::uniform_int_distribution<int> indices (0, KestruneAudioProcessor::bypassParam - 1);
        std::uniform_real_distribution<float> values (0.0f, 1.0f);
        SideBySide run (numChannels, rate, 512, 6.0);
        run.prepare (rate);
        int blocks = 0;
        for (; ! run.finished(); ++blocks)
        {
            for (int change = numChanges (random); change > 0; --change)
                run.setParameter (indices (random), values (random));
            run.setParameter (KestruneAudioProcessor::bypassParam, blocks % 17 == 16 ? 1.0f : 0.0f);
            run.processNext (lengths (random));
        }
        EXPECT_GT (blocks, 50);
        EXPECT_LE (run.differences.output, outputTolerance);
        EXPECT_LE (run.differences.gainMeter, meterTolerance);
        EXPECT_LE (run.differences.outputMeter, meterTolerance);
    }
}

// A second prepareToPlay at another rate, without releaseResources: the running states go
// on, and every coefficient follows the new rate (the detectors, attack and release, the
// shelf, the low-cut and the output smoothers), as in a reference re-rated the same way. One
// that keeps the old rate is far off, so the comparison sees the rate.
TEST (PrecisionOfRates, SecondPrepareAtANewRateRerates)
{
    struct Case
    {
        double firstRate, secondRate;
        Parameters parameters;
    };
    const Case cases[] = { { 44100.0, 96000.0, heavySettings }, { 96000.0, 32000.0, { { 5, 1.0f }, { 2, 0.1f } } } };
    for (const auto& [firstRate, secondRate, parameters] : cases)
    {
        SCOPED_TRACE (secondRate);
        auto runWith = [&] (double referenceRate) {
            SideBySide run (2, firstRate, 512, 4.0);
            for (const auto& [index, value] : parameters)
                run.setParameter (index, value);
            run.prepare (firstRate);
            for (int block = 0; block < 100; ++block)
                run.processNext (512);
            run.prepare (secondRate, referenceRate);
            while (! run.finished())
                run.processNext (512);
            return run.differences;
        };
        const auto rerated = runWith (secondRate);
        EXPECT_LE (rerated.output, outputTolerance);
        EXPECT_LE (rerated.gainMeter, meterTolerance);
        EXPECT_LE (rerated.outputMeter, meterTolerance);
        EXPECT_GT (runWith (firstRate).output, 1.0e-3);
    }
}

// Audio just below the largest audio sample, through the side-chain high-pass at 20 Hz,
// which overshoots: side-chain values beyond the largest audio sample count as silence for
// the detector on both paths, on every instruction set. A square at 1 kHz rising to just
// below the limit, then a quiet tone, on which a path that took those values as audio is
// still off the other by some 1e-5.
TEST (PrecisionNearTheLimit, SideChainBeyondTheLargestSampleOnEveryTarget)
{
    constexpr double rate = 48000.0;
    constexpr float lowCut = 0.0001f;
    const Parameters parameters { { KestruneAudioProcessor::lowCutParam, lowCut },
                                  { KestruneAudioProcessor::ratioParam, 0.1f },
                                  { KestruneAudioProcessor::thresholdParam, 1.0f } };
    const int squareLength = static_cast<int> (0.25 * rate);
    juce::AudioBuffer<float> input (2, static_cast<int> (1.0 * rate));
    for (int k = 0; k < input.getNumSamples(); ++k)
    {
        const double sample = k < squareLength
                                  ? 0.999e10 * std::min (1.0, 2.0 * k / squareLength) * ((k / 24) % 2 == 0 ? 1.0 : -1.0)
                                  : 0.5 * std::sin (juce::MathConstants<double>::twoPi * 440.0 * k / rate);
        input.setSample (0, k, static_cast<float> (sample));
        input.setSample (1, k, static_cast<float> (-sample));
    }

    // The side-chain as the reference's high-pass makes it, in the same blocks.
    juce::IIRFilter sideChain;
    sideChain.setCoefficients (scalar_chain::lowCutDesign (lowCut, rate));
    juce::AudioBuffer<float> filtered (input);
    int beyond = 0;
    for (int start = 0; start < filtered.getNumSamples(); start += 333)
    {
        const int length = std::min (333, filtered.getNumSamples() - start);
        sideChain.processSamples (filtered.getWritePointer (0, start), length);
    }
    for (int k = 0; k < input.getNumSamples(); ++k)
    {
        ASSERT_TRUE (kestrune::engine::isAudioSample (input.getSample (0, k))) << k;
        beyond += kestrune::engine::isAudioSample (filtered.getSample (0, k)) ? 0 : 1;
    }
    ASSERT_GT (beyond, 0);

    const auto reference = processStretch (input, true, parameters);
    EXPECT_TRUE (reference.metersFinite);
    for (const int64_t target : hwy::SupportedAndGeneratedTargets())
    {
        SCOPED_TRACE (hwy::TargetName (target));
        const TargetChoice choice (target);
        const auto block = processStretch (input, false, parameters);
        for (int c = 0; c < 2; ++c)
            EXPECT_LE (largestDifference (block.output, reference.output, c), outputTolerance) << "channel " << c;
        EXPECT_TRUE (block.metersFinite);
    }
}

// Both paths, mono, through a loud passage of whole blocks and then a silent one at a rate,
// with the low-cut at a setting: the largest differences, whether every output and meter
// stayed finite, and the gain-reduction meters at the end of each passage (processor,
// reference).
struct LoudThenSilent
{
    double output = 0.0;
    double meters = 0.0;
    bool finite = true;
    std::array<double, 2> gainMetersAfterLoud {}, gainMetersAfterSilence {};
};

LoudThenSilent runLoudThenSilent (double rate, float lowCut)
{
    constexpr int blockSize = 512;
    // The shortest release, so that the reduction is gone well within the silence.
    const Parameters parameters { { KestruneAudioProcessor::releaseParam, 0.0f }, { KestruneAudioProcessor::lowCutParam, lowCut } };
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (1, 1, rate, blockSize);
    scalar_chain::Settings settings;
    for (const auto& [index, value] : parameters)
    {
        processor.setParameter (index, value);
        settings = settings.with (index, value);
    }
    processor.prepareToPlay (rate, blockSize);
    scalar_chain::Chain reference (1, rate, settings);

    const auto blocksFor = [&] (double seconds) { return static_cast<int> (std::ceil (seconds * rate / blockSize)); };
    // Long enough for the gain smoother's start, which overshoots far above 1, to settle.
    const int loudBlocks = blocksFor (1.2);
    const int numBlocks = loudBlocks + blocksFor (1.0);
    // A low tone with a tone at half the rate, which the low-cut at its top passes.
    const auto loud = [&] (int i) {
        return 0.5 * std::sin (juce::MathConstants<double>::twoPi * 110.0 * i / rate) + (i % 2 == 0 ? 0.4 : -0.4);
    };
    LoudThenSilent run;
    juce::AudioBuffer<float> block (1, blockSize), referenceBlock (1, blockSize);
    juce::MidiBuffer midi;
    for (int b = 0; b < numBlocks; ++b)
    {
        for (int k = 0; k < blockSize; ++k)
            block.setSample (0, k, b < loudBlocks ? static_cast<float> (loud (b * blockSize + k)) : 0.0f);
        referenceBlock.makeCopyOf (block, true);
        processor.processBlock (block, midi);
        reference.process (referenceBlock);
        for (int k = 0; k < blockSize; ++k)
        {
            const float out = block.getSample (0, k), expected = referenceBlock.getSample (0, k);
            run.finite = run.finite && std::isfinite (out) && std::isfinite (expected);
            run.output = std::max (run.output, static_cast<double> (std::abs (out - expected)));
        }
        const std::array<double, 2> gainMeters { processor.getGainReductionMeterValue(), reference.gainReductionMeter() };
        const std::array<double, 2> outputMeters { processor.getOutputMeterValue(), reference.outputMeter() };
        for (const double meter : { gainMeters[0], gainMeters[1], outputMeters[0], outputMeters[1] })
            run.finite = run.finite && std::isfinite (meter);
        run.meters = std::max ({ run.meters, relativeDifference (gainMeters[0], gainMeters[1]),
                                 relativeDifference (outputMeters[0], outputMeters[1]) });
        (b < loudBlocks ? run.gainMetersAfterLoud : run.gainMetersAfterSilence) = gainMeters;
    }
    return run;
}

// At rates from 1 kHz to 768 kHz, with the low-cut off and at its top, and at 705.6 kHz at
// its lowest corner: the outputs and the meters stay finite on both paths, the
// reduction takes hold in the loud passage and releases in the silence, and the block path
// follows the sample chain. At and below 3 kHz the shelf's corner would lie at or above half
// the rate; at 705.6 kHz the low-cut's lowest corner rounds to a pole on the unit circle,
// which holds the side-chain where it was when the silence began.
TEST (PrecisionAtEveryRate, LoudThenSilentFromOneTo768Kilohertz)
{
    const double rates[] = { 1000.0, 1001.0, 1500.0, 2000.0, 2500.0, 2995.0, 3000.0,
                             3001.0, 4000.0, 11025.0, 44100.0, 192000.0, 768000.0 };
    std::vector<std::pair<double, float>> cases;
    for (const double rate : rates)
        for (const float lowCut : { 0.0f, 1.0f })
            cases.emplace_back (rate, lowCut);
    cases.emplace_back (705600.0, 0.0001f);
    for (const auto& [rate, lowCut] : cases)
    {
        SCOPED_TRACE (testing::Message() << rate << " Hz, low-cut " << lowCut);
        const auto run = runLoudThenSilent (rate, lowCut);
        EXPECT_TRUE (run.finite);
        EXPECT_LE (run.output, outputTolerance);
        EXPECT_LE (run.meters, meterTolerance);
        for (int path = 0; path < 2; ++path)
        {
            EXPECT_LT (run.gainMetersAfterLoud[path], 0.5) << path;
            // Most of the way back to 1 (no reduction).
            EXPECT_GT (run.gainMetersAfterSilence[path], 0.95) << path;
        }
    }
}

INSTANTIATE_TEST_SUITE_P (Sizes, PrecisionForBlocks,
                          testing::Values (BlockCase { 1, 512 }, BlockCase { 31, 512 }, BlockCase { 32, 512 },
                                           BlockCase { 512, 512 }, BlockCase { 4096, 4096 },
                                           BlockCase { 1500, 512 }, BlockCase { 4096, 32 }),
                          [] (const testing::TestParamInfo<BlockCase>& info) {
                              return "block" + std::to_string (info.param.blockSize) + "_prepared" + std::to_string (info.param.preparedSize);
                          });
} // namespace
