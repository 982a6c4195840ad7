// The host tool over the plug-in file of its build: its commands, their settings and state
// files, and the ways a command line or a file can be wrong. The same tests run in the native
// build (the 64-bit file) and in the i386 build (the 32-bit file).
#include "SoundFileBytes.h"
#include "ToolTestSupport.h"

#include <iomanip>

namespace
{
using namespace tool_test;

TEST (HostToolSettings, ParsesNameAndNormalisedValue)
{
    const struct
    {
        const char* text;
        const char* name;
        double value;
    } good[] = {
        { "Ratio=1", "Ratio", 1.0 },
        { "lowcut=0.5", "lowcut", 0.5 },
        { " Mix = 0.25 ", "Mix", 0.25 },
        { "3=0", "3", 0.0 },
        { "MasterBypassID=1", "MasterBypassID", 1.0 },
    };
    for (const auto& c : good)
    {
        juce::String error;
        const auto setting = parseSetting (c.text, error);
        ASSERT_TRUE (setting.has_value()) << c.text << ": " << error;
        EXPECT_EQ (setting->name, c.name);
        EXPECT_EQ (setting->value, c.value);
    }
    for (const char* bad : { "Ratio", "=0.5", "Ratio=", "Ratio=1.5", "Ratio=-0.1", "Ratio=nan", "Ratio=0.5.5", "Ratio=abc", "Ratio=." })
    {
        juce::String error;
        EXPECT_FALSE (parseSetting (bad, error).has_value()) << bad;
        EXPECT_TRUE (error.isNotEmpty()) << bad;
    }
}

TEST (HostToolUsage, BadCommandLinesExitWithTwo)
{
    const juce::StringArray cases[] = {
        {},
        { "unknown" },
        { "info", "extra" },
        { "process", "only-one" },
        { "info", "--set" },
        { "info", "--set", "Nope=1" },
        { "info", "--set", "Ratio=2" },
        { "info", "--bypass" },
        { "info", "--colour" },
        { "demo", "a", "b" },
        { "info", "--save-state", "x" },
    };
    for (const auto& arguments : cases)
    {
        const auto result = run (arguments);
        EXPECT_EQ (result.code, 2) << arguments.joinIntoString (" ");
        EXPECT_NE (result.err.find ("usage:"), std::string::npos) << arguments.joinIntoString (" ");
    }
    const auto unknown = run ({ "info", "--set", "Nope=1" });
    EXPECT_NE (unknown.err.find ("no parameter named \"Nope\""), std::string::npos) << unknown.err;
}

// Arguments as the program receives them: text that is not UTF-8 never becomes a JUCE string.
TEST (HostToolUsage, ArgumentsThatAreNotUtf8AreRefused)
{
    const std::vector<const char*> bad[] = {
        { "info", "--set", "Rat\xffio=0.5" },
        { "info", "--set", "Ratio=0.5\xf0" },
        { "process", "in\xe2\x82.wav", "out.wav" },
        { "\x80" },
    };
    for (const auto& arguments : bad)
    {
        const auto result = runRaw (arguments);
        EXPECT_EQ (result.code, 2);
        EXPECT_NE (result.err.find ("is not UTF-8 text"), std::string::npos) << result.err;
    }
    EXPECT_EQ (runRaw ({ "info", "--set", "Mix=0.5" }).code, 0);
    const auto named = runRaw ({ "info", "--set", "Gr\xc3\xbc\xc3\x9f"
                                                  "e=1" });
    EXPECT_EQ (named.code, 2);
    EXPECT_NE (named.err.find ("no parameter named \"Gr\xc3\xbc\xc3\x9f"
                               "e\""),
               std::string::npos)
        << named.err;
}

TEST (HostToolInfo, AWrongPluginFileFails)
{
    const auto result = run ({ "info", "--plugin", "/nonexistent/KESTrune.aaxplugin" });
    EXPECT_EQ (result.code, 1);
    EXPECT_NE (result.err.find ("cannot load"), std::string::npos) << result.err;
}

TEST_F (ToolTest, ProcessCompressesAndSummarises)
{
    writeExample ("in.wav", 1);
    const auto result = run ({ "process", path ("in.wav"), path ("out.wav"), "--set", "Ratio=1" });
    ASSERT_EQ (result.code, 0) << result.err;
    for (const char* expected : { "in:  peak", "out: peak", "largest gain reduction:", "wrote " })
        EXPECT_NE (result.out.find (expected), std::string::npos) << expected << "\n"
                                                                  << result.out;
    const auto in = read ("in.wav");
    const auto out = read ("out.wav");
    ASSERT_EQ (out.getNumChannels(), 1);
    ASSERT_EQ (out.getNumSamples(), in.getNumSamples());
    EXPECT_LT (out.getRMSLevel (0, 0, out.getNumSamples()), in.getRMSLevel (0, 0, in.getNumSamples()) * 0.7f);
    EXPECT_EQ (result.out.find ("largest gain reduction: 0.00 dB"), std::string::npos) << result.out;
}

TEST_F (ToolTest, LongFilesShowProgress)
{
    writeExample ("short.wav", 1, 1.0);
    writeExample ("long.wav", 1, 31.0);
    const auto quiet = run ({ "process", path ("short.wav"), path ("out.wav") });
    ASSERT_EQ (quiet.code, 0) << quiet.err;
    EXPECT_EQ (quiet.err.find ("processing:"), std::string::npos) << quiet.err;
    const auto shown = run ({ "process", path ("long.wav"), path ("out.wav") });
    ASSERT_EQ (shown.code, 0) << shown.err;
    EXPECT_NE (shown.err.find ("processing:  10%"), std::string::npos) << shown.err;
    EXPECT_NE (shown.err.find ("processing: 100%\n"), std::string::npos) << shown.err;
}

TEST_F (ToolTest, BypassGivesTheInputBack)
{
    writeExample ("in.wav", 2);
    const auto result = run ({ "process", path ("in.wav"), path ("out.wav"), "--bypass" });
    ASSERT_EQ (result.code, 0) << result.err;
    EXPECT_EQ (maxDifference (read ("in.wav"), read ("out.wav")), 0.0f);
    EXPECT_NE (result.out.find ("largest gain reduction: 0.00 dB"), std::string::npos) << result.out;
}

TEST_F (ToolTest, SavedStateRestoresTheSettings)
{
    writeExample ("in.wav", 2);
    ASSERT_EQ (run ({ "process", path ("in.wav"), path ("set.wav"), "--set", "Threshold=0.2", "--set", "Level=0.8",
                      "--save-state", path ("settings.state") })
                   .code,
               0);
    const auto restored = run ({ "process", path ("in.wav"), path ("restored.wav"), "--load-state", path ("settings.state") });
    ASSERT_EQ (restored.code, 0) << restored.err;
    EXPECT_NE (restored.out.find ("Threshold     0.2000"), std::string::npos) << restored.out;
    // The processor's own state block carries its values through its text conversions.
    EXPECT_LT (maxDifference (read ("set.wav"), read ("restored.wav")), 1e-4f);
    EXPECT_GT (maxDifference (read ("in.wav"), read ("restored.wav")), 0.01f);
    // Settings after the state win.
    const auto info = run ({ "info", "--load-state", path ("settings.state"), "--set", "Threshold=0.5" });
    EXPECT_NE (info.out.find ("Threshold     0.5000"), std::string::npos) << info.out;
}

TEST_F (ToolTest, FailuresLeaveNoOutput)
{
    writeExample ("in.wav", 2);
    writeExample ("four.wav", 4);
    ASSERT_TRUE (folder.getChildFile ("junk.state").replaceWithText ("not a state"));
    ASSERT_TRUE (folder.getChildFile ("junk.wav").replaceWithText ("not a sound"));
    const juce::StringArray cases[] = {
        { "process", path ("missing.wav"), path ("out.wav") },
        { "process", path ("junk.wav"), path ("out.wav") },
        { "process", path ("four.wav"), path ("out.wav") },
        { "process", path ("in.wav"), path ("out.wav"), "--load-state", path ("missing.state") },
        { "process", path ("in.wav"), path ("out.wav"), "--load-state", path ("junk.state") },
        { "process", path ("in.wav"), folder.getChildFile ("no-folder/out.wav").getFullPathName() },
    };
    for (const auto& arguments : cases)
    {
        const auto result = run (arguments);
        EXPECT_EQ (result.code, 1) << arguments.joinIntoString (" ");
        EXPECT_FALSE (result.err.empty());
    }
    EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 4);

