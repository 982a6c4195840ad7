#pragma once

#include <cmath>

namespace kestrune::engine
{
// The largest magnitude the chain takes as an audio sample, 200 dB above full scale: up to it
// every running state stays finite, in single precision too. Anything beyond it, an infinity
// or a NaN is a fault upstream, not audio: it counts as silence.
inline constexpr float largestAudioSample = 1.0e10f;

inline bool isAudioSample (double sample) noexcept
{
    return std::abs (sample) <= static_cast<double> (largestAudioSample);
}
} // namespace kestrune::engine
