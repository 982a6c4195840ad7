#pragma once
// The host toolbox operations that the library's base utilities call, behind one interface so
// that the binding to the host's toolbox library (installed at load) and tests can supply them.

#include <cstdint>

class IHostToolboxServices
{
public:
    virtual ~IHostToolboxServices() = default;

    // Last resource-manager error; the other last-error value of the toolbox.
    virtual int16_t ResourceError() = 0;
    virtual int16_t ToolboxError() = 0;
    // The number as length-prefixed decimal text, in the host's format (at most 255 characters).
    virtual void NumberToText (int32_t number, uint8_t* pascalText) = 0;
    // The data of a host memory block (the block stays put while the caller uses it).
    virtual void* BlockData (void* block) = 0;
};

// Installs the process-wide toolbox (null removes it). Not owned.
void SetHostToolbox (IHostToolboxServices* toolbox);
// The installed toolbox; throws CDAEError -7401 when none is installed.
IHostToolboxServices& HostToolbox();
