#include "KESTruneUI.h"

#include "KestruneImages.h"
#include "KestrunePanelLayout.h"

#include <cmath>

namespace Layout = KestrunePanelLayout;
using Processor = KestruneAudioProcessor;

const KESTruneUI::KnobSetting KESTruneUI::knobSettings[8] = {
    { &KESTruneUI::attackKnob, Processor::attackParam, 0.3, -0.035f, -0.01f },
    { &KESTruneUI::releaseKnob, Processor::releaseParam, 0.4, -0.02f, -0.01f },
    { &KESTruneUI::thresholdKnob, Processor::thresholdParam, 0.3, -0.03f, 0.01f },
    { &KESTruneUI::lowCutKnob, Processor::lowCutParam, 0.0, -0.04f, 0.015f },
    { &KESTruneUI::ratioKnob, Processor::ratioParam, 0.3, 0.02f, -0.01f },
    { &KESTruneUI::driveKnob, Processor::driveParam, 0.0, 0.035f, -0.01f },
    { &KESTruneUI::levelKnob, Processor::levelParam, 0.5, 0.03f, 0.01f },
    { &KESTruneUI::mixKnob, Processor::mixParam, 1.0, 0.04f, 0.015f },
};

const KESTruneUI::ValueLabel KESTruneUI::valueLabels[5] = {
    { &KESTruneUI::thresholdValue, Processor::thresholdParam },
    { &KESTruneUI::lowCutValue, Processor::lowCutParam },
    { &KESTruneUI::driveValue, Processor::driveParam },
    { &KESTruneUI::levelValue, Processor::levelParam },
    { &KESTruneUI::mixValue, Processor::mixParam },
};

namespace
{
void place (juce::Component& component, const Layout::Bounds& b)
{
    component.setBounds (b.x, b.y, b.width, b.height);
}

// The output meter reads the output level raised so that its usual range fills the scale.
const float outputMeterScale = std::pow (10.0f, 1.05f);
}

KESTruneUI::KESTruneUI (KestruneAudioProcessor& processorToControl)
    : processor (processorToControl),
      background (juce::ImageCache::getFromMemory (KestruneImages::background_png, KestruneImages::background_pngSize))
{
    meterCaptionBelow = makeLabel ("OUT", 10.0f);
    meterCaptionAbove = makeLabel ("GR", 10.0f);
    lowCutValue = makeLabel ("1 Hz", 10.0f);
    driveValue = makeLabel ("0 %", 15.0f);
    releaseCaption = makeLabel ("5 ms", 15.0f);
    attackCaption = makeLabel ("1 ms", 15.0f);
    levelValue = makeLabel ("0 dB", 15.0f);
    thresholdValue = makeLabel ("0 dB", 15.0f);

    bypassButton = std::make_unique<juce::ImageButton> ("Bypass");
    bypassButton->setButtonText ("new button");
    bypassButton->addListener (this);
    bypassButton->setImages (false, true, true,
                             juce::ImageCache::getFromMemory (KestruneImages::bypass_png, KestruneImages::bypass_pngSize),
                             1.0f, juce::Colours::transparentBlack,
                             juce::Image(), 1.0f, juce::Colours::transparentBlack,
                             juce::Image(), 1.0f, juce::Colours::transparentBlack);
    addAndMakeVisible (*bypassButton);

    meter = std::make_unique<QORVuMeter>();
    addAndMakeVisible (*meter);

    attackKnob = makeKnob ("Attack");
    releaseKnob = makeKnob ("Release");
    ratioKnob = makeKnob ("Ratio");
    ratioKnob->setRange (0.0, 1.0, 0.1);
    driveKnob = makeKnob ("Drive");
    thresholdKnob = makeKnob ("Threshold");
    levelKnob = makeKnob ("Level");

    version = makeLabel ("KESTrune\nx.x.x", 15.0f);
    version->setName ("Version");
    version->setColour (juce::Label::textColourId, juce::Colour (0xff636363));
    version->setJustificationType (juce::Justification::topRight);

    lowCutKnob = makeKnob ("LowCut");
    lowCutCaption = makeLabel ("S/C\nlow-cut", 10.0f);

    meterSwitch = std::make_unique<QORMicroSwitch>();
    addAndMakeVisible (*meterSwitch);

    mixValue = makeLabel ("100 %", 10.0f);
    // The mix knob shares the low-cut knob's name; the listeners tell knobs apart by identity.
    mixKnob = makeKnob ("LowCut");
    mixCaption = makeLabel ("Mix", 10.0f);

    kneeSwitch = std::make_unique<QORMicroSwitch>();
    addAndMakeVisible (*kneeSwitch);

    kneeCaptionBelow = makeLabel ("med knee", 10.0f);
    kneeCaptionAbove = makeLabel ("soft knee", 10.0f);

    meter->setPeakHold (false);
    meterShowsReduction = true;

    for (auto* microSwitch : { meterSwitch.get(), kneeSwitch.get() })
    {
        microSwitch->setToggleState (true, juce::dontSendNotification);
        microSwitch->addListener (this);
    }

    for (const auto& setting : knobSettings)
    {
        auto& knob = *(this->*setting.knob);
        knob.offsetX = setting.offsetX;
        knob.offsetY = setting.offsetY;
        knob.setDoubleClickReturnValue (true, setting.doubleClickValue);
    }

    version->setText (juce::String ("KESTrune") + " " + KESTRUNE_VERSION_STRING, juce::dontSendNotification);
    attackCaption->setText (juce::String(), juce::dontSendNotification);
    releaseCaption->setText (juce::String(), juce::dontSendNotification);

    setBufferedToImage (true);
    setSize (Layout::panelWidth, Layout::panelHeight);
}

