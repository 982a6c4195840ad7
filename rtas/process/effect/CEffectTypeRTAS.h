#pragma once
// The real-time variant of the effect type: a new process of it gets the adaptor through which
// the engine renders it. [host thread]

#include "process/effect/CEffectType.h"

class CEffectTypeRTAS : public CEffectType
{
public:
    using CEffectType::CEffectType;

    // Adding 41 also adds 38.
    void AddCapability (int32_t code) override;
    // Makes the process (the base type's way), then its adaptor from the connection record {the
    // type's three identifiers from the group, the first word of the type's setting pair, the
    // process ID}. A failure (-77 for a process that is no RTAS effect process, or the adaptor's
    // code) deletes the new process again through its full path and is returned.
    int32_t NewProcess (int32_t* id) override;
    // The base type's deletion.
    int32_t DeleteProcess (int32_t id) override;

private:
    void DiscardMadeProcess (int32_t id);
};
