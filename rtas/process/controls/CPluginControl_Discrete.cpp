#include "process/controls/CPluginControl_Discrete.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace
{
// Like atol, but out-of-range numbers saturate instead of overflowing.
int32_t ParseSaturatedInteger (const char* text)
{
    if (text == nullptr)
        return 0;
    const long long value = std::strtoll (text, nullptr, 10);
    return static_cast<int32_t> (std::clamp<long long> (value, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}
}

CPluginControl_Discrete::CPluginControl_Discrete (uint32_t identifier, const char* name, int32_t min, int32_t max,
                                                  int32_t defaultValue, bool automatable)
    : fIdentifier (identifier), fName (name != nullptr ? name : ""), fMin (min), fMax (max), fDefault (defaultValue), fAutomatable (automatable)
{
    SetValue (ControlValueFromInteger (fDefault));
}

int32_t CPluginControl_Discrete::DefaultControlValue() const
{
    return ControlValueFromInteger (fDefault);
}

void CPluginControl_Discrete::StoreDefaultValue (int32_t controlValue)
{
    fDefault = IntegerFromControlValue (controlValue);
}

int32_t CPluginControl_Discrete::StepCount() const
{
    const int64_t steps = static_cast<int64_t> (fMax) - fMin + 1;
    return static_cast<int32_t> (std::clamp<int64_t> (steps, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()));
}

int32_t CPluginControl_Discrete::TextToValue (const char* text) const
{
    return ControlValueFromInteger (ParseSaturatedInteger (text));
}

bool CPluginControl_Discrete::IsAllowedCharacter (int32_t characterCode) const
{
    if (characterCode >= '0' && characterCode <= '9')
        return true;
    constexpr int32_t kAllowed[] = { 8, 28, 29, '+', '-', '.', ':', '|' };
    return std::find (std::begin (kAllowed), std::end (kAllowed), characterCode) != std::end (kAllowed);
}

void CPluginControl_Discrete::GetNameToFit (char* buffer, int32_t maxLength, int32_t) const
{
    CopyNameToFit (buffer, fName.c_str(), maxLength);
}

void CPluginControl_Discrete::ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const
{
    const std::string number = std::to_string (IntegerFromControlValue (controlValue));
    const bool fits = static_cast<int64_t> (number.size()) <= maxLength;
    CopyTextToFit (buffer, fits ? number.c_str() : "*", maxLength);
}
