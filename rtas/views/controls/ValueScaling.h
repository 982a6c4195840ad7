#pragma once
// Scales between control values (signed 32-bit over the whole range) and reals on logarithmic and
// piecewise-linear scales, beside the linear integer and real scales of the controls
// (ScaleFromLong, ScaleToLong, ScaleFromLongReal, ScaleToLongReal). All arithmetic is done in
// double, and every result is kept within its range.

#include <cstdint>
#include <span>

// The real of a control value on the logarithmic scale of [min, max]: the linear scale of the
// natural logarithms (a logarithm of a value not above 0 counts as 0), back from the logarithm
// and kept within [min, max].
double ScaleFromLongLog (int32_t controlValue, double min, double max);
// The control value of a real on the logarithmic scale of [min, max], rounded to nearest.
int32_t ScaleToLongLog (double value, double min, double max);

// One segment of a piecewise-linear scale: the reals from `low` to `high`, the share of the
// control range that they take (`weight`; a table's weights add up to 1) and their step size.
struct SScaleSegment
{
    double low;
    double high;
    double weight;
    double step;
};

// The control value of a real: the weights of the segments before the first segment that holds
// the real, plus its own weight times how far into it the real lies, over the control range; the
// maximum for a real that no segment holds.
int32_t ScaleToLongPiecewise (double value, std::span<const SScaleSegment> segments);
// The real of a control value: its fraction of the range, (c + 2^31) / 2^32, walked through the
// weights into the segment it falls in; the last segment's end past all weights, 0 for no table.
double ScaleFromLongPiecewise (int32_t controlValue, std::span<const SScaleSegment> segments);
// The real rounded to a multiple of the step size of the first segment that holds it; unchanged
// when none holds it or its step is not above 0.
double SnapToSegmentStep (double value, std::span<const SScaleSegment> segments);
