// Texts of values: fixed decimals with their rounding and carries, texts read back as reals and
// integers through the toolbox, and texts right-aligned by a fill to a measured width.

#include "ViewTestSupport.h"

#include "views/controls/ValueText.h"

#include <cmath>
#include <limits>

namespace
{

TEST (ValueTexts, TwoDecimalsRoundByAddingAHalfHundredth)
{
    struct Case
    {
        double value;
        const char* text;
    };
    const Case cases[] = {
        { 0.0, "0.00" },
        { 2.5, "2.50" },
        { 0.004, "0.00" },
        { 0.006, "0.01" },
        { -1.236, "-1.24" },
        { -3.999, "-4.00" },
        { 12345.678, "12345.68" },
        { -0.001, "-0.00" },
        { std::numeric_limits<double>::quiet_NaN(), "0.00" },
        { 1.0e20, "1000000000000000.00" },
    };
    for (const Case& c : cases)
        EXPECT_EQ (FormatTwoDecimals (c.value), c.text) << c.value;
}

TEST (ValueTexts, DecimalsRoundCarryAndShowTheirSignAndIntegerPartOnlyWhenItCounts)
{
    struct Case
    {
        double value;
        int decimals;
        bool showZeroInteger;
        const char* text;
    };
    const Case cases[] = {
        { 1.234, 2, true, "1.23" },
        { 1.2351, 2, true, "1.24" },
        { 0.996, 2, true, "1.00" },
        { -0.996, 2, true, "-1.00" },
        { -0.001, 2, true, "0.00" },
        { 0.5, 1, false, ".5" },
        { 0.5, 1, true, "0.5" },
        { 3.25, 1, false, "3.3" },
        { 2.4, 0, true, "2" },
        { 2.5, 0, true, "3" },
        { 0.2, 0, false, "" },
        { -7.0, 3, true, "-7.000" },
        { 1.0, 12, true, "1.000000000" },
        { 1.0, -2, true, "1" },
        { std::numeric_limits<double>::infinity(), 1, true, "0.0" },
    };
    for (const Case& c : cases)
        EXPECT_EQ (FormatDecimals (c.value, c.decimals, c.showZeroInteger), c.text) << c.value << " with " << c.decimals;
}

class ValueTextsWithToolbox : public ViewToolboxTest
{
};

TEST_F (ValueTextsWithToolbox, AreReadAsRealsAndRoundedToIntegers)
{
    struct Case
    {
        const char* text;
        double real;
        int32_t integer;
    };
    const Case cases[] = {
        { "12.5", 12.5, 13 },
        { "-12.5", -12.5, -12 },
        { "+3", 3.0, 3 },
        { ".25 dB", 0.25, 0 },
        { "1e3", 1000.0, 1000 },
        { "kHz", 0.0, 0 },
        { "", 0.0, 0 },
        { "-", 0.0, 0 },
        { "inf", 0.0, 0 },
        { "1e400", 0.0, 0 },
        { "9999999999", 9999999999.0, INT32_MAX },
        { "-9999999999", -9999999999.0, INT32_MIN },
    };
    for (const Case& c : cases)
    {
        EXPECT_DOUBLE_EQ (TextToReal (c.text), c.real) << c.text;
        EXPECT_EQ (TextToInteger (c.text), c.integer) << c.text;
    }
    const std::string longText = std::string (254, '1') + "999";
    EXPECT_EQ (toolbox.script().callsOf ("StringToReal").back().text, "-9999999999");
    TextToReal (longText);
    EXPECT_EQ (toolbox.script().callsOf ("StringToReal").back().text.size(), 255u) << "a text longer than 255 characters is cut";
}

TEST_F (ValueTextsWithToolbox, AreRightAlignedByAFillToTheMeasuredWidth)
{
    HostToolbox().SetPort (window);
    HostToolbox().TextSize (9);
    struct Case
    {
        const char* text;
        const char* fill;
        int16_t width;
        std::string aligned;
    };
    const Case cases[] = {
        { "12", " ", 30, "   12" },
        { "12", " ", 31, "    12" },
        { "12", " ", 12, "12" },
        { "12", " ", 0, "12" },
        { "12", "ab", 30, "abab12" },
        { "12", "", 300, "12" },
        { "7", " ", 30000, std::string (254, ' ') + "7" },
    };
    for (const Case& c : cases)
        EXPECT_EQ (RightAlignText (c.text, c.fill, c.width), c.aligned) << c.text << " to " << c.width;
}

} // namespace
