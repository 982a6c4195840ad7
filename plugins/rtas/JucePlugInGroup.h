#pragma once
// The plug-in's group: the product's identity (manufacturer "QORaudio", 'QORa', product
// "KESTrune", version 1.5.0) and its two effect types, mono and stereo (type identifiers 'jcaa'
// and 'jcab': 'jcaa' plus the layout index), whose processes are JucePlugInProcess instances.
//
// [host thread] for every operation.

#include <cstdint>

#include <process/base/FourCharCode.h>
#include <process/effect/CEffectGroupMIDI.h>

class JucePlugInGroup final : public CEffectGroupMIDI
{
public:
    static constexpr const char* kManufacturerName = "QORaudio";
    static constexpr uint32_t kManufacturerCode = FourCharCode ("QORa");
    static constexpr const char* kProductName = "KESTrune";
    static constexpr int32_t kVersion = 0x00010500;
    static constexpr uint32_t kFirstTypeID = FourCharCode ("jcaa");

    JucePlugInGroup();

protected:
    // Adds the mono and the stereo type.
    void CreateTypes() override;
};
