#pragma once
// The library-wide mapping between control values (signed 32-bit over the whole range) and
// integer or real ranges. All range arithmetic is done in double.

#include <cstdint>

inline constexpr int32_t kControlValueMin = INT32_MIN; // 0x80000000, also "off"
inline constexpr int32_t kControlValueMax = INT32_MAX; // 0x7fffffff, also "on"

// t = (v + 2^31) / (2^32 - 1): 0.0 for the minimum, 1.0 for the maximum.
double ControlValueFraction (int32_t controlValue);

// The integer of a control value in [min, max]: floor(min + (max - min) t + 0.5).
int32_t ScaleFromLong (int32_t controlValue, int32_t min, int32_t max);
// The control value of an integer clamped to [min, max], truncated toward zero; a zero-width
// range answers the minimum control value.
int32_t ScaleToLong (int32_t value, int32_t min, int32_t max);

// The real of a control value in [low, high]: low + (high - low) t.
double ScaleFromLongReal (int32_t controlValue, double low, double high);
// The control value of a real clamped to the range (either way round), rounded to nearest; a
// zero-width range and NaN answer the minimum control value.
int32_t ScaleToLongReal (double value, double low, double high);
