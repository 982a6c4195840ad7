#pragma once
// The toolbox seam over the host's toolbox library: HostExt.dll, bound by ordinal.

#include "process/utilities/ToolboxServices.h"

#include "abi/HostExt.h"

#include <memory>

class HostExtToolbox final : public IHostToolboxServices
{
public:
    // [host thread] Takes a reference on the loaded "HostExt.dll" and binds its routines by
    // ordinal; null when the module is missing or lacks a routine that these services use.
    static std::unique_ptr<HostExtToolbox> Bind();

    ~HostExtToolbox() override;
    HostExtToolbox (const HostExtToolbox&) = delete;
    HostExtToolbox& operator= (const HostExtToolbox&) = delete;

    int16_t ResourceError() override;
    // The toolbox's memory error.
    int16_t ToolboxError() override;
    void NumberToText (int32_t number, uint8_t* pascalText) override;
    void* BlockData (void* block) override;
    uint64_t Microseconds() override;
    // A control is a toolbox handle whose data begins with its record.
    bool ControlRecord (void* control, uint8_t* record16) override;
    void CStrToPStrInPlace (char* text) override;
    int16_t MakeFileSpec (const uint8_t* pascalPath, FSSpec* spec) override;

private:
    HostExtToolbox (HMODULE module, const kestrune::rtas::abi::HostExtRoutines& routines);

    HMODULE fModule;
    kestrune::rtas::abi::HostExtRoutines fRoutines;
};
