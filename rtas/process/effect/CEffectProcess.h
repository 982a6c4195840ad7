#pragma once
// One running instance of an effect. It takes its channel counts from its effect type, keeps the
// instance's master bypass, the table of the chunks it stores with the controls chunk ("elck",
// "Complete Controls State"), its meters and its connection information. The RTAS and MIDI parts
// (CEffectProcessRTAS, CEffectProcessMIDI) derive from it virtually, so that a plug-in's process
// can be both.
//
// The controls chunk holds every continuous control (its engineering value, a double) and every
// discrete control (its integer) under the control's four-character identifier, except the
// controls left out of it; other kinds of control are not stored.
//
// [host thread] for every operation: the host calls processes on the thread that drives the
// plug-in, without locks.

#include <cstdint>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "process/chunks/ChunkDataParser.h"
#include "process/effect/EffectCodes.h"
#include "process/dspprocess/CDSPProcess.h"
#include "process/meters/CMeterBlock.h"
#include "process/utilities/CAOSInfo.h"

class CEffectType;

// The reader tag under which the process answers the host's meter questions.
inline constexpr uint8_t kHostMeterReaderTag = 101;

class CEffectProcess : public CDSPProcess
{
public:
    // Adds the controls chunk to the chunk table; no master bypass, no meters.
    CEffectProcess();

    // Appends a chunk to the table; a chunk other than the controls and MIDI chunks marks that the
    // process stores chunks of its own (which a derived class sizes, writes and restores).
    void AddChunk (uint32_t chunkID, const char* name);

    // Copies the counts, kind, stem formats and side-chain input from the effect type; attaches
    // the meter block; runs SetUpEffect (where a derived process adds its controls and meters);
    // zeroes the meter arrays; then the process's own initialisation. Afterwards the controls not
    // left out of the controls chunk are the saved controls.
    void Initialize() override;

    int32_t GetNumInputs (int16_t* count) override;
    int32_t GetNumOutputs (int16_t* count) override;

    // The master bypass: the 1-based index of its control, 0 for none.
    int32_t GetMasterBypassControlIndex (int32_t* index) override;
    // Reads the control (on = a value of 0 or more); false without a master bypass.
    int32_t IsMasterBypassed (uint8_t* bypassed) override;
    // Gives the control the on or off value through the host's road; nothing without one.
    int32_t SetMasterBypass (uint8_t on) override;

    // The chunk table; the controls chunk is hidden while no control is saved.
    int32_t GetNumChunks (int32_t* count) override;
    // 1-based; an index past the table answers as a process without chunks (-7157).
    int32_t GetChunkID (int32_t index, uint32_t* chunkID) override;
    // The chunk's name as a length-prefixed string of at most 31 characters (name holds 32
    // bytes); nothing for a chunk the table does not hold.
    int32_t GetChunkName (uint32_t chunkID, uint8_t* name) override;
    int32_t GetChunkSize (uint32_t chunkID, int32_t* size) override;
    // Writes the controls chunk into a record of the size GetChunkSize answered (-333 when it
    // does not fit); other chunks answer as a process without chunks.
    int32_t GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;
    // Restores every control but the master bypass from a controls chunk through the editor's
    // road; a control without an entry keeps its value. Other chunks: nothing done, 0.
    int32_t SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;
    // changed = 1 when the controls chunk holds what the controls show now (entries that are
    // missing count as equal), 0 at the first difference; 1 for other chunks.
    int32_t RestoreControlsFromChunk (SFicPlugInChunk* chunk, uint8_t* changed) override;

    // The text stored for the key, as a length-prefixed string (text holds 256 bytes).
    int32_t GetInfoString (int32_t key, uint8_t* text) override;
    // The effect group's base name (empty when the group is not an effect group); name holds
    // 256 bytes.
    int32_t GetBaseName (char* name) override;
    // The view's answer; when the event is still not handled, AnswerEvent's. Without a view the
    // handled byte is not cleared first.
    int32_t HandleViewEvent (EventRecord* event, uint8_t* handled) override;

