#pragma once

#include <algorithm>
#include <cmath>

// Tracks the RMS-like magnitude of a signal: each step moves the state one damped Newton
// step towards the root of the squared input, so the state never reaches zero.
struct QORLevelSmoother
{
    double sampleRate = 44100.0;
    double time = 0.0005;
    double coefficient = coefficientFor (44100.0, 0.0005);
    double state = 0.00001;
    double floor = 0.00001;

    static double coefficientFor (double rate, double seconds) noexcept
    {
        return (1.0 - std::exp (-1.0 / (rate * seconds))) * 0.5;
    }

    void setSampleRate (double rate) noexcept
    {
        sampleRate = rate;
        coefficient = coefficientFor (sampleRate, time);
    }

    void setTime (double seconds) noexcept
    {
        time = seconds;
        setSampleRate (sampleRate);
    }

    void feed (double x) noexcept
    {
        const double squared = std::max (x * x, floor);
        state += (squared / state - state) * coefficient;
    }
};
