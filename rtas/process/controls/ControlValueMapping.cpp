#include "process/controls/ControlValueMapping.h"

#include <algorithm>
#include <cmath>

namespace
{
constexpr double kOffset = 2147483648.0;
constexpr double kSpan = 4294967295.0;
}

double ControlValueFraction (int32_t controlValue)
{
    return (static_cast<double> (controlValue) + kOffset) / kSpan;
}

int32_t ScaleFromLong (int32_t controlValue, int32_t min, int32_t max)
{
    const double low = min;
    const double result = std::floor (low + (static_cast<double> (max) - low) * ControlValueFraction (controlValue) + 0.5);
    return static_cast<int32_t> (result);
}

int32_t ScaleToLong (int32_t value, int32_t min, int32_t max)
{
    if (min == max)
        return kControlValueMin;
    const int32_t clamped = std::clamp (value, std::min (min, max), std::max (min, max));
    const double u = (static_cast<double> (clamped) - min) / (static_cast<double> (max) - min);
    return static_cast<int32_t> (std::trunc (kSpan * u - kOffset));
}

double ScaleFromLongReal (int32_t controlValue, double low, double high)
{
    return low + (high - low) * ControlValueFraction (controlValue);
}

int32_t ScaleToLongReal (double value, double low, double high)
{
    if (std::isnan (value) || low == high || ! std::isfinite (high - low))
        return kControlValueMin;
    const double clamped = std::clamp (value, std::min (low, high), std::max (low, high));
    const double u = (clamped - low) / (high - low);
    return static_cast<int32_t> (std::floor (u * kSpan - kOffset + 0.5));
}
