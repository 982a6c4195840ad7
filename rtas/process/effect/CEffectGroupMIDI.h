#pragma once
// The effect group of a plug-in whose processes are MIDI clients of the engine: it keeps the MIDI
// instance identifiers its processes have claimed, so that no two processes hold the same one.
// [host thread]

#include <cstdint>
#include <set>

#include "process/effect/CEffectGroup.h"

class CEffectGroupMIDI : public CEffectGroup
{
public:
    CEffectGroupMIDI() = default;
    ~CEffectGroupMIDI() override;

    // Claims the first identifier not claimed yet, counting up from the given one (from 1 when it
    // is below 1, and from 1 again past the largest), and stores it back.
    void ClaimMIDIIdentifier (int32_t* identifier);
    void GiveBackMIDIIdentifier (int32_t identifier);
    bool IsMIDIIdentifierClaimed (int32_t identifier) const { return fClaimed.count (identifier) != 0; }

private:
    std::set<int32_t> fClaimed;
};
