// The host tool over the 64-bit plug-in file: what only it shows, the AAX description with its
// host parameter identifiers, and the editor drawn through the plug-in's GUI factory.
#include "ToolTestSupport.h"

#include <juce_graphics/juce_graphics.h>

namespace
{
using namespace tool_test;

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
} // namespace
