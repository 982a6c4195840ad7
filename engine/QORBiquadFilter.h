#pragma once

#include <cmath>

// A biquad on floats in transposed direct form II, with the arithmetic of juce::IIRFilter,
// inline and without a lock, so that a loop over many samples keeps the state in registers.
// It runs in either of JUCE's two ways: sample by sample with each output set to zero when
// it lies within 1e-8 of zero (the state then updated with the zeroed output), or over a run
// of samples whose outputs are left as they are, the two state words being set to zero at
// the end of the run when they lie within 1e-8 of zero.
struct QORBiquadFilter
{
    // The coefficients of a design normalised by a0, as juce::IIRCoefficients holds them:
    // b0, b1, b2, a1, a2. Poles very close to z = 1 or z = -1 (a corner far below the rate,
    // or close to half of it) can round to floats that put one on or outside the unit
    // circle, where |a1| >= 1 + a2: a1 is then moved towards 0 by the fewest float steps
    // that bring it inside. Coefficients inside are kept as they are.
    void setCoefficients (const float (&normalised)[5]) noexcept
    {
        b0 = normalised[0];
        b1 = normalised[1];
        b2 = normalised[2];
        a1 = insideTheUnitCircle (normalised[3], normalised[4]);
        a2 = normalised[4];
    }

    // a1 for a2, moved towards 0 where the two put a pole on or outside the unit circle.
    static float insideTheUnitCircle (float a1, float a2) noexcept
    {
        if (std::abs (a2) < 1.0f)
            while (std::abs (static_cast<double> (a1)) >= 1.0 + static_cast<double> (a2))
                a1 = std::nextafter (a1, 0.0f);
        return a1;
    }

    // One sample, its output zeroed near zero (juce::IIRFilter::processSingleSampleRaw).
    float processSample (float in) noexcept { return advance (in, zeroedNearZero (b0 * in + s1)); }

    // One sample of a run (juce::IIRFilter::processSamples); endRun closes the run.
    float processRunSample (float in) noexcept { return advance (in, b0 * in + s1); }
    void endRun() noexcept
    {
        s1 = zeroedNearZero (s1);
        s2 = zeroedNearZero (s2);
    }

    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    float s1 = 0.0f, s2 = 0.0f;

private:
    // Without a branch: the sign of the output changes too often to predict.
    static float zeroedNearZero (float value) noexcept { return std::abs (value) > 1.0e-8f ? value : 0.0f; }

    float advance (float in, float out) noexcept
    {
        s1 = b1 * in - a1 * out + s2;
        s2 = b2 * in - a2 * out;
        return out;
    }
};
