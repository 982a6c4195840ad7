#pragma once
// The MIDI side of an effect process: the process as a DirectMIDI client of the engine, under an
// instance identifier that its group (CEffectGroupMIDI) hands out, and the 'midi' chunk ("MIDI
// Connection Data") that stores that identifier with the host's project.
//
// [host thread] for every operation.

#include <array>
#include <cstdint>
#include <string>

#include "process/effect/CEffectProcess.h"

class CEffectGroupMIDI;

// The client record the process registers with the engine: its instance identifier and the
// attempt the registration was made with.
struct SDirectMIDIClient
{
    int32_t fInstanceID = 0;
    int32_t fAttempt = 0;
};

// An object of a MIDI channel of the process that carries a name (none is made in this library).
class CMIDIChannelNode
{
public:
    virtual ~CMIDIChannelNode() = default;
    virtual std::string GetName() const = 0;
    virtual void SetName (const std::string& name) = 0;
};

inline constexpr int32_t kMIDIRegistrationAttempts = 7;
inline constexpr int32_t kMIDIChannels = 16;
inline constexpr int32_t kMIDINodesPerChannel = 3;
// The entry names a 'midi' chunk may carry the identifier under, in the order they are looked for.
inline constexpr const char* kMIDIInstanceIDEntry = "Instance ID";
inline constexpr const char* kMIDINodeIDEntry = "Node ID";
inline constexpr const char* kMIDIOMSNodeIDEntry = "OMS Node ID";

class CEffectProcessMIDI : public virtual CEffectProcess
{
public:
    // Adds the 'midi' chunk to the chunk table.
    CEffectProcessMIDI();
    // A registration still held is given up (and its identifier given back).
    ~CEffectProcessMIDI() override;

    // Claims an identifier from the group (the current one, or the next free), then registers the
    // client with the engine with the attempts 7, 6, ... 1 until one succeeds. The last failure
    // is answered, and the identifier given back, when none does. 0 while registered already.
    virtual int32_t RegisterDirectMIDI();
    // Unregisters the client; a success clears the registration, the client record and the
    // channels' objects. The identifier goes back to the group in any case. The engine's result.
    virtual int32_t UnregisterDirectMIDI();
    // Fills the 'midi' chunk list (the identifier while registered); its size with the header.
    virtual int32_t BuildMIDIChunk();

    // Unregisters when registered; 0 otherwise.
    int32_t ReleaseDirectMIDI() override;
    // The 'midi' chunk; other chunks as the effect process. The size answered is the one the chunk
    // is written with (-333 when the chunk grew since).
    int32_t GetChunkSize (uint32_t chunkID, int32_t* size) override;
    int32_t GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;
    // Takes the identifier the chunk holds ("Instance ID", else "Node ID", else "OMS Node ID"),
    // moved on to the next free one: the current one goes back to the group first. -7082 for a
    // chunk without one or a process not registered; nothing changes then.
    int32_t SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;

    bool IsMIDIRegistered() const { return fRegistered; }
    int32_t GetMIDIInstanceID() const { return fInstanceID; }
    const SDirectMIDIClient& GetMIDIClient() const { return fClient; }

protected:
    // The object in a slot (0-based) of a MIDI channel (0-based); null clears the slot. Out of
    // range changes nothing. The process does not own the object.
    void SetChannelNode (int32_t channel, int32_t slot, CMIDIChannelNode* node);

private:
    CEffectGroupMIDI* MIDIGroup() const;
    void GiveBackIdentifier();
    void ClearChannelNodes();
    void RenameChannelNodes();
    bool ReadStoredIdentifier (int32_t* identifier);

    ChunkDataParser fMIDIParser;
    int32_t fInstanceID = 0;
    int32_t fAttempts = kMIDIRegistrationAttempts;
    bool fRegistered = false;
    std::array<std::array<CMIDIChannelNode*, kMIDINodesPerChannel>, kMIDIChannels> fChannelNodes {};
    SDirectMIDIClient fClient;
    // The size GetChunkSize answered last (0: none yet) and whether the chunk still has it.
    int32_t fReportedChunkSize = 0;
    bool fReportedSizeCurrent = false;
};
