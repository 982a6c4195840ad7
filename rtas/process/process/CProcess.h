#pragma once
// One running instance of a plug-in inside the host engine. It owns the instance's controls, its
// editor view and its naming and messaging link to the host's stream data service (SDS), and
// gives the default answer to every per-instance question the host may ask. The host reaches it
// only through its process type, which finds it by instance ID and calls the operation of the
// same name; derived processes override what they answer differently.
//
// Results are 16-bit host codes carried in 32 bits (0 = success). Outputs are written only
// through non-null pointers. Control indexes are 1-based; an index outside 1..count answers the
// defaults and sends nothing to the host.
//
// Control values reach the processor on two roads: the host's (UpdateControlValue: automation,
// control surfaces and the host's answer to an edit) and the editor's (SetControlValue: with SDS
// the edit goes to the host as a token and the control changes only when the host answers).
//
// [host thread] for every operation unless it says otherwise: the host calls processes on the
// thread that drives the plug-in, without locks. View operations run on the host's window thread,
// which is that thread too. Only the meter-data-ready byte is shared with the audio thread.

#include <atomic>
#include <cstdint>
#include <memory>

#include <abi/DAE.h>

#include "process/base/CPtrList.h"
#include "process/controls/CPluginControl.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/ProcessGroupRecords.h"
#include "process/process/ControlSDSArrays.h"
#include "process/process/PageTable.h"
#include "process/process/ProcessView.h"

class CProcessType;

// Codes the base process answers besides the group's (GroupResult: -7000 for what it does not
// support, -7304 for SetControlSpecial).
namespace ProcessResult
{
inline constexpr int32_t kOptionANotSettable = -7152;
inline constexpr int32_t kOptionBNotSettable = -7153;
inline constexpr int32_t kNoSuchChunk = -7157;
inline constexpr int32_t kNoControlView = -7300;
}

// The value of MoveViewTo in the view-less mode.
inline constexpr int32_t kViewlessMoveAnswer = 1;
// The chunk ID that GetChunkID answers: four spaces.
inline constexpr uint32_t kNoChunkID = 0x20202020;
// The code under which a control's name is fetched for the host.
inline constexpr uint32_t kControlNameCode = 0x5063544C; // 'PcTL'
inline constexpr int32_t kControlNameLength = 31;
// GetControlText takes lengths of 100 and more as length + 100.
inline constexpr int32_t kControlTextLengthOffset = 100;
inline constexpr const char* kUndefinedBaseName = "Plug-Ins/Undefined BaseName";
// The type kind whose meters are read only when the audio side marked them fresh; the group
// matches its plug-in specs to the type's own stem formats.
inline constexpr int32_t kFreshMetersTypeKind = 3;
inline constexpr int32_t kMatchOwnStemFormats = -3;

class CProcess
{
public:
    // Reads the sample rate and the two shared settings from the plug-in group (44100, 5 and 0
    // without a group). Nothing else happens until Initialize.
    CProcess();
    CProcess (const CProcess&) = delete;
    CProcess& operator= (const CProcess&) = delete;

    // The view (unless view-less), the per-control SDS arrays, the instance and control names and
    // the control listeners, in this order; throws CDAEError on the first failure.
    virtual void Initialize();
    // The last step of every teardown: listeners, names and SDS arrays, then the view. The
    // controls stay until the destructor.
    virtual void Teardown();
    virtual void SetType (CProcessType* type);
    // Services the SDS tokens that wait.
    virtual int32_t Idle (EventRecord* event);
    // Handles the tokens that the engine queued for the library's SDS task, for at most two
    // ticks, then gives the engine its idle time. A handler that throws ends only its token.
    // Does nothing without SDS.
    virtual int32_t ServiceSDSTokens();

