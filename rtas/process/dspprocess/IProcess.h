#pragma once
// The reference-counted interface through which the host's DSP manager holds a DSP process: it
// attaches the process to a DSP object and detaches it again, and reads what the process keeps
// about its DSP. The three reference-counting operations go to the process's owner.

#include <cstdint>

#include "process/base/DOAUnknown.h"

class CDSPProcessType;
class CProcessDSP;

// {297F5760-2366-11D2-817A-0060089A8916}
inline constexpr DOA::GUID IID_IProcess = { 0x297F5760, 0x2366, 0x11D2, { 0x81, 0x7A, 0x00, 0x60, 0x08, 0x9A, 0x89, 0x16 } };
// {297F5761-2366-11D2-817A-0060089A8916}
inline constexpr DOA::GUID IID_IProcess2 = { 0x297F5761, 0x2366, 0x11D2, { 0x81, 0x7A, 0x00, 0x60, 0x08, 0x9A, 0x89, 0x16 } };

// [host thread] for every operation.
class IProcess : public DOA::IUnknown
{
public:
    virtual CDSPProcessType* GetDSPType() = 0;
    virtual CProcessDSP* GetDSPViaInterface() = 0;
    // Switches the process's talkers and listeners off and unbinds it from its DSP object; the
    // result of opening the engine's connection preparation (0 when it did not open one), or the
    // failure's code (-7401 for anything but a CDAEError).
    virtual int32_t DetachFromDSP() = 0;
    // Binds the process to the DSP object; any exception answers -7401.
    virtual int32_t AttachToDSPGuarded (CProcessDSP* dsp) = 0;
    virtual uint8_t AreConnectionsReady() = 0;
    virtual int32_t AnswerZeroF() = 0;
    // The DSP type's answers; 0 without a type or when the type throws.
    virtual int32_t TypeQuery (int32_t a) = 0;
    virtual int32_t CardCapability() = 0;
    virtual void ClearConnectionValue() = 0;
    virtual void SetConnectionValue (int32_t value) = 0;
    virtual int32_t GetConnectionValue() = 0;
    // The identifier of the DSP the process runs on; 0 while it runs on none.
    virtual int32_t GetDSPIdentifier() = 0;
    // The host's 'prec' routine's 16-bit answer; 0 when the host has none.
    virtual int16_t RunHostPrecHook() = 0;

protected:
    ~IProcess() override = default;
};

// The same interface under its second identifier.
class IProcess2 : public IProcess
{
protected:
    ~IProcess2() override = default;
};
