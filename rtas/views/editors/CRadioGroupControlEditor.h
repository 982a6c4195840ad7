#pragma once
// A group whose child views stand for the control's steps, in child order: the "RadioGroup" view
// type. Clicking a child selects its step; the child of the current step is highlighted. With the
// string "EnableHighlight" in its description the group frames itself in the highlight's colour
// while its control view is highlighted.
//
// [window thread] for every operation.

#include "views/editors/CControlEditor.h"

class CRadioGroupControlEditor : public CControlEditor
{
public:
    CRadioGroupControlEditor() = default;

    // The control ID list, then at most one list of strings: "EnableHighlight" turns the
    // highlight frame on, other strings are ignored, anything else throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;
    // While the mouse is inside the editor's visible part, selects the step of the child under it:
    // once for a real click, and again on each poll while the button is down for a pop-up's
    // synthetic click. The mouse outside the visible part, on no child or on a child past the
    // last step ends it.
    void TrackMouse (const EventRecord& event, bool synthetic) override;
    // Highlights the child of the current step (and only it).
    void ValueChanged() override;
    void ValueChangedQuiet() override;
    // The centre of the selected child, or of the group when none is selected.
    Point GetAnchorPoint() const override;
    // The background, then the highlight frame.
    void DrawContents (const Rect& area) override;

    // The highlighted child; null when none is (or it left the group).
    CPlugInView* GetSelectedChild() const;
    bool IsHighlightEnabled() const { return fEnableHighlight; }

private:
    CPlugInView* ChildAt (int32_t index) const;
    // The index of the first child under the point; -1 for none.
    int32_t IndexOfChildAt (Point where) const;
    void SelectCurrentStep();
    void DrawHighlightFrame();

    CPlugInView* fSelected = nullptr;
    bool fEnableHighlight = false;
    bool fFrameDrawn = false;
};
