// The ten parameters: scalings, round trips and display texts.
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <cmath>

namespace
{
struct ParameterCase
{
    int index;
    float value;
    float readBack;
    const char* text;
};

// Written from the parameter table: value set, value expected back, text expected.
const ParameterCase parameterCases[] = {
    { 0, 0.0f, 0.0f, "0.0" },
    { 0, 0.5f, 0.5f, "5.0" },
    { 0, 1.0f, 1.0f, "10.0" },
    { 1, 0.25f, 0.25f, "2.5" },
    { 1, 1.0f, 1.0f, "10.0" },
    { 2, 0.0f, 0.0f, "-40.00 dB" },
    { 2, 0.5f, 0.5f, "-20.00 dB" },
    { 2, 1.0f, 1.0f, "+0.00 dB" },
    { 3, 0.0f, 0.0f, "1.00:1" },
    { 3, 0.1f, 0.1f, "1.50:1" },
    { 3, 0.22f, 0.2f, "2.00:1" },
    { 3, 0.3f, 0.3f, "2.50:1" },
    { 3, 0.4f, 0.4f, "3.00:1" },
    { 3, 0.5f, 0.5f, "4.00:1" },
    { 3, 0.6f, 0.6f, "8.00:1" },
    { 3, 0.7f, 0.7f, "12.00:1" },
    { 3, 0.8f, 0.8f, "16.00:1" },
    { 3, 0.9f, 0.9f, "+Inf:1" },
    { 3, 1.0f, 1.0f, "+Inf:1" },
    { 4, 0.49f, 0.0f, "HARD KNEE" },
    { 4, 0.5f, 1.0f, "SOFT KNEE" },
    { 5, 0.0f, 0.0f, "off" },
    { 5, 0.000005f, 0.000005f, "off" },
    { 5, 0.5f, 0.5f, "632 Hz" },
    { 5, 1.0f, 1.0f, "20.0 kHz" },
    { 6, 0.0f, 0.0f, "0 %" },
    { 6, 0.257f, 0.257f, "25 %" },
    { 7, 0.0f, 0.0f, "-15.00 dB" },
    { 7, 0.5f, 0.5f, "+0.00 dB" },
    { 7, 1.0f, 1.0f, "+15.00 dB" },
    { 8, 0.0f, 0.0f, "dry" },
    { 8, 0.5f, 0.5f, "50 %" },
    { 8, 0.999f, 0.999f, "99 %" },
    { 8, 1.0f, 1.0f, "wet" },
    { 9, 0.2f, 0.0f, "OFF" },
    { 9, 0.7f, 1.0f, "ON" },
};

TEST (Parameters, SetGetAndTextFollowTheTable)
{
    for (const auto& c : parameterCases)
    {
        KestruneAudioProcessor processor;
        processor.setParameter (c.index, c.value);
        EXPECT_NEAR (processor.getParameter (c.index), c.readBack, 1.0e-5f) << "index " << c.index << " value " << c.value;
        EXPECT_EQ (processor.getParameterText (c.index), juce::String (c.text)) << "index " << c.index << " value " << c.value;
    }
}

TEST (Parameters, InitialValuesAndTexts)
{
    KestruneAudioProcessor processor;
    const float expected[] = { 0.29488f, 0.32444f, 0.5f, 0.5f, 1.0f, 0.0f, 0.25f, 0.5f, 1.0f, 0.0f };
    const char* texts[] = { "2.9", "3.2", "-20.00 dB", "4.00:1", "SOFT KNEE", "off", "25 %", "+0.00 dB", "wet", "OFF" };
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_NEAR (processor.getParameter (i), expected[i], 1.0e-5f) << i;
        EXPECT_EQ (processor.getParameterText (i), juce::String (texts[i])) << i;
    }
}

TEST (Parameters, NamesAndOutOfRangeIndices)
{
    KestruneAudioProcessor processor;
    const char* names[] = { "Attack", "Release", "Threshold", "Ratio", "Knee", "LowCut", "Drive", "Level", "Mix", "Bypass" };
    EXPECT_EQ (processor.getNumParameters(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ (processor.getParameterName (i), juce::String (names[i]));

    for (int index : { -1, 10, 1000 })
    {
        processor.setParameter (index, 0.7f);
        EXPECT_EQ (processor.getParameterName (index), juce::String());
        EXPECT_EQ (processor.getParameter (index), 0.0f);
        EXPECT_EQ (processor.getParameterText (index), juce::String ("0 %"));
    }
    for (int i = 0; i < 10; ++i)
        EXPECT_NEAR (processor.getParameter (i), KestruneAudioProcessor().getParameter (i), 1.0e-6f);
}

TEST (Parameters, RatioIndexIsClampedToTheTable)
{
    const struct
    {
        float value;
        float readBack;
    } cases[] = {
        { -0.5f, 0.0f },
        { -1.0e9f, 0.0f },
        { 1.2f, 1.0f },
        { 1.0e9f, 1.0f },
        { std::nanf (""), 0.0f },
        { INFINITY, 1.0f },
        { -INFINITY, 0.0f },
    };
    for (const auto& c : cases)
    {
        KestruneAudioProcessor processor;
        processor.setParameter (3, c.value);
        EXPECT_EQ (processor.getParameter (3), c.readBack) << c.value;
    }
}

TEST (Parameters, IdentityAndOtherOverrides)
{
    KestruneAudioProcessor processor;
    EXPECT_EQ (processor.getName(), juce::String ("KESTrune"));
    EXPECT_EQ (processor.getInputChannelName (0), juce::String ("1"));
    EXPECT_EQ (processor.getOutputChannelName (1), juce::String ("2"));
    EXPECT_FALSE (processor.acceptsMidi());
    EXPECT_FALSE (processor.producesMidi());
    EXPECT_TRUE (processor.isInputChannelStereoPair (0));
    EXPECT_TRUE (processor.isOutputChannelStereoPair (0));
    EXPECT_TRUE (processor.hasEditor());
    EXPECT_EQ (processor.getTailLengthSeconds(), 0.0);
    EXPECT_EQ (processor.getNumPrograms(), 0);
    EXPECT_EQ (processor.getCurrentProgram(), 0);
    EXPECT_EQ (processor.getProgramName (0), juce::String());
    for (int i = 0; i < 10; ++i)
    {
        EXPECT_TRUE (processor.isParameterAutomatable (i));
        EXPECT_FALSE (processor.isMetaParameter (i));
    }
}
} // namespace
