#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <string>

#include <gtest/gtest.h>

#include "ThrownCode.h"
#include "process/base/CDAEError.h"
#include "process/controls/CPluginControl_Continuous.h"
#include "process/controls/CPluginControl_Discrete.h"
#include "process/controls/CPluginControl_OnOff.h"
#include "process/controls/ControlValueMapping.h"
#include "process/base/FourCharCode.h"

namespace
{
constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// A continuous control with the library's linear mapping over its bounds.
class CLinearControl : public CPluginControl_Continuous
{
public:
    using CPluginControl_Continuous::CPluginControl_Continuous;
    int32_t StepCount() const override { return 0; }
    int32_t ContinuousToControlValue (double value) const override { return ScaleToLongReal (value, GetLowerBound(), GetUpperBound()); }
    double ControlToContinuousValue (int32_t value) const override { return ScaleFromLongReal (value, GetLowerBound(), GetUpperBound()); }
};

const SDisplayMultiplier kKilo[] = { { "", 1.0 }, { "k", 1000.0 } };

std::string Shown (const CPluginControl& control, int32_t maxLength, int32_t value)
{
    char buffer[300];
    std::memset (buffer, 0x7f, sizeof buffer);
    control.ValueToText (buffer, maxLength, value);
    EXPECT_EQ (buffer[maxLength], '\0');
    return buffer;
}

}

TEST (ControlValueMappingTest, IntegerRanges)
{
    EXPECT_EQ (ControlValueFraction (kMin), 0.0);
    EXPECT_EQ (ControlValueFraction (kMax), 1.0);
    EXPECT_DOUBLE_EQ (ControlValueFraction (0), 2147483648.0 / 4294967295.0);

    struct Case
    {
        int32_t value, min, max, result;
    };
    const Case fromLong[] = {
        { kMin, 0, 10, 0 },
        { kMax, 0, 10, 10 },
        { 0, 0, 10, 5 },
        { kMin, -5, 5, -5 },
        { kMin, 3, 3, 3 },
        { kMax, 3, 3, 3 },
        // The full 32-bit range: the width does not fit in 32 bits.
        { kMin, kMin, kMax, kMin },
        { kMax, kMin, kMax, kMax },
        { 12345, kMin, kMax, 12345 },
        { -1, kMin, kMax, -1 },
        { kMax, 10, 0, 0 },
        { kMin, 10, 0, 10 },
    };
    for (const auto& c : fromLong)
        EXPECT_EQ (ScaleFromLong (c.value, c.min, c.max), c.result) << c.value << " in [" << c.min << ", " << c.max << "]";

    const Case toLong[] = {
        { 0, 0, 10, kMin },
        { 10, 0, 10, kMax },
        { 5, 0, 10, 0 },
        { 11, 0, 10, kMax },
        { -3, 0, 10, kMin },
        { 1, 0, 1, kMax },
        { 0, 0, 1, kMin },
        // Zero-width ranges answer the minimum.
        { 0, 0, 0, kMin },
        { 7, 3, 3, kMin },
        { kMax, kMin, kMax, kMax },
        { kMin, kMin, kMax, kMin },
        { 10, 10, 0, kMin },
        { 0, 10, 0, kMax },
    };
    for (const auto& c : toLong)
        EXPECT_EQ (ScaleToLong (c.value, c.min, c.max), c.result) << c.value << " in [" << c.min << ", " << c.max << "]";
}

TEST (ControlValueMappingTest, RealRanges)
{
    EXPECT_EQ (ScaleFromLongReal (kMin, 2.0, 8.0), 2.0);
    EXPECT_EQ (ScaleFromLongReal (kMax, 2.0, 8.0), 8.0);

    struct Case
    {
        double value, low, high;
        int32_t result;
    };
    const Case cases[] = {
        { 0.0, 0.0, 1.0, kMin },
        { 1.0, 0.0, 1.0, kMax },
        { 2.0, 0.0, 1.0, kMax },
        { -2.0, 0.0, 1.0, kMin },
        { 0.5, 1.0, 0.0, 0 },
        { 0.0, 1.0, 0.0, kMax },
        { kNaN, 0.0, 1.0, kMin },
        { kInf, 0.0, 1.0, kMax },
        { -kInf, 0.0, 1.0, kMin },
        { 5.0, 3.0, 3.0, kMin },
        { 0.5, 0.0, kInf, kMin },
        { 0.5, kNaN, 1.0, kMin },
    };
    for (const auto& c : cases)
        EXPECT_EQ (ScaleToLongReal (c.value, c.low, c.high), c.result) << c.value << " in [" << c.low << ", " << c.high << "]";
}