    // Meters, from the meter block.
    int32_t GetNumMeters (int32_t* count) override;
    // At most count values (and no more than there are meters).
    int32_t GetMeterValues (int32_t count, int32_t* values) override;
    // The 1-based meter's orientation; 0 for a number out of range.
    int32_t GetMeterOrientation (int32_t meter, EMeterOrientation* orientation) override;
    int32_t GetNumMetersOfType (EMeterType type, int32_t* count) override;
    int32_t GetMeterIndexOfType (EMeterType type, int32_t which, int32_t* index) override;
    // A clip, once seen, is held until ClearClipIndicators.
    int32_t IsClipped (uint8_t* clipped) override;
    int32_t ClearClipIndicators() override;

    // The connection-information list; entries are 0-based.
    int32_t GetNumConnectionInfos (int32_t* count) override;
    int32_t GetConnectionInfo (int32_t index, SFicPlugInStemInfo* info) override;

    // What the effect process adds to the process's operations.
    // The argument that the type's ForwardToProcess hands on; nothing here, 0.
    virtual int32_t HandleForwardedEvent (EventRecord* event);
    // Where a derived process adds its controls and meters, during Initialize; nothing here.
    virtual void SetUpEffect();
    // Whether the process handles an event that its view left unhandled; 0 here.
    virtual uint8_t AnswerEvent (EventRecord* event);
    // Restores one control from the last chunk read: with update through the host's road, else
    // through the editor's. 0 also for a control without an entry; -7401 for a control that is
    // neither continuous nor discrete.
    virtual int32_t RestoreControl (int32_t index, bool update);
    // Reads a controls chunk into the controls-chunk list.
    virtual void ReadControlsChunk (const SFicPlugInChunk* chunk);
    virtual void SetSideChainConnected();
    virtual void ClearSideChainConnected();

    // What Initialize copied from the effect type.
    int32_t GetTypeKindCopy() const { return fTypeKind; }
    const SFicPlugInStemFormats& GetStemFormatsCopy() const { return fStemFormats; }
    // The input the side-chain arrives on (1-based), 0 when the type has none.
    int32_t GetSideChainInputIndex() const { return fSideChainInput; }
    bool IsSideChainConnected() const { return fSideChainConnected; }
    // The controls that Initialize found to be saved: all but those left out.
    int32_t GetNumSavedControls() const { return fSavedControls; }
    // The process's effect type; null when its type is not an effect type.
    CEffectType* GetEffectType() const;

protected:
    void SetMasterBypassControlIndex (int32_t index) { fMasterBypassIndex = index; }
    // Keeps the control with the identifier out of the controls chunk.
    void LeaveOutOfControlsChunk (uint32_t controlID) { fLeftOut.insert (controlID); }
    // Adds a meter to the meter block (owned from now on).
    void AddMeter (EMeterType type, EMeterOrientation orientation);
    void SetInfoString (int32_t key, const std::string& text);
    CAOSInfoList& GetConnectionInfoList() { return fConnectionInfos; }
    const CAOSInfoList& GetConnectionInfoList() const { return fConnectionInfos; }

private:
    struct ChunkEntry
    {
        uint32_t id;
        std::string name;
        int32_t size;
    };

    const ChunkEntry* FindChunk (uint32_t chunkID) const;
    // Fills the controls-chunk list from the controls; its data size.
    int32_t BuildControlsChunk();
    int32_t ControlsChunkSize();
    bool ControlDiffersFromChunk (int32_t index);
    bool IsMasterBypassIndex (int32_t index) const { return fMasterBypassIndex != 0 && index == fMasterBypassIndex; }
    // Refreshes the meter arrays from the block (reset: fetch and zero what the block holds).
    void ReadMeterArrays (bool reset);

    ChunkDataParser fControlsParser;
    int16_t fNumInputs = 0;
    int16_t fNumOutputs = 0;
    int32_t fTypeKind = 0;
    SFicPlugInStemFormats fStemFormats {};
    int32_t fSideChainInput = 0;
    int32_t fMasterBypassIndex = 0;
    std::vector<int32_t> fMeterValues;
    std::vector<uint8_t> fClipFlags;
    CMeterBlock fMeterBlock;
    std::vector<ChunkEntry> fChunks;
    bool fHasOtherChunks = false;
    std::set<uint32_t> fLeftOut;
    bool fClipHeld = false;
    int32_t fSavedControls = 0;
    int32_t fControlsChunkSize = 0; // 0 = not yet computed
    std::map<int32_t, std::string> fInfoTexts;
    CAOSInfoList fConnectionInfos;
    bool fSideChainConnected = false;
};
