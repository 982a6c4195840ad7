#include "EditorTestSupport.h"

#include "QORMicroSwitch.h"
#include "QORSlider3D.h"

namespace
{
using Kind = ParameterEventRecorder::Kind;

// Every knob: where it sits, its name, the parameter it drives and its double-click value.
struct KnobCase
{
    const char* description;
    juce::Rectangle<int> bounds;
    const char* name;
    int parameter;
    float doubleClickValue;
};

const KnobCase knobCases[] = {
    { "attack", PanelBounds::attackKnob, "Attack", 0, 0.3f },
    { "release", PanelBounds::releaseKnob, "Release", 1, 0.4f },
    { "threshold", PanelBounds::thresholdKnob, "Threshold", 2, 0.3f },
    { "ratio", PanelBounds::ratioKnob, "Ratio", 3, 0.3f },
    { "low-cut", PanelBounds::lowCutKnob, "LowCut", 5, 0.0f },
    { "drive", PanelBounds::driveKnob, "Drive", 6, 0.0f },
    { "level", PanelBounds::levelKnob, "Level", 7, 0.5f },
    // The mix knob carries the low-cut knob's name.
    { "mix", PanelBounds::mixKnob, "LowCut", 8, 1.0f },
};

class KnobMappingTest : public EditorFixture,
                        public ::testing::WithParamInterface<KnobCase>
{
protected:
    QORSlider3D& knob()
    {
        auto& found = control<QORSlider3D> (GetParam().bounds);
        EXPECT_EQ (found.getName(), juce::String (GetParam().name));
        return found;
    }

    // Checks that the events are one gesture on the knob's parameter with at least one
    // change inside, and returns the last value sent.
    float expectOneGesture()
    {
        const int index = GetParam().parameter;
        const auto& events = recorder.events;
        EXPECT_GE (events.size(), 3u);
        if (events.size() < 3)
            return -1.0f;

        EXPECT_EQ (events.front().kind, Kind::begin);
        EXPECT_EQ (events.front().index, index);
        EXPECT_EQ (events.back().kind, Kind::end);
        EXPECT_EQ (events.back().index, index);

        for (size_t i = 1; i + 1 < events.size(); ++i)
        {
            EXPECT_EQ (events[i].kind, Kind::change);
            EXPECT_EQ (events[i].index, index);
        }
        return events[events.size() - 2].value;
    }
};
}

TEST_P (KnobMappingTest, DragReachesItsParameterInsideOneGesture)
{
    auto& slider = knob();
    ui().refreshControls();
    recorder.events.clear();

    const double before = slider.getValue();
    const auto centre = slider.getLocalBounds().getCentre().toFloat();
    // Upwards raises the value: drag away from the nearer end.
    const auto to = centre + juce::Point<float> (0.0f, before > 0.5 ? 60.0f : -60.0f);

    slider.mouseDown (mouseEventOn (slider, centre, centre, 1, false));
    slider.mouseDrag (mouseEventOn (slider, to, centre, 1, true));
    slider.mouseUp (mouseEventOn (slider, to, centre, 1, true));

    EXPECT_NE (slider.getValue(), before);
    const float sent = expectOneGesture();
    EXPECT_FLOAT_EQ (sent, (float) slider.getValue());
    EXPECT_NEAR (processor.getParameter (GetParam().parameter), sent, 1.0e-4f);
}

TEST_P (KnobMappingTest, DoubleClickSetsItsValueInsideOneGesture)
{
    for (int i = 0; i < KestruneAudioProcessor::numParams; ++i)
        processor.setParameter (i, 0.8f);
    ui().refreshControls();
    recorder.events.clear();

    auto& slider = knob();
    const auto centre = slider.getLocalBounds().getCentre().toFloat();
    slider.mouseDoubleClick (mouseEventOn (slider, centre, centre, 2, false));

    EXPECT_FLOAT_EQ (expectOneGesture(), GetParam().doubleClickValue);
    EXPECT_NEAR (processor.getParameter (GetParam().parameter), GetParam().doubleClickValue, 1.0e-4f);
}

INSTANTIATE_TEST_SUITE_P (EveryKnob, KnobMappingTest, ::testing::ValuesIn (knobCases),
                          [] (const auto& info) { return std::string (info.param.description == std::string ("low-cut") ? "lowcut" : info.param.description); });

namespace
{
using ButtonMappingTest = EditorFixture;
}

