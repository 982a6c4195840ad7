#pragma once
// Texts of values: reals written with a fixed number of decimals, texts read back as reals and
// integers through the toolbox, and texts right-aligned to a width by a fill.

#include <cstdint>
#include <string>
#include <string_view>

inline constexpr int kMaxValueDecimals = 9;

// A minus sign for a negative value, the integer part and two decimals, 0.005 added to the
// magnitude first ("-1.24" for -1.236). A value that is not finite is written as 0.
std::string FormatTwoDecimals (double value);

// The value with `decimals` decimals (0 to 9): 0.05 x 10^-decimals is added to the magnitude,
// its fraction scaled by 10^decimals and rounded to nearest, carrying into the integer part when
// it reaches 10^decimals. A minus sign only for a nonzero result; the integer part only when it
// is not 0 or `showZeroInteger` is set (".5"). A value that is not finite is written as 0.
std::string FormatDecimals (double value, int decimals, bool showZeroInteger);

// [window thread] The real that the toolbox reads from the start of the text (cut at 255
// characters); 0 when no number starts it.
double TextToReal (std::string_view text);
// [window thread] That real rounded to nearest (floor(x + 0.5)), kept within 32 bits.
int32_t TextToInteger (std::string_view text);

// [window thread] The text with the fill put in front of it, again and again, until the current
// port measures it at least `width` pixels wide; never longer than 255 characters, and unchanged
// for an empty fill.
std::string RightAlignText (std::string_view text, std::string_view fill, int16_t width);
