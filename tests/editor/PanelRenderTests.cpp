#include "EditorTestSupport.h"

#include "QORMicroSwitch.h"
#include "QORSlider3D.h"
#include "QORVuMeter.h"

#include <cmath>
#include <limits>

namespace
{
juce::Image loadCommittedImage (const char* fileName)
{
    return juce::ImageFileFormat::loadFrom (juce::File (KESTRUNE_EDITOR_IMAGES_DIR).getChildFile (fileName));
}

juce::Point<float> fromCentre (juce::Point<float> centre, float radius, float degrees)
{
    const float radians = juce::degreesToRadians (degrees);
    return { centre.x + radius * std::sin (radians), centre.y - radius * std::cos (radians) };
}

using PanelRenderTest = EditorFixture;
}

TEST_F (PanelRenderTest, RendersTheWholePanelAndWritesItForViewing)
{
    ASSERT_EQ (editor->getWidth(), 900);
    ASSERT_EQ (editor->getHeight(), 300);
    // Only the panel: no splash screen or other child.
    ASSERT_EQ (editor->getNumChildComponents(), 1);
    EXPECT_EQ (ui().getBounds(), juce::Rectangle<int> (0, 0, 900, 300));

    ui().refreshControls();
    ui().updateMeter();
    const auto file = juce::File (KESTRUNE_RENDER_DIR).getChildFile ("kestrune_editor.png");
    file.deleteFile();
    {
        juce::FileOutputStream stream (file);
        ASSERT_TRUE (stream.openedOk());
        ASSERT_TRUE (juce::PNGImageFormat().writeImageToStream (render(), stream));
    }

    const auto written = juce::ImageFileFormat::loadFrom (file);
    ASSERT_TRUE (written.isValid());
    EXPECT_EQ (written.getWidth(), 900);
    EXPECT_EQ (written.getHeight(), 300);

    // The background is drawn whole: the panel's own pixels show where no control sits.
    const auto background = loadCommittedImage ("background.png");
    EXPECT_LE (largestDifference (written, { 10, 90, 80, 40 }, background, { 10, 90 }), 2);
}

TEST_F (PanelRenderTest, NeedleFollowsTheLevelBetweenMinusAndPlusFortyDegrees)
{
    auto& meter = control<QORVuMeter> (PanelBounds::meter);
    const juce::Point<float> pivot (450.0f, 240.0f);

    struct Case
    {
        float level;
        float degrees;
    };
    const Case cases[] = {
        { -0.5f, -40.0f },
        { 0.0f, -40.0f },
        { 0.705f, 0.0f },
        { 1.41f, 40.0f },
        { 3.0f, 40.0f },
        { std::numeric_limits<float>::infinity(), 40.0f },
        { std::numeric_limits<float>::quiet_NaN(), -40.0f },
    };

    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.level);
        meter.setLevel (c.level);
        const auto image = render();

        for (float degrees : { -40.0f, 0.0f, 40.0f })
        {
            const float brightness = brightnessAround (image, fromCentre (pivot, 110.0f, degrees));
            if (degrees == c.degrees)
                EXPECT_LT (brightness, 100.0f) << "no needle at " << degrees;
            else
                EXPECT_GT (brightness, 150.0f) << "needle at " << degrees;
        }
    }
}

TEST_F (PanelRenderTest, KnobPointerTurnsFromMinusToPlus135Degrees)
{
    // The two large knobs: centre, cap displacement (offsets times the width) and parameter.
    struct Knob
    {
        juce::Rectangle<int> bounds;
        juce::Point<float> capShift;
        int parameter;
    };
    const Knob knobs[] = {
        { PanelBounds::thresholdKnob, { -4.0f, 1.0f }, 2 },
        { PanelBounds::levelKnob, { 4.0f, 1.0f }, 7 },
    };
    struct Case
    {
        float value;
        float degrees;
    };
    const Case cases[] = { { 0.0f, -135.0f }, { 0.5f, 0.0f }, { 1.0f, 135.0f } };

    for (const auto& knob : knobs)
    {
        const auto centre = knob.bounds.getCentre().toFloat() + knob.capShift;
        const float radius = 0.24f * (float) knob.bounds.getWidth();

        for (const auto& c : cases)
        {
            SCOPED_TRACE (juce::String (knob.parameter) + " at " + juce::String (c.value));
            processor.setParameter (knob.parameter, c.value);
            ui().refreshControls();
            const auto image = render();

            for (const auto& other : cases)
            {
                const float brightness = brightnessAround (image, fromCentre (centre, radius, other.degrees));
                if (other.degrees == c.degrees)
                    EXPECT_GT (brightness, 238.0f) << "no pointer at " << other.degrees;
                else
                    EXPECT_LT (brightness, 232.0f) << "pointer at " << other.degrees;
            }
        }
    }
}

TEST_F (PanelRenderTest, BypassPictureShowsWhileProcessingAndVanishesWhenBypassed)
{
    const auto lit = loadCommittedImage ("bypass.png");
    const auto background = loadCommittedImage ("background.png");
    // The version text may reach into the button's lowest rows; compare above it.
    const auto area = PanelBounds::bypassButton.withHeight (60);
    ASSERT_GT (largestDifference (lit, area.withZeroOrigin(), background, area.getPosition()), 60)
        << "lit and unlit switch pictures must differ";

    ui().refreshControls();
    EXPECT_LE (largestDifference (render(), area, lit, { 0, 0 }), 3);

    processor.setParameter (KestruneAudioProcessor::bypassParam, 1.0f);
    ui().refreshControls();
    EXPECT_LE (largestDifference (render(), area, background, area.getPosition()), 3);
}

TEST_F (PanelRenderTest, SwitchPicturesFollowTheirToggleState)
{
    // A switch shows its knob at the top when on and at the bottom when off.
    const auto knobAtTop = [this] (juce::Rectangle<int> bounds) {
        const auto image = render();
        const auto centreX = (float) bounds.getCentreX();
        const float top = brightnessAround (image, { centreX, (float) bounds.getY() + 8.0f });
        const float bottom = brightnessAround (image, { centreX, (float) bounds.getY() + 24.0f });
        EXPECT_GT (std::abs (top - bottom), 60.0f);
        return top > bottom;
    };

    ui().refreshControls();
    EXPECT_TRUE (knobAtTop (PanelBounds::kneeSwitch));
    processor.setParameter (KestruneAudioProcessor::kneeParam, 0.0f);
    ui().refreshControls();
    EXPECT_FALSE (knobAtTop (PanelBounds::kneeSwitch));

    auto& meterSwitch = control<QORMicroSwitch> (PanelBounds::meterSwitch);
    EXPECT_TRUE (knobAtTop (PanelBounds::meterSwitch));
    click (meterSwitch);
    EXPECT_FALSE (meterSwitch.getToggleState());
    EXPECT_FALSE (knobAtTop (PanelBounds::meterSwitch));
}
