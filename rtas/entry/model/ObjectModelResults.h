#pragma once
// The 16-bit codes that the plug-in object model answers (in 32 bits) or throws.

#include <cstdint>

#include "process/base/OutParameter.h"

namespace ObjectModelResult
{
inline constexpr int32_t kPlugInNotInList = -7001;
inline constexpr int32_t kDefaultObject = -7026;
inline constexpr int32_t kNotSupported = -7055;
inline constexpr int32_t kDefaultPort = -7106;
inline constexpr int32_t kPlugInIDPresent = -7126;
inline constexpr int32_t kInputCountFixed = -7152;
inline constexpr int32_t kOutputCountFixed = -7153;
inline constexpr int32_t kRefused = -7157;
inline constexpr int32_t kDefaultControl = -7300;
inline constexpr int32_t kNotImplemented = -9007;
inline constexpr int32_t kNotCreated = -9013; // a port or plug-in could not be made
// Thrown as a 16-bit integer: a plug-in without a type has no default objects.
inline constexpr int16_t kNoPlugInType = -9060;
}

// The blank four-character code, answered where a plug-in or type has no code of its own.
inline constexpr int32_t kBlankCode = 0x20202020;

// An empty text, written only when the caller passed one (optional outputs of other kinds go
// through PutOut).
inline void ClearText (char* text)
{
    if (text != nullptr)
        text[0] = 0;
}
