#include "views/controls/CControlView.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "process/base/CDAEError.h"
#include "process/controls/ControlValueMapping.h"
#include "process/utilities/PStrings.h"
#include "views/base/PStringOrEmpty.h"
#include "views/description/CViewDescriptionReader.h"

namespace
{
const SDescriptionNode* IntegerNode (const SDescriptionNode* node)
{
    ThrowIfNull (node);
    if (node->kind != kNodeInteger)
        ThrowConditionFalse();
    return node;
}
} // namespace

CControlView::~CControlView()
{
    IControlViewEditor* editor = fFirstEditor;
    fFirstEditor = nullptr;
    while (editor != nullptr)
    {
        IControlViewEditor* next = editor->GetNextEditor();
        editor->SetNextEditor (nullptr);
        editor->SetBoundView (nullptr);
        editor = next;
    }
}

// ---- The value ----

int32_t CControlView::GetStepCount() const
{
    return fStepCount;
}

int32_t CControlView::GetDefaultValue() const
{
    return fDefaultValue;
}

int32_t CControlView::GetValue() const
{
    return fValue;
}

void CControlView::SetValue (int32_t value)
{
    fValue = value;
    UpdateEditors();
}

void CControlView::GetName (uint8_t* name) const
{
    if (name != nullptr)
        PStrCopy63 (fName, name);
}

void CControlView::SetName (const uint8_t* name)
{
    PStrCopy63 (PStrOrEmpty (name), fName);
}

void CControlView::ValueToText (int32_t value, char* text, int32_t length) const
{
    if (text == nullptr || length < 0)
        return;
    const auto upper = static_cast<int16_t> (static_cast<uint32_t> (value) >> 16);
    char digits[8];
    std::snprintf (digits, sizeof digits, "%d", int (upper));
    const size_t kept = std::min (std::strlen (digits), static_cast<size_t> (length));
    std::memcpy (text, digits, kept);
    text[kept] = 0;
}

int32_t CControlView::TextToValue (const char*, int32_t* value) const
{
    if (value != nullptr)
        *value = 0;
    return 0;
}

bool CControlView::IsAllowedCharacter (int16_t) const
{
    return false;
}

// ---- Highlight ----

void CControlView::SetHighlighted (bool highlighted)
{
    const uint8_t flag = highlighted ? 1 : 0;
    if (flag == fHighlighted)
        return;
    fHighlighted = flag;
    RedrawEditors();
}

void CControlView::SetHighlight (int16_t colour, int16_t extra, const uint8_t* text)
{
    const bool changed = colour != fHighlightColour || extra != fHighlightExtra;
    fHighlightColour = colour;
    fHighlightExtra = extra;
    PStrCopy (PStrOrEmpty (text), fHighlightText);
    if (changed)
        RedrawEditors();
}

bool CControlView::IsHighlighted() const
{
    return fHighlighted != 0;
}

void CControlView::GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const
{
    if (colour != nullptr)
        *colour = fHighlightColour;
    if (extra != nullptr)
        *extra = fHighlightExtra;
    if (text != nullptr)
        PStrCopy (fHighlightText, text);
}

void CControlView::ReadDescription (CViewDescriptionReader& reader)
{
    CCustomView::ReadDescription (reader);
    const SDescriptionNode* name = reader.TakeAttributeList();
    ThrowIfNull (name);
    if (name->kind != kNodeString)
        ThrowConditionFalse();
    const SDescriptionNode* steps = IntegerNode (name->next);
    const SDescriptionNode* initial = IntegerNode (steps->next);
    const SDescriptionNode* fallback = initial->next != nullptr ? IntegerNode (initial->next) : nullptr;
    if (fallback != nullptr && fallback->next != nullptr)
        ThrowConditionFalse();
    SetName (NodeText (*name));
    fStepCount = steps->value;
    SetValue (initial->value);
    if (fallback != nullptr)
        fDefaultValue = fallback->value;
}

// ---- Editors ----

bool CControlView::HasEditor (const IControlViewEditor* editor) const
{
    for (const IControlViewEditor* attached = fFirstEditor; attached != nullptr; attached = attached->GetNextEditor())
        if (attached == editor)
            return true;
    return false;
}

void CControlView::AttachEditor (IControlViewEditor* editor)
{
    if (editor == nullptr)
        return;
    if (HasEditor (editor))
        ThrowConditionFalse();
    editor->SetBoundView (this);
    editor->SetNextEditor (nullptr);
    if (fFirstEditor == nullptr)
        fFirstEditor = editor;
    else
    {
        IControlViewEditor* last = fFirstEditor;
        while (last->GetNextEditor() != nullptr)
            last = last->GetNextEditor();
        last->SetNextEditor (editor);
    }
    editor->ValueChanged();
}

void CControlView::DetachEditor (IControlViewEditor* editor)
{
    if (editor == nullptr || ! HasEditor (editor))
        return;
    if (fFirstEditor == editor)
        fFirstEditor = editor->GetNextEditor();
    else
    {
        IControlViewEditor* before = fFirstEditor;
        while (before->GetNextEditor() != editor)
            before = before->GetNextEditor();
        before->SetNextEditor (editor->GetNextEditor());
    }
    editor->SetNextEditor (nullptr);
    editor->SetBoundView (nullptr);
}

void CControlView::UpdateEditors()
{
    for (IControlViewEditor* editor = fFirstEditor; editor != nullptr; editor = editor->GetNextEditor())
        editor->ValueChanged();
}

void CControlView::RedrawEditors()
{
    for (IControlViewEditor* editor = fFirstEditor; editor != nullptr; editor = editor->GetNextEditor())
        editor->Redraw();
}

// ---- Steps ----

int32_t CControlView::ValueFromStep (int32_t step) const
{
    const int32_t steps = GetStepCount();
    if (steps < 2)
        return kControlValueMin;
    if (steps % 2 != 0 && step == steps / 2)
        return 0;
    return ScaleToLong (step, 0, steps - 1);
}

int32_t CControlView::StepFromValue (int32_t value) const
{
    const int32_t steps = GetStepCount();
    if (steps < 2)
        return 0;
    if (steps % 2 != 0 && value == 0)
        return steps / 2;
    return ScaleFromLong (value, 0, steps - 1);
}

int32_t CControlView::GetStep() const
{
    return StepFromValue (GetValue());
}

void CControlView::SetStep (int32_t step)
{
    SetValue (ValueFromStep (step));
}
