#pragma once
// The engine's connection calls as the object the DSP layer switches talkers and listeners
// through; each operation is a direct call of the engine function. One instance serves the whole
// plug-in. [host thread]

#include <abi/DAE.h>

class SPIFicConnectionsAPI final : public SFicConnectionsAPI
{
public:
    int16_t ReactivateTalker (const SFicPlugInSpec* spec, int32_t port) override;
    int16_t DeactivateTalker (const SFicPlugInSpec* spec, int32_t port) override;
    int16_t ReactivateListener (const SFicPlugInSpec* spec, int32_t port) override;
    int16_t DeactivateListener (const SFicPlugInSpec* spec, int32_t port) override;
    int16_t Gestalt (uint32_t selector, int32_t* response) override;
    int16_t PrepareForConnections (int32_t flag) override;
    uint8_t PrepareForConnectionsStatus() override;
    // -7053 for a null record: the engine is not asked.
    int16_t CreatePlugInSpec (SFicPlugInSpec* spec) override;
};

// The plug-in's one instance.
SPIFicConnectionsAPI& PlugInConnectionsAPI();
