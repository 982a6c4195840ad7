#pragma once

#include "abi/ACFInterfaces.h"

// Runs a host-facing operation, turning every exception into 0x8000FFFF: no exception may
// reach the host.
template <class Body>
int32_t Guarded (Body&& body) noexcept
{
    try
    {
        return body();
    }
    catch (...)
    {
        return ACF_E_UNEXPECTED;
    }
}
