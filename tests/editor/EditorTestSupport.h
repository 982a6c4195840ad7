#pragma once

#include "KESTruneUI.h"
#include "KestruneAudioProcessor.h"

#include <gtest/gtest.h>

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <vector>

// Bounds of the panel's controls as the panel is meant to place them.
namespace PanelBounds
{
inline const juce::Rectangle<int> attackKnob { 106, 30, 90, 90 };
inline const juce::Rectangle<int> releaseKnob { 205, 30, 90, 90 };
inline const juce::Rectangle<int> ratioKnob { 606, 30, 90, 90 };
inline const juce::Rectangle<int> driveKnob { 706, 30, 90, 90 };
inline const juce::Rectangle<int> thresholdKnob { 135, 160, 130, 130 };
inline const juce::Rectangle<int> levelKnob { 635, 160, 130, 130 };
inline const juce::Rectangle<int> lowCutKnob { 80, 232, 48, 48 };
inline const juce::Rectangle<int> mixKnob { 776, 232, 48, 48 };
inline const juce::Rectangle<int> bypassButton { 804, 112, 91, 75 };
inline const juce::Rectangle<int> meter { 300, 0, 300, 300 };
inline const juce::Rectangle<int> meterSwitch { 592, 248, 32, 32 };
inline const juce::Rectangle<int> kneeSwitch { 280, 248, 32, 32 };
inline const juce::Rectangle<int> thresholdValue { 120, 272, 158, 24 };
inline const juce::Rectangle<int> lowCutValue { 60, 280, 88, 17 };
inline const juce::Rectangle<int> driveValue { 704, 104, 96, 24 };
inline const juce::Rectangle<int> levelValue { 622, 272, 158, 24 };
inline const juce::Rectangle<int> mixValue { 756, 280, 88, 17 };
inline const juce::Rectangle<int> version { 808, 176, 88, 72 };
}

// The child of a given type placed exactly at the given bounds, or null.
template <typename ComponentType>
ComponentType* findChildAt (juce::Component& parent, juce::Rectangle<int> bounds)
{
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<ComponentType*> (child))
            if (typed->getBounds() == bounds)
                return typed;
    return nullptr;
}

// Everything a processor tells its listeners, in order.
struct ParameterEventRecorder : juce::AudioProcessorListener
{
    enum class Kind
    {
        begin,
        change,
        end
    };
    struct Event
    {
        Kind kind;
        int index;
        float value;
    };

    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override
    {
        events.push_back ({ Kind::change, index, value });
    }
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ Kind::begin, index, 0.0f });
    }
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override
    {
        events.push_back ({ Kind::end, index, 0.0f });
    }

    std::vector<Event> events;
};

// A processor with its editor open, headless.
class EditorFixture : public ::testing::Test
{
protected:
    EditorFixture()
    {
        processor.addListener (&recorder);
        editor.reset (processor.createEditor());
    }

    ~EditorFixture() override
    {
        editor.reset();
        processor.removeListener (&recorder);
    }

    KESTruneUI& ui()
    {
        auto* panel = dynamic_cast<KESTruneUI*> (editor->getChildComponent (0));
        EXPECT_NE (panel, nullptr);
        return *panel;
    }

    template <typename ComponentType>
    ComponentType& control (juce::Rectangle<int> bounds)
    {
        auto* found = findChildAt<ComponentType> (ui(), bounds);
        EXPECT_NE (found, nullptr) << "no control at " << bounds.toString();
        return *found;
    }

    juce::Image render()
    {
        return editor->createComponentSnapshot (editor->getLocalBounds(), true, 1.0f);
    }

    // Runs the message loop until the condition holds or two seconds have passed.
    template <typename Condition>
    bool pumpUntil (Condition condition)
    {
        for (int i = 0; i < 200 && ! condition(); ++i)
            juce::MessageManager::getInstance()->runDispatchLoopUntil (10);
        return condition();
    }

    // A click as JUCE delivers it: asynchronously, through the message loop.
    void click (juce::Button& button)
    {
        button.triggerClick();
        juce::MessageManager::getInstance()->runDispatchLoopUntil (20);
    }

    juce::ScopedJuceInitialiser_GUI gui;
    KestruneAudioProcessor processor;
    ParameterEventRecorder recorder;
    std::unique_ptr<juce::AudioProcessorEditor> editor;
};

// A mouse event on a component, at a position in its own coordinates.
inline juce::MouseEvent mouseEventOn (juce::Component& component, juce::Point<float> position,
                                      juce::Point<float> downPosition, int clicks, bool dragged)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent (juce::Desktop::getInstance().getMainMouseSource(), position,
                             juce::ModifierKeys (juce::ModifierKeys::leftButtonModifier),
                             juce::MouseInputSource::defaultPressure, juce::MouseInputSource::defaultOrientation,
                             juce::MouseInputSource::defaultRotation, juce::MouseInputSource::defaultTiltX,
                             juce::MouseInputSource::defaultTiltY, &component, &component, now,
                             downPosition, now, clicks, dragged);
}

// Mean brightness (0-255) of the 3 x 3 pixels around a point.
inline float brightnessAround (const juce::Image& image, juce::Point<float> at)
{
    float sum = 0.0f;
    const int cx = juce::roundToInt (at.x - 0.5f), cy = juce::roundToInt (at.y - 0.5f);
    for (int y = cy - 1; y <= cy + 1; ++y)
        for (int x = cx - 1; x <= cx + 1; ++x)
            sum += image.getPixelAt (x, y).getPerceivedBrightness() * 255.0f;
    return sum / 9.0f;
}

// Largest channel difference between two same-sized regions of two images.
inline int largestDifference (const juce::Image& a, juce::Rectangle<int> areaA, const juce::Image& b, juce::Point<int> originB)
{
    int largest = 0;
    for (int y = 0; y < areaA.getHeight(); ++y)
        for (int x = 0; x < areaA.getWidth(); ++x)
        {
            const auto p = a.getPixelAt (areaA.getX() + x, areaA.getY() + y);
            const auto q = b.getPixelAt (originB.x + x, originB.y + y);
            largest = std::max ({ largest, std::abs (p.getRed() - q.getRed()),
                                  std::abs (p.getGreen() - q.getGreen()), std::abs (p.getBlue() - q.getBlue()) });
        }
    return largest;
}
