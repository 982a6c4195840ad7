#pragma once
// One kind of plug-in and the owner of every running instance of that kind. The host names an
// instance by (type, instance ID): the group finds the type, the type finds the instance in its
// list and forwards the call to the process operation of the same name. The type also deletes its
// instances, keeps type-wide values in step with them and caches the control-surface page tables
// they read.
//
// A forward answers the process's result, or -7126 when no instance has the ID (IDs below 1 find
// nothing), unless its comment says otherwise. [host thread] for every operation; the card
// driver's thread only walks the instance list (VisitProcesses), which the host thread changes
// under the list's lock.

#include <array>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include <abi/DAE.h>

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/ProcessGroupRecords.h"
#include "process/process/CProcess.h"
#include "process/process/PageTable.h"

// Besides RTASError::kNoSuchProcess (-7126) and GroupResult::kNoStemFormats (-7110): a null
// pointer handed to the pointer checks.
namespace ProcessTypeResult
{
inline constexpr int32_t kNullPointer = -9013;
}

inline constexpr uint32_t kDefaultProductID = 0x7377436C; // 'swCl'
inline constexpr int32_t kNoTypeID = -100;
inline constexpr int32_t kCardInfoBypassFlags = 21;
inline constexpr int32_t kCardInfoNoStemFormats = 29;

// The page-table codes, in the order the cache preloads them.
inline constexpr std::array<uint32_t, 10> kPageTableCodes = {
    0x5067544C, // 'PgTL'
    0x4D6B544C, // 'MkTL'
    0x5063544C, // 'PcTL'
    0x4672544C, // 'FrTL'
    0x4867544C, // 'HgTL'
    0x44674551, // 'DgEQ'
    0x44674350, // 'DgCP'
    0x44674754, // 'DgGT'
    0x426B4353, // 'BkCS'
    0x426B5346, // 'BkSF'
};
// The code an unused cache entry holds.
inline constexpr uint32_t kNoPageTableCode = 0x2D2D2D2D; // '----'

// A page table's bytes as loaded: the resource's data followed by two zero bytes.
using PageTableBuffer = std::vector<uint8_t>;

class CProcessType
{
public:
    // Reads the sample rate and the two shared settings from the plug-in group (44100, 5 and 0
    // without a group); every cache entry is unused and stamped with the current tick count.
    CProcessType();
    CProcessType (const CProcessType&) = delete;
    CProcessType& operator= (const CProcessType&) = delete;

