#pragma once
// A text field for a control: the "TextEditor" view type. Its static-text child of ID 'text' shows
// the control's value text; editing opens a text-edit record over it, and committing parses the
// typed text (at most its first 30 characters) through the control view. A text the control
// cannot parse leaves the value as it was and shows its text again. Unbound, the field shows an
// empty text and never commits.
//
// [window thread] for every operation.

#include "views/editors/CTextEditEditor.h"

class CStaticTextView;

inline constexpr uint32_t kTextFieldViewID = 0x74657874; // 'text'
// Typed text beyond this many characters is cut before it is parsed.
inline constexpr int kParsedTextLength = 30;

class CTextControlEditor : public CTextEditEditor
{
public:
    CTextControlEditor() = default;

    // Finds the text view below the editor and gives it the editor's rectangle, then binds.
    void AttachAll() override;
    // Forgets the text view, then unbinds.
    void DetachAll() override;
    // Shows the value's text in the text view (and in an open record, all of it selected).
    void ValueChanged() override;
    // Opens a record over the text view holding its text, all of it selected, in the text
    // view's font. Nothing without a text view or a window; a record that the host cannot make
    // throws CDAEError -7053.
    void BeginEditing() override;
    // Closes the record; with `commit` a bound editor parses the typed text and sets the value,
    // and whatever else happened the value's text is shown again.
    void EndEditing (bool commit) override;
    // The children first, then the open record over them.
    void Draw (const Rect& area) override;
    void DrawContents (const Rect& area) override;

    CStaticTextView* GetTextView() const { return fTextView; }

private:
    void RedrawFromTop();

    CStaticTextView* fTextView = nullptr;
};
