#include "QORMicroSwitch.h"

#include "KestruneImages.h"

QORMicroSwitch::QORMicroSwitch()
    : juce::Button (juce::String()),
      offImage (juce::ImageCache::getFromMemory (KestruneImages::switch_off_png, KestruneImages::switch_off_pngSize)),
      onImage (juce::ImageCache::getFromMemory (KestruneImages::switch_on_png, KestruneImages::switch_on_pngSize))
{
    setSize (32, 32);
    setClickingTogglesState (true);
}

QORMicroSwitch::~QORMicroSwitch() = default;

void QORMicroSwitch::paintButton (juce::Graphics& g, bool, bool)
{
    const auto& image = getToggleState() ? onImage : offImage;
    g.setColour (juce::Colours::black);
    g.drawImage (image, 0, 0, 32, 32, 0, 0, image.getWidth(), image.getHeight());
}
