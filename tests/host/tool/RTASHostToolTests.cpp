// The host tool over the 32-bit plug-in file: its description read through the group's routines
// and the module's version block, its controls by index with their texts, no editor, and the
// output of the 64-bit file through the native build's tool.
#include "KestruneAudioProcessor.h"
#include "ToolProcess.h"
#include "ToolTestSupport.h"

namespace
{
using namespace tool_test;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

// The processor's own text for a parameter at a value.
std::string processorText (int index, float value)
{
    KestruneAudioProcessor processor;
    processor.setParameter (index, value);
    return processor.getParameterText (index).toStdString();
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

TEST (RTASHostToolInfo, PrintsTheGroupItsTypesAndEveryControl)
{
    // Control 10 is parameter 8 (Mix): control index = parameter index + 2.
    const auto result = run ({ "info", "--set", "ratio=0.9", "--set", "10=0.25" });
    ASSERT_EQ (result.code, 0) << result.err;
    for (const char* expected : { "plug-in:      KESTrune\n", "manufacturer: QORaudio\n", "version:      1.5.0.0\n",
                                  "copyright:    Copyright (c) 2026 QORaudio\n",
                                  "type 1:       KESTrune, 1 in / 1 out, manufacturer QORa, product KSTR, type jcaa\n",
                                  "type 2:       KESTrune, 2 in / 2 out, manufacturer QORa, product KSTR, type jcab\n" })
        EXPECT_NE (result.out.find (expected), std::string::npos) << expected << "\n"
                                                                  << result.out;
    std::ostringstream bypass;
    bypass << std::setw (3) << 1 << "  " << std::left << std::setw (16) << 1 << std::setw (14) << "Master Bypass"
           << "0.0000  Off\n";
    EXPECT_NE (result.out.find (bypass.str()), std::string::npos) << bypass.str() << "\n"
                                                                  << result.out;
    const char* names[] = { "Attack", "Release", "Threshold", "Ratio", "Knee", "LowCut", "Drive", "Level", "Mix", "Bypass" };
    for (int parameter = 0; parameter < 10; ++parameter)
    {
        std::ostringstream line;
        line << std::setw (3) << parameter + 2 << "  " << std::left << std::setw (16) << parameter + 2 << std::setw (14) << names[parameter];
        EXPECT_NE (result.out.find (line.str()), std::string::npos) << line.str() << "\n"
                                                                    << result.out;
    }
    EXPECT_NE (result.out.find ("Ratio         0.9000  " + processorText (KestruneAudioProcessor::ratioParam, 0.9f) + "\n"), std::string::npos)
        << result.out;
    EXPECT_NE (result.out.find ("Mix           0.2500  " + processorText (KestruneAudioProcessor::mixParam, 0.25f) + "\n"), std::string::npos)
        << result.out;
    EXPECT_EQ (result.out.find (" 12  "), std::string::npos) << result.out;
}

TEST_F (ToolTest, TheEditorIsNotShownFromThe32BitFile)
{
    const auto result = run ({ "editor", path ("e.png") });
    EXPECT_EQ (result.code, 1);
    EXPECT_NE (result.err.find ("cannot show the editor"), std::string::npos) << result.err;
    EXPECT_FALSE (folder.getChildFile ("e.png").exists());
}

// The same file through both plug-in files gives the same sound: the native build's tool runs
// the 64-bit file, this build's the 32-bit file, with the same settings.
TEST_F (ToolTest, ProcessGivesWhatThe64BitFileGives)
{
    const std::string nativeTool = KESTRUNE_NATIVE_HOST_TOOL;
    ASSERT_TRUE (juce::File (nativeTool).existsAsFile())
        << nativeTool << " is missing: the native build's tool runs the 64-bit file (scripts/test.sh builds it first)";

    const struct
    {
        const char* name;
        int channels;
        std::vector<std::string> options;
    } cases[] = {
        { "mono, defaults", 1, {} },
        { "stereo, defaults", 2, {} },
        { "stereo, heavy with the low-cut", 2, { "--set", "Attack=0.05", "--set", "Threshold=0.2", "--set", "Ratio=0.8", "--set", "LowCut=0.4", "--set", "Drive=0.9", "--set", "Mix=0.7" } },
        { "mono, loud", 1, { "--set", "Level=1", "--set", "Ratio=0" } },
        { "stereo, bypassed", 2, { "--bypass" } },
    };
    for (const auto& c : cases)
    {
        writeExample ("in.wav", c.channels, 1.0);
        std::vector<std::string> arguments { "process", path ("in.wav").toStdString(), path ("dpm.wav").toStdString() };
        arguments.insert (arguments.end(), c.options.begin(), c.options.end());
        juce::StringArray ours;
        for (const auto& argument : arguments)
            ours.add (argument);
        const auto here = run (ours);
        ASSERT_EQ (here.code, 0) << c.name << ": " << here.err;

        arguments[2] = path ("aax.wav").toStdString();
        const auto native = tool_process::runProgram (nativeTool, arguments, folder);
        ASSERT_EQ (native.code, 0) << c.name << ": " << native.err;

        const auto fromDpm = read ("dpm.wav");
        const auto fromAax = read ("aax.wav");
        ASSERT_EQ (fromDpm.getNumChannels(), c.channels) << c.name;
        ASSERT_EQ (fromDpm.getNumSamples(), fromAax.getNumSamples()) << c.name;
        // Both builds run the same arithmetic: where their vector code rounds alike the files are
        // equal to the last bit, elsewhere they differ by rounding only. A bypassed file is the
        // input in both.
        EXPECT_LE (maxDifference (fromDpm, fromAax), c.options == std::vector<std::string> { "--bypass" } ? 0.0f : 1.0e-6f) << c.name;
        EXPECT_GT (fromDpm.getMagnitude (0, fromDpm.getNumSamples()), 0.0f) << c.name;
    }
}
// Each file reads only its own state files: their chunks differ, and so do their size fields.
TEST_F (ToolTest, TheOtherFilesStateFilesAreRefused)
{
    const std::string nativeTool = KESTRUNE_NATIVE_HOST_TOOL;
    ASSERT_TRUE (juce::File (nativeTool).existsAsFile()) << nativeTool << " is missing";
    writeExample ("in.wav", 1);
    const auto saved = run ({ "process", path ("in.wav"), path ("out.wav"), "--save-state", path ("dpm.state") });
    ASSERT_EQ (saved.code, 0) << saved.err;
    const auto native = tool_process::runProgram (nativeTool, { "info", "--load-state", path ("dpm.state").toStdString() }, folder);
    EXPECT_EQ (native.code, 1);
    EXPECT_NE (native.err.find ("not a state file of this plug-in file"), std::string::npos) << native.err;

    ASSERT_EQ (tool_process::runProgram (nativeTool, { "process", path ("in.wav").toStdString(), path ("aax-out.wav").toStdString(), "--save-state", path ("aax.state").toStdString() }, folder).code,
               0);
    const auto here = run ({ "info", "--load-state", path ("aax.state") });
    EXPECT_EQ (here.code, 1);
    EXPECT_NE (here.err.find ("not a state file of this plug-in file"), std::string::npos) << here.err;
}
} // namespace