    // View operations; without a view they answer 0 and do nothing.
    virtual int32_t InvalidateView (Rect* area);
    virtual int32_t HandleViewClick (EventRecord* event);
    // Without a view, clears handled.
    virtual int32_t HandleViewEvent (EventRecord* event, uint8_t* handled);
    // The view's frame; without a view the rectangle is left as it is.
    virtual int32_t GetViewRect (Rect* bounds);
    // Gives the view its window and binds each control view to its control (null unbinds them).
    virtual int32_t SetViewPort (OpaqueGrafPtr* port);
    // Moves the view's top-left corner to the point; 1 in the view-less mode.
    virtual int32_t MoveViewTo (Point where);

    virtual int32_t SetSampleRate (int32_t sampleRate);
    virtual int32_t NotifyTypeValue (int32_t value);
    virtual int32_t SetMasterBypass (uint8_t on);
    // Stores both words of the record (a null record changes nothing).
    virtual int32_t SetSettingPair (const SFicTimeCodeInfo* pair);
    virtual int32_t GetSettingFirst();
    virtual int32_t GetSettingSecond();
    virtual void SetTypeIndex (int16_t index);
    virtual int16_t GetTypeIndex();
    virtual void SetInstanceID (int16_t id);
    virtual int16_t GetInstanceID();
    virtual void SetUserValueA (int32_t value);
    virtual int32_t GetUserValueA();
    virtual void SetUserValueB (int32_t value);
    virtual int32_t GetUserValueB();
    // Every concrete process answers its channel counts.
    virtual int32_t GetNumInputs (int16_t* count) = 0;
    virtual int32_t GetNumOutputs (int16_t* count) = 0;
    virtual int32_t SetOptionA (int16_t value);
    virtual int32_t SetOptionB (int16_t value);

    virtual int32_t IsInputConnected (int32_t port, uint8_t* connected);
    virtual int32_t CanConnectOutput (int32_t port, uint8_t* possible);
    virtual int32_t IsOutputConnected (int32_t port, uint8_t* connected);
    virtual int32_t NotifyDSPConnect (int32_t port, int32_t value);
    virtual int32_t NotifyDSPConnectOutput (int32_t port, int32_t value);
    virtual int32_t NotifyDSPDisconnectInput (int32_t port);
    virtual int32_t NotifyDSPDisconnectOutput (int32_t port);

    // Controls.
    virtual int32_t GetNumControls (int16_t* count);
    virtual int32_t GetMasterBypassControlIndex (int32_t* index);
    virtual int32_t IsControlAutomatable (int32_t index, int16_t* automatable);
    virtual int32_t GetControlStepCount (int32_t index, int32_t* steps);
    // The control's parse of the text; a CDAEError of the control is answered as its code.
    virtual int32_t GetControlValueFromText (int32_t index, int32_t* value, const char* text);
    virtual int32_t IsControlCharacterAllowed (int32_t index, int16_t character, uint8_t* allowed);
    // The control's text for the value as a length-prefixed string in place; text holds
    // length + 1 bytes.
    virtual int32_t GetControlValueString (int32_t index, int32_t value, char* text, int32_t length);
    // The name that fits 31 characters, zero-terminated; name holds 32 bytes.
    virtual int32_t GetControlName (int32_t index, char* name);
    // The name that fits length characters, zero-terminated at text[length].
    virtual int32_t GetControlNameToFit (int32_t index, char* text, int32_t length, uint32_t code, int16_t* out);
    virtual int32_t GetControlSDSName (int32_t index, char* name);
    virtual int32_t GetControlValue (int32_t index, int32_t* value);
    // The editor's road.
    virtual int32_t SetControlValue (int32_t index, int32_t value);
    // The current value plus delta, saturated, through SetControlValue.
    virtual int32_t IncrementControlValue (int32_t index, int32_t delta);
    virtual int32_t GetControlDefaultValue (int32_t index, int32_t* value);
    virtual int32_t SetControlDefaultValue (int32_t index, int32_t value);
    virtual int32_t SetControlSpecial (int32_t index, int32_t a, int32_t b, int32_t* out);
    virtual int32_t ReservedOp1 (int32_t index, SFicAutoTimeRampData* ramp);
    virtual int32_t ReservedOp2 (int32_t a);
    virtual int32_t ReservedOp3 (int32_t a);

