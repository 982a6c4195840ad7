#pragma once
// A two-state control: integer range [0, 1], shown as an on text and an off text.

#include <memory>
#include <string>

#include "process/controls/CPluginControl_Discrete.h"
#include "process/base/FourCharCode.h"

class CPluginControl_OnOff : public CPluginControl_Discrete
{
public:
    // "On" and "Off" unless both texts are given; each is kept to 255 characters.
    CPluginControl_OnOff (uint32_t identifier, const char* name, bool defaultOn, bool automatable,
                          const char* onText = nullptr, const char* offText = nullptr);

    int32_t StepCount() const override { return 2; }
    // The on text in any letter case gives on; anything else gives off.
    int32_t TextToValue (const char* text) const override;
    bool IsAllowedCharacter (int32_t characterCode) const override;
    void ValueToText (char* buffer, int32_t maxLength, int32_t controlValue) const override;

    const std::string& OnText() const { return fOnText; }
    const std::string& OffText() const { return fOffText; }

private:
    std::string fOnText;
    std::string fOffText;
};

inline constexpr int32_t kControlValueOn = kControlValueMax;
inline constexpr int32_t kControlValueOff = kControlValueMin;

// A control value reads as on when it is 0 or more.
inline bool IsControlValueOn (int32_t controlValue)
{
    return controlValue >= 0;
}

inline constexpr uint32_t kMasterBypassID = FourCharCode ("bypa");
inline constexpr const char* kMasterBypassNames = "Master Bypass\nMastrByp\nMByp\nByp";

// The process's master bypass: off by default, automatable.
std::unique_ptr<CPluginControl_OnOff> MakeMasterBypassControl();