    // A hook the group calls before it adds the type.
    virtual void DoNothing();
    // Removes, tears down and deletes every instance (the first failure is thrown after all are gone).
    virtual void DeleteAllProcesses();
    virtual void SetGroup (CProcessGroupInterface* group);
    virtual int32_t GetNumProcesses();
    // Stores the index and gives it to every instance.
    virtual void SetTypeIndex (int16_t index);
    virtual int32_t InvalidateView (int32_t id, Rect* area);
    virtual int32_t HandleViewClick (int32_t id, EventRecord* event);
    virtual int32_t HandleViewEvent (int32_t id, EventRecord* event, uint8_t* handled);
    // 0 here; the effect type passes the argument to its process.
    virtual int32_t ForwardToProcess (int32_t id, EventRecord* argument);
    // These four answer 0 whatever the instance answers (-7126 still when there is none).
    virtual int32_t Idle (int32_t id, EventRecord* event);
    virtual int32_t GetViewRect (int32_t id, Rect* bounds);
    virtual int32_t SetViewPort (int32_t id, OpaqueGrafPtr* port);
    virtual int32_t MoveViewTo (int32_t id, Point where);
    virtual int32_t GetZeroCountA (int32_t* count);
    // The length-prefixed name "Unnamed".
    virtual int32_t GetName (char* name);
    // Each of these stores the value and gives it to every instance; the first nonzero result.
    virtual int32_t SetSampleRate (int32_t sampleRate);
    virtual int32_t SetTypeValue (int32_t value);
    virtual int32_t SetSettingPair (const SFicTimeCodeInfo* pair);
    virtual int32_t GetProductID (uint32_t* productID);
    virtual int32_t ActivateView (int32_t id);
    virtual int32_t DeactivateView (int32_t id);
    // Three words of -100; -7110 when the card information for key 29 is nonzero.
    virtual int32_t GetTypeIDs (int32_t id, SFicPlugInStemFormats* ids);
    // The effect type answers its channel counts.
    virtual int32_t GetNumInputs (int32_t id, int16_t* count) = 0;
    virtual int32_t GetNumOutputs (int32_t id, int16_t* count) = 0;
    virtual int32_t SetMasterBypass (int32_t id, uint8_t on);
    virtual int32_t AnswerZeroA();
    virtual int32_t AnswerZeroB();
    // Preloads the page tables (unless the module was opened without views), then CreateProcess.
    virtual int32_t NewProcess (int32_t* id);
    virtual int32_t ReleaseDirectMIDI (int32_t id);
    // Removes, tears down and deletes the instance.
    virtual int32_t DeleteProcess (int32_t id);
    virtual int32_t SetOptionA (int32_t id, int16_t value);
    virtual int32_t SetOptionB (int32_t id, int16_t value);
    virtual int32_t GetZeroCountB (int16_t* count);
    virtual int32_t IsInputConnected (int32_t id, int32_t port, uint8_t* connected);
    virtual int32_t CanConnectOutput (int32_t id, int32_t port, uint8_t* possible);
    virtual int32_t IsOutputConnected (int32_t id, int32_t port, uint8_t* connected);
    virtual int32_t NotifyDSPConnect (int32_t id, int32_t port, int32_t value);
    virtual int32_t NotifyDSPConnectOutput (int32_t id, int32_t port, int32_t value);
    virtual int32_t NotifyDSPDisconnectInput (int32_t id, int32_t port);
    virtual int32_t NotifyDSPDisconnectOutput (int32_t id, int32_t port);
    // The instance's user values into the out-parameter; result 0.
    virtual int32_t GetUserValueA (int32_t id, int32_t* value);
    virtual int32_t GetUserValueB (int32_t id, int32_t* value);
    virtual int32_t GetNumControls (int32_t id, int16_t* count);
    virtual int32_t GetMasterBypassControlIndex (int32_t id, int32_t* index);
    virtual int32_t IsControlAutomatable (int32_t id, int32_t index, int16_t* automatable);
    virtual int32_t GetControlStepCount (int32_t id, int32_t index, int32_t* steps);
    virtual int32_t GetControlName (int32_t id, int32_t index, char* name);
    virtual int32_t GetControlNameToFit (int32_t id, int32_t index, char* text, int32_t length, uint32_t code, int16_t* out);
    virtual int32_t GetControlValue (int32_t id, int32_t index, int32_t* value);
    virtual int32_t SetControlValue (int32_t id, int32_t index, int32_t value);
    virtual int32_t ReservedOp1 (int32_t id, int32_t index, SFicAutoTimeRampData* ramp);
    // These five answer 0 when no instance has the ID.
    virtual int32_t ReservedOp2 (int32_t id, int32_t a);
    virtual int32_t ReservedOp3 (int32_t id, int32_t a);
    virtual int32_t GetPageCount (int32_t id, uint32_t table, int16_t surface);
    virtual int32_t GetPageControl (int32_t id, uint32_t table, int16_t surface, int16_t page, int16_t slot);
    virtual int32_t HasPageLayout (int32_t id, uint32_t table, int16_t surface);
    // -9013 for a null pointer; else clears what they point at.
    virtual int32_t CheckPointers (int32_t id, char* text, int32_t* value);
    virtual int32_t CheckPointer (int32_t id, int32_t* value);
    virtual int32_t IsMasterBypassed (int32_t id, uint8_t* bypassed);
    virtual int32_t ReservedOp4 (int32_t id, int32_t a, uint8_t flag);
    virtual int32_t QueryOption (int32_t id, int32_t option, uint8_t* answer);
    // The card information for key 21.
    virtual int32_t GetCardValue21 (int32_t id, uint32_t* value);
    virtual int32_t GetBypassIndexIfCardFlag (int32_t id, uint32_t mask, uint32_t* index);
    // 1 in out.
    virtual int32_t AnswerOne (int32_t a, uint32_t b, uint32_t c, int32_t* out);
    virtual int32_t GetNumMeters (int32_t id, int32_t* count);
    virtual int32_t GetMeterValues (int32_t id, int32_t count, int32_t* values);
    virtual int32_t ReservedOp5 (int32_t id, int32_t a, char* text);
    virtual int32_t GetMeterOrientation (int32_t id, int32_t meter, EMeterOrientation* orientation);
    virtual int32_t GetNumMetersOfType (int32_t id, EMeterType type, int32_t* count);
    virtual int32_t GetMeterIndexOfType (int32_t id, EMeterType type, int32_t which, int32_t* index);
    virtual int32_t IsClipped (int32_t id, uint8_t* clipped);
    virtual int32_t ClearClipIndicators (int32_t id);
    virtual int32_t ReservedOp6 (int32_t id, int32_t a, int32_t b, uint8_t flag);
    virtual int32_t ReservedOp7 (int32_t id, uint8_t* out);
    virtual int32_t ReservedOp8 (int32_t id, int32_t a, void* data, uint8_t* out);
    virtual int32_t ReservedOp9 (int32_t id);
    virtual int32_t ReservedOp10 (int32_t id, int32_t a, int32_t b);
    virtual int32_t GetNumChunks (int32_t id, int32_t* count);
    virtual int32_t GetChunkID (int32_t id, int32_t index, uint32_t* chunkID);
    virtual int32_t GetChunkName (int32_t id, uint32_t chunkID, uint8_t* name);
    virtual int32_t GetChunkSize (int32_t id, uint32_t chunkID, int32_t* size);
    virtual int32_t GetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t SetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t RestoreControlsFromChunk (int32_t id, SFicPlugInChunk* chunk, uint8_t* changed);
    virtual int32_t ReservedOp11 (int32_t id, char* text);
    virtual int32_t ReservedOp12 (int32_t id, void* data);
    virtual int32_t GetChangeCount (int32_t id, int32_t* count);
    // Gives the flag to every instance (ReservedOp13); the first nonzero result.
    virtual int32_t BroadcastByteA (uint8_t flag);
    virtual int32_t ReservedOp14 (int32_t id, int32_t a, uint8_t flag);
    // Gives the flag to every instance (ReservedOp15); the first nonzero result.
    virtual int32_t BroadcastByteB (uint8_t flag);
    virtual int32_t GetTypeShort (int16_t* value);
    virtual int32_t GetLatencyShort (int32_t id, int16_t* latency);
    virtual int32_t GetLatency (int32_t id, int32_t* latency);
    virtual int32_t GetTypeKind (int32_t* kind);
    // 0 in out; the effect type answers card questions.
    virtual int32_t GetCardInfo (int32_t key, int32_t* value);
    virtual int32_t GetInfoString (int32_t id, int32_t key, uint8_t* text);
    virtual int32_t GetStreamFormat (int32_t id, int16_t a, int16_t b, char* format);
    virtual int32_t CheckStreamFormat (int32_t id, int16_t a, int16_t b, char* format);
    virtual int32_t ReservedOp16 (int32_t id, int16_t a, int16_t b, int16_t c, int16_t* out);
    virtual int32_t ReservedOp17 (int32_t id, int16_t a, int16_t b, int16_t c, int16_t value, char* text);
    virtual int32_t GetDefaultStreamInfo (int32_t id);
    virtual int32_t ReservedOp18 (int32_t id, int32_t a, int32_t b);
    virtual int32_t ReservedOp19 (int32_t id, int16_t a, int32_t b, int32_t* out);
    virtual int32_t ReservedOp20 (int32_t id, int32_t* out);
    virtual int32_t ReservedOp21 (int32_t id, int32_t* out);
    virtual int32_t IncrementControlValue (int32_t id, int32_t index, int32_t delta);
    virtual int32_t GetControlHostHint1 (int32_t id, int32_t index, int32_t* hint);
    virtual int32_t GetInstanceNameID (int32_t id, void** nameId);
    virtual int32_t GetControlNameID (int32_t id, int32_t index, void** nameId);
    virtual int32_t GetControlValueKind (int32_t id, int32_t index, int32_t* kind);
    virtual int32_t GetControlHostHint2 (int32_t id, int32_t index, int32_t* hint);
    virtual int32_t GetControlText (int32_t id, int32_t index, int32_t value, char* text, int32_t length);
    virtual int32_t GetControlHighlight (int32_t id, int32_t index, int16_t* on, int16_t* colour);
    virtual int32_t SetControlHighlightInfo (int32_t id, int32_t index, int16_t on, int16_t colour);
    virtual int32_t UpdateControlValue (int32_t id, int32_t index, int32_t value);
    virtual int32_t IncrementControlValueDirect (int32_t id, int32_t index, int32_t delta);
    virtual int32_t GetControlIndexAtPoint (int32_t id, Point where, int32_t* index);
    virtual int32_t GetControlDefaultValue (int32_t id, int32_t index, int32_t* value);
    virtual int32_t SetControlSpecial (int32_t id, int32_t index, int32_t a, int32_t b, int32_t* out);
    virtual int32_t AnswerZeroC (int32_t id, int32_t a, int32_t b, int16_t* out);
    // Stores the value and gives it to every instance; the first nonzero result.
    virtual int32_t SetProcessValue (int32_t a, int32_t value);
    // Looks up every page-table code once, in order.
    virtual void PreloadPageTables();
    // The page table of the code from the plug-in's resource file; null when there is none or no
    // memory for it.
    virtual std::unique_ptr<PageTableBuffer> LoadPageTable (uint32_t code);
    // The cached page table of the code (loading it into an unused entry, else the least recently
    // used one, when it is not cached); no table when none could be loaded.
    virtual PageTable GetPageTable (uint32_t code);
    // GetProductID as a length-prefixed name of its four characters; an error leaves it empty.
    virtual int32_t GetLongName (uint8_t* name);
    virtual int32_t SetOwnerValue (int32_t id, int32_t value);
    // 0: the DSP process type makes the instance.
    virtual int32_t CreateProcess (int32_t* id);
    virtual int32_t GetPlugInSpec (int32_t id, SFicPlugInSpec* spec);
    virtual int32_t SetPlugInSpec (int32_t id, SFicPlugInSpec* spec);
    virtual int32_t ReservedOp22 (int32_t id, SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t ReservedOp23 (int32_t id, SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t ReservedOp24 (int32_t id, int32_t a, uint8_t flag);
    virtual int32_t ReservedOp25 (int32_t id, int32_t a, int32_t b);
    virtual int32_t ReservedOp26 (int32_t id, int32_t a, int32_t* out);
    virtual int32_t ReservedOp27 (int32_t id, int32_t* out);
    virtual int32_t ReservedOp28 (int32_t id, int32_t a, int32_t b);
    virtual int32_t ReservedOp29 (int32_t id, int32_t a, int32_t* out);
    virtual int32_t ReservedOp30 (int32_t id, int32_t a, uint8_t flag);
    virtual int32_t GetNumConnectionInfos (int32_t id, int32_t* count);
    virtual int32_t GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info);
    virtual int32_t ReservedOp31 (int32_t id, void* data);
    virtual int32_t ReservedOp32 (int32_t id, SFileList* first, SFileList* second);
    virtual int32_t ReservedOp33 (int32_t id, SFileList* first, SFileList* second, uint8_t flag);
    virtual int32_t ReservedOp34 (int32_t id);
    virtual int32_t GetUnknown (int32_t id, IACFUnknown** unknown);
    // Frees the page tables; the group deletes the instances first (DeleteAllProcesses).
    virtual ~CProcessType();

    // The instance with the ID; null for none (and for IDs below 1).
    CProcess* FindProcess (int32_t id) const;
    // Appends a made instance to the list; the type owns it from now on. Null throws -7053.
    void AddProcess (CProcess* process);
    // [host thread] The instances in creation order.
    const std::vector<CProcess*>& Processes() const { return fProcesses; }
    // [host thread, driver thread] Calls visit (CProcess&) on every instance in list order while
    // the list is held still; an instance it reaches is not deleted before it returns. The visit
    // must not change any process list.
    template <typename Visit>
    void VisitProcesses (Visit visit) const
    {
        const std::lock_guard guard (fProcessesLock);
        for (CProcess* process : fProcesses)
            visit (*process);
    }

    CProcessGroupInterface* GetGroup() const { return fGroup; }
    int16_t GetTypeIndex() const { return fTypeIndex; }
    int32_t GetSampleRate() const { return fSampleRate; }
    int32_t GetTypeValue() const { return fTypeValue; }
    int32_t GetProcessValue() const { return fProcessValue; }
    SFicTimeCodeInfo GetSettingPair() const { return fSettingPair; }

    // The type's own DSP flag byte (0 at construction): with it set, the effect type answers its
    // first per-card value for card question 32.
    uint8_t GetDSPFlag() const { return fDSPFlag; }
    void SetDSPFlag (uint8_t flag) { fDSPFlag = flag; }

    // What the group reads and writes directly: the enable mark (0 = not enabled) and the type
    // identifier the host enables types by.
    int16_t GetEnableMark() const { return fEnableMark; }
    void SetEnableMark (int16_t mark) { fEnableMark = mark; }
    uint32_t GetTypeIdentifier() const { return fTypeIdentifier; }
    void SetTypeIdentifier (uint32_t identifier) { fTypeIdentifier = identifier; }

protected:
    void SetTypeShort (int16_t value) { fShortValue = value; }
    void SetTypeKind (int32_t kind) { fKind = kind; }
    // Removes the instance from the list, tears it down and lets it go: released twice through
    // its interface when it answers one, else deleted.
    void DeleteOneProcess (CProcess* process);

private:
    // A value of the instance into the out-parameter; 0, or -7126 when no instance has the ID.
    int32_t AnswerProcessValue (int32_t id, int32_t* value, int32_t (CProcess::*getter)());
    template <typename... Parameters, typename... Arguments>
    int32_t Forward (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments);
    template <typename... Parameters, typename... Arguments>
    int32_t ForwardOrZero (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments);
    template <typename... Parameters, typename... Arguments>
    int32_t ForwardAnsweringZero (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments);
    // Calls the operation on every instance; the first nonzero result, or 0.
    template <typename Operation>
    int32_t Broadcast (Operation operation);

    struct CachedPageTable
    {
        std::unique_ptr<PageTableBuffer> buffer;
        uint32_t code = kNoPageTableCode;
        uint32_t stamp = 0;
        bool used = false;
    };

    int16_t fShortValue = 0;
    int32_t fKind = 0;
    CProcessGroupInterface* fGroup = nullptr;
    int16_t fTypeIndex = -1;
    int32_t fSampleRate;
    int32_t fProcessValue = 0;
    int32_t fTypeValue = 0;
    SFicTimeCodeInfo fSettingPair;
    uint8_t fDSPFlag = 0;
    int16_t fEnableMark = 0;
    uint32_t fTypeIdentifier = 0;
    // Changed on the host thread only, under the lock; read by the driver's thread under it.
    mutable std::mutex fProcessesLock;
    std::vector<CProcess*> fProcesses;
    std::array<CachedPageTable, kPageTableCodes.size()> fPageTables;
};
