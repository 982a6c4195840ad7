#pragma once
// The colour sets of framed views: six colours each, from the lightest (0) to the darkest (5).
// Sets 0 to 6 are fixed; sets -2 and -1 are twelve shades of the background colour of the first
// custom view that was given a window, built once.

#include <array>
#include <cstdint>
#include <optional>

#include <abi/HostTypes.h>

inline constexpr int16_t kFirstColourSet = -2;
inline constexpr int16_t kLastColourSet = 6;
inline constexpr int kColoursPerSet = 6;
inline constexpr int kShadeCount = 12;

using ColourSet = std::array<RGBColor, kColoursPerSet>;

inline constexpr bool IsValidColourSet (int32_t index)
{
    return index >= kFirstColourSet && index <= kLastColourSet;
}

// The colour set that shows a control's highlight colour: 0 red (set 2), 1 blue (5), 2 green (3),
// 3 amber (6); none for another colour.
std::optional<int16_t> ColourSetOfHighlight (int16_t highlightColour);

// [window thread] The set of that index; an index outside -2 to 6 throws CDAEError -7400.
const ColourSet& GetColourSet (int16_t index);

// The twelve shades of a background colour: per component, step = component / 11 + 0.5
// (truncated), shade i = step times the i-th of 14, 12, 11, 10, 8, 7, 5, 4, 2, 1, 0, 0, kept
// within 0 to 65535.
std::array<RGBColor, kShadeCount> ShadesOf (const RGBColor& background);

// [window thread] Builds sets -2 (shades 1-6) and -1 (shades 7-12) from the background colour,
// the first time only.
void BuildShadesOnce (const RGBColor& background);
