#pragma once
// A control over an integer range [min, max].

#include <string>

#include "process/controls/CPluginControl.h"

class CPluginControl_Discrete : public CPluginControl
{
public:
    // The current value starts at the default's control value.
    CPluginControl_Discrete (uint32_t identifier, const char* name, int32_t min, int32_t max, int32_t defaultValue, bool automatable);

    uint32_t GetIdentifier() const override { return fIdentifier; }
    int32_t DefaultControlValue() const override;
    void StoreDefaultValue (int32_t controlValue) override;
    // max - min + 1, saturated to the 32-bit range.
    int32_t StepCount() const override;
    // The text read as a decimal integer (leading digits, 0 for none), saturated, then mapped.
    int32_t TextToValue (const char* text) const override;
    bool IsAllowedCharacter (int32_t characterCode) const override;
    void GetNameToFit (char* buffer, int32_t maxLength, int32_t unused) const override;
    int32_t GetHostHint1() const override { return 0; }
    int32_t GetHostHint2() const override { return 0; }
    int32_t GetValueKind() const override { return 0; }
    // The integer in decimal, or "*" when it does not fit.
    void ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const override;
    bool IsAutomatable() const override { return fAutomatable; }

    int32_t GetIntegerValue() const { return IntegerFromControlValue (GetValue()); }
    int32_t GetMinimum() const { return fMin; }
    int32_t GetMaximum() const { return fMax; }
    int32_t ControlValueFromInteger (int32_t value) const { return ScaleToLong (value, fMin, fMax); }
    int32_t IntegerFromControlValue (int32_t controlValue) const { return ScaleFromLong (controlValue, fMin, fMax); }

private:
    uint32_t fIdentifier;
    std::string fName;
    int32_t fMin;
    int32_t fMax;
    int32_t fDefault;
    bool fAutomatable;
};
