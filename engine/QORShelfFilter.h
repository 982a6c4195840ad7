#pragma once

// A biquad on floats in transposed direct form II whose output is set to zero whenever it
// lies within 1e-8 of zero (the state is then updated with the zeroed output): the
// arithmetic of juce::IIRFilter::processSingleSampleRaw, inline and without a lock, so that
// a loop over many samples keeps the state in registers.
struct QORShelfFilter
{
    // The coefficients of a design, normalised by a0.
    void setCoefficients (float newB0, float newB1, float newB2, float newA1, float newA2) noexcept
    {
        b0 = newB0;
        b1 = newB1;
        b2 = newB2;
        a1 = newA1;
        a2 = newA2;
    }

    float processSample (float in) noexcept
    {
        float out = b0 * in + s1;
        if (! (out < -1.0e-8f || out > 1.0e-8f))
            out = 0.0f;
        s1 = b1 * in - a1 * out + s2;
        s2 = b2 * in - a2 * out;
        return out;
    }

    float b0 = 0.0f, b1 = 0.0f, b2 = 0.0f, a1 = 0.0f, a2 = 0.0f;
    float s1 = 0.0f, s2 = 0.0f;
};
