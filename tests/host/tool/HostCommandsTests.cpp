// The host tool over the real plug-in file: its commands, their settings and state files, and
// the ways a command line or a file can be wrong.
#include "AudioFiles.h"
#include "ExampleSignal.h"
#include "HostCommands.h"
#include "SoundFileBytes.h"

#include <juce_graphics/juce_graphics.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <stdexcept>
#include <sstream>

namespace
{
using namespace kestrune::tool;

struct Run
{
    int code;
    std::string out, err;
};

Run run (const juce::StringArray& arguments)
{
    std::ostringstream out, err;
    const int code = runHostCommand (arguments, out, err);
    return { code, out.str(), err.str() };
}

// The whole of a sound file, read as the tool reads its input; nothing when it refuses it.
std::optional<AudioFile> readAudioFile (const juce::File& file)
{
    try
    {
        SoundFileReader reader (file);
        AudioFile audio { juce::AudioBuffer<float> (reader.channels(), int (reader.frames())), reader.sampleRate() };
        if (! reader.read (audio.samples, 0, audio.samples.getNumSamples()))
            return std::nullopt;
        return audio;
    }
    catch (const std::runtime_error&)
    {
        return std::nullopt;
    }
}

// Arguments as the program receives them, without its own name.
Run runRaw (const std::vector<const char*>& arguments)
{
    std::ostringstream out, err;
    const int code = runHostCommand (int (arguments.size()), arguments.data(), out, err);
    return { code, out.str(), err.str() };
}

// A folder of its own for each test, removed afterwards.
struct ToolTest : ::testing::Test
{
    juce::File folder = juce::File::createTempFile ("kestrune-host-test");
    void SetUp() override { ASSERT_TRUE (folder.createDirectory()); }
    void TearDown() override { folder.deleteRecursively(); }
    juce::String path (const char* name) const { return folder.getChildFile (name).getFullPathName(); }
    void writeExample (const char* name, int channels, double seconds = 0.5)
    {
        auto samples = makeExampleSignal (44100.0, seconds);
        samples.setSize (channels, samples.getNumSamples(), true);
        for (int c = 2; c < channels; ++c)
            samples.copyFrom (c, 0, samples, 0, 0, samples.getNumSamples());
        ASSERT_TRUE (writeWavFile (folder.getChildFile (name), { samples, 44100.0 }));
    }
    juce::AudioBuffer<float> read (const char* name) const
    {
        auto audio = readAudioFile (folder.getChildFile (name));
        return audio ? audio->samples : juce::AudioBuffer<float>();
    }
};

// The largest difference between two sounds of one shape (infinite when the shapes differ).
float maxDifference (const juce::AudioBuffer<float>& a, const juce::AudioBuffer<float>& b)
{
    if (a.getNumChannels() != b.getNumChannels() || a.getNumSamples() != b.getNumSamples())
        return std::numeric_limits<float>::infinity();
    float largest = 0.0f;
    for (int c = 0; c < a.getNumChannels(); ++c)
        for (int i = 0; i < a.getNumSamples(); ++i)
            largest = std::max (largest, std::abs (a.getSample (c, i) - b.getSample (c, i)));
    return largest;
}

// One step of the 24-bit files the tool writes.
constexpr float wavStep = 1.0f / 8388607.0f;

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

TEST (HostToolInfo, PrintsTheDescriptionAndEveryHostParameter)
{
    const auto result = run ({ "info", "--set", "ratio=0.9", "--set", "8=0.25" });
    ASSERT_EQ (result.code, 0) << result.err;
    for (const char* expected : { "Dodediv izevare doruzuzude / KESTrune", "manufacturer: QORaudio", "version:      1.5.0",
                                  "KESTrune, category 2", "1 in / 1 out", "plug-in jcab", "MasterBypassID", "Master Bypass" })
        EXPECT_NE (result.out.find (expected), std::string::npos) << expected << "\n"
                                                                  << result.out;
    EXPECT_NE (result.out.find ("Ratio         0.9000  0.900"), std::string::npos) << result.out;
    EXPECT_NE (result.out.find ("Mix           0.2500  0.250"), std::string::npos) << result.out;
    EXPECT_NE (result.out.find (" 10  9"), std::string::npos) << result.out;
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
    EXPECT_LE (maxDifference (read ("in.wav"), read ("out.wav")), wavStep);
    EXPECT_NE (result.out.find ("largest gain reduction: 0.00 dB"), std::string::npos) << result.out;
}

TEST_F (ToolTest, SavedStateRestoresTheSettings)
{
    writeExample ("in.wav", 2);
    ASSERT_EQ (run ({ "process", path ("in.wav"), path ("set.wav"), "--set", "Threshold=0.2", "--set", "7=0.8",
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
        { "2^31 frames", data->header + 4, 0xFFFFFFFF, 4, "frames, more than its" },
        { "more frames than the whole file", data->header + 4, good.size() + 30, 4, "frames, more than its" },
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

// A file whose data ends before its header says is read to its end and refused there: what
// the tool had written goes with it.
TEST_F (ToolTest, DataCutShortLeavesNoOutput)
{
    using namespace sound_file_bytes;
    writeExample ("good.wav", 2, 2.0);
    Bytes cut = load (folder.getChildFile ("good.wav"));
    cut.resize (cut.size() / 2);
    ASSERT_TRUE (save (folder.getChildFile ("in.wav"), cut));
    const auto result = run ({ "process", path ("in.wav"), path ("out.wav") });
    EXPECT_EQ (result.code, 1);
    EXPECT_NE (result.err.find ("frames, more than its"), std::string::npos) << result.err;
    EXPECT_FALSE (folder.getChildFile ("out.wav").exists());
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

TEST_F (ToolTest, EditorWritesThePictureOfTheSettingsPassed)
{
    const auto picture = [&] (const char* name) { return juce::ImageFileFormat::loadFrom (folder.getChildFile (name)); };
    const auto defaults = run ({ "editor", path ("default.png") });
    ASSERT_EQ (defaults.code, 0) << defaults.err;
    ASSERT_EQ (run ({ "editor", path ("set.png"), "--set", "Ratio=1", "--set", "Threshold=0.2" }).code, 0);
    const auto first = picture ("default.png");
    const auto second = picture ("set.png");
    ASSERT_TRUE (first.isValid() && second.isValid());
    EXPECT_EQ (first.getWidth(), 900);
    EXPECT_EQ (first.getHeight(), 300);
    // The ratio and threshold knobs moved; the drive knob, left alone, did not.
    const auto differs = [&] (juce::Rectangle<int> area) {
        for (int y = area.getY(); y < area.getBottom(); ++y)
            for (int x = area.getX(); x < area.getRight(); ++x)
                if (first.getPixelAt (x, y) != second.getPixelAt (x, y))
                    return true;
        return false;
    };
    EXPECT_TRUE (differs ({ 606, 30, 90, 90 }));
    EXPECT_TRUE (differs ({ 135, 160, 130, 130 }));
    EXPECT_FALSE (differs ({ 706, 30, 90, 90 }));

    EXPECT_EQ (run ({ "editor", folder.getChildFile ("no-folder/e.png").getFullPathName() }).code, 1);
    EXPECT_EQ (run ({ "editor" }).code, 2);
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
