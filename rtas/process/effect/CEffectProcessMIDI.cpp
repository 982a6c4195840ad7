#include "process/effect/CEffectProcessMIDI.h"

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/connections/ProcessIdentity.h"
#include "process/effect/CEffectGroupMIDI.h"
#include "process/group/GlobalPlugInGroup.h"

CEffectProcessMIDI::CEffectProcessMIDI()
{
    AddChunk (kMIDIChunkID, kMIDIChunkName);
}

CEffectProcessMIDI::~CEffectProcessMIDI()
{
    try
    {
        ReleaseDirectMIDI();
    }
    catch (...)
    {
    }
}

CEffectGroupMIDI* CEffectProcessMIDI::MIDIGroup() const
{
    return dynamic_cast<CEffectGroupMIDI*> (PlugInGroup());
}

void CEffectProcessMIDI::GiveBackIdentifier()
{
    if (CEffectGroupMIDI* group = MIDIGroup())
        group->GiveBackMIDIIdentifier (fInstanceID);
    fInstanceID = 0;
}

void CEffectProcessMIDI::SetChannelNode (int32_t channel, int32_t slot, CMIDIChannelNode* node)
{
    if (channel >= 0 && channel < kMIDIChannels && slot >= 0 && slot < kMIDINodesPerChannel)
        fChannelNodes[static_cast<size_t> (channel)][static_cast<size_t> (slot)] = node;
}

void CEffectProcessMIDI::ClearChannelNodes()
{
    for (auto& channel : fChannelNodes)
        channel.fill (nullptr);
}

void CEffectProcessMIDI::RenameChannelNodes()
{
    for (auto& channel : fChannelNodes)
        for (CMIDIChannelNode* node : channel)
            if (node != nullptr)
                node->SetName (node->GetName());
}

// ---- Registration ----

int32_t CEffectProcessMIDI::RegisterDirectMIDI()
{
    if (fRegistered)
        return 0;
    CEffectGroupMIDI* group = MIDIGroup();
    if (group == nullptr)
        return RTASError::kNullPointer;
    group->ClaimMIDIIdentifier (&fInstanceID);
    fClient = { fInstanceID, 0 };
    int32_t result = 0;
    try
    {
        for (int32_t attempt = fAttempts; attempt >= 1; --attempt)
        {
            fClient.fAttempt = attempt;
            result = RegisterDirectMIDIClient (&fClient, this, nullptr);
            if (result == 0)
                break;
        }
    }
    catch (...)
    {
        fClient = {};
        GiveBackIdentifier();
        throw;
    }
    if (result != 0)
    {
        fClient = {};
        GiveBackIdentifier();
        return result;
    }
    fRegistered = true;
    fReportedSizeCurrent = false;
    return 0;
}

int32_t CEffectProcessMIDI::UnregisterDirectMIDI()
{
    const int32_t result = UnregisterDirectMIDIClient (&fClient);
    if (result == 0)
    {
        fRegistered = false;
        fClient = {};
        ClearChannelNodes();
    }
    GiveBackIdentifier();
    fReportedSizeCurrent = false;
    return result;
}

int32_t CEffectProcessMIDI::ReleaseDirectMIDI()
{
    return fRegistered ? UnregisterDirectMIDI() : 0;
}

// ---- The 'midi' chunk ----

int32_t CEffectProcessMIDI::BuildMIDIChunk()
{
    fMIDIParser.Clear();
    if (fRegistered)
        fMIDIParser.AddLong (kMIDIInstanceIDEntry, fInstanceID);
    return fMIDIParser.GetDataSize() + kChunkHeaderSize;
}

int32_t CEffectProcessMIDI::GetChunkSize (uint32_t chunkID, int32_t* size)
{
    if (chunkID != kMIDIChunkID)
        return CEffectProcess::GetChunkSize (chunkID, size);
    if (! fReportedSizeCurrent)
    {
        fReportedChunkSize = BuildMIDIChunk();
        fReportedSizeCurrent = true;
    }
    PutOut (size, fReportedChunkSize);
    return 0;
}

int32_t CEffectProcessMIDI::GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kMIDIChunkID)
        return CEffectProcess::GetChunk (chunkID, chunk);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    const int32_t size = BuildMIDIChunk();
    // The host made the record as large as the size it was given.
    return fMIDIParser.WriteChunk (chunk, fReportedChunkSize != 0 ? fReportedChunkSize : size);
}

bool CEffectProcessMIDI::ReadStoredIdentifier (int32_t* identifier)
{
    return fMIDIParser.GetLong (kMIDIInstanceIDEntry, identifier) || fMIDIParser.GetLong (kMIDINodeIDEntry, identifier)
           || fMIDIParser.GetLong (kMIDIOMSNodeIDEntry, identifier);
}

int32_t CEffectProcessMIDI::SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kMIDIChunkID)
        return CEffectProcess::SetChunk (chunkID, chunk);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    fMIDIParser.ReadChunk (chunk);
    int32_t stored = 0;
    CEffectGroupMIDI* group = MIDIGroup();
    if (! ReadStoredIdentifier (&stored) || ! fRegistered || group == nullptr)
        return RTASError::kNoMidiNode;
    group->GiveBackMIDIIdentifier (fInstanceID);
    group->ClaimMIDIIdentifier (&stored);
    fInstanceID = stored;
    fClient.fInstanceID = stored;
    RenameChannelNodes();
    fReportedSizeCurrent = false;
    return 0;
}
