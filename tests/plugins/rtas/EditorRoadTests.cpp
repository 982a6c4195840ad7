// The editor's road of the wrapper, in this process with the stand-in engine and toolbox linked:
// the processor's parameter changes and change gestures go back to the host as control values and
// touches of control parameter + 2 (as SDS tokens when the host offers SDS, else straight to the
// control), and the host's answer sets the parameter.
#include "JuceParameterControl.h"
#include "SDSTokens.h"
#include "WrapperTestSupport.h"

namespace
{
using namespace sds_test;
using namespace wrapper_test;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using EditorRoad = InProcessPlugIn;

// With SDS the change leaves as tokens to control 5 (parameter 3): the touch, the value between,
// the release; the control keeps its value until the host answers, and the answer sets the
// parameter.
TEST_F (EditorRoad, AnEditorChangeLeavesAsTheControlsTokens)
{
    Start (true);
    juce::AudioProcessor& processor = process->GetAudioProcessor();
    const int32_t before = ControlValue (5);
    int32_t nameID = 0;
    ASSERT_EQ (process->GetControlNameID (5, reinterpret_cast<void**> (&nameID)), 0);
    ASSERT_NE (nameID, 0);
    const size_t earlier = Tokens (dae).size();

    processor.beginParameterChangeGesture (3);
    processor.setParameterNotifyingHost (3, 0.7f);
    processor.endParameterChangeGesture (3);

    const std::vector<Token> tokens = TokensSince (dae, earlier);
    ASSERT_EQ (tokens.size(), 4u);
    EXPECT_EQ (tokens[0].destination, nameID);
    EXPECT_EQ (tokens[0].type, kSETV);
    EXPECT_EQ (tokens[0].subType, kCTCH);
    EXPECT_EQ (tokens[0].payload[0], 1);
    EXPECT_EQ (tokens[1].subType, kGIAC);
    EXPECT_EQ (tokens[2].destination, nameID);
    EXPECT_EQ (tokens[2].type, kSETV);
    EXPECT_EQ (tokens[2].subType, kCAVL);
    EXPECT_EQ (WordOf (tokens[2].payload, 0), ParameterToControlValue (0.7f));
    EXPECT_EQ (tokens[3].subType, kCTCH);
    EXPECT_EQ (tokens[3].payload[0], 0);
    EXPECT_EQ (ControlValue (5), before) << "the host has not answered yet";

    // The host answers with the value: the control and the parameter take it.
    ASSERT_EQ (process->UpdateControlValue (5, WordOf (tokens[2].payload, 0)), 0);
    EXPECT_EQ (ControlValue (5), ParameterToControlValue (0.7f));
    EXPECT_EQ (processor.getParameter (3), 0.7f);
}

// Without SDS the change goes straight to the control of the right index, and only to it.
TEST_F (EditorRoad, WithoutSDSTheChangeReachesTheControlDirectly)
{
    Start (false);
    juce::AudioProcessor& processor = process->GetAudioProcessor();
    std::vector<int32_t> before;
    for (int32_t control = 1; control <= 11; ++control)
        before.push_back (ControlValue (control));

    processor.setParameterNotifyingHost (7, 0.25f);
    for (int32_t control = 1; control <= 11; ++control)
        EXPECT_EQ (ControlValue (control), control == 9 ? ParameterToControlValue (0.25f) : before[size_t (control - 1)]) << control;
    EXPECT_EQ (processor.getParameter (7), 0.25f);
    EXPECT_TRUE (Tokens (dae).empty());
}

// The value mapping: the ends, the middle and every float on the way back.
TEST (ParameterControlValues, MapTheWholeRange)
{
    EXPECT_EQ (ParameterToControlValue (0.0f), int32_t (0x80000000));
    EXPECT_EQ (ParameterToControlValue (1.0f), 0x7FFFFFFF);
    EXPECT_EQ (ControlToParameterValue (int32_t (0x80000000)), 0.0f);
    EXPECT_EQ (ControlToParameterValue (0x7FFFFFFF), 1.0f);
    EXPECT_EQ (ParameterToControlValue (0.5f), 0) << "0.5 lies half a step above -0.5: the nearest is 0";
    // A control step (2.3e-10) is finer than a float from 0.01 up: those come back unchanged.
    for (const float value : { 0.01f, 0.1f, 0.25f, 1.0f / 3.0f, 0.7f, 0.999f })
        EXPECT_EQ (ControlToParameterValue (ParameterToControlValue (value)), value) << value;
    EXPECT_EQ (JuceParameterControl::IdentifierOf (0), 0x6A703030u);
    EXPECT_EQ (JuceParameterControl::IdentifierOf (9), 0x6A703039u);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
} // namespace
