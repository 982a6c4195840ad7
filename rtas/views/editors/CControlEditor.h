#pragma once
// The base of every view that lets the user change one control with the mouse or the keyboard:
// sliders, dials, text fields, radio groups and pop-up menus. An editor never talks to a control
// directly: its description names a control view by a four-character ID, and when the tree is
// attached the editor binds to that view (found in its ancestors' subtrees, or made as a process
// control view under the top view when there is none) and joins the view's chain of editors.
// The view owns the value; a value change reaches every editor of the chain through
// ValueChanged. Unbound, an editor keeps a value of its own.
//
// A click on a bound process control view brackets the edit with the process's control touch,
// and a click with the default-value modifier sets the control to its default instead of
// tracking the mouse.
//
// [window thread] for every operation.

#include <cstdint>

#include "views/controls/ControlViewEditor.h"
#include "views/custom/CCustomView.h"

class CControlView;
struct SDescriptionNode;

// The event kind of a mouse-down.
inline constexpr uint16_t kMouseDownEvent = 1;
// Modifier bits: a click that resets the control to its default, and the one that a view pop-up
// gives its synthetic clicks.
inline constexpr uint16_t kDefaultValueModifier = 0x0800;
inline constexpr uint16_t kSyntheticClickModifiers = 0x0080;

// IDs that bind an editor to nothing.
inline constexpr uint32_t kUnboundControlIDs[] = { 0x4E4F4E45 /* 'NONE' */, 0x4E6F4944 /* 'NoID' */, 0x4E6F4964 /* 'NoId' */ };

class CControlEditor : public CCustomView, public IControlViewEditor
{
public:
    CControlEditor() = default;
    // Leaves the chain of the control view it is bound to.
    ~CControlEditor() override;

    // ---- The binding, as the control view sees it ----
    IControlViewEditor* GetNextEditor() const override { return fNextEditor; }
    void SetNextEditor (IControlViewEditor* next) override { fNextEditor = next; }
    // Binding the view already bound changes nothing; another view while one is bound throws
    // CDAEError -7400 (only null, which unbinds, is taken then).
    void SetBoundView (CControlView* view) override;
    // Follows the value of the bound view (or the editor's own); nothing here.
    void ValueChanged() override;
    void Redraw() override;
    // Follows a value set without a full redraw; nothing here.
    virtual void ValueChangedQuiet();

    // ---- The value ----
    // Bound: the bound view's default value; 0 unbound.
    virtual int32_t GetDefaultValue() const;
    // Bound: the bound view sets the value (a process control view writes the control through its
    // process). Unbound: the editor keeps it and follows it.
    virtual void SetValue (int32_t value);
    // Where a pop-up or a pointer anchors on the editor: here the centre of its rectangle.
    virtual Point GetAnchorPoint() const;
    int32_t GetValue() const;
    // The bound view's step count; 1 unbound.
    int32_t GetStepCount() const;
    // The bound view's step conversions; 0 unbound.
    int32_t ValueFromStep (int32_t step) const;
    int32_t GetStep() const;
    // Sets the value of the step; nothing unbound.
    void SetStep (int32_t step);

    CControlView* GetBoundView() const { return fBoundView; }
    uint32_t GetControlID() const { return fControlID; }
    void SetControlID (uint32_t id) { fControlID = id; }
    // Leaves the bound view's chain and forgets the binding; nothing when unbound.
    void Unbind();

    // ---- The view's part ----
    // The bound process control view's control index; untouched otherwise.
    void GetControlIndex (int32_t* index) const override;
    bool IsHighlighted() const override;
    // The bound view's highlight; unbound colour 0, value 0 and an empty text.
    void GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const override;
    // Binds to the control view (the same view again changes nothing), then attaches the children.
    void AttachAll() override;
    // Unbinds, then detaches the children.
    void DetachAll() override;
    // A mouse-down: touches the bound process control, then either sets the default value (with
    // the default-value modifier) or tracks the mouse, and gives idle time until the button is up;
    // the touch ends however the click ends.
    void Click (const EventRecord& event) override;
    // After the custom view's list, one list holding the control view's ID as a four-character
    // code: no list or no code throws CDAEError -7053, another kind or a second item -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

protected:
    // The next attribute list's nodes, or null when the description has no list left.
    static const SDescriptionNode* TakeOptionalList (CViewDescriptionReader& reader);
    // The code of a four-character code node: none throws CDAEError -7053, another kind -7400.
    static uint32_t ControlIDOf (const SDescriptionNode* node);
    // Idle time while the mouse is down: the bound view's idle pass (a process control view lets
    // its process serve the host), or the group's idle service when unbound.
    void RunIdleService();

private:
    CControlView* FindOrMakeControlView();
    CControlView* MakeProcessControlView();

    uint32_t fControlID = kNoViewID;
    CControlView* fBoundView = nullptr;
    int32_t fOwnValue = 0;
    IControlViewEditor* fNextEditor = nullptr;
};