TEST (DiscreteControlTest, ValuesStepsAndDefaults)
{
    CPluginControl_Discrete control (FourCharCode ("gain"), "Gain\nGn", 0, 10, 4, true);
    EXPECT_EQ (control.GetValue(), ScaleToLong (4, 0, 10));
    EXPECT_EQ (control.DefaultControlValue(), control.GetValue());
    EXPECT_EQ (control.GetIntegerValue(), 4);

    const std::pair<int32_t, int32_t> reads[] = { { kMin, 0 }, { kMax, 10 }, { 0, 5 } };
    for (const auto& [value, integer] : reads)
        EXPECT_EQ (control.IntegerFromControlValue (value), integer) << value;
    EXPECT_EQ (control.ControlValueFromInteger (11), control.ControlValueFromInteger (10));
    EXPECT_EQ (control.ControlValueFromInteger (5), 0);

    control.StoreDefaultValue (kMax);
    EXPECT_EQ (control.DefaultControlValue(), kMax);
    EXPECT_EQ (control.StepCount(), 11);
    EXPECT_EQ (control.GetValueKind(), 0);
    EXPECT_EQ (control.GetHostHint1(), 0);
    EXPECT_EQ (control.GetHostHint2(), 0);
    EXPECT_TRUE (control.IsAutomatable());
    EXPECT_EQ (control.GetIdentifier(), 0x6761696eu);

    const CPluginControl_Discrete whole (FourCharCode ("full"), "Full", kMin, kMax, 0, false);
    EXPECT_EQ (whole.StepCount(), kMax);
    EXPECT_FALSE (whole.IsAutomatable());
}

TEST (DiscreteControlTest, TextBothWays)
{
    const CPluginControl_Discrete control (FourCharCode ("gain"), "Gain", 0, 100000, 0, true);
    struct Case
    {
        const char* text;
        int32_t integer;
    };
    const Case parsed[] = {
        { "7", 7 },
        { "  42", 42 },
        { "12xyz", 12 },
        { "abc", 0 },
        { "", 0 },
        { "-5", 0 },
        { "99999999999999999999", 100000 },
        { "-99999999999999999999", 0 },
        { "2147483648", 100000 },
    };
    for (const auto& c : parsed)
        EXPECT_EQ (control.TextToValue (c.text), control.ControlValueFromInteger (c.integer)) << c.text;
    EXPECT_EQ (control.TextToValue (nullptr), control.ControlValueFromInteger (0));

    const int32_t top = control.ControlValueFromInteger (100000);
    EXPECT_EQ (Shown (control, 6, top), "100000");
    EXPECT_EQ (Shown (control, 5, top), "*");
    EXPECT_EQ (Shown (control, 0, top), "");
    EXPECT_EQ (Shown (control, 10, control.ControlValueFromInteger (7)), "7");

    for (int32_t allowed : { int32_t ('0'), int32_t ('9'), 8, 28, 29, 43, 45, 46, 58, 124 })
        EXPECT_TRUE (control.IsAllowedCharacter (allowed)) << allowed;
    for (int32_t refused : { int32_t ('a'), int32_t (' '), int32_t ('/'), 0, 300 })
        EXPECT_FALSE (control.IsAllowedCharacter (refused)) << refused;
}

TEST (OnOffControlTest, TextsInAnyLetterCase)
{
    const CPluginControl_OnOff plain (FourCharCode ("togl"), "Toggle", false, true);
    EXPECT_EQ (plain.GetValue(), static_cast<int32_t> (0x80000000u));
    EXPECT_EQ (plain.StepCount(), 2);
    struct Case
    {
        const char* text;
        int32_t value;
    };
    const Case cases[] = {
        { "On", 0x7fffffff },
        { "on", 0x7fffffff },
        { "ON", 0x7fffffff },
        { "oN", 0x7fffffff },
        { "Off", kMin },
        { "OFF", kMin },
        { "onn", kMin },
        { "o", kMin },
        { "", kMin },
        { "1", kMin },
    };
    for (const auto& c : cases)
        EXPECT_EQ (plain.TextToValue (c.text), c.value) << c.text;
    EXPECT_EQ (plain.TextToValue (nullptr), kMin);

    const CPluginControl_OnOff named (FourCharCode ("mode"), "Mode", true, false, "Active", "Bypassed");
    EXPECT_EQ (named.GetValue(), 0x7fffffff);
    EXPECT_EQ (named.TextToValue ("aCTIVE"), 0x7fffffff);
    EXPECT_EQ (named.TextToValue ("On"), kMin);
    EXPECT_EQ (Shown (named, 20, 0x7fffffff), "Active");
    EXPECT_EQ (Shown (named, 3, kMin), "Byp");

    const CPluginControl_OnOff half (FourCharCode ("half"), "Half", false, true, "Yes", nullptr);
    EXPECT_EQ (half.OnText(), "On");
    EXPECT_EQ (half.OffText(), "Off");
    const CPluginControl_OnOff longTexts (FourCharCode ("long"), "Long", false, true, std::string (300, 'y').c_str(), "n");
    EXPECT_EQ (longTexts.OnText().size(), 255u);
}

