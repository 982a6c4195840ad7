#pragma once
// A control over a real range [lower, upper]; the mapping between engineering values and control
// values is supplied by the derived class. Values are shown with a precision, an optional unit and
// an optional table of display multipliers (such as "" x1 and "k" x1000).

#include <string>

#include "process/controls/CPluginControl.h"

struct SDisplayMultiplier
{
    const char* text;
    double factor;
};

class CPluginControl_Continuous : public CPluginControl
{
public:
    // The multiplier table is caller-owned, given by its first and last entry in ascending order
    // of factor; null for none.
    CPluginControl_Continuous (uint32_t identifier, const char* name, double lower, double upper, double defaultValue,
                               bool automatable, const SDisplayMultiplier* firstMultiplier = nullptr,
                               const SDisplayMultiplier* lastMultiplier = nullptr);

    uint32_t GetIdentifier() const override { return fIdentifier; }
    int32_t DefaultControlValue() const override;
    void StoreDefaultValue (int32_t controlValue) override;
    // A number and at most one word (multiplier text and unit); anything else throws -7401.
    int32_t TextToValue (const char* text) const override;
    bool IsAllowedCharacter (int32_t characterCode) const override;
    void GetNameToFit (char* buffer, int32_t maxLength, int32_t unused) const override;
    int32_t GetHostHint1() const override { return 0; }
    int32_t GetHostHint2() const override { return 0; }
    int32_t GetValueKind() const override { return 1; }
    // The number with as many decimals of the precision as fit, the multiplier text and the
    // unit; "*" for a number that does not fit at all.
    void ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const override;
    bool IsAutomatable() const override { return fAutomatable; }

    virtual int32_t ContinuousToControlValue (double value) const = 0;
    virtual double ControlToContinuousValue (int32_t controlValue) const = 0;

    double GetContinuousValue() const { return ControlToContinuousValue (GetValue()); }
    double GetLowerBound() const { return fLower; }
    double GetUpperBound() const { return fUpper; }
    void SetBounds (double lower, double upper);
    int32_t GetPrecision() const { return fPrecision; }
    void SetPrecision (int32_t decimals) { fPrecision = decimals; }
    const std::string& GetUnitText() const { return fUnit; }
    void SetUnitText (const char* unit) { fUnit = unit != nullptr ? unit : ""; }

private:
    const SDisplayMultiplier* FindMultiplier (double magnitude) const;

    uint32_t fIdentifier;
    std::string fName;
    double fLower;
    double fUpper;
    double fDefault;
    bool fAutomatable;
    int32_t fPrecision = 1;
    std::string fUnit;
    const SDisplayMultiplier* fMultipliers = nullptr;
    const SDisplayMultiplier* fMultipliersEnd = nullptr;
};
