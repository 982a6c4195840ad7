#pragma once
// The group that owns the plug-in's process types and routes each host operation to the type the
// host names by its type identifier. It hands out and takes back process instances and counts
// them, keeps the plug-in's resource file open and the host's SDS server connected while any
// instance lives, and holds the group's recursive lock through the host's PISI service.
//
// An operation that names a type the group does not have throws CDAEError -7125, which the
// routine layer hands to the host. [host thread] for every operation; Lock, TryLock and Unlock
// also on the driver's thread, which otherwise only walks the type list (VisitTypes): the host
// thread changes that list under the list's lock, and no entry of it is ever null.

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include <abi/DAE.h>

#include "process/group/CProcessGroupInterface.h"
#include "process/utilities/ScopedPlugInResFile.h"

class CProcessType;

namespace GroupResult
{
inline constexpr int32_t kNoPISIService = -7060;
inline constexpr int32_t kNoGroupLock = -7075;
inline constexpr int32_t kNoSuchType = -7125;
}

// The type identifier with which GetTypeName asks for the group's own name: '????'.
inline constexpr uint32_t kGroupItselfTypeID = 0x3F3F3F3F;
// The answer FindType presets before it asks a type for its product identifier: four spaces.
inline constexpr uint32_t kUnansweredProductID = 0x20202020;
// The value of OnSelector36's second count that asks for a DSP process's DSP identifier.
inline constexpr int32_t kDSPIdentifierQuery = 0x47892354;
// The lock's name is made from the group's alternative name, at most this long.
inline constexpr int32_t kGroupLockNameLength = 63;

class CProcessGroup : public CProcessGroupInterface
{
public:
    // Thrown by AddProcessType for a null type or a group not yet initialised.
    struct AddProcessTypeEx
    {
    };

    // Clears the library-wide SDS server, SDS object and instance serial.
    CProcessGroup();
    // Deletes the types with their processes, disconnects the SDS server, pops a resource file
    // still pushed for live instances, disposes of the lock and releases the DSI binding. Every
    // step runs; a failing one is not reported.
    ~CProcessGroup() noexcept (false) override;

    // Binds the DSI entry points, creates the type list, lets the concrete group add its types,
    // orders and numbers them and makes the lock (a group without one still initialises).
    int32_t Initialize() override;

