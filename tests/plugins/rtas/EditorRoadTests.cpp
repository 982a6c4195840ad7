// The editor's road of the wrapper, in this process with the stand-in engine and toolbox linked:
// the processor's parameter changes and change gestures go back to the host as control values and
// touches of control parameter + 2 (as SDS tokens when the host offers SDS, else straight to the
// control), and the host's answer sets the parameter.
#include "JucePlugInProcess.h"
#include "JuceParameterControl.h"

#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>
#include <HostExtControl.h>
#include <entry/ObjectTracker.h>
#include <entry/PlugInGroup.h>
#include <process/group/CProcessGroup.h>
#include <process/type/CProcessType.h>
#include <process/utilities/HostExtToolbox.h>
#include <process/utilities/ViewlessMode.h>

#include <gtest/gtest.h>

#include <cstring>

namespace
{
using namespace kestrune::host::rtas;

constexpr uint32_t kStereoType = 0x6A636162; // 'jcab'
constexpr uint32_t kSETV = 0x53455456;
constexpr uint32_t kCAVL = 0x4341564C;
constexpr uint32_t kCTCH = 0x43544348;
constexpr uint32_t kGIAC = 0x47494143;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

// A token as the engine recorded it: destination, type, subtype and its payload.
struct Token
{
    int32_t destination;
    uint32_t type;
    uint32_t subType;
    std::vector<uint8_t> payload;
};

std::vector<Token> Tokens (DaeControl& dae)
{
    std::vector<Token> tokens;
    for (const auto& bytes : dae.dispatchedTokens())
    {
        Token token {};
        std::memcpy (&token.destination, bytes.data(), 4);
        std::memcpy (&token.type, bytes.data() + 4, 4);
        std::memcpy (&token.subType, bytes.data() + 8, 4);
        token.payload.assign (bytes.begin() + 38, bytes.end());
        tokens.push_back (token);
    }
    return tokens;
}

int32_t WordOf (const std::vector<uint8_t>& payload, size_t offset)
{
    int32_t word = 0;
    std::memcpy (&word, payload.data() + offset, 4);
    return word;
}

// The plug-in's group made as NewPlugIn makes it, without views, and one stereo instance.
class EditorRoad : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        dae.reset();
        ForgetObjectTracker();
        ASSERT_TRUE (InstallHostToolbox());
        SetOpenedByWinPlugInOpen (true);
    }

    void Start (bool sds)
    {
        if (sds)
            dae.setGestalt (kFicGestaltHostSDS, 1);
        ASSERT_EQ (NewPlugIn (0), 0);
        auto* group = dynamic_cast<CProcessGroup*> (PlugInGroup());
        ASSERT_NE (group, nullptr);
        group->SetHostCallback (reinterpret_cast<HostCallbackProc> (tracker.hostCallback()));
        ASSERT_EQ (group->CreateProcess (kStereoType, &id), 0);
        process = dynamic_cast<JucePlugInProcess*> (group->FindType (kStereoType)->FindProcess (id));
        ASSERT_NE (process, nullptr);
    }

    void TearDown() override
    {
        if (PlugInGroup() != nullptr && process != nullptr)
            PlugInGroup()->DeleteProcess (kStereoType, id);
        DestroyPlugInGroup();
        ForgetObjectTracker();
        SetOpenedByWinPlugInOpen (false);
        ReleaseHostToolbox();
        toolbox.reset();
        dae.reset();
    }

    int32_t ControlValue (int32_t control)
    {
        int32_t value = 0;
        EXPECT_EQ (process->GetControlValue (control, &value), 0);
        return value;
    }

    HostExtControl& toolbox = *KestruneHostExtStandIn();
    DaeControl& dae = *KestruneDaeStandIn();
    DaeObjectTrackerControl& tracker = *KestruneDaeObjectTracker();
    int32_t id = 0;
    JucePlugInProcess* process = nullptr;
};

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

    const auto all = Tokens (dae);
    const std::vector<Token> tokens (all.begin() + std::ptrdiff_t (earlier), all.end());
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
