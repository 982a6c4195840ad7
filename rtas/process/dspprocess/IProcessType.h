#pragma once
// The reference-counted interface of a DSP process type, through which the host's DSP manager
// finds or allocates DSPs and shells for the type's processes and gives them back. Guarded
// operations answer what they catch as a code instead of throwing. [host thread]

#include <cstdint>

#include "process/base/DOAUnknown.h"
#include "process/dspprocess/DSPResourceLists.h"

class CDSPProcess;
class CDSPProcessGroup;
class CProcessGroupInterface;
class IProcessGroup;

// {297F5762-2366-11D2-817A-0060089A8916}
inline constexpr DOA::GUID IID_IProcessType = { 0x297F5762, 0x2366, 0x11D2, { 0x81, 0x7A, 0x00, 0x60, 0x08, 0x9A, 0x89, 0x16 } };
// {51811C94-80D1-11D3-A4B0-006094EB6D0A}
inline constexpr DOA::GUID IID_IProcessType2 = { 0x51811C94, 0x80D1, 0x11D3, { 0xA4, 0xB0, 0x00, 0x60, 0x94, 0xEB, 0x6D, 0x0A } };

class IProcessType : public DOA::IUnknown
{
public:
    // Any exception: -7401.
    virtual int32_t ReleaseDSPGuarded (CProcessDSP* dsp) = 0;
    // A CDAEError: its code; any other exception: -7401.
    virtual int32_t FindOrAllocateDSPGuarded (CProcessDSP** dsp, int32_t argument) = 0;
    // Any exception: -7401.
    virtual int32_t GetNameGuarded (char* name, int32_t maxLength) = 0;
    // 0 while a process of the group still runs on the shell; any exception: -7401.
    virtual int32_t ReleaseShellGuarded (int32_t shell) = 0;
    // A CDAEError: its code; any other exception: -7401.
    virtual int32_t FindOrAllocateShellGuarded (int32_t* shell) = 0;
    virtual IProcessGroup* GetGroupInterface() = 0;
    virtual int32_t GetProductID (uint32_t* productID) = 0;
    // The DSP group's GetInfo and GetInfo2; any exception: -7401.
    virtual int32_t GroupQuery (int32_t* value, char** text) = 0;
    virtual int32_t GroupQuery2 (int16_t key, int32_t* known, int32_t index, uint32_t* value) = 0;
    virtual bool IsDSPIdle (CProcessDSP* dsp) = 0;
    virtual int32_t ReleaseDSP (CProcessDSP* dsp) = 0;
    virtual int32_t FindOrAllocateDSP (CProcessDSP** dsp) = 0;
    virtual void SetDSPGroup (CDSPProcessGroup* group) = 0;
    virtual void SetAllocatedList (DSPIdentifierList* list) = 0;
    virtual void SetShellList (ShellList* list) = 0;
    virtual void SetDSPList (ProcessDSPList* list) = 0;
    virtual int32_t GetDSPOffsets (int16_t* first, int16_t* second) = 0;
    virtual int32_t GetDSPNeeds (int16_t* a, int16_t* b, int16_t* c, int16_t* d) = 0;
    virtual void NumberProcessesPerDSP() = 0;
    virtual int32_t AnswerZeroD() = 0;
    virtual int32_t QueryCardCapability() = 0;
    virtual int32_t AllocateDSP (int32_t* identifier, CProcessDSP** dsp, int32_t* index) = 0;
    virtual int32_t AllocateShell (int32_t* shell) = 0;
    virtual bool CanUseDSP (CProcessDSP* dsp) = 0;
    virtual bool ShellHasRoom (int32_t shell) = 0;
    virtual bool DSPHasRoom (int32_t identifier) = 0;
    virtual bool DSPHasRoomOut (int32_t identifier) = 0;
    virtual int32_t GetExtraNeeds (int16_t* first, int16_t* second) = 0;
    virtual CDSPProcess* NewProcessObject() = 0;
    virtual int32_t GetDSPMode() = 0;
    virtual int32_t ReleaseDSPResources (int32_t identifier, int32_t index, int32_t dsp) = 0;
    virtual int32_t ReleaseShell (int32_t shell) = 0;
    virtual DSPIdentifierList* GetAllocatedList() = 0;
    virtual ShellList* GetShellList() = 0;
    virtual ProcessDSPList* GetDSPList() = 0;
    virtual int32_t AnswerZeroE() = 0;

protected:
    ~IProcessType() override = default;
};

// The same interface under its second identifier.
class IProcessType2 : public IProcessType
{
protected:
    ~IProcessType2() override = default;
};
