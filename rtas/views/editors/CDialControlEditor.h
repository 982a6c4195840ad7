#pragma once
// A round knob with a pointer line: the "Dial" view type. Value 0 points straight up and larger
// values turn clockwise, over plus or minus 144 degrees, or the whole circle with the keyword
// "cyclical"; "reverse" turns the other way. The knob follows the mouse by its angle about the
// dial (angular tracking, the default) or by the mouse's movement (linear tracking: right and up
// increase, in coarse steps, or fine ones while the fine key is down).
//
// [window thread] for every operation.

#include "views/editors/CControlEditor.h"

// Linear tracking: the value moves by this much per pixel, times the fine or coarse factor; the
// key of this code in the host's key map selects the fine factor.
inline constexpr int32_t kDialPixelStep = 7146368;
inline constexpr int32_t kDialCoarseFactor = 4;
inline constexpr int32_t kDialFineFactor = 1;
inline constexpr int kDialFineKeyCode = 55;

inline constexpr RGBColor kDialFaceColour { 0xAAAA, 0xAAAA, 0xAAAA };

class CDialControlEditor : public CControlEditor
{
public:
    CDialControlEditor() = default;

    // Turns the knob while the mouse is down, from where the click was: every poll whose mouse
    // moved computes a value and sets it, also when it is the value the control has.
    void TrackMouse (const EventRecord& event, bool synthetic) override;
    // Moves the view and the pointer line with it.
    void Offset (int16_t dh, int16_t dv) override;
    // The frame colour: the highlight's colour while the control is highlighted, the highlight
    // blue while the dial is (its draw state 1), dark blue for colour set 4.
    RGBColor GetForeColor() const override;
    // The knob: a grey face, a frame 2 pixels wide and the pointer line.
    void DrawContents (const Rect& area) override;
    // The control ID list, then at most one list of the keywords "reverse" and "cyclical"; any
    // other item throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;
    // Moves the pointer line to the value: erased and drawn again at once when the dial has a
    // window.
    void ValueChanged() override;
    // Moves the pointer line to the value; the host redraws the dial with the next update.
    void ValueChangedQuiet() override;
    // The pointer's outer end.
    Point GetAnchorPoint() const override;

    // Draws the pointer line over the face (in the face colour) or over what it points at (in the
    // frame colour), with a 1 x 1 pen.
    virtual void ErasePointer (Point inner, Point outer);
    virtual void DrawPointer (Point inner, Point outer);

    // The pointer line of a value: from a quarter of the radius to the radius of the dial inset
    // by 8.
    void PointerFor (int32_t value, Point* inner, Point* outer) const;
    // The value that the mouse at `mouse` stands for, the value being `current` (and the last
    // mouse point `last`): by the mouse's angle about the dial in whole degrees, or by its
    // movement, saturated at the ends of the range.
    int32_t AngularValue (Point mouse, int32_t current) const;
    int32_t LinearValue (Point mouse, Point last, int32_t current) const;

    void SetAngularTracking (bool angular) { fAngularTracking = angular; }
    bool IsAngularTracking() const { return fAngularTracking; }
    bool IsCyclical() const { return fCyclical; }
    bool IsReversed() const { return fReversed; }

private:
    // Computes the pointer for the current value; true when it moved.
    bool UpdatePointer (Point* oldInner, Point* oldOuter);

    bool fCyclical = false;
    bool fReversed = false;
    bool fAngularTracking = true;
    Point fPointerInner {};
    Point fPointerOuter {};
};
