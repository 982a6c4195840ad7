#pragma once
// A view that wraps a host toolbox control (push button, check box, radio button, or a control
// made from a control template): the control lives while the view has a window, made invisible
// at the view's frame when the window comes, shown on the view's first draw and disposed of when
// the window goes. The host tracks it when it is clicked.
//
// [window thread] for every operation.

#include <cstdint>

#include "views/custom/CCustomView.h"

inline constexpr int kControlTitleLength = 255;

class CMacControlView : public CCustomView
{
public:
    CMacControlView() = default;
    // Disposes of the host control.
    ~CMacControlView() override;

    // The host control for a window: a new one, invisible, at the frame, with the title, value,
    // range and GetControlKind's kind, this view as its reference. Null when the host makes none.
    virtual ControlHandle CreateControl (WindowRef window);
    // The host control kind; a view that names none throws CDAEError -7400.
    virtual int16_t GetControlKind() const;

    // With a window, makes the host control (none: CDAEError -7053, and the view keeps no window);
    // with null, disposes of it.
    void SetWindow (WindowRef window) override;
    // Shows the control on the first draw and draws it afterwards.
    void DrawContents (const Rect& area) override;
    // The host tracks the control at the click.
    void Click (const EventRecord& event) override;
    // The control moves with the view.
    void Offset (int16_t dh, int16_t dv) override;
    // After the custom view's list, one list: the title (a string), then the minimum, maximum
    // and value (16-bit integers), nothing more; anything else throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

    // `title` is a length-prefixed string, cut at 255 characters.
    void SetTitle (const uint8_t* title);
    const uint8_t* GetTitle() const { return fTitle; }
    void SetRange (int16_t minimum, int16_t maximum);
    void SetControlValue (int16_t value) { fValue = value; }
    int16_t GetMinimum() const { return fMinimum; }
    int16_t GetMaximum() const { return fMaximum; }
    int16_t GetControlValue() const { return fValue; }
    ControlHandle GetControl() const { return fControl; }

private:
    void DisposeControl();

    ControlHandle fControl = nullptr;
    uint8_t fTitle[kControlTitleLength + 1] {};
    int16_t fMinimum = 0;
    int16_t fMaximum = 1;
    int16_t fValue = 0;
    uint8_t fShowOnFirstDraw = 0;
};

class CButtonView : public CMacControlView
{
public:
    int16_t GetControlKind() const override { return pushButProc; }
};

class CCheckBoxView : public CMacControlView
{
public:
    int16_t GetControlKind() const override { return checkBoxProc; }
};

class CRadioButtonView : public CMacControlView
{
public:
    int16_t GetControlKind() const override { return radioButProc; }
};
