#include "views/controls/ValueText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"

namespace
{
// Integer parts beyond this are written as this: a double holds no finer integers anyway.
constexpr double kLargestIntegerPart = 1.0e15;

std::string IntegerText (double integer)
{
    char digits[32];
    std::snprintf (digits, sizeof digits, "%.0f", std::min (integer, kLargestIntegerPart));
    return digits;
}

std::string FractionText (int64_t fraction, int decimals)
{
    char digits[16];
    std::snprintf (digits, sizeof digits, "%0*lld", decimals, static_cast<long long> (fraction));
    return digits;
}

std::string Pascal (std::string_view text)
{
    const size_t length = std::min<size_t> (text.size(), kPStrMaxLength);
    std::string pascal (1, static_cast<char> (length));
    pascal.append (text.substr (0, length));
    return pascal;
}
} // namespace

std::string FormatTwoDecimals (double value)
{
    if (! std::isfinite (value))
        value = 0.0;
    const double magnitude = std::fabs (value) + 0.005;
    const double integer = std::floor (magnitude);
    const auto hundredths = static_cast<int64_t> (std::min (std::floor ((magnitude - integer) * 100.0), 99.0));
    return (value < 0.0 ? "-" : "") + IntegerText (integer) + "." + FractionText (hundredths, 2);
}

std::string FormatDecimals (double value, int decimals, bool showZeroInteger)
{
    if (! std::isfinite (value))
        value = 0.0;
    decimals = std::clamp (decimals, 0, kMaxValueDecimals);
    const double scale = std::pow (10.0, decimals);
    const double magnitude = std::fabs (value) + 0.05 / scale;
    double integer = std::floor (magnitude);
    auto fraction = static_cast<int64_t> (std::llround ((magnitude - integer) * scale));
    if (fraction >= static_cast<int64_t> (scale))
    {
        integer += 1.0;
        fraction -= static_cast<int64_t> (scale);
    }
    std::string text = value < 0.0 && (integer != 0.0 || fraction != 0) ? "-" : "";
    if (integer != 0.0 || showZeroInteger)
        text += IntegerText (integer);
    if (decimals > 0)
        text += "." + FractionText (fraction, decimals);
    return text;
}

double TextToReal (std::string_view text)
{
    const std::string pascal = Pascal (text);
    double value = 0.0;
    if (HostToolbox().StringToReal (reinterpret_cast<const uint8_t*> (pascal.data()), &value) == 0 || ! std::isfinite (value))
        return 0.0;
    return value;
}

int32_t TextToInteger (std::string_view text)
{
    const double rounded = std::floor (TextToReal (text) + 0.5);
    return static_cast<int32_t> (std::clamp (rounded, double (INT32_MIN), double (INT32_MAX)));
}

std::string RightAlignText (std::string_view text, std::string_view fill, int16_t width)
{
    std::string aligned (text.substr (0, std::min<size_t> (text.size(), kPStrMaxLength)));
    if (fill.empty())
        return aligned;
    const HostToolboxRoutines& toolbox = HostToolbox();
    const auto measure = [&] { return toolbox.TextWidth (aligned.data(), 0, static_cast<int16_t> (aligned.size())); };
    while (measure() < width && aligned.size() + fill.size() <= kPStrMaxLength)
        aligned.insert (0, fill);
    return aligned;
}