TEST (OnOffControlTest, ShortBuffersShowDigits)
{
    const CPluginControl_OnOff control (FourCharCode ("togl"), "Toggle", false, true);
    struct Case
    {
        int32_t maxLength;
        int32_t value;
        const char* text;
    };
    const Case cases[] = {
        { 1, 0x7fffffff, "1" },
        { 1, kMin, "0" },
        { 0, 0x7fffffff, "" },
        { 2, 0x7fffffff, "On" },
        { 2, kMin, "Of" },
        { 8, kMin, "Off" },
        { 8, 0, "On" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (Shown (control, c.maxLength, c.value), c.text) << c.maxLength << " " << c.value;
    for (int32_t allowed : { int32_t ('O'), int32_t ('o'), int32_t ('n'), int32_t ('3'), 124 })
        EXPECT_TRUE (control.IsAllowedCharacter (allowed)) << allowed;
    EXPECT_FALSE (control.IsAllowedCharacter ('f'));
    EXPECT_FALSE (control.IsAllowedCharacter ('N'));
}

TEST (PluginControlTest, NamesAreFittedToTheRoom)
{
    struct Case
    {
        const char* name;
        int32_t maxLength;
        const char* fitted;
    };
    const Case cases[] = {
        { "Master Bypass\nMastrByp\nMByp\nByp", 100, "Master Bypass" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 13, "Master Bypass" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 12, "MastrByp" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 8, "MastrByp" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 4, "MByp" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 3, "Byp" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 2, "By" },
        { "Master Bypass\nMastrByp\nMByp\nByp", 0, "" },
        { "Gain", 2, "Ga" },
        { "", 5, "" },
        { nullptr, 5, "" },
        { "Long\n\nX", 3, "" },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (testing::Message() << (c.name != nullptr ? c.name : "(null)") << " in " << c.maxLength);
        char buffer[128];
        std::memset (buffer, 0x7f, sizeof buffer);
        CopyNameToFit (buffer, c.name, c.maxLength);
        EXPECT_STREQ (buffer, c.fitted);
    }
}

TEST (PluginControlTest, TheMasterBypass)
{
    const auto bypass = MakeMasterBypassControl();
    EXPECT_EQ (bypass->GetIdentifier(), 0x62797061u);
    EXPECT_EQ (bypass->GetValue(), kControlValueOff);
    EXPECT_EQ (bypass->DefaultControlValue(), kControlValueOff);
    EXPECT_TRUE (bypass->IsAutomatable());
    EXPECT_FALSE (IsControlValueOn (bypass->GetValue()));
    EXPECT_TRUE (IsControlValueOn (0));
    EXPECT_EQ (kControlValueOn, 0x7fffffff);
    char name[9];
    bypass->GetNameToFit (name, 8, 0);
    EXPECT_STREQ (name, "MastrByp");
}

TEST (ContinuousControlTest, NumbersShrinkToFit)
{
    CLinearControl control (FourCharCode ("freq"), "Frequency", 0.0, 100.0, 50.0, true);
    control.SetPrecision (2);
    const int32_t value = control.ContinuousToControlValue (98.76);
    struct Case
    {
        int32_t maxLength;
        const char* text;
    };
    const Case cases[] = { { 10, "98.76" }, { 5, "98.76" }, { 4, "98.8" }, { 3, "99" }, { 2, "99" }, { 1, "*" }, { 0, "" } };
    for (const auto& c : cases)
        EXPECT_EQ (Shown (control, c.maxLength, value), c.text) << c.maxLength;

    control.SetPrecision (1000000000);
    EXPECT_EQ (Shown (control, 4, value), "98.8");
    control.SetPrecision (-3);
    EXPECT_EQ (Shown (control, 10, value), "99");

    // A number that cannot fit becomes "*", followed by the blank even without a unit.
    CLinearControl wide (FourCharCode ("cnt "), "Count", 0.0, 100000.0, 0.0, true);
    wide.SetPrecision (0);
    const int32_t large = wide.ContinuousToControlValue (12345.0);
    const Case starred[] = { { 5, "12345" }, { 4, "* " }, { 2, "* " }, { 1, "*" } };
    for (const auto& c : starred)
        EXPECT_EQ (Shown (wide, c.maxLength, large), c.text) << c.maxLength;

    CLinearControl symmetric (FourCharCode ("bal "), "Balance", -1.0, 1.0, 0.0, true);
    EXPECT_EQ (Shown (symmetric, 10, symmetric.ContinuousToControlValue (-0.04)), "0.0");
    EXPECT_EQ (Shown (symmetric, 10, symmetric.ContinuousToControlValue (-0.5)), "-0.5");
}

TEST (ContinuousControlTest, MultipliersAndUnits)
{
    CLinearControl withUnit (FourCharCode ("freq"), "Frequency", 0.0, 20000.0, 1000.0, true, &kKilo[0], &kKilo[1]);
    withUnit.SetUnitText ("Hz");
    CLinearControl noUnit (FourCharCode ("freq"), "Frequency", 0.0, 20000.0, 1000.0, true, &kKilo[0], &kKilo[1]);
    CLinearControl wideNoUnit (FourCharCode ("freq"), "Frequency", 0.0, 1.0e7, 1000.0, true, &kKilo[0], &kKilo[1]);
    struct Case
    {
        const CLinearControl* control;
        double value;
        int32_t maxLength;
        const char* text;
    };
    const Case cases[] = {
        { &withUnit, 500.0, 20, "500.0 Hz" },
        { &withUnit, 5000.0, 20, "5.0 kHz" },
        { &withUnit, 0.0, 20, "0.0 Hz" },
        { &withUnit, 5000.0, 6, "5.0kHz" },
        { &withUnit, 5000.0, 4, "5.0k" },
        { &withUnit, 5000.0, 3, "5k" },
        { &withUnit, 15000.0, 2, "*k" },
        { &withUnit, 15000.0, 1, "*" },
        { &noUnit, 5000.0, 20, "5.0k" },
        { &noUnit, 500.0, 20, "500.0" },
        { &wideNoUnit, 9999000.0, 4, "* k" },
        { &wideNoUnit, 9999000.0, 2, "*k" },
    };
    for (const auto& c : cases)
        EXPECT_EQ (Shown (*c.control, c.maxLength, c.control->ContinuousToControlValue (c.value)), c.text) << c.value << " in " << c.maxLength;
}

TEST (ContinuousControlTest, TextToValueReadsNumberMultiplierAndUnit)
{
    CLinearControl withUnit (FourCharCode ("freq"), "Frequency", 0.0, 20000.0, 1000.0, true, &kKilo[0], &kKilo[1]);
    withUnit.SetUnitText ("Hz");
    struct Case
    {
        const char* text;
        double value;
    };
    const Case parsed[] = { { "3 kHz", 3000.0 }, { "3kHz", 3000.0 }, { "3 k", 3000.0 }, { "3 Hz", 3.0 }, { "250", 250.0 }, { " 2.5k ", 2500.0 } };
    for (const auto& c : parsed)
        EXPECT_EQ (withUnit.TextToValue (c.text), withUnit.ContinuousToControlValue (c.value)) << c.text;
    for (const char* bad : { "3 MHz", "3 k Hz", "kHz", "", "1e999", "3 Hz extra" })
        EXPECT_EQ (ThrownCode ([&] { withUnit.TextToValue (bad); }), -7401) << bad;
    EXPECT_EQ (ThrownCode ([&] { withUnit.TextToValue (nullptr); }), -7401);

    const CLinearControl bare (FourCharCode ("gain"), "Gain", 0.0, 10.0, 1.0, true);
    EXPECT_EQ (bare.TextToValue ("2.5"), bare.ContinuousToControlValue (2.5));
    EXPECT_EQ (ThrownCode ([&] { bare.TextToValue ("2.5 x"); }), -7401);
}

TEST (ContinuousControlTest, DefaultsCharactersAndAccessors)
{
    CLinearControl control (FourCharCode ("freq"), "Frequency\nFreq", 0.0, 20000.0, 1000.0, false, &kKilo[0], &kKilo[1]);
    control.SetUnitText ("Hz");
    EXPECT_EQ (control.DefaultControlValue(), control.ContinuousToControlValue (1000.0));
    control.StoreDefaultValue (kMax);
    EXPECT_EQ (control.DefaultControlValue(), kMax);
    EXPECT_EQ (control.GetValueKind(), 1);
    EXPECT_EQ (control.GetPrecision(), 1);
    EXPECT_FALSE (control.IsAutomatable());
    control.SetValue (kMax);
    EXPECT_EQ (control.GetContinuousValue(), 20000.0);
    control.SetBounds (10.0, 20.0);
    EXPECT_EQ (control.GetContinuousValue(), 20.0);
    char name[5];
    control.GetNameToFit (name, 4, 0);
    EXPECT_STREQ (name, "Freq");

    for (int32_t allowed : { int32_t ('0'), int32_t ('.'), int32_t ('k'), int32_t ('H'), int32_t ('z'), 8, 28, 29, 43, 45 })
        EXPECT_TRUE (control.IsAllowedCharacter (allowed)) << allowed;
    for (int32_t refused : { int32_t ('x'), int32_t (' '), int32_t (':'), 0, 300, -5 })
        EXPECT_FALSE (control.IsAllowedCharacter (refused)) << refused;
}
