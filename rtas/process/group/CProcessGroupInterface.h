#pragma once
// The root of the plug-in's group object: every host operation of the routine table reaches one
// operation of this interface on the library-wide plug-in group. The defaults here answer as a
// group without types would; derived groups route the operations to their process types.
//
// Nearly every operation names its target by a 32-bit type identifier and a 32-bit process
// reference. Results are 16-bit host codes carried in 32 bits (0 = success). Defaults write an
// output only where they say so, and never through a null pointer. Exceptions are not caught
// here: the routine layer turns them into codes.
//
// [host thread] for every operation, unless a derived group says otherwise.

#include <cstdint>

#include "process/group/ProcessGroupRecords.h"

// The host's callback, handed in by host selector 14; null until then.
extern HostCallbackProc gHostCallback;
// The host level that chooses the routines' dispatch: 99 after construction; the plug-in's own
// group sets 0 through SetGroupGlobal, so that no routine takes the group's lock.
extern int32_t gHostLevel;

// Results of the defaults and of the host requests.
namespace GroupResult
{
inline constexpr int32_t kUnsupported = -7000;
inline constexpr int32_t kNoMatchingSpec = -7055;
inline constexpr int32_t kPairUnsupported = -7102;
inline constexpr int32_t kNoStemFormats = -7110;
inline constexpr int32_t kNoHostCallback = -7175;
inline constexpr int32_t kNoRequestBlock = -7176;
inline constexpr int32_t kNoControlSpecial = -7304;
inline constexpr int32_t kNoChunkRestore = -9007;
}

// What a group answers until the host sets other values.
inline constexpr int32_t kStartingSampleRate = 44100;
inline constexpr SFicTimeCodeInfo kStartingTimeCodeInfo { 5, 0 };

class CProcessGroupInterface
{
public:
    CProcessGroupInterface();
    CProcessGroupInterface (const CProcessGroupInterface&) = delete;
    CProcessGroupInterface& operator= (const CProcessGroupInterface&) = delete;

