#pragma once
// A view that holds one control value (signed 32-bit over the control's whole range) with a step
// count, a name and a highlight, and hands it to the editors attached to it: the editors draw the
// value and change it through the view (IControlViewEditor). CProcessControlView mirrors a control
// of a process instead of holding the value itself.
//
// [window thread] for every operation.

#include <cstdint>

#include "views/controls/ControlViewEditor.h"
#include "views/custom/CCustomView.h"

inline constexpr int kControlViewNameLength = 63;
inline constexpr int kHighlightTextLength = 255;

class CControlView : public CCustomView
{
public:
    CControlView() = default;
    // Unbinds the editors still attached.
    ~CControlView() override;

    // ---- The value, as the editors see it ----
    virtual int32_t GetStepCount() const;
    virtual int32_t GetDefaultValue() const;
    virtual int32_t GetValue() const;
    // Stores the value; the attached editors follow it.
    virtual void SetValue (int32_t value);
    // The name as a length-prefixed string; `name` holds 64 bytes.
    virtual void GetName (uint8_t* name) const;
    // The value's text, at most `length` characters and a terminating zero (`text` holds
    // length + 1 bytes): here the decimal of the value's upper 16 bits.
    virtual void ValueToText (int32_t value, char* text, int32_t length) const;
    // The value of a typed text; the result is 0 or the code of the failed parse. Here the value
    // is 0.
    virtual int32_t TextToValue (const char* text, int32_t* value) const;
    // Whether the character may be typed as part of a value's text; here none may.
    virtual bool IsAllowedCharacter (int16_t character) const;
    // When the flag changes: stores it and redraws the editors.
    virtual void SetHighlighted (bool highlighted);
    // Stores the highlight's colour, extra value and length-prefixed text (cut at 255); redraws
    // the editors when the colour or the extra value changed.
    virtual void SetHighlight (int16_t colour, int16_t extra, const uint8_t* text);

    bool IsHighlighted() const override;
    void GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const override;
    // After the custom view's list, one list: the name (a string), the step count, the initial
    // value and optionally the default value (integers). Anything else throws CDAEError -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

    // ---- Editors ----
    // Appends the editor, binds it to this view and has it show the value. An editor already in
    // the chain throws CDAEError -7400; an editor that refuses the binding is not appended.
    void AttachEditor (IControlViewEditor* editor);
    // Unlinks the editor and unbinds it; nothing for an editor that is not attached.
    void DetachEditor (IControlViewEditor* editor);
    // Has every attached editor show the value.
    void UpdateEditors();
    // Redraws every attached editor.
    void RedrawEditors();
    IControlViewEditor* GetFirstEditor() const { return fFirstEditor; }

    // ---- Steps ----
    // The control value of step s of GetStepCount() steps: the minimum for fewer than 2 steps,
    // exactly 0 for the middle step of an odd count.
    int32_t ValueFromStep (int32_t step) const;
    // The step of a control value: 0 for fewer than 2 steps, the middle step for 0 with an odd
    // count.
    int32_t StepFromValue (int32_t value) const;
    int32_t GetStep() const;
    void SetStep (int32_t step);

    void SetStepCount (int32_t steps) { fStepCount = steps; }
    void SetDefaultValue (int32_t value) { fDefaultValue = value; }
    // Takes a length-prefixed name, cut at 63 characters.
    void SetName (const uint8_t* name);

protected:
    // The held value, set without the editors hearing of it.
    void StoreValue (int32_t value) { fValue = value; }
    int32_t GetStoredValue() const { return fValue; }

private:
    bool HasEditor (const IControlViewEditor* editor) const;

    IControlViewEditor* fFirstEditor = nullptr;
    int32_t fStepCount = 1;
    int32_t fValue = INT32_MIN;
    int32_t fDefaultValue = 0;
    uint8_t fName[kControlViewNameLength + 1] {};
    uint8_t fHighlighted = 0;
    int16_t fHighlightColour = 0;
    int16_t fHighlightExtra = 0;
    uint8_t fHighlightText[kHighlightTextLength + 1] {};
};
