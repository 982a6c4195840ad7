#pragma once
// Texts that the views take as length-prefixed strings, where a null text stands for the empty one.

#include <cstdint>

// The text, or the empty length-prefixed string when it is null.
inline const uint8_t* PStrOrEmpty (const uint8_t* text)
{
    static constexpr uint8_t kEmpty[1] {};
    return text != nullptr ? text : kEmpty;
}