    // Control-surface pages from the type's cached page table for the code.
    virtual int32_t GetPageCount (uint32_t table, int16_t surface);
    virtual int32_t GetPageControl (uint32_t table, int16_t surface, int16_t page, int16_t slot);
    virtual int32_t HasPageLayout (uint32_t table, int16_t surface);

    virtual int32_t IsMasterBypassed (uint8_t* bypassed);
    virtual int32_t ReservedOp4 (int32_t a, uint8_t flag);
    virtual int32_t QueryOption (int32_t option, uint8_t* answer);
    // The master bypass index when the card reports a flag that the mask shares; the type's result.
    virtual int32_t GetBypassIndexIfCardFlag (uint32_t mask, uint32_t* index);

    // Meters.
    virtual int32_t GetNumMeters (int32_t* count);
    // Clears the first value when count is 1 or more; nothing is written otherwise.
    virtual int32_t GetMeterValues (int32_t count, int32_t* values);
    virtual int32_t ReservedOp5 (int32_t a, char* text);
    virtual int32_t GetMeterOrientation (int32_t meter, EMeterOrientation* orientation);
    virtual int32_t GetNumMetersOfType (EMeterType type, int32_t* count);
    virtual int32_t GetMeterIndexOfType (EMeterType type, int32_t which, int32_t* index);
    virtual int32_t IsClipped (uint8_t* clipped);
    virtual int32_t ClearClipIndicators();
    // The raw meter values and clip flags, one entry per meter (the meter block's source).
    virtual void ReadRawMeters (int32_t* values, uint8_t* clips);
    virtual int32_t ReservedOp6 (int32_t a, int32_t b, uint8_t flag);
    virtual int32_t ReservedOp7 (uint8_t* out);
    virtual int32_t ReservedOp8 (int32_t a, void* data, uint8_t* out);
    virtual int32_t ReservedOp9();
    virtual int32_t ReservedOp10 (int32_t a, int32_t b);

    // Chunks.
    virtual int32_t GetNumChunks (int32_t* count);
    virtual int32_t GetChunkID (int32_t index, uint32_t* chunkID);
    virtual int32_t GetChunkName (uint32_t chunkID, uint8_t* name);
    virtual int32_t GetChunkSize (uint32_t chunkID, int32_t* size);
    virtual int32_t GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t RestoreControlsFromChunk (SFicPlugInChunk* chunk, uint8_t* changed);
    virtual int32_t GetChangeCount (int32_t* count);
    virtual int32_t ReservedOp11 (char* text);
    virtual int32_t ReservedOp12 (void* data);
    virtual int32_t ReservedOp13 (uint8_t flag);
    virtual int32_t ReservedOp14 (int32_t a, uint8_t flag);
    virtual int32_t ReservedOp15 (uint8_t flag);
    virtual int32_t GetLatencyShort (int16_t* latency);
    virtual int32_t GetLatency (int32_t* latency);
    virtual int32_t ActivateView();
    virtual int32_t DeactivateView();
    virtual int32_t GetStreamFormat (int16_t a, int16_t b, char* format);
    virtual int32_t CheckStreamFormat (int16_t a, int16_t b, char* format);
    virtual int32_t ReservedOp16 (int16_t a, int16_t b, int16_t c, int16_t* out);
    virtual int32_t ReservedOp17 (int16_t a, int16_t b, int16_t c, int16_t value, char* text);
    virtual int32_t GetDefaultStreamInfo();
    virtual int32_t ReservedOp18 (int32_t a, int32_t b);
    virtual int32_t ReservedOp19 (int16_t a, int32_t b, int32_t* out);
    virtual int32_t ReservedOp20 (int32_t* out);
    virtual int32_t ReservedOp21 (int32_t* out);

    // SDS naming and listening; each answers 0 without SDS. The instance's name is the base name,
    // shortened as far as needed, followed by "/Inst" and the instance serial. A listener the
    // engine does not make answers -7053; what it answers to a listener's settings is not looked
    // at.
    virtual int32_t ReserveInstanceName (int32_t parentNameId);
    virtual int32_t ReserveControlNames();
    virtual int32_t CreateControlListeners();
    virtual int32_t FreeInstanceName();
    virtual int32_t FreeControlNames();
    virtual int32_t DeleteControlListeners();