    // The group's alternative name for '????', else the type's name; either at most maxLength
    // characters long, in a buffer of maxLength + 1 bytes.
    int32_t GetTypeName (uint32_t typeID, int32_t maxLength, char* name) override;
    int32_t SetSampleRate (int32_t sampleRate) override;
    int32_t OnSelector125 (int32_t value) override;
    int32_t SetTimeCodeInfo (SFicTimeCodeInfo* info) override;
    int32_t OnSelector16() override;
    int32_t OnSelector18() override;
    int32_t OnSelector69 (uint8_t flag) override;
    int32_t OnSelector72 (uint8_t flag) override;
    int32_t OnSelector122 (int32_t a, int32_t value) override;
    // The one operation that makes a process instance; a failure leaves nothing of what it did.
    int32_t CreateProcess (uint32_t typeID, int32_t* process) override;
    // The open count goes down only for an instance that was removed.
    int32_t DeleteProcess (uint32_t typeID, int32_t process) override;
    int32_t GetNumTypes (int16_t* count) override;
    // The process's two user values; or, when the second count holds kDSPIdentifierQuery, the DSP
    // identifier of a DSP process in it (0 answered either way).
    int32_t OnSelector36 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t which) override;
    int32_t OnSelector37 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t which) override;
    int32_t EnableType (int32_t typeID) override;
    int32_t GetCardInfo (uint32_t typeID, int32_t process, int32_t* info) override;
    int32_t GetInfoString (uint32_t typeID, int32_t process, int32_t which, uint8_t* text) override;
    int32_t Lock() override;
    bool TryLock() override;
    int32_t Unlock() override;

    // Routed to the type's forward of the same name.
    int32_t InvalidateView (uint32_t typeID, int32_t process, Rect* area) override;
    int32_t HandleViewClick (uint32_t typeID, int32_t process, EventRecord* event) override;
    int32_t HandleViewEvent (uint32_t typeID, int32_t process, EventRecord* event, uint8_t* handled) override;
    int32_t Idle (uint32_t typeID, int32_t process, EventRecord* event) override;
    int32_t GetViewRect (uint32_t typeID, int32_t process, Rect* bounds) override;
    int32_t SetViewPort (uint32_t typeID, int32_t process, OpaqueGrafPtr* port) override;
    int32_t MoveViewTo (uint32_t typeID, int32_t process, Point where) override;
    int32_t ActivateView (uint32_t typeID, int32_t process) override;
    int32_t DeactivateView (uint32_t typeID, int32_t process) override;
    int32_t ReleaseDirectMIDI (uint32_t typeID, int32_t process) override;
    int32_t SetOptionA (uint32_t typeID, int32_t process, int16_t value) override;
    int32_t SetOptionB (uint32_t typeID, int32_t process, int16_t value) override;
    int32_t IsInputConnected (uint32_t typeID, int32_t process, int32_t port, uint8_t* connected) override;
    int32_t CanConnectOutput (uint32_t typeID, int32_t process, int32_t port, uint8_t* possible) override;
    int32_t IsOutputConnected (uint32_t typeID, int32_t process, int32_t port, uint8_t* connected) override;
    int32_t NotifyDSPConnect (uint32_t typeID, int32_t process, int32_t port, int32_t value) override;
    int32_t NotifyDSPConnectOutput (uint32_t typeID, int32_t process, int32_t port, int32_t value) override;
    int32_t NotifyDSPDisconnectInput (uint32_t typeID, int32_t process, int32_t port) override;
    int32_t NotifyDSPDisconnectOutput (uint32_t typeID, int32_t process, int32_t port) override;
    int32_t GetNumControls (uint32_t typeID, int32_t process, int16_t* count) override;
    int32_t GetMasterBypassControlIndex (uint32_t typeID, int32_t process, int32_t* index) override;
    int32_t IsControlAutomatable (uint32_t typeID, int32_t process, int32_t control, int16_t* automatable) override;
    int32_t GetControlStepCount (uint32_t typeID, int32_t process, int32_t control, int32_t* steps) override;
    int32_t GetControlName (uint32_t typeID, int32_t process, int32_t control, char* text) override;
    int32_t GetControlNameToFit (uint32_t typeID, int32_t process, int32_t control, char* text, int32_t a, uint32_t b, int16_t* out) override;
    int32_t GetControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t* value) override;
    int32_t SetControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t value) override;
    int32_t GetPageCount (uint32_t typeID, int32_t process, uint32_t table, int16_t page) override;
    int32_t GetPageControl (uint32_t typeID, int32_t process, uint32_t a, int16_t b, int16_t c, int16_t d) override;
    int32_t HasPageLayout (uint32_t typeID, int32_t process, uint32_t table, int16_t page) override;
    int32_t SetMasterBypass (uint32_t typeID, int32_t process, int32_t control, uint8_t bypass) override;
    int32_t IsMasterBypassed (uint32_t typeID, int32_t process, int32_t control, uint8_t* bypassed) override;
    int32_t QueryOption (uint32_t typeID, int32_t process, int32_t option, uint8_t* answer) override;
    int32_t GetBypassIndexIfCardFlag (uint32_t typeID, int32_t process, uint32_t flag, uint32_t* index) override;
    int32_t GetNumMeters (uint32_t typeID, int32_t process, int32_t* count) override;
    int32_t GetMeterValues (uint32_t typeID, int32_t process, int32_t count, int32_t* values) override;
    int32_t GetMeterOrientation (uint32_t typeID, int32_t process, int32_t meter, EMeterOrientation* orientation) override;
    int32_t GetNumMetersOfType (uint32_t typeID, int32_t process, EMeterType type, int32_t* count) override;
    int32_t GetMeterIndexOfType (uint32_t typeID, int32_t process, EMeterType type, int32_t which, int32_t* index) override;
    int32_t IsClipped (uint32_t typeID, int32_t process, uint8_t* clipped) override;
    int32_t ClearClipIndicators (uint32_t typeID, int32_t process) override;
    int32_t GetNumChunks (uint32_t typeID, int32_t process, int32_t* count) override;
    int32_t GetChunkID (uint32_t typeID, int32_t process, int32_t index, uint32_t* chunkID) override;
    int32_t GetChunkName (uint32_t typeID, int32_t process, uint32_t chunkID, uint8_t* name) override;
    int32_t GetChunkSize (uint32_t typeID, int32_t process, uint32_t chunkID, int32_t* size) override;
    int32_t GetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    int32_t SetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk) override;
    int32_t RestoreControlsFromChunk (uint32_t typeID, int32_t process, SFicPlugInChunk* chunk, uint8_t* result) override;
    int32_t GetChangeCount (uint32_t typeID, int32_t process, int32_t* count) override;
    int32_t GetLatencyShort (uint32_t typeID, int32_t process, int16_t* latency) override;
    int32_t GetLatency (uint32_t typeID, int32_t process, int32_t* latency) override;
    int32_t GetStreamFormat (uint32_t typeID, int32_t process, int16_t a, int16_t b, char* format) override;
    int32_t CheckStreamFormat (uint32_t typeID, int32_t process, int16_t a, int16_t b, char* format) override;
    int32_t GetDefaultStreamInfo (uint32_t typeID, int32_t process) override;
    int32_t IncrementControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t steps) override;
    int32_t GetControlHostHint1 (uint32_t typeID, int32_t process, int32_t control, int32_t* hint) override;
    int32_t GetInstanceNameID (uint32_t typeID, int32_t process, void** nameID) override;
    int32_t GetControlNameID (uint32_t typeID, int32_t process, int32_t control, void** nameID) override;
    int32_t GetControlValueKind (uint32_t typeID, int32_t process, int32_t control, int32_t* kind) override;
    int32_t GetControlHostHint2 (uint32_t typeID, int32_t process, int32_t control, int32_t* hint) override;
    int32_t GetControlText (uint32_t typeID, int32_t process, int32_t control, int32_t a, char* text, int32_t b) override;
    int32_t GetControlHighlight (uint32_t typeID, int32_t process, int32_t control, int16_t* on, int16_t* colour) override;
    int32_t SetControlHighlightInfo (uint32_t typeID, int32_t process, int32_t control, int16_t on, int16_t colour) override;
    int32_t UpdateControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t value) override;
    int32_t IncrementControlValueDirect (uint32_t typeID, int32_t process, int32_t control, int32_t steps) override;
    int32_t GetControlIndexAtPoint (uint32_t typeID, int32_t process, Point where, int32_t* control) override;
    int32_t GetControlDefaultValue (uint32_t typeID, int32_t process, int32_t control, int32_t* value) override;
    int32_t SetControlSpecial (uint32_t typeID, int32_t process, int32_t control, int32_t a, int32_t b, int32_t* out) override;
    int32_t SetOwnerValue (uint32_t typeID, int32_t process, int32_t value) override;
    int32_t SetPlugInSpec (uint32_t typeID, int32_t process, SFicPlugInSpec* spec) override;
    int32_t GetPlugInSpec (uint32_t typeID, int32_t process, SFicPlugInSpec* spec) override;
    int32_t GetNumConnectionInfos (uint32_t typeID, int32_t process, int32_t* count) override;
    int32_t GetConnectionInfo (uint32_t typeID, int32_t process, int32_t index, SFicPlugInStemInfo* info) override;
    int32_t GetUnknown (uint32_t typeID, int32_t process, IACFUnknown** unknown) override;

    // Routed to the type's forward of a process operation that answers 0.
    int32_t OnSelector49 (uint32_t typeID, int32_t process, int32_t control, SFicAutoTimeRampData* ramp) override;
    int32_t OnSelector73 (uint32_t typeID, int32_t process, int32_t a) override;
    int32_t OnSelector74 (uint32_t typeID, int32_t process, int32_t a) override;
    int32_t OnSelector50 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag) override;
    int32_t OnSelector55 (uint32_t typeID, int32_t process, int32_t a, char* text) override;
    int32_t OnSelector160 (uint32_t typeID, int32_t process, int32_t a, int32_t b, uint8_t flag) override;
    int32_t OnSelector161 (uint32_t typeID, int32_t process, uint8_t* out) override;
    int32_t OnSelector162 (uint32_t typeID, int32_t process, int32_t a, void* data, uint8_t* out) override;
    int32_t OnSelector163 (uint32_t typeID, int32_t process) override;
    int32_t OnSelector164 (uint32_t typeID, int32_t process, int32_t a, int32_t b) override;
    int32_t OnSelector165 (uint32_t typeID, int32_t process, char* text) override;
    int32_t OnSelector171 (uint32_t typeID, int32_t process, void* data) override;
    int32_t OnSelector71 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag) override;
    int32_t OnSelector96 (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t* out) override;
    int32_t OnSelector97 (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t value, char* text) override;
    int32_t OnSelector102 (uint32_t typeID, int32_t process, int32_t a, int32_t b) override;
    int32_t OnSelector103 (uint32_t typeID, int32_t process, int16_t a, int32_t b, int32_t* out) override;
    int32_t OnSelector104 (uint32_t typeID, int32_t process, int32_t* out) override;
    int32_t OnSelector105 (uint32_t typeID, int32_t process, int32_t* out) override;
    int32_t OnSelector141 (uint32_t typeID, int32_t process, SFicPlugInSpec* spec, int32_t a, int32_t* out) override;
    int32_t OnSelector142 (uint32_t typeID, int32_t process, SFicPlugInSpec* spec, int32_t a, int32_t* out) override;
    int32_t OnSelector143 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag) override;
    int32_t OnSelector151 (uint32_t typeID, int32_t process, int32_t a, int32_t b) override;
    int32_t OnSelector152 (uint32_t typeID, int32_t process, int32_t a, int32_t* out) override;
    int32_t OnSelector153 (uint32_t typeID, int32_t process, int32_t* out) override;
    int32_t OnSelector154 (uint32_t typeID, int32_t process, int32_t a, int32_t b) override;
    int32_t OnSelector155 (uint32_t typeID, int32_t process, int32_t a, int32_t* out) override;
    int32_t OnSelector157 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag) override;
    int32_t OnSelector168 (uint32_t typeID, int32_t process, void* data) override;
    int32_t OnSelector169 (uint32_t typeID, int32_t process, SFileList* first, SFileList* second) override;
    int32_t OnSelector170 (uint32_t typeID, int32_t process, SFileList* first, SFileList* second, uint8_t flag) override;
    int32_t OnSelector173 (uint32_t typeID, int32_t process) override;

    // Routed to a type operation of the type's own.
    int32_t OnSelector25 (uint32_t typeID, int32_t* out) override;
    int32_t OnSelector10 (uint32_t typeID, int32_t process, int16_t* out) override;
    int32_t OnSelector17 (uint32_t typeID, int32_t process, int16_t* out) override;
    int32_t GetStemFormats (uint32_t typeID, int32_t process, SFicPlugInStemFormats* formats) override;
    int32_t OnSelector15 (uint32_t typeID, int32_t process, EventRecord* event) override;
    int32_t OnSelector79 (uint32_t typeID, int16_t* out) override;
    int32_t OnSelector166 (uint32_t typeID, int32_t process, char* text, int32_t* out) override;
    int32_t OnSelector167 (uint32_t typeID, int32_t process, int32_t* out) override;
    int32_t OnSelector133 (uint32_t typeID, int32_t process, uint32_t a, uint32_t b, int32_t* out) override;
    int32_t OnSelector134 (uint32_t typeID, int32_t process, uint32_t* out) override;
    int32_t OnSelector92 (uint32_t typeID, int32_t* out) override;
    int32_t OnSelector59 (uint32_t typeID, int32_t process, int32_t a, int32_t b, int16_t* out) override;

    // Creates the group's lock (and resets the lock depth): 0, -7060 for a PISI service of
    // version 0 or below, -7075 when no lock was made.
    virtual int32_t MakeGroupName();
    // Gives the lock back to the PISI service; none afterwards.
    virtual void DisposeGroupLock();
    // Deletes the types (the DSP group releases its DSP lists too).
    virtual void ReleaseLists();
    // Connects the host's SDS server and makes the library's SDS object on it, when the host
    // offers SDS and the engine is alive; both or neither. 0.
    virtual int32_t ConnectSDSServer();
    // Deletes the SDS object, then the server; 0.
    virtual int32_t DisconnectSDSServer();
    // Where the concrete group adds its types with AddProcessType; nothing here.
    virtual void CreateTypes();
    // Enabled types and types without a type identifier first, the others after them, each in
    // their previous order; then AttachTypes.
    virtual void ReorderTypes();
    // Gives every type the group and its 1-based position.
    virtual void AttachTypes();
    // Deletes every type after its processes, each taken off the list just before it goes; no
    // list afterwards.
    virtual void DeleteTypes();
    // The first type whose product identifier is typeID; -7125 when none is.
    virtual CProcessType* FindType (uint32_t typeID);
    // The same search; null when none matches.
    virtual CProcessType* FindTypeOrNull (uint32_t typeID);
    // The group's alternative name as a length-prefixed text of at most maxLength characters;
    // the concrete group supplies it.
    virtual int32_t GetGroupAltName (char* name, int32_t maxLength) = 0;

    // Takes the type (owned from now on), after its DoNothing hook; AddProcessTypeEx for a null
    // type or before Initialize (the type is deleted then).
    void AddProcessType (CProcessType* type);
    // The first type with the 1-based index; -7125 when none has it.
    CProcessType* FindTypeByIndex (int16_t index) const;
    // Makes the plug-in's resource file current and answers the file that was current before.
    // The first push takes a hold on the file (PlugInResFileHold: the file the module's open
    // holds, else opened) and throws -7400 when it does not open; the pushes after it use it.
    int16_t PushPlugInResFile();
    // Ends one push: the last one ends the hold, which closes only a file opened for it. The
    // previous file becomes current again in every case; a pop without a push closes nothing.
    void PopPlugInResFile (int16_t previous);

    // [host thread] The types in their current order; empty before Initialize.
    std::vector<CProcessType*> Types() const;
    // [host thread, driver thread] Calls visit (CProcessType&) on every type in list order while
    // the list is held still; a type it reaches is not deleted before it returns. The visit must
    // not change the type list.
    template <typename Visit>
    void VisitTypes (Visit visit) const
    {
        const std::lock_guard guard (mTypesLock);
        if (HasTypeList())
            for (const auto& type : *mTypes)
                visit (*type);
    }
    int32_t GetOpenCount() const { return mOpenCount; }
    int32_t GetLockDepth() const { return mLockDepth; }

