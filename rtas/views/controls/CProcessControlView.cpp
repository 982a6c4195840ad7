#include "views/controls/CProcessControlView.h"

#include "process/controls/CPluginControl.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/process/CProcess.h"

int32_t CProcessControlView::GetStepCount() const
{
    if (! IsBound())
        return CControlView::GetStepCount();
    int32_t steps = 0;
    fProcess->GetControlStepCount (fControlIndex, &steps);
    return steps;
}

int32_t CProcessControlView::GetDefaultValue() const
{
    if (! IsBound())
        return CControlView::GetDefaultValue();
    int32_t value = 0;
    fProcess->GetControlDefaultValue (fControlIndex, &value);
    return value;
}

int32_t CProcessControlView::GetValue() const
{
    if (! IsBound())
        return CControlView::GetValue();
    int32_t value = 0;
    fProcess->GetControlValue (fControlIndex, &value);
    return value;
}

void CProcessControlView::SetValue (int32_t value)
{
    if (! IsBound())
    {
        CControlView::SetValue (value);
        return;
    }
    StoreValue (value);
    fProcess->SetControlValue (fControlIndex, value);
}

void CProcessControlView::ValueToText (int32_t value, char* text, int32_t length) const
{
    const CPluginControl* control = IsBound() ? fProcess->GetControl (fControlIndex) : nullptr;
    if (control == nullptr)
    {
        CControlView::ValueToText (value, text, length);
        return;
    }
    if (text != nullptr && length >= 0)
        control->ValueToText (text, length, value);
}

int32_t CProcessControlView::TextToValue (const char* text, int32_t* value) const
{
    if (! IsBound())
        return CControlView::TextToValue (text, value);
    int32_t parsed = 0;
    const int32_t result = fProcess->GetControlValueFromText (fControlIndex, &parsed, text);
    if (value != nullptr)
        *value = parsed;
    return result;
}

bool CProcessControlView::IsAllowedCharacter (int16_t character) const
{
    if (! IsBound())
        return CControlView::IsAllowedCharacter (character);
    uint8_t allowed = 0;
    fProcess->IsControlCharacterAllowed (fControlIndex, character, &allowed);
    return allowed != 0;
}

void CProcessControlView::SetControl (CProcess* process, int32_t index, bool refreshEditors)
{
    fProcess = process;
    fControlIndex = process != nullptr ? index : 0;
    if (process != nullptr)
    {
        int32_t value = GetStoredValue();
        process->GetControlValue (index, &value);
        StoreValue (value);
    }
    if (refreshEditors)
        UpdateEditors();
}

void CProcessControlView::ShowValue (int32_t controlValue)
{
    StoreValue (controlValue);
    UpdateEditors();
}

void CProcessControlView::SetHighlighted (bool highlighted)
{
    CControlView::SetHighlighted (highlighted);
}

bool CProcessControlView::IsHighlighted() const
{
    return CControlView::IsHighlighted();
}

void CProcessControlView::SetHighlight (int16_t colour, int16_t extra, const uint8_t* text)
{
    CControlView::SetHighlight (colour, extra, text);
}

void CProcessControlView::GetHighlight (int16_t* colour, int16_t* extra, uint8_t* text) const
{
    CControlView::GetHighlight (colour, extra, text);
}

bool CProcessControlView::IsProcessControl() const
{
    return true;
}

void CProcessControlView::GetControlIndex (int32_t* index) const
{
    if (index != nullptr)
        *index = fControlIndex;
}

void CProcessControlView::Idle (int32_t value)
{
    if (IsBound())
        fProcess->ServiceSDSTokens();
    if (HostCallbackProc callback = CProcessGroupInterface::GetHostCallback())
        callback (kControlViewIdleNotice, nullptr, nullptr);
    CControlView::Idle (value);
}
