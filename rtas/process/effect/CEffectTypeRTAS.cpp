#include "process/effect/CEffectTypeRTAS.h"

#include "process/base/CDAEError.h"
#include "process/effect/CEffectProcessRTAS.h"

void CEffectTypeRTAS::AddCapability (int32_t code)
{
    CEffectType::AddCapability (code);
    if (code == EffectCardInfo::kExtraStems)
        CEffectType::AddCapability (EffectCardInfo::kRenderCallback);
}

int32_t CEffectTypeRTAS::NewProcess (int32_t* id)
{
    if (id == nullptr)
        return RTASError::kNullPointer;
    if (const int32_t made = CProcessType::NewProcess (id))
        return made;
    try
    {
        CProcessGroupInterface* group = GetGroup();
        ThrowIfNull (group);
        uint32_t ids[3] = {};
        int32_t result = group->GetTypeIDsByIndex (GetTypeIndex(), &ids[0], &ids[1], &ids[2]);
        if (result == 0)
        {
            const SPlugInSpec record { { static_cast<int32_t> (ids[0]), static_cast<int32_t> (ids[1]),
                                         static_cast<int32_t> (ids[2]), GetSettingPair().fFirst, *id } };
            auto* process = dynamic_cast<CEffectProcessRTAS*> (FindProcess (*id));
            result = process != nullptr ? process->CreateAdaptorPlugIn (record) : RTASError::kNotAnEffectType;
        }
        if (result != 0)
            DiscardMadeProcess (*id);
        return result;
    }
    catch (...)
    {
        DiscardMadeProcess (*id);
        throw;
    }
}

void CEffectTypeRTAS::DiscardMadeProcess (int32_t id)
{
    if (CProcess* process = FindProcess (id))
        DiscardProcess (process);
}

int32_t CEffectTypeRTAS::DeleteProcess (int32_t id)
{
    return CProcessType::DeleteProcess (id);
}