    // A state file that cannot be written leaves no output either.
    const auto result = run ({ "process", path ("in.wav"), path ("out.wav"), "--save-state", folder.getChildFile ("no-folder/s.state").getFullPathName() });
    EXPECT_EQ (result.code, 1);
    EXPECT_FALSE (folder.getChildFile ("no-folder").exists());
}

// Headers whose claims do not hold are refused before anything is sized from them, with a
// message that says what is wrong, exit 1 and no output file.
TEST_F (ToolTest, HeadersThatLieAreRefused)
{
    using namespace sound_file_bytes;
    writeExample ("good.wav", 1);
    const Bytes good = load (folder.getChildFile ("good.wav"));
    const auto format = findChunk (good, "fmt ");
    const auto data = findChunk (good, "data");
    ASSERT_TRUE (format && data);

    const struct
    {
        const char* name;
        size_t offset;
        uint64_t value;
        size_t size;
        const char* message;
    } cases[] = {
        { "65535 channels", format->data + 2, 65535, 2, "channels; the plug-in takes 1 or 2" },
        { "no channels", format->data + 2, 0, 2, "cannot read" },
        { "5 Hz", format->data + 4, 5, 4, "a sample rate of 5 Hz" },
        { "3 MHz", format->data + 4, 3000000, 4, "a sample rate of 3000000 Hz" },
        { "12-bit samples", format->data + 14, 12, 2, "12-bit samples" },
    };
    for (const auto& c : cases)
    {
        Bytes damaged = good;
        putField (damaged, c.offset, c.value, c.size);
        ASSERT_TRUE (save (folder.getChildFile ("in.wav"), damaged));
        const auto result = run ({ "process", path ("in.wav"), path ("out.wav") });
        ASSERT_EQ (result.code, 1) << c.name;
        EXPECT_NE (result.err.find (c.message), std::string::npos) << c.name << ": " << result.err;
        EXPECT_FALSE (folder.getChildFile ("out.wav").exists()) << c.name;
        EXPECT_EQ (folder.getNumberOfChildFiles (juce::File::findFilesAndDirectories), 2) << c.name;
    }
}

