#include "views/controls/ValueScaling.h"

#include <algorithm>
#include <cmath>

#include "process/controls/ControlValueMapping.h"

namespace
{
constexpr double kOffset = 2147483648.0;
constexpr double kSpan = 4294967295.0;

double LogarithmOf (double value)
{
    return value > 0.0 ? std::log (value) : 0.0;
}

// Whether the real lies on the segment, whichever way round its ends are.
bool Holds (const SScaleSegment& segment, double value)
{
    return value >= std::min (segment.low, segment.high) && value <= std::max (segment.low, segment.high);
}

const SScaleSegment* SegmentHolding (std::span<const SScaleSegment> segments, double value)
{
    const auto found = std::find_if (segments.begin(), segments.end(), [value] (const SScaleSegment& segment) { return Holds (segment, value); });
    return found != segments.end() ? &*found : nullptr;
}

int32_t ClampedControlValue (double value)
{
    if (std::isnan (value))
        return kControlValueMin;
    return static_cast<int32_t> (std::trunc (std::clamp (value, double (kControlValueMin), double (kControlValueMax))));
}
} // namespace

double ScaleFromLongLog (int32_t controlValue, double min, double max)
{
    const double logarithm = ScaleFromLongReal (controlValue, LogarithmOf (min), LogarithmOf (max));
    return std::clamp (std::exp (logarithm), std::min (min, max), std::max (min, max));
}

int32_t ScaleToLongLog (double value, double min, double max)
{
    return ScaleToLongReal (LogarithmOf (value), LogarithmOf (min), LogarithmOf (max));
}

int32_t ScaleToLongPiecewise (double value, std::span<const SScaleSegment> segments)
{
    double before = 0.0;
    for (const SScaleSegment& segment : segments)
    {
        if (Holds (segment, value))
        {
            const double length = segment.high - segment.low;
            const double within = length != 0.0 ? (value - segment.low) / length : 0.0;
            return ClampedControlValue ((before + segment.weight * within) * kSpan - kOffset);
        }
        before += segment.weight;
    }
    return kControlValueMax;
}

double ScaleFromLongPiecewise (int32_t controlValue, std::span<const SScaleSegment> segments)
{
    if (segments.empty())
        return 0.0;
    const double fraction = (double (controlValue) + kOffset) / kOffset / 2.0;
    double before = 0.0;
    for (const SScaleSegment& segment : segments)
    {
        if (segment.weight > 0.0 && fraction <= before + segment.weight)
        {
            const double within = std::clamp ((fraction - before) / segment.weight, 0.0, 1.0);
            return segment.low + (segment.high - segment.low) * within;
        }
        before += segment.weight;
    }
    return segments.back().high;
}

double SnapToSegmentStep (double value, std::span<const SScaleSegment> segments)
{
    const SScaleSegment* segment = SegmentHolding (segments, value);
    if (segment == nullptr || ! (segment->step > 0.0))
        return value;
    return segment->step * std::floor (value / segment->step + 0.5);
}
