#include "views/editors/CTextControlEditor.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/base/ViewGeometry.h"
#include "views/controls/CControlView.h"
#include "views/text/CStaticTextView.h"

void CTextControlEditor::AttachAll()
{
    fTextView = dynamic_cast<CStaticTextView*> (FindSubViewByID (kTextFieldViewID));
    if (fTextView != nullptr)
        fTextView->SetRect (GetRect());
    CTextEditEditor::AttachAll();
    if (GetBoundView() == nullptr)
        ValueChanged();
}

void CTextControlEditor::DetachAll()
{
    fTextView = nullptr;
    CTextEditEditor::DetachAll();
}

void CTextControlEditor::ValueChanged()
{
    if (fTextView == nullptr)
        return;
    char text[kStaticTextLength + 1] {};
    if (CControlView* view = GetBoundView())
        view->ValueToText (GetValue(), text, kStaticTextLength);
    const std::string_view shown (text, std::strlen (text));
    if (shown == fTextView->GetText())
        return;
    fTextView->SetText (shown);
    TEHandle edit = GetEditRecord();
    if (edit == nullptr)
    {
        fTextView->Invalidate (nullptr);
        return;
    }
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedEditDrawing drawing (*this);
    const auto length = static_cast<int32_t> (shown.size());
    toolbox.TESetText (shown.data(), length, edit);
    toolbox.TESetSelect (0, length, edit);
    const Rect visible = GetVisibleRect();
    toolbox.TEUpdate (&visible, edit);
}

void CTextControlEditor::BeginEditing()
{
    if (fTextView == nullptr || GetWindow() == nullptr || GetEditRecord() != nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    ScopedPortText portText;
    toolbox.TextMode (srcXor);
    toolbox.TextFont (fTextView->GetTextFont());
    toolbox.TextSize (fTextView->GetTextSize());
    toolbox.TextFace (fTextView->GetTextStyle());
    const Rect area = fTextView->GetRect();
    TEHandle edit = toolbox.TENew (&area, &area);
    ThrowIfNull (edit);
    SetEditRecord (edit);
    fTextView->SetHilite (1);
    const std::string_view text = fTextView->GetText();
    const auto length = static_cast<int32_t> (text.size());
    ScopedEditDrawing editDrawing (*this);
    toolbox.TESetText (text.data(), length, edit);
    toolbox.TESetSelect (0, length, edit);
    toolbox.TEUpdate (&area, edit);
    toolbox.TEActivate (edit);
    SetEdited (false);
}

void CTextControlEditor::EndEditing (bool commit)
{
    TEHandle edit = GetEditRecord();
    if (edit == nullptr)
        return;
    if (GetWindow() == nullptr)
    {
        CloseEditRecord();
        if (fTextView != nullptr)
            fTextView->SetHilite (0);
        SetEdited (false);
        return;
    }

    bool parsed = false;
    int32_t value = 0;
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        ScopedEditDrawing drawing (*this);
        const Handle text = toolbox.TEGetText (edit);
        const int16_t length = toolbox.TEGetTextLength (edit);
        CControlView* view = GetBoundView();
        if (text != nullptr && *text != nullptr && length > 0 && IsEdited() && commit && view != nullptr)
        {
            const std::string typed (*text, static_cast<size_t> (std::min<int16_t> (length, kParsedTextLength)));
            parsed = view->TextToValue (typed.c_str(), &value) == 0;
        }
        CloseEditRecord();
    }
    SetEdited (false);
    if (fTextView != nullptr)
        fTextView->SetHilite (0);
    RedrawFromTop();
    if (parsed)
        SetValue (value);
    else
        ValueChanged();
}

// The record drew over the field: the top view draws the field's part of the window again, its
// background first, so that nothing of the record is left.
void CTextControlEditor::RedrawFromTop()
{
    const Rect visible = GetVisibleRect();
    Root()->Invalidate (&visible);
}

void CTextControlEditor::Draw (const Rect& area)
{
    for (CPlugInView* child = GetFirstChild(); child != nullptr; child = child->GetNextSibling())
        if (ViewGeometry::Meet (child->GetRect(), area))
            child->Draw (ViewGeometry::Intersection (child->GetRect(), area));
    DrawContents (area);
}

void CTextControlEditor::DrawContents (const Rect& area)
{
    TEHandle edit = GetEditRecord();
    if (edit == nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedPortColour fore (ScopedPortColour::Which::fore);
    ScopedPortColour back (ScopedPortColour::Which::back);
    toolbox.ForeColor (blackColor);
    toolbox.BackColor (whiteColor);
    toolbox.TEUpdate (&area, edit);
}
