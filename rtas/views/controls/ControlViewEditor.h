#pragma once
// What a control view asks of the editors attached to it: the control view keeps them in a
// singly linked chain through the editors' own next links, binds each to itself and has them
// follow its value and redraw. The control editors implement it.
//
// An editor that is destroyed while attached detaches itself from its view first
// (CControlView::DetachEditor); a control view that is destroyed unbinds the editors it still
// holds.
//
// [window thread] for every operation.

class CControlView;

class IControlViewEditor
{
public:
    virtual IControlViewEditor* GetNextEditor() const = 0;
    virtual void SetNextEditor (IControlViewEditor* next) = 0;
    // The control view the editor is bound to; null unbinds it.
    virtual void SetBoundView (CControlView* view) = 0;
    // Shows the bound view's current value.
    virtual void ValueChanged() = 0;
    // Redraws the editor at once.
    virtual void Redraw() = 0;

protected:
    ~IControlViewEditor() = default;
};
