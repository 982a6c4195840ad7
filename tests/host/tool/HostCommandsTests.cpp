// The host tool's command line: settings, usage errors and a compressed file.
#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "HostCommands.h"
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <sstream>

namespace
{
TEST (HostTool, ParsesSettings)
{
    KestruneAudioProcessor processor;
    const struct { const char* text; int index; float value; } good[] = {
        { "Ratio=1", 3, 1.0f }, { "lowcut=0.5", 5, 0.5f }, { " Mix = 0.25 ", 8, 0.25f }, { "Bypass=0", 9, 0.0f },
    };
    for (const auto& c : good)
    {
        juce::String error;
        const auto setting = parseSetting (processor, c.text, error);
        ASSERT_TRUE (setting.has_value()) << c.text << ": " << error;
        EXPECT_EQ (setting->index, c.index);
        EXPECT_EQ (setting->value, c.value);
    }
    for (const char* bad : { "Ratio", "=0.5", "Nothing=0.5", "Ratio=", "Ratio=1.5", "Ratio=-0.1", "Ratio=nan", "Ratio=0.5.5", "Ratio=abc" })
    {
        juce::String error;
        EXPECT_FALSE (parseSetting (processor, bad, error).has_value()) << bad;
        EXPECT_TRUE (error.isNotEmpty()) << bad;
    }
}

TEST (HostTool, BadUsageExitsWithTwo)
{
    const juce::StringArray cases[] = {
        {}, { "unknown" }, { "info", "extra" }, { "process", "only-one" }, { "info", "--set" }, { "info", "--set", "Nope=1" },
    };
    for (const auto& arguments : cases)
    {
        std::ostringstream out, err;
        EXPECT_EQ (runHostCommand (arguments, out, err), 2) << arguments.joinIntoString (" ");
        EXPECT_FALSE (err.str().empty());
    }
}

TEST (HostTool, InfoListsSettingsApplied)
{
    std::ostringstream out, err;
    ASSERT_EQ (runHostCommand ({ "info", "--set", "Ratio=1", "--set", "Knee=0" }, out, err), 0) << err.str();
    EXPECT_NE (out.str().find ("+Inf:1"), std::string::npos) << out.str();
    EXPECT_NE (out.str().find ("HARD KNEE"), std::string::npos) << out.str();
}

TEST (HostTool, ProcessCompressesAFileAndMissingInputFails)
{
    const juce::TemporaryFile input (".wav"), output (".wav");
    ASSERT_TRUE (writeWavFile (input.getFile(), { makeExampleSignal (44100.0, 1.0), 44100.0 }));

    std::ostringstream out, err;
    ASSERT_EQ (runHostCommand ({ "process", input.getFile().getFullPathName(), output.getFile().getFullPathName() }, out, err), 0) << err.str();
    const auto in = readAudioFile (input.getFile());
    const auto processed = readAudioFile (output.getFile());
    ASSERT_TRUE (in && processed);
    EXPECT_EQ (processed->sampleRate, 44100.0);
    EXPECT_EQ (processed->samples.getNumChannels(), 2);
    EXPECT_EQ (processed->samples.getNumSamples(), in->samples.getNumSamples());
    EXPECT_LT (processed->samples.getRMSLevel (0, 0, 44100), in->samples.getRMSLevel (0, 0, 44100) * 0.7f);

    std::ostringstream out2, err2;
    EXPECT_EQ (runHostCommand ({ "process", "/nonexistent/input.wav", output.getFile().getFullPathName() }, out2, err2), 1);
}

TEST (HostTool, DemoWritesInputAndOutputIntoItsFolder)
{
    const juce::TemporaryFile folder;
    std::ostringstream out, err;
    ASSERT_EQ (runHostCommand ({ "demo", folder.getFile().getFullPathName() }, out, err), 0) << err.str();
    const auto in = readAudioFile (folder.getFile().getChildFile ("demo-in.wav"));
    const auto processed = readAudioFile (folder.getFile().getChildFile ("demo-out.wav"));
    ASSERT_TRUE (in && processed);
    EXPECT_EQ (processed->samples.getNumSamples(), in->samples.getNumSamples());
    EXPECT_LT (processed->samples.getRMSLevel (0, 0, in->samples.getNumSamples()), in->samples.getRMSLevel (0, 0, in->samples.getNumSamples()));
    folder.getFile().deleteRecursively();

    std::ostringstream out2, err2;
    EXPECT_EQ (runHostCommand ({ "demo", "/proc/no-such-folder/demo" }, out2, err2), 1);
}

TEST (HostTool, ExampleSignalIsRepeatable)
{
    const auto a = makeExampleSignal (48000.0, 0.5);
    const auto b = makeExampleSignal (48000.0, 0.5);
    ASSERT_EQ (a.getNumSamples(), 24000);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            ASSERT_EQ (a.getSample (c, i), b.getSample (c, i));
    EXPECT_LT (a.getMagnitude (0, 24000), 1.0f);
    EXPECT_GT (a.getRMSLevel (0, 0, 24000), 0.1f);
}
} // namespace
