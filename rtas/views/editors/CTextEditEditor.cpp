#include "views/editors/CTextEditEditor.h"

#include "process/base/CDAEError.h"
#include "process/utilities/HostExtToolbox.h"
#include "views/controls/CControlView.h"
#include "views/description/CViewDescriptionReader.h"
#include "views/description/ViewRegistry.h"

CTextEditEditor::ScopedEditDrawing::ScopedEditDrawing (CPlugInView& view)
    : fDrawing (view, nullptr), fFore (ScopedPortColour::Which::fore), fBack (ScopedPortColour::Which::back)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    toolbox.ForeColor (blackColor);
    toolbox.BackColor (whiteColor);
}

CTextEditEditor::~CTextEditEditor()
{
    if (fEdit == nullptr)
        return;
    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
        toolbox->TEDispose (fEdit);
}

void CTextEditEditor::CloseEditRecord()
{
    if (fEdit == nullptr)
        return;
    const HostToolboxRoutines& toolbox = HostToolbox();
    TEHandle edit = fEdit;
    fEdit = nullptr;
    toolbox.TEDeactivate (edit);
    toolbox.TEDispose (edit);
}

void CTextEditEditor::Deactivate()
{
    CControlEditor::Deactivate();
    if (fEdit != nullptr)
        Invalidate (nullptr);
}

void CTextEditEditor::Activate()
{
    CControlEditor::Activate();
    if (fEdit != nullptr)
        Invalidate (nullptr);
}

void CTextEditEditor::HandleKey (int16_t character, bool& handled)
{
    handled = false;
    CControlView* view = GetBoundView();
    if (fEdit == nullptr || view == nullptr)
        return;
    if (view->IsAllowedCharacter (character))
    {
        const HostToolboxRoutines& toolbox = HostToolbox();
        ScopedEditDrawing drawing (*this);
        toolbox.TEKey (character, fEdit);
        fEdited = true;
        const Rect visible = GetVisibleRect();
        toolbox.TEUpdate (&visible, fEdit);
        handled = true;
        return;
    }
    const int16_t up = fReversed ? kDownArrowKey : kUpArrowKey;
    const int16_t down = fReversed ? kUpArrowKey : kDownArrowKey;
    if (character != up && character != down)
        return;
    const int32_t step = GetStep();
    if (character == up && step < GetStepCount() - 1)
        SetStep (step + 1);
    else if (character == down && step > 0)
        SetStep (step - 1);
    handled = true;
    fEdited = false;
}

void CTextEditEditor::EndEditing (bool)
{
    if (fEdit == nullptr)
        return;
    ScopedEditDrawing drawing (*this);
    CloseEditRecord();
}

bool CTextEditEditor::CanTakeFocus() const
{
    return true;
}

void CTextEditEditor::TrackMouse (const EventRecord& event, bool)
{
    const HostToolboxRoutines& toolbox = HostToolbox();
    ScopedViewDrawing drawing (*this, nullptr);
    ScopedPortText text;
    toolbox.TextMode (srcXor);
    toolbox.TextFont (kViewTextFont);
    toolbox.TextSize (kViewTextSize);
    if (fEdit != nullptr)
        toolbox.TEClick (event.where, (event.modifiers & kShiftModifier) != 0 ? 1 : 0, fEdit);
    else if (IsActive())
        BeginEditing();
}

void CTextEditEditor::Idle (int32_t value)
{
    CControlEditor::Idle (value);
    if (fEdit == nullptr)
        return;
    ScopedEditDrawing drawing (*this);
    HostToolbox().TEIdle (fEdit);
}

bool CTextEditEditor::IsHighlighted() const
{
    return false;
}

void CTextEditEditor::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    const SDescriptionNode* id = reader.TakeAttributeList();
    SetControlID (ControlIDOf (id));
    const SDescriptionNode* keyword = id->next;
    if (keyword == nullptr)
        return;
    if (keyword->kind != kNodeKeyword || keyword->value != ViewKeyword::kReverse || keyword->next != nullptr)
        throw CDAEError (RTASError::kConditionFalse);
    fReversed = true;
}
