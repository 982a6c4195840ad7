// The mappings between control values and integer, step, logarithmic and piecewise-linear scales,
// at their extremes and in between.

#include "process/controls/ControlValueMapping.h"
#include "views/controls/CControlView.h"
#include "views/controls/ValueScaling.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace
{

TEST (ValueMappings, IntegerScalesAtTheirExtremesAndDegenerateRanges)
{
    struct Case
    {
        int32_t controlValue, min, max, integer;
    };
    // clang-format off
    const Case fromLong[] = {
        { INT32_MIN, 0, 9, 0 },  { INT32_MAX, 0, 9, 9 },  { 0, 0, 9, 5 },           { -1, 0, 9, 4 },
        { INT32_MIN, -5, 5, -5 }, { INT32_MAX, -5, 5, 5 }, { INT32_MAX, 9, 0, 0 },  { INT32_MIN, 9, 0, 9 },
        { 123456, 7, 7, 7 },     { INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX },   { INT32_MIN, INT32_MIN, INT32_MAX, INT32_MIN },
    };
    // clang-format on
    for (const Case& c : fromLong)
        EXPECT_EQ (ScaleFromLong (c.controlValue, c.min, c.max), c.integer) << c.controlValue << " in " << c.min << ".." << c.max;

    struct ToCase
    {
        int32_t integer, min, max, controlValue;
    };
    // clang-format off
    const ToCase toLong[] = {
        { 0, 0, 9, INT32_MIN },  { 9, 0, 9, INT32_MAX }, { -4, 0, 9, INT32_MIN }, { 12, 0, 9, INT32_MAX },
        { 5, 0, 10, 0 },         { 1, 0, 3, -715827883 }, { 2, 0, 3, 715827882 },
        { 5, 5, 5, INT32_MIN },  { INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX },
    };
    // clang-format on
    for (const ToCase& c : toLong)
        EXPECT_EQ (ScaleToLong (c.integer, c.min, c.max), c.controlValue) << c.integer << " in " << c.min << ".." << c.max;
}

// A control view of n steps, read back through the step operations.
class StepView : public CControlView
{
public:
    explicit StepView (int32_t steps) { SetStepCount (steps); }
};

TEST (ValueMappings, StepsOfOneToFourStepsAtEveryStepAndTheExtremes)
{
    struct Case
    {
        int32_t steps;
        std::vector<int32_t> valueOfStep;
    };
    const Case cases[] = {
        { 1, { INT32_MIN } },
        { 2, { INT32_MIN, INT32_MAX } },
        { 3, { INT32_MIN, 0, INT32_MAX } },
        { 4, { INT32_MIN, -715827883, 715827882, INT32_MAX } },
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (c.steps);
        StepView view (c.steps);
        for (size_t step = 0; step < c.valueOfStep.size(); ++step)
        {
            EXPECT_EQ (view.ValueFromStep (int32_t (step)), c.valueOfStep[step]) << "step " << step;
            EXPECT_EQ (view.StepFromValue (c.valueOfStep[step]), int32_t (step)) << "step " << step;
            view.SetStep (int32_t (step));
            EXPECT_EQ (view.GetValue(), c.valueOfStep[step]);
            EXPECT_EQ (view.GetStep(), int32_t (step));
        }
        EXPECT_EQ (view.StepFromValue (INT32_MIN), 0);
        EXPECT_EQ (view.StepFromValue (INT32_MAX), c.steps - 1);
    }
    // With one step every value is step 0; past the last step the value stays at the maximum.
    EXPECT_EQ (StepView (1).StepFromValue (0), 0);
    EXPECT_EQ (StepView (1).ValueFromStep (3), INT32_MIN);
    EXPECT_EQ (StepView (3).StepFromValue (0), 1);
    EXPECT_EQ (StepView (4).ValueFromStep (7), INT32_MAX);
    EXPECT_EQ (StepView (0).StepFromValue (INT32_MAX), 0);
}

TEST (ValueMappings, LogarithmicScalesMeetTheirEndsAndTheGeometricMiddle)
{
    EXPECT_NEAR (ScaleFromLongLog (INT32_MIN, 20.0, 20000.0), 20.0, 1.0e-9);
    EXPECT_NEAR (ScaleFromLongLog (INT32_MAX, 20.0, 20000.0), 20000.0, 1.0e-9);
    EXPECT_NEAR (ScaleFromLongLog (0, 20.0, 20000.0), std::sqrt (20.0 * 20000.0), 0.01);
    EXPECT_EQ (ScaleToLongLog (20.0, 20.0, 20000.0), INT32_MIN);
    EXPECT_EQ (ScaleToLongLog (20000.0, 20.0, 20000.0), INT32_MAX);
    EXPECT_NEAR (double (ScaleToLongLog (std::sqrt (20.0 * 20000.0), 20.0, 20000.0)), 0.0, 1.0);
    // Values beyond the range are kept at its ends.
    EXPECT_EQ (ScaleToLongLog (1.0e9, 20.0, 20000.0), INT32_MAX);
    EXPECT_EQ (ScaleToLongLog (1.0, 20.0, 20000.0), INT32_MIN);
    // A logarithm of a value not above 0 counts as 0: the scale then starts at 1, kept within
    // the range.
    EXPECT_EQ (ScaleToLongLog (0.0, 0.0, 100.0), INT32_MIN);
    EXPECT_EQ (ScaleToLongLog (-3.0, 0.0, 100.0), INT32_MIN);
    EXPECT_DOUBLE_EQ (ScaleFromLongLog (INT32_MIN, 0.0, 100.0), 1.0);
    EXPECT_NEAR (ScaleFromLongLog (INT32_MAX, 0.0, 100.0), 100.0, 1.0e-9);
    // A degenerate range answers its one value and the minimum control value.
    EXPECT_DOUBLE_EQ (ScaleFromLongLog (12345, 50.0, 50.0), 50.0);
    EXPECT_EQ (ScaleToLongLog (50.0, 50.0, 50.0), INT32_MIN);
    EXPECT_EQ (ScaleToLongLog (std::numeric_limits<double>::quiet_NaN(), 1.0, 10.0), INT32_MIN);
}

TEST (ValueMappings, PiecewiseScalesWalkTheirSegmentsAndSnapToTheirSteps)
{
    // 0-10 takes the lower half of the range in steps of 1, 10-100 the upper half in steps of 10.
    const SScaleSegment table[] = { { 0.0, 10.0, 0.5, 1.0 }, { 10.0, 100.0, 0.5, 10.0 } };
    struct Case
    {
        double value;
        int32_t controlValue;
    };
    const Case cases[] = {
        { 0.0, INT32_MIN },
        { 5.0, -1073741824 },
        { 10.0, 0 },
        { 55.0, 1073741823 },
        { 100.0, INT32_MAX },
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ (ScaleToLongPiecewise (c.value, table), c.controlValue) << c.value;
        EXPECT_NEAR (ScaleFromLongPiecewise (c.controlValue, table), c.value, 1.0e-6) << c.value;
    }
    // A value in no segment is the maximum; no table reads as 0.
    EXPECT_EQ (ScaleToLongPiecewise (-1.0, table), INT32_MAX);
    EXPECT_EQ (ScaleToLongPiecewise (250.0, table), INT32_MAX);
    EXPECT_EQ (ScaleToLongPiecewise (std::numeric_limits<double>::quiet_NaN(), table), INT32_MAX);
    EXPECT_DOUBLE_EQ (ScaleFromLongPiecewise (0, {}), 0.0);
    // Weights that fall short of the whole range leave the rest at the last end.
    const SScaleSegment short_[] = { { 0.0, 1.0, 0.25, 0.0 } };
    EXPECT_DOUBLE_EQ (ScaleFromLongPiecewise (INT32_MAX, short_), 1.0);
    EXPECT_EQ (ScaleToLongPiecewise (1.0, short_), int32_t (std::trunc (0.25 * 4294967295.0 - 2147483648.0)));

    struct Snap
    {
        double value, snapped;
    };
    const Snap snaps[] = { { 3.4, 3.0 }, { 3.5, 4.0 }, { 37.0, 40.0 }, { 94.9, 90.0 }, { -5.0, -5.0 }, { 140.0, 140.0 } };
    for (const Snap& s : snaps)
        EXPECT_DOUBLE_EQ (SnapToSegmentStep (s.value, table), s.snapped) << s.value;
    const SScaleSegment noStep[] = { { 0.0, 1.0, 1.0, 0.0 } };
    EXPECT_DOUBLE_EQ (SnapToSegmentStep (0.37, noStep), 0.37);
}

} // namespace
