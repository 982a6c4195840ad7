#pragma once
// One host-visible, automatable value of a process, held as a signed 32-bit control value; the
// control turns it into an engineering value and into text, and back.

#include <cstdint>

#include "process/controls/ControlValueMapping.h"

class CPluginControl
{
public:
    CPluginControl() = default;
    CPluginControl (const CPluginControl&) = delete;
    CPluginControl& operator= (const CPluginControl&) = delete;

    // [host thread] for every operation below.
    virtual uint32_t GetIdentifier() const = 0;
    virtual int32_t DefaultControlValue() const = 0;
    virtual void StoreDefaultValue (int32_t) {}
    virtual int32_t StepCount() const = 0;
    // Throws CDAEError -7401 for text that does not parse as a value (where the kind says so).
    virtual int32_t TextToValue (const char* text) const = 0;
    virtual bool IsAllowedCharacter (int32_t characterCode) const = 0;
    // The buffer holds maxLength + 1 bytes.
    virtual void GetNameToFit (char* buffer, int32_t maxLength, int32_t unused) const = 0;
    virtual int32_t GetHostHint1() const = 0;
    virtual int32_t GetHostHint2() const = 0;
    // 1 continuous, 0 discrete.
    virtual int32_t GetValueKind() const = 0;
    // The buffer holds maxLength + 1 bytes.
    virtual void ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const = 0;
    virtual bool IsAutomatable() const = 0;
    virtual ~CPluginControl() = default;

    int32_t GetValue() const { return fValue; }
    void SetValue (int32_t controlValue) { fValue = controlValue; }

private:
    int32_t fValue = kControlValueMin;
};

// Copies the first newline-separated alternative of the name that has at most maxLength
// characters (the last alternative, cut, when none fits) and a terminating zero; a null name
// gives an empty text. The buffer holds maxLength + 1 bytes.
void CopyNameToFit (char* buffer, const char* name, int32_t maxLength);

// Copies at most maxLength characters and writes a zero at position maxLength.
void CopyTextToFit (char* buffer, const char* text, int32_t maxLength);