// A file that ends before the frames its header promises is processed as far as it goes, and
// the tool says so: the frames promised and found. What it writes is what the whole file would
// have given for those frames.
TEST_F (ToolTest, TruncatedInputIsReportedAndProcessedAsFarAsItGoes)
{
    using namespace sound_file_bytes;
    writeExample ("good.wav", 2, 2.0);
    ASSERT_EQ (run ({ "process", path ("good.wav"), path ("whole.wav") }).code, 0);
    const auto whole = read ("whole.wav");
    const Bytes good = load (folder.getChildFile ("good.wav"));
    const auto data = findChunk (good, "data");
    ASSERT_TRUE (data.has_value());
    const int64_t frames = data->size / 8;
    ASSERT_EQ (frames, whole.getNumSamples());

    const struct
    {
        const char* name;
        size_t length; // of the damaged file
        uint32_t dataSize; // the data chunk's size field
        int64_t found;
    } cases[] = {
        { "cut in half", good.size() / 2 + 3, data->size, int64_t (good.size() / 2 + 3 - data->data) / 8 },
        { "a size field of 2^32 - 1", good.size(), 0xFFFFFFFF, frames },
        { "more frames than the whole file", good.size(), uint32_t (good.size() + 32), frames },
        { "nothing after the header", data->data + 5, data->size, 0 },
    };
    for (const auto& c : cases)
    {
        Bytes damaged (good.begin(), good.begin() + std::ptrdiff_t (c.length));
        putField (damaged, data->header + 4, c.dataSize, 4);
        ASSERT_TRUE (save (folder.getChildFile ("in.wav"), damaged));
        const auto result = run ({ "process", path ("in.wav"), path ("out.wav") });
        ASSERT_EQ (result.code, 0) << c.name << ": " << result.err;
        const std::string promised = std::to_string (c.dataSize / 8);
        EXPECT_NE (result.err.find ("is truncated: its header promises " + promised + " frames, the file holds "
                                    + std::to_string (c.found)),
                   std::string::npos)
            << c.name << ": " << result.err;
        const auto out = read ("out.wav");
        ASSERT_EQ (out.getNumSamples(), c.found) << c.name;
        for (int ch = 0; ch < 2; ++ch)
            for (int i = 0; i < out.getNumSamples(); ++i)
                ASSERT_EQ (out.getSample (ch, i), whole.getSample (ch, i)) << c.name << ", channel " << ch << ", frame " << i;
    }
    // A whole file says nothing of the kind.
    EXPECT_EQ (run ({ "process", path ("good.wav"), path ("out.wav") }).err.find ("truncated"), std::string::npos);
}

