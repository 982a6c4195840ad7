#pragma once
// What the engine needs to switch one process's talkers and listeners: the process's plug-in
// plug-in spec, its input and output ports, its side-chain input and the engine's connection calls; and
// the four steps that switch them. [host thread]

#include <cstdint>

#include <abi/DAE.h>

class CDSPProcess;

// The engine's talker or listener call that counts as done although it answered this.
inline constexpr int16_t kConnectionAlreadyInState = -7103;
// The question about a plug-in whose positive answer is the side-chain input's port.
inline constexpr int32_t kSideChainCardInfoKey = 5;

// The part of a conversant that the engine asks whether an input is connected.
class SConversantInfo
{
public:
    virtual uint8_t IsInputConnected (int32_t port) = 0;

protected:
    ~SConversantInfo() = default;
};

class SProcessConversant final : public SConversantInfo
{
public:
    // Built fresh from the process: its plug-in spec filled for its type, its port counts (a failure of
    // either throws) and first ports, and the side-chain input its group reports.
    explicit SProcessConversant (CDSPProcess& process);

    uint8_t IsInputConnected (int32_t port) override;

    SFicPlugInSpec fSpec {};
    int16_t fInputs = 0;
    int32_t fFirstInput = 0;
    int16_t fOutputs = 0;
    int32_t fFirstOutput = 0;
    uint8_t fSideChain = 0;
    int32_t fSideChainIndex = 0;
    SFicConnectionsAPI* fConnections = nullptr;
    CDSPProcess* fProcess = nullptr;
};

// Talkers: every output port. Listeners: every connected input port and a connected side-chain
// input. Each answers the first failure (-7103 counts as done) and stops there.
int32_t DeactivateTalkers (SProcessConversant& conversant);
int32_t ReactivateTalkers (SProcessConversant& conversant);
int32_t DeactivateListeners (SProcessConversant& conversant);
int32_t ReactivateListeners (SProcessConversant& conversant);
