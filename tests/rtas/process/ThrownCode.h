#pragma once

#include <cstdint>
#include <functional>

#include "process/base/CDAEError.h"

// The code a call throws as CDAEError, or 0 when it returns.
inline int32_t ThrownCode (const std::function<void()>& call)
{
    try
    {
        call();
    }
    catch (const CDAEError& error)
    {
        return error.Code();
    }
    return 0;
}
