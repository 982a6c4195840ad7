#pragma once
// The host toolbox operations that the library's base utilities call, behind one interface so
// that the binding to the host's toolbox library (installed at load) and tests can supply them.

#include <cstdint>

#include "abi/HostTypes.h"

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
    // The host clock in microseconds (64-bit, wraps around).
    virtual uint64_t Microseconds() = 0;
    // Copies the control's 16-byte record; false (record untouched) when the toolbox has none.
    virtual bool ControlRecord (void* control, uint8_t* record16) = 0;
    // A zero-terminated text turned into a length-prefixed string in the same buffer.
    virtual void CStrToPStrInPlace (char* text) = 0;
    // The host's file spec of a length-prefixed path; 0 or the toolbox's error.
    virtual int16_t MakeFileSpec (const uint8_t* pascalPath, FSSpec* spec) = 0;
};

// Installs the process-wide toolbox (null removes it). Not owned.
void SetHostToolbox (IHostToolboxServices* toolbox);
// The installed toolbox; throws CDAEError -7401 when none is installed.
IHostToolboxServices& HostToolbox();
