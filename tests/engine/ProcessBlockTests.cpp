// processBlock: bypass, mix, channel layouts, drive, low-cut and the per-channel objects.
#include "ProcessorFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <limits>
#include <thread>

namespace
{
constexpr double rate = 48000.0;

bool buffersEqual (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b, int channels)
{
    for (int c = 0; c < channels; ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            if (a.getSample (c, i) != b.getSample (c, i))
                return false;
    return true;
}

TEST (ProcessBlock, BypassIsBitExactAndFreezesTheMeters)
{
    PreparedProcessor p;
    juce::AudioBuffer<float> warmUp (2, 512);
    PreparedProcessor::fillSine (warmUp, 440.0, rate, 0.8f);
    p.run (warmUp);
    const double gainBefore = p.processor->getGainReductionMeterValue();
    const double outputBefore = p.processor->getOutputMeterValue();

    p.processor->setParameter (9, 1.0f);
    juce::AudioBuffer<float> buffer (2, 512);
    PreparedProcessor::fillSine (buffer, 440.0, rate, 0.8f, 512);
    const juce::AudioBuffer<float> input (buffer);
    p.run (buffer);
    EXPECT_TRUE (buffersEqual (buffer, input, 2));
    EXPECT_EQ (p.processor->getGainReductionMeterValue(), gainBefore);
    EXPECT_EQ (p.processor->getOutputMeterValue(), outputBefore);
}

TEST (ProcessBlock, MixZeroGivesTheInputWhileTheDetectorRuns)
{
    PreparedProcessor p;
    p.processor->setParameter (8, 0.0f);
    p.processor->setParameter (2, 0.0f);
    juce::AudioBuffer<float> buffer (2, 512);
    for (int block = 0; block < 300; ++block)
    {
        PreparedProcessor::fillSine (buffer, 1000.0, rate, 0.9f, block * 512);
        const juce::AudioBuffer<float> input (buffer);
        p.run (buffer);
        ASSERT_TRUE (buffersEqual (buffer, input, 2));
    }
    EXPECT_LT (p.processor->getGainReductionMeterValue(), 0.5);
    EXPECT_GT (p.processor->getOutputMeterValue(), 0.3);
}

TEST (ProcessBlock, OutputChannelsBeyondTheInputsAreSilent)
{
    PreparedProcessor p (2, 4);
    juce::AudioBuffer<float> buffer (4, 512);
    PreparedProcessor::fillSine (buffer, 200.0, rate, 0.5f);
    p.run (buffer);
    EXPECT_GT (buffer.getMagnitude (0, 0, 512), 0.1f);
    EXPECT_GT (buffer.getMagnitude (1, 0, 512), 0.1f);
    EXPECT_EQ (buffer.getMagnitude (2, 0, 512), 0.0f);
    EXPECT_EQ (buffer.getMagnitude (3, 0, 512), 0.0f);
}

TEST (ProcessBlock, DriveMapsPointSixToPointSixAtEverySetting)
{
    for (double drive : { 0.0, 0.1, 0.25, 0.5, 0.75, 1.0 })
    {
        const double norm = KestruneAudioProcessor::driveCurve (static_cast<double> (0.6f), drive, 0.5, 1.0);
        const double scale = static_cast<double> (0.6f) / norm;
        EXPECT_NEAR (KestruneAudioProcessor::driveCurve (0.6, drive, 0.5, scale), 0.6, 1.0e-5) << drive;
        EXPECT_LE (std::abs (KestruneAudioProcessor::driveCurve (-0.6, drive, 0.5, scale)), 0.6 + 0.5 * 0.25 * drive + 1.0e-9) << drive;
    }
    // At drive 0 the curve is tanh (0.05 x), scaled.
    const double scale = static_cast<double> (0.6f) / std::tanh (0.05 * static_cast<double> (0.6f));
    EXPECT_NEAR (KestruneAudioProcessor::driveCurve (0.3, 0.0, 0.0, scale), std::tanh (0.05 * 0.3) * scale, 1.0e-12);
}

// At 1:1 the compressor passes the input unchanged, so each output sample is the drive
// curve, level and mix applied to the input: tanh (5 (drive + 0.01) x) scale plus the bump
// exp (-5 (x + 1)^2) drive / 4, the scale making the curve map 0.6 to 0.6.
TEST (ProcessBlock, DriveLevelAndMixFollowTheirFormulaAtOneToOne)
{
    struct Case
    {
        float drive, levelValue, mix;
    };
    const Case cases[] = { { 0.0f, 0.5f, 0.5f }, { 0.6f, 0.75f, 0.3f }, { 1.0f, 0.2f, 0.85f }, { 0.25f, 1.0f, 1.0f } };
    const float inputs[] = { 0.6f, 0.5f, -0.25f, 0.8f, -0.9f, 0.05f, 0.0f, -0.6f, 1.0f };
    for (const auto& c : cases)
    {
        PreparedProcessor p (1, 1, rate, 16);
        p.processor->setParameter (KestruneAudioProcessor::ratioParam, 0.0f);
        p.processor->setParameter (KestruneAudioProcessor::driveParam, c.drive);
        p.processor->setParameter (KestruneAudioProcessor::levelParam, c.levelValue);
        p.processor->setParameter (KestruneAudioProcessor::mixParam, c.mix);
        juce::AudioBuffer<float> buffer (1, static_cast<int> (std::size (inputs)));
        for (int i = 0; i < buffer.getNumSamples(); ++i)
            buffer.setSample (0, i, inputs[i]);
        p.run (buffer);

        const double drive = c.drive;
        auto bump = [drive] (double x) { return std::exp (-5.0 * (x + 1.0) * (x + 1.0)) * 0.25 * drive; };
        auto saturation = [drive] (double x) { return std::tanh (5.0 * (drive + 0.01) * x); };
        const double scale = 0.6f / (saturation (0.6f) + bump (0.6f));
        auto curve = [&] (double x) { return saturation (x) * scale + bump (x); };
        const float level = std::pow (10.0f, (c.levelValue - 0.5f) * 30.0f / 20.0f);
        for (int i = 0; i < buffer.getNumSamples(); ++i)
        {
            const float in = inputs[i];
            const float expected = static_cast<float> (level * curve (in)) * c.mix + (1.0f - c.mix) * in;
            EXPECT_NEAR (buffer.getSample (0, i), expected, 1.0e-6) << "drive " << c.drive << " level " << c.levelValue << " mix " << c.mix << " in " << in;
        }
    }
    // Worked by hand: at unit level, 0.6 comes out as 0.6 whatever the drive and the mix.
    PreparedProcessor p (1, 1, rate, 16);
    p.processor->setParameter (KestruneAudioProcessor::ratioParam, 0.0f);
    p.processor->setParameter (KestruneAudioProcessor::driveParam, 0.9f);
    p.processor->setParameter (KestruneAudioProcessor::mixParam, 0.4f);
    juce::AudioBuffer<float> buffer (1, 1);
    buffer.setSample (0, 0, 0.6f);
    p.run (buffer);
    EXPECT_NEAR (buffer.getSample (0, 0), 0.6f, 1.0e-6);
}

// A DC input reaches the detector only without the side-chain high-pass.
TEST (ProcessBlock, LowCutOffLeavesTheSideChainUnfiltered)
{
    auto gainAfterDc = [] (float lowCut) {
        PreparedProcessor p;
        p.processor->setParameter (2, 0.25f); // -30 dB
        p.processor->setParameter (5, lowCut);
        juce::AudioBuffer<float> buffer (2, 512);
        for (int block = 0; block < 400; ++block)
        {
            for (int c = 0; c < 2; ++c)
                juce::FloatVectorOperations::fill (buffer.getWritePointer (c), 0.5f, 512);
            p.run (buffer);
        }
        return p.processor->getGainReductionMeterValue();
    };
    EXPECT_LT (gainAfterDc (0.0f), 0.2);
    EXPECT_GT (gainAfterDc (0.0001f), 0.9);
}

TEST (ProcessBlock, LowCutNearNyquistStaysStable)
{
    PreparedProcessor p (2, 2, 32000.0, 256);
    p.processor->setParameter (5, 1.0f);
    juce::AudioBuffer<float> buffer (2, 256);
    for (int block = 0; block < 200; ++block)
    {
        PreparedProcessor::fillSine (buffer, 15000.0, 32000.0, 0.9f, block * 256);
        p.run (buffer);
        ASSERT_TRUE (std::isfinite (p.processor->getGainReductionMeterValue())) << block;
        ASSERT_LE (buffer.getMagnitude (0, 256), 2.0f) << block;
    }
}

// processBlock counts subnormal values as zero: at mix 0, where the output is the input, a
// subnormal input comes out as 0. The caller's floating-point mode, whichever it is, comes
// back unchanged.
TEST (ProcessBlock, FlushesSubnormalsForItsOwnWorkOnly)
{
    PreparedProcessor p;
    p.processor->setParameter (KestruneAudioProcessor::mixParam, 0.0f);
    juce::AudioBuffer<float> buffer (2, 512);
    const bool callersMode = juce::FloatVectorOperations::areDenormalsDisabled();
    for (const bool flushing : { false, true, false })
    {
        juce::FloatVectorOperations::disableDenormalisedNumberSupport (flushing);
        PreparedProcessor::fillSine (buffer, 440.0, rate, 0.5f);
        const float subnormal = std::numeric_limits<float>::denorm_min() * 1000.0f;
        buffer.setSample (0, 100, subnormal);
        buffer.setSample (1, 100, -subnormal);
        p.run (buffer);
        EXPECT_EQ (buffer.getSample (0, 100), 0.0f) << flushing;
        EXPECT_EQ (buffer.getSample (1, 100), 0.0f) << flushing;
        EXPECT_EQ (juce::FloatVectorOperations::areDenormalsDisabled(), flushing);
    }
    juce::FloatVectorOperations::disableDenormalisedNumberSupport (callersMode);
}

TEST (ProcessBlock, MetersBeforePrepareAndAfterRelease)
{
    KestruneAudioProcessor processor;
    EXPECT_EQ (processor.getGainReductionMeterValue(), 1.0);
    EXPECT_EQ (processor.getOutputMeterValue(), 0.0);

    PreparedProcessor p;
    p.runSine (440.0, 0.9f, PreparedProcessor::settleSeconds);
    EXPECT_LT (p.processor->getGainReductionMeterValue(), 0.5);
    EXPECT_GT (p.processor->getOutputMeterValue(), 0.1);
    p.processor->releaseResources();
    EXPECT_EQ (p.processor->getGainReductionMeterValue(), 1.0);
    EXPECT_EQ (p.processor->getOutputMeterValue(), 0.0);
}

TEST (ProcessBlock, UnpreparedOrExtraChannelsPassThrough)
{
    KestruneAudioProcessor unprepared;
    unprepared.setPlayConfigDetails (2, 2, rate, 512);
    juce::AudioBuffer<float> buffer (2, 512);
    PreparedProcessor::fillSine (buffer, 440.0, rate, 0.9f);
    const juce::AudioBuffer<float> input (buffer);
    juce::MidiBuffer midi;
    unprepared.processBlock (buffer, midi);
    EXPECT_TRUE (buffersEqual (buffer, input, 2));

    // Prepared for one channel, then given two: the second passes through.
    PreparedProcessor mono (1, 1);
    mono.processor->setPlayConfigDetails (2, 2, rate, 512);
    mono.run (buffer);
    EXPECT_FALSE (buffersEqual (buffer, input, 1));
    for (int i = 0; i < 512; ++i)
        ASSERT_EQ (buffer.getSample (1, i), input.getSample (1, i));
}

// A block longer than prepared is taken whole, with the result of shorter blocks.
TEST (ProcessBlock, LongBlocksMatchShortBlocks)
{
    PreparedProcessor shortBlocks (2, 2, rate, 128);
    PreparedProcessor longBlocks (2, 2, rate, 128);
    for (auto* p : { &shortBlocks, &longBlocks })
        p->processor->setParameter (5, 0.3f);

    juce::AudioBuffer<float> whole (2, 1000);
    PreparedProcessor::fillSine (whole, 300.0, rate, 0.9f);
    juce::AudioBuffer<float> pieces (whole);
    longBlocks.run (whole);
    for (int start = 0; start < 1000; start += 100)
    {
        juce::AudioBuffer<float> piece (pieces.getArrayOfWritePointers(), 2, start, 100);
        shortBlocks.run (piece);
    }
    EXPECT_TRUE (buffersEqual (whole, pieces, 2));
}

// A second prepareToPlay sizes the arrays to the new layout and keeps the running state.
TEST (ProcessBlock, RepeatedPrepareKeepsRunningState)
{
    PreparedProcessor p;
    p.runSine (440.0, 0.9f, PreparedProcessor::settleSeconds);
    juce::AudioBuffer<float> buffer (2, 512);
    const double gainReduction = p.processor->getGainReductionMeterValue();
    ASSERT_LT (gainReduction, 0.5);

    p.processor->prepareToPlay (rate, 512);
    EXPECT_EQ (p.processor->getGainReductionMeterValue(), gainReduction);

    p.processor->setPlayConfigDetails (1, 1, rate, 512);
    p.processor->prepareToPlay (44100.0, 512);
    EXPECT_EQ (p.processor->getGainReductionMeterValue(), gainReduction);
    p.processor->setPlayConfigDetails (2, 2, rate, 512);
    p.processor->prepareToPlay (rate, 512);
    PreparedProcessor::fillSine (buffer, 440.0, rate, 0.9f);
    p.run (buffer);
    EXPECT_GT (buffer.getMagnitude (1, 0, 512), 0.0f);
}

TEST (ProcessBlock, ParameterPushReachesPreparedChannels)
{
    auto settledGain = [] (float ratio) {
        PreparedProcessor p;
        p.processor->setParameter (3, ratio);
        p.runSine (440.0, 0.9f, PreparedProcessor::settleSeconds);
        return p.processor->getGainReductionMeterValue();
    };
    EXPECT_NEAR (settledGain (0.0f), 1.0, 1.0e-3);
    EXPECT_LT (settledGain (1.0f), settledGain (0.2f));
}
// Host automation and the meter reader keep running while the host rebuilds the
// per-channel objects; under the sanitizers this shows any use of a deleted element.
TEST (ProcessBlock, ParameterChangesAndMeterReadsDuringRebuild)
{
    KestruneAudioProcessor processor;
    std::atomic<bool> done { false };
    std::thread automation ([&] {
        for (int i = 0; ! done; ++i)
            processor.setParameter (i % 6, static_cast<float> (i % 100) / 100.0f);
    });
    std::thread meter ([&] {
        double sum = 0.0;
        while (! done)
            sum += processor.getGainReductionMeterValue() + processor.getOutputMeterValue();
        EXPECT_TRUE (std::isfinite (sum));
    });
    for (int round = 0; round < 300; ++round)
    {
        const int channels = 1 + round % 4;
        processor.setPlayConfigDetails (channels, channels, 44100.0 + round, 256);
        processor.prepareToPlay (44100.0 + round, 256);
        if (round % 3 == 0)
            processor.releaseResources();
    }
    done = true;
    automation.join();
    meter.join();

    // The processor comes out of it whole: every parameter reached every channel.
    processor.setPlayConfigDetails (2, 2, 48000.0, 256);
    processor.prepareToPlay (48000.0, 256);
    for (int i = 0; i < 6; ++i)
        processor.setParameter (i, KestruneAudioProcessor().getParameter (i));
    juce::AudioBuffer<float> buffer (2, 256);
    PreparedProcessor::fillSine (buffer, 440.0, 48000.0, 0.5f);
    juce::MidiBuffer midi;
    processor.processBlock (buffer, midi);
    for (int c = 0; c < 2; ++c)
        EXPECT_TRUE (std::isfinite (buffer.getRMSLevel (c, 0, 256)));
    EXPECT_GT (buffer.getRMSLevel (0, 0, 256), 0.0f);
}

// One thread automates every parameter, another reads the meters and the texts, a third
// processes blocks and changes the sample rate now and then: nothing is shared but the
// stored values and the published meters (the thread sanitizer build checks that).
TEST (ProcessBlock, AutomationMetersAndRateChangesOnThreeThreads)
{
    KestruneAudioProcessor processor;
    processor.setPlayConfigDetails (2, 2, 44100.0, 256);
    std::atomic<bool> done { false };
    std::thread automation ([&] {
        for (int i = 0; ! done; ++i)
            for (int index = 0; index < KestruneAudioProcessor::numParams; ++index)
                processor.setParameter (index, static_cast<float> ((i * 7 + index * 13) % 101) / 100.0f);
    });
    std::thread reader ([&] {
        juce::String invalid;
        double meters = 0.0;
        while (! done)
        {
            for (int index = 0; index < KestruneAudioProcessor::numParams; ++index)
            {
                // Normalised values read back within float rounding of [0, 1].
                const float value = processor.getParameter (index);
                const auto text = processor.getParameterText (index);
                if (invalid.isEmpty() && (! (value > -1.0e-5f && value < 1.0f + 1.0e-5f) || text.isEmpty()))
                    invalid = juce::String (index) + ": " + juce::String (value) + " \"" + text + "\"";
            }
            meters += processor.getGainReductionMeterValue() + processor.getOutputMeterValue();
        }
        EXPECT_TRUE (invalid.isEmpty()) << invalid;
        EXPECT_TRUE (std::isfinite (meters));
    });

    bool outputFinite = true;
    const double rates[] = { 44100.0, 48000.0, 96000.0, 32000.0 };
    juce::AudioBuffer<float> buffer (2, 256);
    juce::MidiBuffer midi;
    for (int block = 0; block < 1600; ++block)
    {
        if (block % 100 == 0)
            processor.prepareToPlay (rates[(block / 100) % 4], 256);
        PreparedProcessor::fillSine (buffer, 440.0, 48000.0, 0.9f, block * 256);
        processor.processBlock (buffer, midi);
        for (int c = 0; c < 2; ++c)
            outputFinite = outputFinite && std::isfinite (buffer.getRMSLevel (c, 0, 256));
    }
    done = true;
    automation.join();
    reader.join();
    EXPECT_TRUE (outputFinite);
}
} // namespace
