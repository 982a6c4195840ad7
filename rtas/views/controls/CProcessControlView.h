#pragma once
// A control view bound to control number n of a process: it reads and writes the control through
// the process, so that the plug-in's controls appear in its window. The process binds it when it
// gives its view a window (by the control's four-character view ID) and unbinds it when it takes
// the window away. Unbound, it holds its value as any control view does.
//
// [window thread] for every operation.

#include "views/controls/CControlView.h"

class CProcess;

// The code with which the idle pass of a process control view tells the host's callback.
inline constexpr int16_t kControlViewIdleNotice = 16;

class CProcessControlView : public CControlView, public IProcessControlView
{
public:
    CProcessControlView() = default;

    // Bound: the control's step count, default value, value, texts and characters.
    int32_t GetStepCount() const override;
    int32_t GetDefaultValue() const override;
    int32_t GetValue() const override;
    // Bound: stores the value, then the process sets the control (the editor's road: the host
    // answers with the control's new value).
    void SetValue (int32_t value) override;
    void ValueToText (int32_t value, char* text, int32_t length) const override;
    // Bound: the control's parse; a refused text answers its error code.
    int32_t TextToValue (const char* text, int32_t* value) const override;
    bool IsAllowedCharacter (int16_t character) const override;

    // ---- What the process asks of its control views ----
    // Binds to (process, index) or unbinds with (null, 0): takes the control's current value
    // without telling the process and, when asked, has the editors show it.
    void SetControl (CProcess* process, int32_t index, bool refreshEditors) override;
    int32_t GetBoundControlIndex() const override { return fControlIndex; }
    // Shows a value that the host gave the control, without telling the process again.
    void ShowValue (int32_t controlValue) override;
    void SetHighlighted (bool highlighted) override;
    bool IsHighlighted() const override;
    void SetHighlight (int16_t colour, int16_t extra, const uint8_t* text) override;
    void GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const override;

    IProcessControlView* AsControlView() override { return this; }
    bool IsProcessControl() const override;
    // The bound control's index (0 while unbound).
    void GetControlIndex (int32_t* index) const override;
    // Bound: the process handles the host's waiting tokens first; the host's callback hears of
    // the pass; then the views below get theirs.
    void Idle (int32_t value) override;

    CProcess* GetProcess() const { return fProcess; }

private:
    bool IsBound() const { return fProcess != nullptr; }

    CProcess* fProcess = nullptr;
    int32_t fControlIndex = 0;
};
