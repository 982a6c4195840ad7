#pragma once

// Where the panel's controls sit (x, y, width, height in the 900 x 300 panel). The editor
// places its controls here and the artwork prints captions, knob wells and the unlit
// bypass switch at the same places.
namespace KestrunePanelLayout
{
struct Bounds
{
    int x, y, width, height;

    constexpr float centreX() const noexcept { return (float) x + (float) width * 0.5f; }
    constexpr float centreY() const noexcept { return (float) y + (float) height * 0.5f; }
};

constexpr int panelWidth = 900;
constexpr int panelHeight = 300;

constexpr Bounds meterCaptionBelow { 592, 280, 32, 17 };
constexpr Bounds meterCaptionAbove { 592, 232, 32, 17 };
constexpr Bounds lowCutValue { 60, 280, 88, 17 };
constexpr Bounds driveValue { 704, 104, 96, 24 };
constexpr Bounds releaseCaption { 200, 104, 96, 24 };
constexpr Bounds attackCaption { 104, 104, 96, 24 };
constexpr Bounds levelValue { 622, 272, 158, 24 };
constexpr Bounds thresholdValue { 120, 272, 158, 24 };
constexpr Bounds bypassButton { 804, 112, 91, 75 };
constexpr Bounds meter { 300, 0, 300, 300 };
constexpr Bounds attackKnob { 106, 30, 90, 90 };
constexpr Bounds releaseKnob { 205, 30, 90, 90 };
constexpr Bounds ratioKnob { 606, 30, 90, 90 };
constexpr Bounds driveKnob { 706, 30, 90, 90 };
constexpr Bounds thresholdKnob { 135, 160, 130, 130 };
constexpr Bounds levelKnob { 635, 160, 130, 130 };
constexpr Bounds version { 808, 176, 88, 72 };
constexpr Bounds lowCutKnob { 80, 232, 48, 48 };
constexpr Bounds lowCutCaption { 60, 208, 88, 17 };
constexpr Bounds meterSwitch { 592, 248, 32, 32 };
constexpr Bounds mixValue { 756, 280, 88, 17 };
constexpr Bounds mixKnob { 776, 232, 48, 48 };
constexpr Bounds mixCaption { 756, 208, 88, 17 };
constexpr Bounds kneeSwitch { 280, 248, 32, 32 };
constexpr Bounds kneeCaptionBelow { 272, 280, 48, 17 };
constexpr Bounds kneeCaptionAbove { 272, 232, 48, 17 };
}
