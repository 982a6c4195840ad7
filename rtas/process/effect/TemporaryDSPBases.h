#pragma once
// TEMPORARY: the DSP process and DSP process type that the effect classes derive from, reduced to
// what the effect classes use, until the real classes join the library.

#include "process/process/CProcess.h"
#include "process/type/CProcessType.h"

class CDSPProcess : public virtual CProcess
{
};

class CDSPProcessType : public virtual CProcessType
{
public:
    virtual CDSPProcess* NewProcessObject() { return nullptr; }
};

#include <memory>
#include <optional>
#include <vector>

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"

class CDSPProcessGroup : public CProcessGroupInterface
{
public:
    int32_t Initialize() override
    {
        fTypes.emplace();
        CreateTypes();
        int16_t index = 0;
        for (auto& type : *fTypes)
        {
            type->SetGroup (this);
            type->SetTypeIndex (++index);
        }
        return 0;
    }
    virtual void CreateTypes() {}
    virtual int32_t GetGroupAltName (char* name, int32_t maxLength) = 0;
    void AddProcessType (CProcessType* type) { fTypes->emplace_back (type); }
    std::vector<CProcessType*> Types() const
    {
        std::vector<CProcessType*> types;
        if (fTypes)
            for (auto& type : *fTypes)
                types.push_back (type.get());
        return types;
    }
    virtual CProcessType* FindTypeOrNull (uint32_t typeID)
    {
        for (CProcessType* type : Types())
        {
            uint32_t id = 0x20202020;
            type->GetProductID (&id);
            if (id == typeID)
                return type;
        }
        return nullptr;
    }
    virtual CProcessType* FindType (uint32_t typeID)
    {
        CProcessType* type = FindTypeOrNull (typeID);
        if (type == nullptr)
            throw CDAEError (-7125);
        return type;
    }
    CProcessType* FindTypeByIndex (int16_t index) const
    {
        for (CProcessType* type : Types())
            if (type->GetTypeIndex() == index)
                return type;
        throw CDAEError (-7125);
    }
    int32_t GetCardInfo (uint32_t typeID, int32_t process, int32_t* info) override
    {
        CProcessType* type = FindTypeOrNull (typeID);
        return type == nullptr ? -7125 : type->GetCardInfo (process, info);
    }
    int32_t GetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override
    {
        return FindType (typeID)->GetChunk (process, chunkID, chunk);
    }
    int32_t SetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override
    {
        return FindType (typeID)->SetChunk (process, chunkID, chunk);
    }
    int32_t RestoreControlsFromChunk (uint32_t typeID, int32_t process, SFicPlugInChunk* chunk, uint8_t* result) override
    {
        return FindType (typeID)->RestoreControlsFromChunk (process, chunk, result);
    }

private:
    std::optional<std::vector<std::unique_ptr<CProcessType>>> fTypes;
};
