#include "process/effect/CEffectGroupMIDI.h"

#include <limits>

CEffectGroupMIDI::~CEffectGroupMIDI()
{
    fClaimed.clear();
}

void CEffectGroupMIDI::ClaimMIDIIdentifier (int32_t* identifier)
{
    if (identifier == nullptr)
        return;
    int32_t candidate = *identifier < 1 ? 1 : *identifier;
    while (fClaimed.count (candidate) != 0)
        candidate = candidate == std::numeric_limits<int32_t>::max() ? 1 : candidate + 1;
    fClaimed.insert (candidate);
    *identifier = candidate;
}

void CEffectGroupMIDI::GiveBackMIDIIdentifier (int32_t identifier)
{
    fClaimed.erase (identifier);
}