KESTruneUI::~KESTruneUI()
{
    stopTimer (refreshTimer);
    stopTimer (meterTimer);
}

std::unique_ptr<juce::Label> KESTruneUI::makeLabel (const juce::String& text, float fontHeight)
{
    auto label = std::make_unique<juce::Label> ("new label", text);
    label->setFont (juce::Font (fontHeight, juce::Font::plain));
    label->setJustificationType (juce::Justification::centred);
    label->setEditable (false, false, false);
    label->setColour (juce::Label::textColourId, juce::Colour (0xff7e7e7e));
    addAndMakeVisible (*label);
    return label;
}

std::unique_ptr<QORSlider3D> KESTruneUI::makeKnob (const juce::String& name)
{
    auto knob = std::make_unique<QORSlider3D> (name);
    knob->setRange (0.0, 1.0, 0.0);
    knob->setSliderStyle (juce::Slider::RotaryVerticalDrag);
    knob->setTextBoxStyle (juce::Slider::NoTextBox, false, 80, 20);
    knob->addListener (this);
    addAndMakeVisible (*knob);
    return knob;
}

int KESTruneUI::parameterOf (const juce::Slider* slider) const noexcept
{
    for (const auto& setting : knobSettings)
        if ((this->*setting.knob).get() == slider)
            return setting.parameter;

    return -1;
}

void KESTruneUI::visibilityChanged()
{
    if (isVisible())
    {
        startTimer (refreshTimer, refreshIntervalMs);
        startTimer (meterTimer, meterIntervalMs);
    }
    else
    {
        stopTimer (refreshTimer);
        stopTimer (meterTimer);
    }
}

void KESTruneUI::timerCallback (int timerID)
{
    if (timerID == refreshTimer)
        refreshControls();
    else if (timerID == meterTimer)
        updateMeter();
}

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

void KESTruneUI::refreshControls()
{
    for (const auto& setting : knobSettings)
        (this->*setting.knob)->setValue (processor.getParameter (setting.parameter), juce::dontSendNotification);

    bypassButton->setAlpha (1.0f - processor.getParameter (Processor::bypassParam));
    kneeSwitch->setToggleState (processor.getParameter (Processor::kneeParam) > 0.5f, juce::dontSendNotification);

    for (const auto& value : valueLabels)
        (this->*value.label)->setText (processor.getParameterText (value.parameter), juce::dontSendNotification);
}

void KESTruneUI::buttonClicked (juce::Button* button)
{
    const auto flipInGesture = [this] (int index) {
        processor.beginParameterChangeGesture (index);
        processor.setParameterNotifyingHost (index, 1.0f - processor.getParameter (index));
        processor.endParameterChangeGesture (index);
    };

    if (button == bypassButton.get())
        flipInGesture (Processor::bypassParam);
    else if (button == meterSwitch.get())
        meterShowsReduction = ! meterShowsReduction;
    else if (button == kneeSwitch.get())
        flipInGesture (Processor::kneeParam);
}

void KESTruneUI::sliderValueChanged (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        processor.setParameterNotifyingHost (index, (float) slider->getValue());
}

void KESTruneUI::sliderDragStarted (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        processor.beginParameterChangeGesture (index);
}

void KESTruneUI::sliderDragEnded (juce::Slider* slider)
{
    const int index = parameterOf (slider);
    if (index >= 0)
        processor.endParameterChangeGesture (index);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE

void KESTruneUI::updateMeter()
{
    const float value = meterShowsReduction
                            ? (float) processor.getGainReductionMeterValue()
                            : outputMeterScale * (float) processor.getOutputMeterValue();
    meter->setLevel (value);
}

void KESTruneUI::paint (juce::Graphics& g)
{
    g.fillAll (juce::Colours::white);
    g.setColour (juce::Colours::black);
    g.drawImage (background, 0, 0, Layout::panelWidth, Layout::panelHeight,
                 0, 0, background.getWidth(), background.getHeight());
}

void KESTruneUI::resized()
{
    place (*meterCaptionBelow, Layout::meterCaptionBelow);
    place (*meterCaptionAbove, Layout::meterCaptionAbove);
    place (*lowCutValue, Layout::lowCutValue);
    place (*driveValue, Layout::driveValue);
    place (*releaseCaption, Layout::releaseCaption);
    place (*attackCaption, Layout::attackCaption);
    place (*levelValue, Layout::levelValue);
    place (*thresholdValue, Layout::thresholdValue);
    place (*bypassButton, Layout::bypassButton);
    place (*meter, Layout::meter);
    place (*attackKnob, Layout::attackKnob);
    place (*releaseKnob, Layout::releaseKnob);
    place (*ratioKnob, Layout::ratioKnob);
    place (*driveKnob, Layout::driveKnob);
    place (*thresholdKnob, Layout::thresholdKnob);
    place (*levelKnob, Layout::levelKnob);
    place (*version, Layout::version);
    place (*lowCutKnob, Layout::lowCutKnob);
    place (*lowCutCaption, Layout::lowCutCaption);
    place (*meterSwitch, Layout::meterSwitch);
    place (*mixValue, Layout::mixValue);
    place (*mixKnob, Layout::mixKnob);
    place (*mixCaption, Layout::mixCaption);
    place (*kneeSwitch, Layout::kneeSwitch);
    place (*kneeCaptionBelow, Layout::kneeCaptionBelow);
    place (*kneeCaptionAbove, Layout::kneeCaptionAbove);
}
