#pragma once
// An editor that shows its control's value as editable text in a host text-edit record: it takes
// the keyboard focus, passes on the characters that the control accepts and steps the control
// with the up and down arrow keys (swapped by the keyword "reverse"). Opening the record and
// committing its text are the derived editor's (CTextControlEditor).
//
// [window thread] for every operation.

#include "views/base/CPlugInView.h"
#include "views/base/ScopedToolboxObjects.h"
#include "views/editors/CControlEditor.h"

inline constexpr int16_t kUpArrowKey = 30;
inline constexpr int16_t kDownArrowKey = 31;

class CTextEditEditor : public CControlEditor
{
public:
    CTextEditEditor() = default;
    // Disposes of the text-edit record.
    ~CTextEditEditor() override;

    // Clear and set the active flag (and the children's); an open record is redrawn.
    void Deactivate() override;
    void Activate() override;
    // With a record and a bound control view: a character the control accepts goes to the record
    // (handled); the up and down arrows step the control (handled, also at either end); anything
    // else is not handled. Without either nothing is handled.
    void HandleKey (int16_t character, bool& handled) override;
    // Deactivates and disposes of the record.
    void EndEditing (bool commit) override;
    bool CanTakeFocus() const override;
    // A click goes to the open record (Shift extends the selection); without one, an active
    // editor begins editing. Drawn in the editor's font, with the port's text settings kept.
    void TrackMouse (const EventRecord& event, bool synthetic) override;
    // The base's pass, then the record's (its caret).
    void Idle (int32_t value) override;
    bool IsHighlighted() const override;
    // After the custom view's list, one list: the control view's ID (a four-character code) and
    // optionally the keyword "reverse". No list or no ID throws CDAEError -7053; anything else
    // -7400.
    void ReadDescription (CViewDescriptionReader& reader) override;

    TEHandle GetEditRecord() const { return fEdit; }
    bool IsReversed() const { return fReversed; }
    // Whether text was typed into the record since it opened or the control was last stepped.
    bool IsEdited() const { return fEdited; }

protected:
    // The drawing context of the record's calls: the editor's window current, clipped to its
    // visible part, black on white; the port's colours come back afterwards.
    class ScopedEditDrawing
    {
    public:
        explicit ScopedEditDrawing (CPlugInView& view);

    private:
        ScopedViewDrawing fDrawing;
        ScopedPortColour fFore;
        ScopedPortColour fBack;
    };

    void SetEditRecord (TEHandle edit) { fEdit = edit; }
    void SetEdited (bool edited) { fEdited = edited; }
    // Deactivates and disposes of the record; nothing without one.
    void CloseEditRecord();

private:
    TEHandle fEdit = nullptr;
    bool fReversed = false;
    bool fEdited = false;
};
