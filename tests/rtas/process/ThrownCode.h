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

// The code a call throws: a CDAEError's code, 1 for any other exception, 0 when it returns.
inline int32_t ThrownAnything (const std::function<void()>& call)
{
    try
    {
        return ThrownCode (call);
    }
    catch (...)
    {
        return 1;
    }
}