    virtual int32_t Initialize();
    virtual bool IsSelectorSupported (int16_t selector);
    virtual int32_t GetGroupVersion();
    virtual int32_t ReservedSetter (int32_t value);
    virtual int32_t InvalidateView (uint32_t typeID, int32_t process, Rect* area);
    virtual int32_t HandleViewClick (uint32_t typeID, int32_t process, EventRecord* event);
    virtual int32_t HandleViewEvent (uint32_t typeID, int32_t process, EventRecord* event, uint8_t* handled);
    virtual int32_t Idle (uint32_t typeID, int32_t process, EventRecord* event);
    virtual int32_t GetViewRect (uint32_t typeID, int32_t process, Rect* bounds);
    virtual int32_t SetViewPort (uint32_t typeID, int32_t process, OpaqueGrafPtr* port);
    virtual int32_t MoveViewTo (uint32_t typeID, int32_t process, Point where);
    virtual int32_t GetGroupName (int32_t maxLength, char* name);
    virtual int32_t OnSelector25 (uint32_t typeID, int32_t* out);
    virtual int32_t GetTypeName (uint32_t typeID, int32_t maxLength, char* name);
    // Each concrete group supplies it.
    virtual int32_t GetTypeIDsByIndex (int32_t index, uint32_t* productID, uint32_t* typeID, uint32_t* typeIDs) = 0;
    virtual int32_t SetSampleRate (int32_t sampleRate);
    virtual int32_t OnSelector125 (int32_t value);
    virtual int32_t SetTimeCodeInfo (SFicTimeCodeInfo* info);
    virtual int32_t ReservedSetter2 (int32_t value);
    virtual int32_t ActivateView (uint32_t typeID, int32_t process);
    virtual int32_t DeactivateView (uint32_t typeID, int32_t process);
    virtual int32_t OnSelector10 (uint32_t typeID, int32_t process, int16_t* out);
    virtual int32_t GetStemFormats (uint32_t typeID, int32_t process, SFicPlugInStemFormats* formats);
    virtual void SetHostCallback (HostCallbackProc callback);
    virtual int32_t OnSelector15 (uint32_t typeID, int32_t process, EventRecord* event);
    virtual int32_t OnSelector16();
    virtual int32_t OnSelector17 (uint32_t typeID, int32_t process, int16_t* out);
    virtual int32_t OnSelector18();
    virtual int32_t CreateProcess (uint32_t typeID, int32_t* process);
    virtual int32_t DeleteProcess (uint32_t typeID, int32_t process);
    virtual int32_t ReleaseDirectMIDI (uint32_t typeID, int32_t process);
    virtual int32_t ReservedQuery();
    virtual int32_t GetNumTypes (int16_t* count);
    virtual int32_t SetOptionA (uint32_t typeID, int32_t process, int16_t value);
    virtual int32_t SetOptionB (uint32_t typeID, int32_t process, int16_t value);
    virtual int32_t OnSelector79 (uint32_t typeID, int16_t* out);
    virtual int32_t PairOperationA (uint32_t typeID1, int32_t process1, int32_t a, uint32_t typeID2, int32_t process2, int32_t b, uint8_t* out);
    virtual int32_t PairOperationB (uint32_t typeID1, int32_t process1, int32_t a, uint32_t typeID2, int32_t process2, int32_t b, int32_t c);
    virtual int32_t IsInputConnected (uint32_t typeID, int32_t process, int32_t port, uint8_t* connected);
    virtual int32_t CanConnectOutput (uint32_t typeID, int32_t process, int32_t port, uint8_t* possible);
    virtual int32_t IsOutputConnected (uint32_t typeID, int32_t process, int32_t port, uint8_t* connected);
    virtual int32_t NotifyDSPConnect (uint32_t typeID, int32_t process, int32_t port, int32_t value);
    virtual int32_t NotifyDSPConnectOutput (uint32_t typeID, int32_t process, int32_t port, int32_t value);
    virtual int32_t NotifyDSPDisconnectInput (uint32_t typeID, int32_t process, int32_t port);
    virtual int32_t NotifyDSPDisconnectOutput (uint32_t typeID, int32_t process, int32_t port);
    virtual int32_t PairOperationC (uint32_t typeID1, int32_t process1, int32_t a, uint32_t typeID2, int32_t process2, int32_t b, int32_t c);
    virtual int32_t GetInfo (int32_t* value, char** text);
    virtual int32_t GetInfo2 (int16_t key, int32_t* known, int32_t index, uint32_t* value);
    virtual int32_t OnSelector36 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t which);
    virtual int32_t OnSelector37 (int32_t* count1, int32_t* count2, uint32_t typeID, int32_t process, int32_t which);
    virtual int32_t HostRequest17 (int32_t* out1, int32_t* out2, int16_t a, int16_t b, int16_t c, int16_t d);
    virtual int32_t HostRequest11 (int32_t a, int32_t b);
    virtual int32_t HostRequest12 (int32_t a, int32_t b, int32_t c, void* d);
    virtual int32_t HostRequest14 (int32_t a, int32_t b);
    virtual int32_t HostRequest19 (int32_t a, int32_t b, int32_t c);
    virtual int32_t HostRequest20 (int32_t a, int32_t b);
    virtual int32_t GetNumControls (uint32_t typeID, int32_t process, int16_t* count);
    virtual int32_t GetMasterBypassControlIndex (uint32_t typeID, int32_t process, int32_t* index);
    virtual int32_t IsControlAutomatable (uint32_t typeID, int32_t process, int32_t control, int16_t* automatable);
    virtual int32_t GetControlStepCount (uint32_t typeID, int32_t process, int32_t control, int32_t* steps);
    virtual int32_t GetControlName (uint32_t typeID, int32_t process, int32_t control, char* text);
    virtual int32_t GetControlNameToFit (uint32_t typeID, int32_t process, int32_t control, char* text, int32_t a, uint32_t b, int16_t* out);
    virtual int32_t GetControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t* value);
    virtual int32_t SetControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t value);
    virtual int32_t OnSelector49 (uint32_t typeID, int32_t process, int32_t control, SFicAutoTimeRampData* ramp);
    virtual int32_t OnSelector73 (uint32_t typeID, int32_t process, int32_t a);
    virtual int32_t OnSelector74 (uint32_t typeID, int32_t process, int32_t a);
    virtual int32_t GetPageCount (uint32_t typeID, int32_t process, uint32_t table, int16_t page);
    virtual int32_t GetPageControl (uint32_t typeID, int32_t process, uint32_t a, int16_t b, int16_t c, int16_t d);
    virtual int32_t HasPageLayout (uint32_t typeID, int32_t process, uint32_t table, int16_t page);
    virtual int32_t OnSelector166 (uint32_t typeID, int32_t process, char* text, int32_t* out);
    virtual int32_t OnSelector167 (uint32_t typeID, int32_t process, int32_t* out);
    virtual int32_t OnSelector75();
    virtual int32_t SetMasterBypass (uint32_t typeID, int32_t process, int32_t control, uint8_t bypass);
    virtual int32_t IsMasterBypassed (uint32_t typeID, int32_t process, int32_t control, uint8_t* bypassed);
    virtual int32_t OnSelector50 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag);
    virtual int32_t QueryOption (uint32_t typeID, int32_t process, int32_t option, uint8_t* answer);
    virtual int32_t OnSelector133 (uint32_t typeID, int32_t process, uint32_t a, uint32_t b, int32_t* out);
    virtual int32_t OnSelector134 (uint32_t typeID, int32_t process, uint32_t* out);
    virtual int32_t GetBypassIndexIfCardFlag (uint32_t typeID, int32_t process, uint32_t flag, uint32_t* index);
    virtual int32_t GetNumMeters (uint32_t typeID, int32_t process, int32_t* count);
    virtual int32_t GetMeterValues (uint32_t typeID, int32_t process, int32_t count, int32_t* values);
    virtual int32_t OnSelector55 (uint32_t typeID, int32_t process, int32_t a, char* text);
    virtual int32_t GetMeterOrientation (uint32_t typeID, int32_t process, int32_t meter, EMeterOrientation* orientation);
    virtual int32_t GetNumMetersOfType (uint32_t typeID, int32_t process, EMeterType type, int32_t* count);
    virtual int32_t GetMeterIndexOfType (uint32_t typeID, int32_t process, EMeterType type, int32_t which, int32_t* index);
    virtual int32_t IsClipped (uint32_t typeID, int32_t process, uint8_t* clipped);
    virtual int32_t ClearClipIndicators (uint32_t typeID, int32_t process);
    virtual int32_t OnSelector160 (uint32_t typeID, int32_t process, int32_t a, int32_t b, uint8_t flag);
    virtual int32_t OnSelector161 (uint32_t typeID, int32_t process, uint8_t* out);
    virtual int32_t OnSelector162 (uint32_t typeID, int32_t process, int32_t a, void* data, uint8_t* out);
    virtual int32_t OnSelector163 (uint32_t typeID, int32_t process);
    virtual int32_t OnSelector164 (uint32_t typeID, int32_t process, int32_t a, int32_t b);
    virtual int32_t GetNumChunks (uint32_t typeID, int32_t process, int32_t* count);
    virtual int32_t GetChunkID (uint32_t typeID, int32_t process, int32_t index, uint32_t* chunkID);
    virtual int32_t GetChunkName (uint32_t typeID, int32_t process, uint32_t chunkID, uint8_t* name);
    virtual int32_t GetChunkSize (uint32_t typeID, int32_t process, uint32_t chunkID, int32_t* size);
    virtual int32_t GetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t SetChunk (uint32_t typeID, int32_t process, uint32_t chunkID, SFicPlugInChunk* chunk);
    virtual int32_t RestoreControlsFromChunk (uint32_t typeID, int32_t process, SFicPlugInChunk* chunk, uint8_t* result);
    virtual int32_t OnSelector165 (uint32_t typeID, int32_t process, char* text);
    virtual int32_t OnSelector171 (uint32_t typeID, int32_t process, void* data);
    virtual int32_t GetChangeCount (uint32_t typeID, int32_t process, int32_t* count);
    virtual int32_t MatchPlugInSpec (SFicPlugInSpec* spec, int32_t a, int32_t b);
    virtual int32_t MatchPlugInSpecStems (SFicPlugInSpec* spec, int32_t a, int32_t inSecond, int32_t outSecond, int32_t inFirst, int32_t outFirst);
    virtual int32_t OnSelector69 (uint8_t flag);
    virtual int32_t OnSelector71 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag);
    virtual int32_t OnSelector70 (uint8_t flag);
    virtual int32_t OnSelector72 (uint8_t flag);
    virtual int32_t RegisterHostRequest15 (HostRequestProc procedure, void* userData);
    virtual int32_t QueryForDSP (int32_t a, int16_t kind, int16_t* out);
    virtual int32_t GetLatencyShort (uint32_t typeID, int32_t process, int16_t* latency);
    virtual int32_t GetLatency (uint32_t typeID, int32_t process, int32_t* latency);
    virtual int32_t EnableType (int32_t typeID);
    virtual int32_t OnSelector92 (uint32_t typeID, int32_t* out);
    virtual int32_t GetCardInfo (uint32_t typeID, int32_t process, int32_t* info);
    virtual int32_t GetInfoString (uint32_t typeID, int32_t process, int32_t which, uint8_t* text);
    virtual int32_t GetStreamFormat (uint32_t typeID, int32_t process, int16_t a, int16_t b, char* format);
    virtual int32_t CheckStreamFormat (uint32_t typeID, int32_t process, int16_t a, int16_t b, char* format);
    virtual int32_t OnSelector96 (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t* out);
    virtual int32_t OnSelector97 (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t value, char* text);
    virtual int32_t GetDefaultStreamInfo (uint32_t typeID, int32_t process);
    virtual int32_t OnSelector102 (uint32_t typeID, int32_t process, int32_t a, int32_t b);
    virtual int32_t OnSelector103 (uint32_t typeID, int32_t process, int16_t a, int32_t b, int32_t* out);
    virtual int32_t OnSelector104 (uint32_t typeID, int32_t process, int32_t* out);
    virtual int32_t OnSelector105 (uint32_t typeID, int32_t process, int32_t* out);
    virtual int32_t IncrementControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t steps);
    virtual int32_t GetControlHostHint1 (uint32_t typeID, int32_t process, int32_t control, int32_t* hint);
    virtual int32_t GetInstanceNameID (uint32_t typeID, int32_t process, void** nameID);
    virtual int32_t GetControlNameID (uint32_t typeID, int32_t process, int32_t control, void** nameID);
    virtual int32_t GetControlValueKind (uint32_t typeID, int32_t process, int32_t control, int32_t* kind);
    virtual int32_t GetControlHostHint2 (uint32_t typeID, int32_t process, int32_t control, int32_t* hint);
    virtual int32_t GetControlText (uint32_t typeID, int32_t process, int32_t control, int32_t a, char* text, int32_t b);
    virtual int32_t GetControlHighlight (uint32_t typeID, int32_t process, int32_t control, int16_t* on, int16_t* colour);
    virtual int32_t SetControlHighlightInfo (uint32_t typeID, int32_t process, int32_t control, int16_t on, int16_t colour);
    virtual int32_t UpdateControlValue (uint32_t typeID, int32_t process, int32_t control, int32_t value);
    virtual int32_t IncrementControlValueDirect (uint32_t typeID, int32_t process, int32_t control, int32_t steps);
    virtual int32_t GetControlIndexAtPoint (uint32_t typeID, int32_t process, Point where, int32_t* control);
    virtual int32_t GetControlDefaultValue (uint32_t typeID, int32_t process, int32_t control, int32_t* value);
    virtual int32_t SetControlSpecial (uint32_t typeID, int32_t process, int32_t control, int32_t a, int32_t b, int32_t* out);
    virtual int32_t OnSelector59 (uint32_t typeID, int32_t process, int32_t a, int32_t b, int16_t* out);
    virtual int32_t OnSelector122 (int32_t a, int32_t value);
    virtual int32_t OnSelector123 (uint32_t typeID, int32_t process, int32_t a, SASPRegion* region);
    virtual int32_t OnSelector124 (uint32_t typeID, int32_t process, int32_t a, SASPRegion* region);
    virtual int32_t SetOwnerValue (uint32_t typeID, int32_t process, int32_t value);
    // The group's recursive lock; the defaults hold nothing. Lock and Unlock answer the depth
    // after the call.
    virtual int32_t Lock();
    virtual bool TryLock();
    virtual int32_t Unlock();
    // Releases every level, gives the host time once, and takes the levels held before again.
    virtual int32_t YieldLock();
    virtual int32_t SetGroupGlobal (int32_t level);
    virtual int32_t SetPlugInSpec (uint32_t typeID, int32_t process, SFicPlugInSpec* spec);
    virtual int32_t GetPlugInSpec (uint32_t typeID, int32_t process, SFicPlugInSpec* spec);
    virtual int32_t OnSelector141 (uint32_t typeID, int32_t process, SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t OnSelector142 (uint32_t typeID, int32_t process, SFicPlugInSpec* spec, int32_t a, int32_t* out);
    virtual int32_t OnSelector143 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag);
    virtual int32_t OnSelector151 (uint32_t typeID, int32_t process, int32_t a, int32_t b);
    virtual int32_t OnSelector152 (uint32_t typeID, int32_t process, int32_t a, int32_t* out);
    virtual int32_t OnSelector153 (uint32_t typeID, int32_t process, int32_t* out);
    virtual int32_t OnSelector154 (uint32_t typeID, int32_t process, int32_t a, int32_t b);
    virtual int32_t OnSelector155 (uint32_t typeID, int32_t process, int32_t a, int32_t* out);
    virtual int32_t OnSelector157 (uint32_t typeID, int32_t process, int32_t a, uint8_t flag);
    virtual int32_t GetNumConnectionInfos (uint32_t typeID, int32_t process, int32_t* count);
    virtual int32_t GetConnectionInfo (uint32_t typeID, int32_t process, int32_t index, SFicPlugInStemInfo* info);
    virtual int32_t OnSelector168 (uint32_t typeID, int32_t process, void* data);
    virtual int32_t OnSelector169 (uint32_t typeID, int32_t process, SFileList* first, SFileList* second);
    virtual int32_t OnSelector170 (uint32_t typeID, int32_t process, SFileList* first, SFileList* second, uint8_t flag);
    virtual int32_t OnSelector173 (uint32_t typeID, int32_t process);
    virtual int32_t GetUnknown (uint32_t typeID, int32_t process, IACFUnknown** unknown);
    virtual int32_t GetTimeCodeFirst();
    virtual int32_t GetTimeCodeSecond();
    virtual int32_t GetSampleRate();
    // May throw, as a derived group's teardown may; the plug-in's destruction of the group catches it.
    virtual ~CProcessGroupInterface() noexcept (false);

    // What the host selectors that carry other arguments than the operation reach.
    int32_t SetHostCallbackEntry (HostCallbackProc callback);
    int32_t SetHostContext (void* context);
    int32_t CallWithProcessSpecifier (SProcessSpecifier* specifier, uint32_t a, int16_t b, int16_t c, int16_t d);
    int32_t CallWithControlSpecifierA (SControlSpecifier* specifier, char* text, int32_t a, uint32_t b, int16_t* out);
    int32_t CallWithControlSpecifierB (SControlSpecifier* specifier, int32_t a, char* text, int32_t b);
    int32_t CallWithStemSpecifiers (SFicPlugInSpec* spec, int32_t a, SStemSpecifier* in, SStemSpecifier* out);
    int32_t CallWithParamSpecifierA (SParamSpecifier* specifier, int16_t* out);
    int32_t CallWithParamSpecifierB (SParamSpecifier* specifier, int16_t value, char* text);
    int32_t GetValueA (uint32_t typeID, int32_t process, int32_t a, SFicTDMAutoElem*** out);
    int32_t GetValueB (uint32_t typeID, int32_t process, int32_t a, void** out);
    int32_t CallPairOperationA (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, uint8_t* out);
    int32_t CallPairOperationB (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, int32_t c);
    int32_t CallPairOperationC (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, int32_t c);
    static HostCallbackProc GetHostCallback();

private:
    int32_t mSelector122Value = 0;
    int32_t mSampleRate = kStartingSampleRate;
    SFicTimeCodeInfo mTimeCodeInfo = kStartingTimeCodeInfo;
    void* mHostContext = nullptr;
};