    // Highlights the control's view (on: its low byte is the flag); text is the highlight's
    // length-prefixed text.
    virtual int32_t SetControlHighlight (int32_t index, int16_t on, int16_t colour, int16_t extra, const uint8_t* text);
    // Has the control's view show a value the host gave the control.
    virtual int32_t ControlValueChanged (int32_t index, int32_t value);
    // The host's road: the control takes the value, then (with SDS) the host hears of it.
    virtual int32_t UpdateControlValue (int32_t index, int32_t value);
    // Runs after a control took a value from the host.
    virtual void OnControlChanged (int32_t index);
    virtual int32_t IncrementControlValueDirect (int32_t index, int32_t delta);
    virtual int32_t GetControlHostHint1 (int32_t index, int32_t* hint);
    virtual int32_t GetControlValueKind (int32_t index, int32_t* kind);
    virtual int32_t GetControlHostHint2 (int32_t index, int32_t* hint);
    virtual int32_t GetInstanceNameID (void** nameId);
    virtual int32_t GetControlNameID (int32_t index, void** nameId);
    // The control's text for a value, zero-terminated at text[length] (length >= 100 counts as
    // length - 100).
    virtual int32_t GetControlText (int32_t index, int32_t value, char* text, int32_t length);
    virtual int32_t GetControlHighlight (int32_t index, int16_t* on, int16_t* colour);
    // The same flag rule as SetControlHighlight; the view keeps its other highlight fields.
    virtual int32_t SetControlHighlightInfo (int32_t index, int16_t on, int16_t colour);
    // Touch brackets of an edit: the first begin and the last end tell the host.
    virtual int32_t BeginControlTouch (int32_t index);
    virtual int32_t EndControlTouch (int32_t index);
    virtual int32_t GetControlIndexAtPoint (Point where, int32_t* index);
    // The name under which the engine lists the plug-in's objects; name holds 256 bytes.
    virtual int32_t GetBaseName (char* name);
    virtual int32_t GetInfoString (int32_t key, uint8_t* text);
    virtual int32_t SetProcessValue (int32_t a, int32_t value);
    // The four-character view ID of a control's view; -7300 when there is none.
    virtual int32_t GetControlViewCode (int32_t index, uint32_t* code);
    virtual int32_t SetOwnerValue (int32_t value);
    // Tokens that ServiceSDSTokens does not handle itself.
    virtual int32_t HandleOtherToken (uint8_t* token);
    virtual int32_t GetPlugInSpec (SFicPlugInSpec* spec);
    virtual int32_t SetPlugInSpec (SFicPlugInSpec* spec);
    virtual int32_t ReservedOp22 (SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t ReservedOp23 (SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t ReservedOp24 (int32_t a, uint8_t flag);
    virtual int32_t GetNumConnectionInfos (int32_t* count);
    virtual int32_t GetConnectionInfo (int32_t index, SFicPlugInStemInfo* info);
    // A plain process has no COM identity: clears the answer.
    virtual int32_t GetUnknown (IACFUnknown** unknown);
    virtual int32_t ReservedOp25 (int32_t a, int32_t b);
    virtual int32_t ReservedOp26 (int32_t a, int32_t* out);
    virtual int32_t ReservedOp27 (int32_t* out);
    virtual int32_t ReservedOp28 (int32_t a, int32_t b);
    virtual int32_t ReservedOp29 (int32_t a, int32_t* out);
    virtual int32_t ReservedOp30 (int32_t a, uint8_t flag);
    virtual int32_t ReservedOp31 (void* data);
    virtual int32_t ReservedOp32 (SFileList* first, SFileList* second);
    virtual int32_t ReservedOp33 (SFileList* first, SFileList* second, uint8_t flag);
    virtual int32_t ReservedOp34();
    virtual int32_t ReleaseDirectMIDI();
    virtual void SetFlagByte (uint8_t value);
    // Deletes every control.
    virtual ~CProcess();
    // The process's editor view: none in the view-less mode, else the default view.
    virtual std::unique_ptr<IProcessView> CreateView();
    virtual bool CanSetOptionA();
    virtual bool CanSetOptionB();
    // The type's cached page table for the code; none without a type.
    virtual PageTable GetPageTable (uint32_t code);

    uint8_t GetFlagByte() const { return fFlagByte; }

    // Appends a control (owned from now on); null throws CDAEError -7053.
    void AddControl (CPluginControl* control);
    // The control at a 1-based index; null outside 1..count.
    CPluginControl* GetControl (int32_t index) const;
    bool IsValidControlIndex (int32_t index) const { return fControls.IsValidIndex (index); }
    int32_t CountControls() const { return fControls.Count(); }

    // The channel counts; a nonzero result throws it as CDAEError.
    int16_t GetNumInputsOrThrow();
    int16_t GetNumOutputsOrThrow();
    // Fills the manufacturer, product and plug-in IDs of a spec record through the group for this
    // process's type; for a type of the fresh-meters kind also lets the group match the record
    // (no match is no failure). Throws CDAEError on a failure.
    void FillPlugInSpecIDs (SFicPlugInSpec* spec);

    CProcessType* GetType() const { return fType; }
    IProcessView* GetView() const { return fView.get(); }
    int32_t GetSampleRate() const { return fSampleRate; }
    int32_t GetProcessValue() const { return fProcessValue; }
    int32_t GetOwnerValue() const { return fOwnerValue; }
    int16_t GetOptionA() const { return fOptionA; }
    int16_t GetOptionB() const { return fOptionB; }
    int32_t GetRootNameID() const { return fRootNameId; }

    // The byte that the audio side sets when it has fresh meter values [audio thread] and the
    // meter block reads and clears [host thread].
    void SetMeterDataReady (bool ready) { fMeterDataReady.store (ready ? 1 : 0, std::memory_order_release); }
    bool IsMeterDataReady() const { return fMeterDataReady.load (std::memory_order_acquire) != 0; }

    // 1 while a DSP process is attached to a DSP.
    uint8_t GetConnectionsReady() const { return fConnectionsReady; }
    void SetConnectionsReady (uint8_t ready) { fConnectionsReady = ready; }

protected:
    // The control view bound to the control's view code; null in the view-less mode, without a
    // view, or when no control view has the code.
    IProcessControlView* FindControlView (int32_t index);

private:
    void CreateAndStartView();
    void AllocateSDSArrays();
    // Gives the engine back the listeners and names and frees the SDS arrays; a process destroyed
    // without its teardown does this too.
    void ReleaseSDS();
    int32_t ControlNameID (int32_t index) const;
    int32_t DispatchControlToken (int32_t index, uint32_t type, uint32_t subType, int32_t value);
    int32_t CreateListenersFor (int32_t index);
    void HandleToken (uint8_t* token, void* taskValue);

    CProcessType* fType = nullptr;
    int16_t fTypeIndex = -1;
    int16_t fInstanceID = -1;
    int32_t fUserValueA = 0;
    int32_t fUserValueB = 0;
    std::unique_ptr<IProcessView> fView;
    int16_t fOptionA = 0;
    int16_t fOptionB = 0;
    int32_t fSampleRate;
    int32_t fProcessValue = 0;
    uint32_t fChangeCounter = 0; // read as signed: a negative count is not answered
    uint8_t fFlagByte = 0;
    SFicTimeCodeInfo fSettingPair;
    std::atomic<uint8_t> fMeterDataReady { 1 };
    int32_t fInstanceNameId = 0;
    int32_t fRootNameId = 0;
    ControlSDSArrays fSDS;
    int32_t fOwnerValue = 0;
    uint8_t fConnectionsReady = 0;
    SFicPlugInSpec fPlugInSpec {};
    CPtrList<CPluginControl> fControls;
};
