#pragma once
// What the adaptor plug-in asks of the process it is built for, and of that process's type. The
// RTAS effect process and its type answer these questions with their own operations of the same
// names; the adaptor knows them only through this seam.

#include <cstdint>

#include <abi/DAE.h>

class IAdaptorProcessType
{
public:
    // [host thread] The type's name as a length-prefixed string into a 256-byte buffer; 0 or a
    // host code.
    virtual int32_t GetName (char* name) = 0;
    // [host thread] The type's answer for a card-information key; 0 or a host code.
    virtual int32_t GetCardInfo (int32_t key, int32_t* value) = 0;
    // [host thread] The connection groups (stems) of the process with that instance ID: their
    // count, and each one's record by 0-based index.
    virtual int32_t GetNumConnectionInfos (int32_t id, int32_t* count) = 0;
    virtual int32_t GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info) = 0;

protected:
    ~IAdaptorProcessType() = default;
};

// What the default render callbacks hand to the process's render operation.
struct SAdaptorRenderRecord
{
    int32_t fFrameCount;
    const void* fContext;
};

class IAdaptorProcess
{
public:
    // [host thread] The process's type; null when it has none.
    virtual IAdaptorProcessType* GetAdaptorType() = 0;
    virtual int16_t GetInstanceID() = 0;
    virtual int32_t GetNumInputs (int16_t* count) = 0;
    virtual int32_t GetNumOutputs (int16_t* count) = 0;

    // [audio thread] Entries in each of the process's two connection-record arrays.
    virtual int32_t GetNumConnectionSlots() = 0;
    // [audio thread] Renders one block into the connection records; 0 or a host code.
    virtual int32_t Render (const SAdaptorRenderRecord* record) = 0;
    // [audio thread] Marks that the process has rendered.
    virtual void SetRendered() = 0;

protected:
    ~IAdaptorProcess() = default;
};