// The output is float: what the plug-in makes above full scale (Level goes to +15 dB) reaches the
// file, and the summary says that it peaks above 0 dBFS.
TEST_F (ToolTest, OutputAboveFullScaleIsKeptAndReported)
{
    writeExample ("in.wav", 2);
    const auto quiet = run ({ "process", path ("in.wav"), path ("quiet.wav") });
    ASSERT_EQ (quiet.code, 0) << quiet.err;
    EXPECT_EQ (quiet.out.find ("above full scale"), std::string::npos) << quiet.out;

    const auto loud = run ({ "process", path ("in.wav"), path ("loud.wav"), "--set", "Level=1", "--set", "Ratio=0" });
    ASSERT_EQ (loud.code, 0) << loud.err;
    const auto out = read ("loud.wav");
    ASSERT_GT (out.getNumSamples(), 0);
    const float peak = std::max (out.getMagnitude (0, 0, out.getNumSamples()), out.getMagnitude (1, 0, out.getNumSamples()));
    EXPECT_GT (peak, 2.0f);
    std::ostringstream said;
    said << std::fixed << std::setprecision (2) << "out: peak " << 20.0 * std::log10 (peak) << " dBFS";
    EXPECT_NE (loud.out.find (said.str()), std::string::npos) << said.str() << "\n"
                                                              << loud.out;
    EXPECT_NE (loud.out.find ("dB above full scale"), std::string::npos) << loud.out;
}

// Values far above full scale, tiny ones and both signs come back from a written file bit for bit.
TEST_F (ToolTest, FloatFilesKeepEveryValue)
{
    juce::AudioBuffer<float> samples (2, 5);
    const float values[] = { 7.5f, -3.25f, 1.0e-30f, -0.0f, 0.999999f };
    for (int i = 0; i < 5; ++i)
    {
        samples.setSample (0, i, values[i]);
        samples.setSample (1, i, -values[4 - i] * 4.0f);
    }
    ASSERT_TRUE (writeWavFile (folder.getChildFile ("f.wav"), { samples, 96000.0 }));
    const auto back = readAudioFile (folder.getChildFile ("f.wav"));
    ASSERT_TRUE (back.has_value());
    EXPECT_EQ (back->sampleRate, 96000.0);
    ASSERT_EQ (back->samples.getNumSamples(), 5);
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < 5; ++i)
            EXPECT_EQ (back->samples.getSample (c, i), samples.getSample (c, i)) << c << ", " << i;
}

TEST_F (ToolTest, DemoWritesInputAndOutputIntoItsFolder)
{
    const auto demo = folder.getChildFile ("demo");
    const auto result = run ({ "demo", demo.getFullPathName() });
    ASSERT_EQ (result.code, 0) << result.err;
    EXPECT_NE (result.out.find (demo.getFullPathName().toStdString()), std::string::npos);
    const auto in = readAudioFile (demo.getChildFile ("demo-in.wav"));
    const auto out = readAudioFile (demo.getChildFile ("demo-out.wav"));
    ASSERT_TRUE (in && out);
    EXPECT_EQ (out->samples.getNumSamples(), in->samples.getNumSamples());
    EXPECT_LT (out->samples.getRMSLevel (0, 0, in->samples.getNumSamples()), in->samples.getRMSLevel (0, 0, in->samples.getNumSamples()));

    EXPECT_EQ (run ({ "demo", "/proc/no-such-folder/demo" }).code, 1);
}

TEST (HostToolExample, IsRepeatable)
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