TEST_F (ButtonMappingTest, BypassAndKneeButtonsFlipTheirParameterInsideOneGesture)
{
    struct Case
    {
        juce::Rectangle<int> bounds;
        int parameter;
        float initial;
    };
    const Case cases[] = {
        { PanelBounds::bypassButton, 9, 0.0f },
        { PanelBounds::kneeSwitch, 4, 1.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.parameter);
        auto& button = control<juce::Button> (c.bounds);
        ASSERT_EQ (processor.getParameter (c.parameter), c.initial);

        for (float expected : { 1.0f - c.initial, c.initial })
        {
            recorder.events.clear();
            click (button);
            ASSERT_EQ (recorder.events.size(), 3u);
            EXPECT_EQ (recorder.events[0].kind, Kind::begin);
            EXPECT_EQ (recorder.events[1].kind, Kind::change);
            EXPECT_EQ (recorder.events[1].value, expected);
            EXPECT_EQ (recorder.events[2].kind, Kind::end);
            for (const auto& event : recorder.events)
                EXPECT_EQ (event.index, c.parameter);
            EXPECT_EQ (processor.getParameter (c.parameter), expected);
        }
    }
}

TEST_F (ButtonMappingTest, KneeSwitchClickGivesHardKneeAndShowsOff)
{
    auto& knee = control<QORMicroSwitch> (PanelBounds::kneeSwitch);
    ui().refreshControls();
    ASSERT_TRUE (knee.getToggleState());

    click (knee);
    EXPECT_EQ (processor.getParameter (KestruneAudioProcessor::kneeParam), 0.0f);
    EXPECT_FALSE (knee.getToggleState());
    ui().refreshControls();
    EXPECT_FALSE (knee.getToggleState());
}

TEST_F (ButtonMappingTest, MeterSwitchSendsNothingToTheProcessor)
{
    auto& meterSwitch = control<QORMicroSwitch> (PanelBounds::meterSwitch);
    click (meterSwitch);
    EXPECT_TRUE (recorder.events.empty());
}

TEST_F (ButtonMappingTest, RefreshShowsEveryParameterAndSendsNothingBack)
{
    const float values[] = { 0.1f, 0.2f, 0.3f, 0.7f, 0.0f, 0.5f, 0.6f, 0.25f, 0.4f, 1.0f };
    for (int i = 0; i < KestruneAudioProcessor::numParams; ++i)
        processor.setParameter (i, values[i]);
    recorder.events.clear();

    ui().refreshControls();
    juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    EXPECT_TRUE (recorder.events.empty());

    for (const auto& knob : knobCases)
        EXPECT_NEAR (control<QORSlider3D> (knob.bounds).getValue(), processor.getParameter (knob.parameter), 1.0e-6)
            << knob.description;

    struct LabelCase
    {
        juce::Rectangle<int> bounds;
        int parameter;
    };
    const LabelCase labels[] = {
        { PanelBounds::thresholdValue, 2 },
        { PanelBounds::lowCutValue, 5 },
        { PanelBounds::driveValue, 6 },
        { PanelBounds::levelValue, 7 },
        { PanelBounds::mixValue, 8 },
    };
    for (const auto& label : labels)
        EXPECT_EQ (control<juce::Label> (label.bounds).getText(), processor.getParameterText (label.parameter));

    EXPECT_EQ (control<juce::Button> (PanelBounds::bypassButton).getAlpha(), 0.0f);
    EXPECT_FALSE (control<QORMicroSwitch> (PanelBounds::kneeSwitch).getToggleState());
    EXPECT_EQ (control<juce::Label> (PanelBounds::version).getText(), juce::String ("KESTrune 1.5.0"));
}

TEST_F (ButtonMappingTest, RatioKnobSnapsToTenths)
{
    auto& ratio = control<QORSlider3D> (PanelBounds::ratioKnob);
    ratio.setValue (0.37, juce::sendNotificationSync);
    EXPECT_DOUBLE_EQ (ratio.getValue(), 0.4);
    EXPECT_FLOAT_EQ (processor.getParameter (KestruneAudioProcessor::ratioParam), 0.4f);
}

TEST_F (ButtonMappingTest, HostChangeReachesTheControlsThroughTheRefreshTimer)
{
    auto& knee = control<QORMicroSwitch> (PanelBounds::kneeSwitch);
    auto& drive = control<QORSlider3D> (PanelBounds::driveKnob);
    processor.setParameter (KestruneAudioProcessor::kneeParam, 0.0f);
    processor.setParameter (KestruneAudioProcessor::driveParam, 0.75f);

    EXPECT_TRUE (pumpUntil ([&] { return ! knee.getToggleState() && drive.getValue() == 0.75; }));
}
