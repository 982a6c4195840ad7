#include "process/controls/CPluginControl_OnOff.h"

#include <cctype>

namespace
{
std::string Kept (const char* text)
{
    return std::string (text).substr (0, 255);
}

bool EqualIgnoringCase (const char* a, const std::string& b)
{
    size_t i = 0;
    for (; a[i] != '\0' && i < b.size(); ++i)
        if (std::toupper (static_cast<unsigned char> (a[i])) != std::toupper (static_cast<unsigned char> (b[i])))
            return false;
    return a[i] == '\0' && i == b.size();
}
}

CPluginControl_OnOff::CPluginControl_OnOff (uint32_t identifier, const char* name, bool defaultOn, bool automatable,
                                            const char* onText, const char* offText)
    : CPluginControl_Discrete (identifier, name, 0, 1, defaultOn ? 1 : 0, automatable)
{
    const bool given = onText != nullptr && offText != nullptr;
    fOnText = given ? Kept (onText) : "On";
    fOffText = given ? Kept (offText) : "Off";
}

int32_t CPluginControl_OnOff::TextToValue (const char* text) const
{
    if (text != nullptr && EqualIgnoringCase (text, fOnText))
        return kControlValueOn;
    return kControlValueOff;
}

bool CPluginControl_OnOff::IsAllowedCharacter (int32_t characterCode) const
{
    return characterCode == 'O' || characterCode == 'o' || characterCode == 'n'
           || CPluginControl_Discrete::IsAllowedCharacter (characterCode);
}

void CPluginControl_OnOff::ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const
{
    const bool on = IntegerFromControlValue (controlValue) != 0;
    const char* text = maxLength < 2 ? (on ? "1" : "0") : (on ? fOnText : fOffText).c_str();
    CopyTextToFit (buffer, text, maxLength);
}

std::unique_ptr<CPluginControl_OnOff> MakeMasterBypassControl()
{
    return std::make_unique<CPluginControl_OnOff> (kMasterBypassID, kMasterBypassNames, false, true);
}
