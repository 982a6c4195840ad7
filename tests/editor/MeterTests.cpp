#include "EditorTestSupport.h"

#include "QORMicroSwitch.h"
#include "QORVuMeter.h"

#include <cmath>

namespace
{
using MeterPanelTest = EditorFixture;

// Counts the repaints a component asks for.
struct RepaintCounter : juce::CachedComponentImage
{
    void paint (juce::Graphics&) override {}
    bool invalidateAll() override
    {
        ++count;
        return true;
    }
    bool invalidate (const juce::Rectangle<int>&) override
    {
        ++count;
        return true;
    }
    void releaseResources() override {}

    int count = 0;
};
}

TEST_F (MeterPanelTest, ShowsNoReductionAndNoOutputBeforePrepareToPlay)
{
    auto& meter = control<QORVuMeter> (PanelBounds::meter);
    EXPECT_FALSE (meter.isHoldingPeaks());

    ui().updateMeter();
    EXPECT_EQ (meter.getLevel(), 1.0f);

    click (control<QORMicroSwitch> (PanelBounds::meterSwitch));
    ui().updateMeter();
    EXPECT_EQ (meter.getLevel(), 0.0f);
}

TEST_F (MeterPanelTest, ReadsThePublishedReductionAndScaledOutputLevel)
{
    processor.setPlayConfigDetails (2, 2, 48000.0, 512);
    processor.prepareToPlay (48000.0, 512);
    processor.setParameter (KestruneAudioProcessor::thresholdParam, 0.0f);
    juce::AudioBuffer<float> buffer (2, 512);
    juce::MidiBuffer midi;
    for (int block = 0; block < 100; ++block)
    {
        for (int c = 0; c < 2; ++c)
            for (int i = 0; i < 512; ++i)
                buffer.setSample (c, i, 0.8f * (float) std::sin (0.05 * (block * 512 + i)));
        processor.processBlock (buffer, midi);
    }

    auto& meter = control<QORVuMeter> (PanelBounds::meter);
    ui().updateMeter();
    const float reduction = (float) processor.getGainReductionMeterValue();
    EXPECT_LT (reduction, 0.9f);
    EXPECT_EQ (meter.getLevel(), reduction);

    click (control<QORMicroSwitch> (PanelBounds::meterSwitch));
    ui().updateMeter();
    const float output = (float) processor.getOutputMeterValue();
    EXPECT_GT (output, 0.0f);
    EXPECT_NEAR (meter.getLevel(), 11.220185f * output, 1.0e-5f * meter.getLevel());
    processor.releaseResources();
}

TEST_F (MeterPanelTest, MeterTimerSetsTheMeter)
{
    auto& meter = control<QORVuMeter> (PanelBounds::meter);
    ASSERT_EQ (meter.getLevel(), 0.0f);
    EXPECT_TRUE (pumpUntil ([&] { return meter.getLevel() == 1.0f; }));
}

TEST_F (MeterPanelTest, TimersRunOnlyWhileThePanelIsVisible)
{
    auto& panel = ui();
    const auto expectRunning = [&panel] (bool running) {
        EXPECT_EQ (panel.isTimerRunning (KESTruneUI::refreshTimer), running);
        EXPECT_EQ (panel.isTimerRunning (KESTruneUI::meterTimer), running);
        if (running)
        {
            EXPECT_EQ (panel.getTimerInterval (KESTruneUI::refreshTimer), 50);
            EXPECT_EQ (panel.getTimerInterval (KESTruneUI::meterTimer), 5);
        }
    };

    expectRunning (true);
    panel.setVisible (false);
    expectRunning (false);
    panel.setVisible (true);
    expectRunning (true);
}

namespace
{
class VuMeterTest : public ::testing::Test
{
protected:
    juce::ScopedJuceInitialiser_GUI gui;
    QORVuMeter meter;
};
}

TEST_F (VuMeterTest, HeldLevelFallsEverFasterAndFollowsPeaksAtOnce)
{
    ASSERT_TRUE (meter.isHoldingPeaks());

    // Level in, held level expected after it.
    struct Step
    {
        float level;
        double held;
    };
    const Step steps[] = {
        { 0.8f, 0.8 },
        { 0.5f, 0.8 - 0.000001 },
        { 0.4f, 0.8 - 0.000001 - 0.0000011 },
        { 0.3f, 0.8 - 0.000001 - 0.0000011 - 0.00000121 },
        { 0.9f, 0.9 },
        { 0.2f, 0.9 - 0.000001 },
        { 0.8999995f, 0.8999995 },
    };

    for (const auto& step : steps)
    {
        meter.setLevel (step.level);
        EXPECT_EQ (meter.getLevel(), step.level);
        EXPECT_NEAR (meter.getHeldLevel(), step.held, 1.5e-7) << "after " << step.level;
    }
}

TEST_F (VuMeterTest, WithoutPeakHoldTheHeldLevelStays)
{
    meter.setPeakHold (false);
    meter.setLevel (0.7f);
    EXPECT_EQ (meter.getLevel(), 0.7f);
    EXPECT_EQ (meter.getHeldLevel(), 0.0f);
}

TEST_F (VuMeterTest, TheSameLevelTwiceRepaintsOnce)
{
    meter.setVisible (true);
    auto* counter = new RepaintCounter();
    meter.setCachedComponentImage (counter);
    const int before = counter->count;

    meter.setLevel (0.5f);
    meter.setLevel (0.5f);
    EXPECT_EQ (counter->count - before, 1);
    meter.setLevel (0.6f);
    EXPECT_EQ (counter->count - before, 2);
}
