// The compressor channel on its own: silence, unity, the settled gain of the gain
// computer, and the program-dependent release.
#include "AudioSample.h"
#include "QORBiquadFilter.h"
#include "QORCompressorChannel.h"
#include "ScalarChain.h"

#include <gtest/gtest.h>
#include <juce_audio_basics/juce_audio_basics.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace
{
constexpr double rate = 48000.0;

QORCompressorChannel makeChannel (double thresholdDb, double ratioSlope, bool softKnee)
{
    QORCompressorChannel channel;
    channel.setSampleRate (rate);
    channel.setParameters (0.005, 0.02, std::pow (10.0, thresholdDb / 20.0), ratioSlope, softKnee);
    return channel;
}

// Steady-state gain change of the gain computer for an input level in dB.
double predictedGainDb (double levelDb, double thresholdDb, double ratioSlope, bool softKnee)
{
    const double k = softKnee ? 0.3 : 0.7;
    return -(std::log (1.0 + std::exp ((levelDb - thresholdDb) * k)) / k) * ratioSlope;
}

TEST (CompressorChannel, SilenceStaysSilent)
{
    auto channel = makeChannel (-20.0, 0.75, true);
    for (int i = 0; i < 48000; ++i)
        ASSERT_EQ (channel.processSample (0.0, 0.0), 0.0);
}

TEST (CompressorChannel, RatioOneToOneIsUnity)
{
    auto channel = makeChannel (-40.0, 0.0, false);
    for (int i = 0; i < 4800; ++i)
    {
        const double in = 0.9 * std::sin (i * 0.05);
        ASSERT_EQ (channel.processSample (in, in), in) << i;
    }
    EXPECT_EQ (channel.getReduction(), 0.0);
}

// A square wave has a constant magnitude, so the detector settles without ripple and the
// applied gain must land on the gain computer's prediction.
TEST (CompressorChannel, SteadyToneSettlesAtThePredictedGain)
{
    const double slopes[] = { 1.0 / 3.0, 0.5, 0.75, 0.9375, 1.0 };
    const double amplitude = 0.5;
    const double levelDb = 20.0 * std::log10 (amplitude);
    for (bool softKnee : { true, false })
    {
        for (double slope : slopes)
        {
            auto channel = makeChannel (-20.0, slope, softKnee);
            double out = 0.0;
            // The detector overshoots at the first samples; the release then recovers.
            for (int i = 0; i < 96000; ++i)
            {
                const double in = (i / 24) % 2 == 0 ? amplitude : -amplitude;
                out = channel.processSample (in, in);
            }
            const double expectedDb = predictedGainDb (levelDb, -20.0, slope, softKnee);
            EXPECT_NEAR (20.0 * std::log10 (std::abs (out) / amplitude), expectedDb, 0.01)
                << "slope " << slope << " soft " << softKnee;
            EXPECT_NEAR (20.0 * std::log10 (channel.getGainSmootherState()), expectedDb, 0.05);
        }
    }
}

TEST (CompressorChannel, InfiniteRatioHoldsTheThresholdFarAbove)
{
    auto channel = makeChannel (-30.0, 1.0, false);
    double out = 0.0;
    for (int i = 0; i < 48000; ++i)
        out = channel.processSample (i % 2 == 0 ? 0.9 : -0.9, i % 2 == 0 ? 0.9 : -0.9);
    EXPECT_NEAR (20.0 * std::log10 (std::abs (out)), -30.0, 0.1);
}

TEST (CompressorChannel, ZeroThresholdCountsAsMinus100Db)
{
    QORCompressorChannel channel;
    channel.setSampleRate (rate);
    channel.setParameters (0.005, 0.02, 0.0, 0.5, false);
    double out = 0.0;
    for (int i = 0; i < 96000; ++i)
        out = channel.processSample (0.5, 0.5);
    EXPECT_NEAR (20.0 * std::log10 (std::abs (out) / 0.5), predictedGainDb (20.0 * std::log10 (0.5), -100.0, 0.5, false), 0.05);
}

TEST (CompressorChannel, ParameterPushComputesCoefficientsFromTheChannelRate)
{
    QORCompressorChannel channel;
    channel.setSampleRate (32000.0);
    channel.setParameters (0.01, 0.5, 0.1, 0.5, true);
    EXPECT_DOUBLE_EQ (channel.getAttackCoefficient(), 1.0 - std::exp (-4.0 / (0.01 * 32000.0)));
    EXPECT_DOUBLE_EQ (channel.getReleaseCoefficient(), 1.0 - std::exp (-4.0 / (0.5 * 32000.0)));
}

// After a loud burst the gain recovers. Loud program through the shelf (which passes the
// lows and cuts the highs by about 30 dB) slows the recovery, and above a filtered level of 0 dBFS stops it.
TEST (CompressorChannel, LoudProgramSlowsTheRelease)
{
    struct Recovery
    {
        double early;
        double late;
    };
    auto recoveryAfterBurst = [] (double programAmplitude) {
        auto channel = makeChannel (-30.0, 0.75, true);
        for (int i = 0; i < 4800; ++i)
            channel.processSample (i % 2 == 0 ? 0.9 : -0.9, i % 2 == 0 ? 0.9 : -0.9);
        // The audio goes on at a steady level while the side-chain falls silent.
        auto run = [&] (int samples) {
            const double before = channel.getReduction();
            for (int i = 0; i < samples; ++i)
                channel.processSample (programAmplitude, 0.0);
            return channel.getReduction() - before;
        };
        const double early = run (2400);
        run (48000);
        return Recovery { early, run (4800) };
    };
    const auto quiet = recoveryAfterBurst (0.0);
    const auto loud = recoveryAfterBurst (1.1);
    EXPECT_GT (quiet.early, 15.0);
    EXPECT_LT (loud.early, quiet.early * 0.8);
    EXPECT_GT (loud.early, 0.0);
    EXPECT_EQ (loud.late, 0.0);
}

// A value that is no audio, as input, as side-chain value or as both, counts as silence:
// the output is 0 for such an input, and from then on the channel goes on exactly as one
// given silence there, with every state finite. The largest audio sample is taken as it is
// and leaves every state finite too.
TEST (CompressorChannel, SampleThatIsNoAudioCountsAsSilence)
{
    const double largest = kestrune::engine::largestAudioSample;
    const double noAudio[] = { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
                               -std::numeric_limits<double>::infinity(), 1.0e30,
                               static_cast<double> (std::nextafter (kestrune::engine::largestAudioSample, 2.0e10f)) };
    const int badAt = 24000;
    auto signal = [] (int i) { return 0.5 * std::sin (i * 0.03) + 0.2 * std::sin (i * 0.71); };
    auto finite = [] (const QORCompressorChannel& c) {
        return std::isfinite (c.getReduction()) && std::isfinite (c.getGainSmootherState());
    };
    for (const double value : noAudio)
    {
        for (const bool inInput : { true, false })
            for (const bool inSideChain : { true, false })
            {
                if (! inInput && ! inSideChain)
                    continue;
                SCOPED_TRACE (testing::Message() << value << (inInput ? " input" : "") << (inSideChain ? " side-chain" : ""));
                auto hit = makeChannel (-30.0, 0.75, true);
                auto silent = makeChannel (-30.0, 0.75, true);
                for (int i = 0; i < 96000; ++i)
                {
                    const double in = signal (i);
                    if (i != badAt)
                    {
                        ASSERT_EQ (hit.processSample (in, in), silent.processSample (in, in)) << i;
                        continue;
                    }
                    const double out = hit.processSample (inInput ? value : in, inSideChain ? value : in);
                    const double silentOut = silent.processSample (inInput ? 0.0 : in, inSideChain ? 0.0 : in);
                    EXPECT_EQ (out, silentOut);
                    if (inInput)
                    {
                        EXPECT_EQ (out, 0.0);
                    }
                    ASSERT_TRUE (finite (hit));
                }
                EXPECT_TRUE (finite (hit));
                EXPECT_EQ (hit.getReduction(), silent.getReduction());
            }
    }

    auto loud = makeChannel (-30.0, 0.75, true);
    for (int i = 0; i < 96000; ++i)
    {
        const double in = i == badAt ? -largest : signal (i);
        ASSERT_TRUE (std::isfinite (loud.processSample (in, in))) << i;
        ASSERT_TRUE (finite (loud)) << i;
    }
}

// At 1:1 after compressing, the smoothed reduction decays to 0 and stays there, without ever
// taking a subnormal value.
TEST (CompressorChannel, ReductionComesToRestAtZeroNotOnASubnormal)
{
    auto channel = makeChannel (-30.0, 0.75, true);
    for (int i = 0; i < 4800; ++i)
        channel.processSample (i % 2 == 0 ? 0.9 : -0.9, i % 2 == 0 ? 0.9 : -0.9);
    ASSERT_LT (channel.getReduction(), -10.0);

    channel.setParameters (0.005, 0.02, std::pow (10.0, -30.0 / 20.0), 0.0, true);
    int samples = 0;
    for (; samples < 20 * 48000 && channel.getReduction() != 0.0; ++samples)
    {
        channel.processSample (0.0, 0.0);
        ASSERT_NE (std::fpclassify (channel.getReduction()), FP_SUBNORMAL) << samples;
    }
    EXPECT_EQ (channel.getReduction(), 0.0);
    for (int i = 0; i < 48000; ++i)
        channel.processSample (0.3 * std::sin (i * 0.05), 0.3 * std::sin (i * 0.05));
    EXPECT_EQ (channel.getReduction(), 0.0);
}

const juce::IIRCoefficients testDesign (0.17, -0.21, 0.08, 1.0, -1.3, 0.45);

QORBiquadFilter biquadFor (const juce::IIRCoefficients& design)
{
    QORBiquadFilter filter;
    filter.setCoefficients (design.coefficients);
    return filter;
}

// A tone that decays into the range where outputs and states are set to zero, then silence.
float decayingTone (int i)
{
    return i < 15000 ? static_cast<float> (std::sin (i * 0.07) * std::exp (-i * 0.0012)) : 0.0f;
}

// The channel's shelf filter does what JUCE's filter does sample by sample, bit for bit,
// down to the zeroing of outputs within 1e-8 of zero.
TEST (CompressorChannel, ShelfFilterMatchesJuceFilterBitForBit)
{
    juce::IIRFilter juceFilter;
    juceFilter.setCoefficients (testDesign);
    QORBiquadFilter filter = biquadFor (testDesign);
    int zeroed = 0;
    for (int i = 0; i < 20000; ++i)
    {
        const float in = decayingTone (i);
        const float expected = juceFilter.processSingleSampleRaw (in);
        ASSERT_EQ (filter.processSample (in), expected) << i;
        zeroed += expected == 0.0f && in != 0.0f ? 1 : 0;
    }
    EXPECT_GT (zeroed, 0);
}

// Run over stretches, as the side-chain low-cut runs, the filter does what JUCE's filter
// does over the same stretches, bit for bit: outputs are kept as they are, and the states
// within 1e-8 of zero are set to zero at the end of each stretch.
TEST (CompressorChannel, RunsMatchJuceFilterBitForBit)
{
    for (int runLength : { 1, 7, 512 })
    {
        juce::IIRFilter juceFilter;
        juceFilter.setCoefficients (testDesign);
        QORBiquadFilter filter = biquadFor (testDesign);
        std::vector<float> expected (static_cast<size_t> (runLength));
        bool tinyOutputKept = false;
        for (int start = 0; start < 20000; start += runLength)
        {
            for (int k = 0; k < runLength; ++k)
                expected[static_cast<size_t> (k)] = decayingTone (start + k);
            juceFilter.processSamples (expected.data(), runLength);
            for (int k = 0; k < runLength; ++k)
            {
                const float out = filter.processRunSample (decayingTone (start + k));
                ASSERT_EQ (out, expected[static_cast<size_t> (k)]) << runLength << " " << start + k;
                tinyOutputKept = tinyOutputKept || (out != 0.0f && std::abs (out) <= 1.0e-8f);
            }
            filter.endRun();
        }
        EXPECT_TRUE (tinyOutputKept) << runLength;
        // The states went to zero at a run's end, as JUCE's did: silence stays silent.
        EXPECT_EQ (filter.processRunSample (0.0f), 0.0f) << runLength;
    }
}

// Designs whose poles lie very close to z = 1: the side-chain high-pass at 20 Hz at the
// highest rates rounds to float coefficients with a pole on or outside the unit circle, on
// which JUCE's filter, after noise and then silence, holds its output, runs away or grows
// instead of settling to 0. The biquad takes a1 inside by a float step or two and settles
// to 0; coefficients inside the stable region it keeps bit for bit.
TEST (CompressorChannel, BiquadKeepsRoundedPolesInsideTheUnitCircle)
{
    const auto outside = [] (const float (&c)[5]) { return std::abs (static_cast<double> (c[3])) >= 1.0 + c[4]; };
    for (const double rate : { 705600.0, 732539.0, 768000.0 })
    {
        SCOPED_TRACE (rate);
        const auto rounded = scalar_chain::lowCutDesign (0.0001f, rate);
        ASSERT_TRUE (outside (rounded.coefficients));
        juce::IIRFilter juceFilter;
        juceFilter.setCoefficients (rounded);
        QORBiquadFilter filter = biquadFor (rounded);

        // Half a second of noise with an offset, then a second of silence, in runs.
        std::mt19937 random (7);
        std::uniform_real_distribution<float> noise (-0.5f, 0.5f);
        const int noiseLength = static_cast<int> (0.5 * rate);
        std::vector<float> run (512);
        float last = 0.0f, largest = 0.0f;
        bool juceFinite = true;
        for (int start = 0; start < static_cast<int> (1.5 * rate); start += 512)
        {
            for (size_t k = 0; k < run.size(); ++k)
                run[k] = start + static_cast<int> (k) < noiseLength ? 0.3f + noise (random) : 0.0f;
            for (const float in : run)
            {
                last = filter.processRunSample (in);
                largest = std::max (largest, std::abs (last));
            }
            filter.endRun();
            juceFilter.processSamples (run.data(), 512);
            juceFinite = juceFinite && std::all_of (run.begin(), run.end(), [] (float x) { return std::isfinite (x); });
        }
        EXPECT_FALSE (juceFinite && std::abs (run.back()) < 1.0e-3f) << run.back();
        EXPECT_LT (largest, 2.0f);
        EXPECT_LT (std::abs (last), 1.0e-3f);

        const float inside[] = { filter.b0, filter.b1, filter.b2, filter.a1, filter.a2 };
        EXPECT_FALSE (outside (inside));
        EXPECT_LE (std::abs (filter.a1 - rounded.coefficients[3]), 2.0f * std::numeric_limits<float>::epsilon());
        for (const int i : { 0, 1, 2, 4 })
            EXPECT_EQ (inside[i], rounded.coefficients[i]) << i;
    }

    for (const auto& design : { testDesign, scalar_chain::lowCutDesign (0.0001f, 48000.0), scalar_chain::lowCutDesign (1.0f, 1000.0) })
    {
        const QORBiquadFilter kept = biquadFor (design);
        const float coefficients[] = { kept.b0, kept.b1, kept.b2, kept.a1, kept.a2 };
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ (coefficients[i], design.coefficients[i]) << i;
    }
}
} // namespace