private:
    bool HasTypeList() const { return mTypes.has_value(); }
    // Calls the type operation on every type; the first nonzero result. Every type is called;
    // the first exception continues after the last type.
    template <typename Operation>
    int32_t Broadcast (Operation operation);
    // Gives back what a failed CreateProcess took on: the resource file it pushed and the SDS
    // server it connected while no instance lives.
    void UndoCreateProcess (bool connected, bool pushed);
    // One instance fewer when the type lists fewer processes than before (never below 0); the
    // last one lets SDS and the resource file go.
    void CountOutRemovedInstance (CProcessType& type, int32_t processesBefore);
    // The end of the instances' life in this group: SDS and the resource file let go.
    void ReleaseInstanceResources();
    bool LockServiceUsable() const;

    // Changed on the host thread only, under the lock; read by the driver's thread under it.
    mutable std::mutex mTypesLock;
    std::optional<std::vector<std::unique_ptr<CProcessType>>> mTypes;
    int32_t mOpenCount = 0;
    void* mGroupLock = nullptr;
    std::atomic<int32_t> mLockDepth { 0 };
    // The resource file pushes that hold the plug-in's file, their hold on it, and whether the
    // live instances hold one of those pushes.
    int32_t mResFileNesting = 0;
    PlugInResFileHold mPlugInResFile;
    bool mInstancesHoldResFile = false;
};

// The host's resource file that was current when the first instance was created; the group
// makes it current again when the last instance is gone.
extern int16_t gSavedResFile;
