#pragma once
// A straight track with a moving thumb: the "Slider" view type. A slider narrower than it is high
// is vertical (its maximum at the top), any other horizontal (its maximum at the right); the
// keyword "reverse" swaps the ends. Dragging the thumb sets the control over the whole range; with
// the fine modifier the same mouse distance moves the value six times less.
//
// [window thread] for every operation.

#include "views/editors/CControlEditor.h"

// The modifier bit that makes a slider drag fine.
inline constexpr uint16_t kFineDragModifier = 0x0100;
inline constexpr uint32_t kSliderThumbID = 0x4B6E6F62; // 'Knob'

class CSliderControlEditor : public CControlEditor
{
public:
    CSliderControlEditor() = default;

    // Drags the thumb: a click outside it only highlights the slider while the mouse is down.
    void TrackMouse (const EventRecord& event, bool synthetic) override;
    // Makes the thumb (once), then the base's.
    CPlugInView* GetParentOrAttach() override;
    // Erases the area (within the frame) with the panel's background.
    void DrawBackground (const Rect& area) override;
    // The groove: a 2-pixel sunk line along the slider's axis.
    void DrawContents (const Rect& area) override;
    // The control ID list, then at most one list holding at most the keyword "reverse"; anything
    // else throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;
    // Moves the thumb to the value's place, redrawing at once when the slider has a window.
    void ValueChanged() override;
    // Moves the thumb to the value's place; the host redraws it with the next update.
    void ValueChangedQuiet() override;
    // The centre of the thumb.
    Point GetAnchorPoint() const override;

    // The thumb's rectangle for the current value: three quarters of the slider's width (or
    // height, lying) long, placed along the travel.
    virtual Rect GetThumbRect() const;
    // How many times less a fine drag moves the value.
    virtual int32_t GetFineFactor() const;

    bool IsVertical() const;
    bool IsReversed() const { return fReversed; }
    CCustomView* GetThumb() const { return fThumb; }

private:
    // The length of the slider and of its thumb along its axis.
    int32_t AxisLength() const;
    int32_t ThumbLength() const;

    CCustomView* fThumb = nullptr;
    bool fReversed = false;
};
