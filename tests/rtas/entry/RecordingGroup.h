#pragma once
// A plug-in group that records every operation the routines reach, with its arguments as
// numbers, answers a set result, and throws a chosen kind of exception when asked to.

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

struct RecordedOperation
{
    std::string name;
    std::vector<int64_t> arguments;
};

enum class ThrownKind
{
    kNothing,
    kOutOfMemory,
    kLibraryError,
    kLibraryErrorZero,
    kLibraryErrorTooWide,
    kContainerError,
    kOtherError
};

inline constexpr int32_t kThrownLibraryCode = -7125;

class RecordingGroup final : public CProcessGroupInterface
{
public:
    std::vector<RecordedOperation> operations;
    int32_t result = 0;
    ThrownKind thrown = ThrownKind::kNothing;

    int32_t Lock() override
    {
        operations.push_back ({ "Lock", {} });
        return ++depth;
    }
    int32_t Unlock() override
    {
        operations.push_back ({ "Unlock", {} });
        if (depth > 0)
            --depth;
        return depth;
    }
    int32_t depth = 0;

    int32_t OnSelector16() override { return Record ("OnSelector16", {}); }
    int32_t OnSelector18() override { return Record ("OnSelector18", {}); }
    int32_t ReservedQuery() override { return Record ("ReservedQuery", {}); }
    int32_t OnSelector75() override { return Record ("OnSelector75", {}); }
    int32_t ReservedSetter (int32_t a0) override { return Record ("ReservedSetter", { W (a0) }); }
    int32_t InvalidateView (uint32_t a0, int32_t a1, Rect* a2) override { return Record ("InvalidateView", { W (a0), W (a1), W (a2) }); }
    int32_t HandleViewClick (uint32_t a0, int32_t a1, EventRecord* a2) override { return Record ("HandleViewClick", { W (a0), W (a1), W (a2) }); }
    int32_t HandleViewEvent (uint32_t a0, int32_t a1, EventRecord* a2, uint8_t* a3) override { return Record ("HandleViewEvent", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t Idle (uint32_t a0, int32_t a1, EventRecord* a2) override { return Record ("Idle", { W (a0), W (a1), W (a2) }); }
    int32_t GetViewRect (uint32_t a0, int32_t a1, Rect* a2) override { return Record ("GetViewRect", { W (a0), W (a1), W (a2) }); }
    int32_t SetViewPort (uint32_t a0, int32_t a1, OpaqueGrafPtr* a2) override { return Record ("SetViewPort", { W (a0), W (a1), W (a2) }); }
    int32_t MoveViewTo (uint32_t a0, int32_t a1, Point a2) override { return Record ("MoveViewTo", { W (a0), W (a1), W (a2) }); }
    int32_t GetGroupName (int32_t a0, char* a1) override { return Record ("GetGroupName", { W (a0), W (a1) }); }
    int32_t OnSelector25 (uint32_t a0, int32_t* a1) override { return Record ("OnSelector25", { W (a0), W (a1) }); }
    int32_t GetTypeName (uint32_t a0, int32_t a1, char* a2) override { return Record ("GetTypeName", { W (a0), W (a1), W (a2) }); }
    int32_t GetTypeIDsByIndex (int32_t a0, uint32_t* a1, uint32_t* a2, uint32_t* a3) override { return Record ("GetTypeIDsByIndex", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t SetSampleRate (int32_t a0) override { return Record ("SetSampleRate", { W (a0) }); }
    int32_t OnSelector125 (int32_t a0) override { return Record ("OnSelector125", { W (a0) }); }
    int32_t SetTimeCodeInfo (SFicTimeCodeInfo* a0) override { return Record ("SetTimeCodeInfo", { W (a0) }); }
    int32_t ReservedSetter2 (int32_t a0) override { return Record ("ReservedSetter2", { W (a0) }); }
    int32_t ActivateView (uint32_t a0, int32_t a1) override { return Record ("ActivateView", { W (a0), W (a1) }); }
    int32_t DeactivateView (uint32_t a0, int32_t a1) override { return Record ("DeactivateView", { W (a0), W (a1) }); }
    int32_t OnSelector10 (uint32_t a0, int32_t a1, int16_t* a2) override { return Record ("OnSelector10", { W (a0), W (a1), W (a2) }); }
    int32_t GetStemFormats (uint32_t a0, int32_t a1, SFicPlugInStemFormats* a2) override { return Record ("GetStemFormats", { W (a0), W (a1), W (a2) }); }
    void SetHostCallback (HostCallbackProc a0) override { Record ("SetHostCallback", { W (a0) }); }
    int32_t OnSelector15 (uint32_t a0, int32_t a1, EventRecord* a2) override { return Record ("OnSelector15", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector17 (uint32_t a0, int32_t a1, int16_t* a2) override { return Record ("OnSelector17", { W (a0), W (a1), W (a2) }); }
    int32_t CreateProcess (uint32_t a0, int32_t* a1) override { return Record ("CreateProcess", { W (a0), W (a1) }); }
    int32_t DeleteProcess (uint32_t a0, int32_t a1) override { return Record ("DeleteProcess", { W (a0), W (a1) }); }
    int32_t ReleaseDirectMIDI (uint32_t a0, int32_t a1) override { return Record ("ReleaseDirectMIDI", { W (a0), W (a1) }); }
    int32_t GetNumTypes (int16_t* a0) override { return Record ("GetNumTypes", { W (a0) }); }
    int32_t SetOptionA (uint32_t a0, int32_t a1, int16_t a2) override { return Record ("SetOptionA", { W (a0), W (a1), W (a2) }); }
    int32_t SetOptionB (uint32_t a0, int32_t a1, int16_t a2) override { return Record ("SetOptionB", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector79 (uint32_t a0, int16_t* a1) override { return Record ("OnSelector79", { W (a0), W (a1) }); }
    int32_t PairOperationA (uint32_t a0, int32_t a1, int32_t a2, uint32_t a3, int32_t a4, int32_t a5, uint8_t* a6) override { return Record ("PairOperationA", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5), W (a6) }); }
    int32_t PairOperationB (uint32_t a0, int32_t a1, int32_t a2, uint32_t a3, int32_t a4, int32_t a5, int32_t a6) override { return Record ("PairOperationB", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5), W (a6) }); }
    int32_t IsInputConnected (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("IsInputConnected", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t CanConnectOutput (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("CanConnectOutput", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t IsOutputConnected (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("IsOutputConnected", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t NotifyDSPConnect (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("NotifyDSPConnect", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t NotifyDSPConnectOutput (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("NotifyDSPConnectOutput", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t NotifyDSPDisconnectInput (uint32_t a0, int32_t a1, int32_t a2) override { return Record ("NotifyDSPDisconnectInput", { W (a0), W (a1), W (a2) }); }
    int32_t NotifyDSPDisconnectOutput (uint32_t a0, int32_t a1, int32_t a2) override { return Record ("NotifyDSPDisconnectOutput", { W (a0), W (a1), W (a2) }); }
    int32_t PairOperationC (uint32_t a0, int32_t a1, int32_t a2, uint32_t a3, int32_t a4, int32_t a5, int32_t a6) override { return Record ("PairOperationC", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5), W (a6) }); }
    int32_t GetInfo (int32_t* a0, char** a1) override { return Record ("GetInfo", { W (a0), W (a1) }); }
    int32_t GetInfo2 (int16_t a0, int32_t* a1, int32_t a2, uint32_t* a3) override { return Record ("GetInfo2", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector36 (int32_t* a0, int32_t* a1, uint32_t a2, int32_t a3, int32_t a4) override { return Record ("OnSelector36", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector37 (int32_t* a0, int32_t* a1, uint32_t a2, int32_t a3, int32_t a4) override { return Record ("OnSelector37", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t HostRequest17 (int32_t* a0, int32_t* a1, int16_t a2, int16_t a3, int16_t a4, int16_t a5) override { return Record ("HostRequest17", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t HostRequest11 (int32_t a0, int32_t a1) override { return Record ("HostRequest11", { W (a0), W (a1) }); }
    int32_t HostRequest12 (int32_t a0, int32_t a1, int32_t a2, void* a3) override { return Record ("HostRequest12", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t HostRequest14 (int32_t a0, int32_t a1) override { return Record ("HostRequest14", { W (a0), W (a1) }); }
    int32_t HostRequest19 (int32_t a0, int32_t a1, int32_t a2) override { return Record ("HostRequest19", { W (a0), W (a1), W (a2) }); }
    int32_t HostRequest20 (int32_t a0, int32_t a1) override { return Record ("HostRequest20", { W (a0), W (a1) }); }
    int32_t GetNumControls (uint32_t a0, int32_t a1, int16_t* a2) override { return Record ("GetNumControls", { W (a0), W (a1), W (a2) }); }
    int32_t GetMasterBypassControlIndex (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetMasterBypassControlIndex", { W (a0), W (a1), W (a2) }); }
    int32_t IsControlAutomatable (uint32_t a0, int32_t a1, int32_t a2, int16_t* a3) override { return Record ("IsControlAutomatable", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlStepCount (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlStepCount", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlName (uint32_t a0, int32_t a1, int32_t a2, char* a3) override { return Record ("GetControlName", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlNameToFit (uint32_t a0, int32_t a1, int32_t a2, char* a3, int32_t a4, uint32_t a5, int16_t* a6) override { return Record ("GetControlNameToFit", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5), W (a6) }); }
    int32_t GetControlValue (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlValue", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t SetControlValue (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("SetControlValue", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector49 (uint32_t a0, int32_t a1, int32_t a2, SFicAutoTimeRampData* a3) override { return Record ("OnSelector49", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector73 (uint32_t a0, int32_t a1, int32_t a2) override { return Record ("OnSelector73", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector74 (uint32_t a0, int32_t a1, int32_t a2) override { return Record ("OnSelector74", { W (a0), W (a1), W (a2) }); }
    int32_t GetPageCount (uint32_t a0, int32_t a1, uint32_t a2, int16_t a3) override { return Record ("GetPageCount", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetPageControl (uint32_t a0, int32_t a1, uint32_t a2, int16_t a3, int16_t a4, int16_t a5) override { return Record ("GetPageControl", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t HasPageLayout (uint32_t a0, int32_t a1, uint32_t a2, int16_t a3) override { return Record ("HasPageLayout", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector166 (uint32_t a0, int32_t a1, char* a2, int32_t* a3) override { return Record ("OnSelector166", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector167 (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("OnSelector167", { W (a0), W (a1), W (a2) }); }
    int32_t SetMasterBypass (uint32_t a0, int32_t a1, int32_t a2, uint8_t a3) override { return Record ("SetMasterBypass", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t IsMasterBypassed (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("IsMasterBypassed", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector50 (uint32_t a0, int32_t a1, int32_t a2, uint8_t a3) override { return Record ("OnSelector50", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t QueryOption (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("QueryOption", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector133 (uint32_t a0, int32_t a1, uint32_t a2, uint32_t a3, int32_t* a4) override { return Record ("OnSelector133", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector134 (uint32_t a0, int32_t a1, uint32_t* a2) override { return Record ("OnSelector134", { W (a0), W (a1), W (a2) }); }
    int32_t GetBypassIndexIfCardFlag (uint32_t a0, int32_t a1, uint32_t a2, uint32_t* a3) override { return Record ("GetBypassIndexIfCardFlag", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetNumMeters (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetNumMeters", { W (a0), W (a1), W (a2) }); }
    int32_t GetMeterValues (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetMeterValues", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector55 (uint32_t a0, int32_t a1, int32_t a2, char* a3) override { return Record ("OnSelector55", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetMeterOrientation (uint32_t a0, int32_t a1, int32_t a2, EMeterOrientation* a3) override { return Record ("GetMeterOrientation", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetNumMetersOfType (uint32_t a0, int32_t a1, EMeterType a2, int32_t* a3) override { return Record ("GetNumMetersOfType", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetMeterIndexOfType (uint32_t a0, int32_t a1, EMeterType a2, int32_t a3, int32_t* a4) override { return Record ("GetMeterIndexOfType", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t IsClipped (uint32_t a0, int32_t a1, uint8_t* a2) override { return Record ("IsClipped", { W (a0), W (a1), W (a2) }); }
    int32_t ClearClipIndicators (uint32_t a0, int32_t a1) override { return Record ("ClearClipIndicators", { W (a0), W (a1) }); }
    int32_t OnSelector160 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3, uint8_t a4) override { return Record ("OnSelector160", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector161 (uint32_t a0, int32_t a1, uint8_t* a2) override { return Record ("OnSelector161", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector162 (uint32_t a0, int32_t a1, int32_t a2, void* a3, uint8_t* a4) override { return Record ("OnSelector162", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector163 (uint32_t a0, int32_t a1) override { return Record ("OnSelector163", { W (a0), W (a1) }); }
    int32_t OnSelector164 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("OnSelector164", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetNumChunks (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetNumChunks", { W (a0), W (a1), W (a2) }); }
    int32_t GetChunkID (uint32_t a0, int32_t a1, int32_t a2, uint32_t* a3) override { return Record ("GetChunkID", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetChunkName (uint32_t a0, int32_t a1, uint32_t a2, uint8_t* a3) override { return Record ("GetChunkName", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetChunkSize (uint32_t a0, int32_t a1, uint32_t a2, int32_t* a3) override { return Record ("GetChunkSize", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetChunk (uint32_t a0, int32_t a1, uint32_t a2, SFicPlugInChunk* a3) override { return Record ("GetChunk", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t SetChunk (uint32_t a0, int32_t a1, uint32_t a2, SFicPlugInChunk* a3) override { return Record ("SetChunk", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t RestoreControlsFromChunk (uint32_t a0, int32_t a1, SFicPlugInChunk* a2, uint8_t* a3) override { return Record ("RestoreControlsFromChunk", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector165 (uint32_t a0, int32_t a1, char* a2) override { return Record ("OnSelector165", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector171 (uint32_t a0, int32_t a1, void* a2) override { return Record ("OnSelector171", { W (a0), W (a1), W (a2) }); }
    int32_t GetChangeCount (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetChangeCount", { W (a0), W (a1), W (a2) }); }
    int32_t MatchPlugInSpec (SFicPlugInSpec* a0, int32_t a1, int32_t a2) override { return Record ("MatchPlugInSpec", { W (a0), W (a1), W (a2) }); }
    int32_t MatchPlugInSpecStems (SFicPlugInSpec* a0, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t a5) override { return Record ("MatchPlugInSpecStems", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t OnSelector69 (uint8_t a0) override { return Record ("OnSelector69", { W (a0) }); }
    int32_t OnSelector71 (uint32_t a0, int32_t a1, int32_t a2, uint8_t a3) override { return Record ("OnSelector71", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector70 (uint8_t a0) override { return Record ("OnSelector70", { W (a0) }); }
    int32_t OnSelector72 (uint8_t a0) override { return Record ("OnSelector72", { W (a0) }); }
    int32_t RegisterHostRequest15 (HostRequestProc a0, void* a1) override { return Record ("RegisterHostRequest15", { W (a0), W (a1) }); }
    int32_t QueryForDSP (int32_t a0, int16_t a1, int16_t* a2) override { return Record ("QueryForDSP", { W (a0), W (a1), W (a2) }); }
    int32_t GetLatencyShort (uint32_t a0, int32_t a1, int16_t* a2) override { return Record ("GetLatencyShort", { W (a0), W (a1), W (a2) }); }
    int32_t GetLatency (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetLatency", { W (a0), W (a1), W (a2) }); }
    int32_t EnableType (int32_t a0) override { return Record ("EnableType", { W (a0) }); }
    int32_t OnSelector92 (uint32_t a0, int32_t* a1) override { return Record ("OnSelector92", { W (a0), W (a1) }); }
    int32_t GetCardInfo (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetCardInfo", { W (a0), W (a1), W (a2) }); }
    int32_t GetInfoString (uint32_t a0, int32_t a1, int32_t a2, uint8_t* a3) override { return Record ("GetInfoString", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetStreamFormat (uint32_t a0, int32_t a1, int16_t a2, int16_t a3, char* a4) override { return Record ("GetStreamFormat", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t CheckStreamFormat (uint32_t a0, int32_t a1, int16_t a2, int16_t a3, char* a4) override { return Record ("CheckStreamFormat", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector96 (uint32_t a0, int32_t a1, int16_t a2, int16_t a3, int16_t a4, int16_t* a5) override { return Record ("OnSelector96", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t OnSelector97 (uint32_t a0, int32_t a1, int16_t a2, int16_t a3, int16_t a4, int16_t a5, char* a6) override { return Record ("OnSelector97", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5), W (a6) }); }
    int32_t GetDefaultStreamInfo (uint32_t a0, int32_t a1) override { return Record ("GetDefaultStreamInfo", { W (a0), W (a1) }); }
    int32_t OnSelector102 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("OnSelector102", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector103 (uint32_t a0, int32_t a1, int16_t a2, int32_t a3, int32_t* a4) override { return Record ("OnSelector103", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector104 (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("OnSelector104", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector105 (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("OnSelector105", { W (a0), W (a1), W (a2) }); }
    int32_t IncrementControlValue (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("IncrementControlValue", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlHostHint1 (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlHostHint1", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetInstanceNameID (uint32_t a0, int32_t a1, void** a2) override { return Record ("GetInstanceNameID", { W (a0), W (a1), W (a2) }); }
    int32_t GetControlNameID (uint32_t a0, int32_t a1, int32_t a2, void** a3) override { return Record ("GetControlNameID", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlValueKind (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlValueKind", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlHostHint2 (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlHostHint2", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlText (uint32_t a0, int32_t a1, int32_t a2, int32_t a3, char* a4, int32_t a5) override { return Record ("GetControlText", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t GetControlHighlight (uint32_t a0, int32_t a1, int32_t a2, int16_t* a3, int16_t* a4) override { return Record ("GetControlHighlight", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t SetControlHighlightInfo (uint32_t a0, int32_t a1, int32_t a2, int16_t a3, int16_t a4) override { return Record ("SetControlHighlightInfo", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t UpdateControlValue (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("UpdateControlValue", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t IncrementControlValueDirect (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("IncrementControlValueDirect", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlIndexAtPoint (uint32_t a0, int32_t a1, Point a2, int32_t* a3) override { return Record ("GetControlIndexAtPoint", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetControlDefaultValue (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("GetControlDefaultValue", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t SetControlSpecial (uint32_t a0, int32_t a1, int32_t a2, int32_t a3, int32_t a4, int32_t* a5) override { return Record ("SetControlSpecial", { W (a0), W (a1), W (a2), W (a3), W (a4), W (a5) }); }
    int32_t OnSelector59 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3, int16_t* a4) override { return Record ("OnSelector59", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector122 (int32_t a0, int32_t a1) override { return Record ("OnSelector122", { W (a0), W (a1) }); }
    int32_t OnSelector123 (uint32_t a0, int32_t a1, int32_t a2, SASPRegion* a3) override { return Record ("OnSelector123", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector124 (uint32_t a0, int32_t a1, int32_t a2, SASPRegion* a3) override { return Record ("OnSelector124", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t SetOwnerValue (uint32_t a0, int32_t a1, int32_t a2) override { return Record ("SetOwnerValue", { W (a0), W (a1), W (a2) }); }
    int32_t SetPlugInSpec (uint32_t a0, int32_t a1, SFicPlugInSpec* a2) override { return Record ("SetPlugInSpec", { W (a0), W (a1), W (a2) }); }
    int32_t GetPlugInSpec (uint32_t a0, int32_t a1, SFicPlugInSpec* a2) override { return Record ("GetPlugInSpec", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector141 (uint32_t a0, int32_t a1, SFicPlugInSpec* a2, int32_t a3, int32_t* a4) override { return Record ("OnSelector141", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector142 (uint32_t a0, int32_t a1, SFicPlugInSpec* a2, int32_t a3, int32_t* a4) override { return Record ("OnSelector142", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector143 (uint32_t a0, int32_t a1, int32_t a2, uint8_t a3) override { return Record ("OnSelector143", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector151 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("OnSelector151", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector152 (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("OnSelector152", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector153 (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("OnSelector153", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector154 (uint32_t a0, int32_t a1, int32_t a2, int32_t a3) override { return Record ("OnSelector154", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector155 (uint32_t a0, int32_t a1, int32_t a2, int32_t* a3) override { return Record ("OnSelector155", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector157 (uint32_t a0, int32_t a1, int32_t a2, uint8_t a3) override { return Record ("OnSelector157", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t GetNumConnectionInfos (uint32_t a0, int32_t a1, int32_t* a2) override { return Record ("GetNumConnectionInfos", { W (a0), W (a1), W (a2) }); }
    int32_t GetConnectionInfo (uint32_t a0, int32_t a1, int32_t a2, SFicPlugInStemInfo* a3) override { return Record ("GetConnectionInfo", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector168 (uint32_t a0, int32_t a1, void* a2) override { return Record ("OnSelector168", { W (a0), W (a1), W (a2) }); }
    int32_t OnSelector169 (uint32_t a0, int32_t a1, SFileList* a2, SFileList* a3) override { return Record ("OnSelector169", { W (a0), W (a1), W (a2), W (a3) }); }
    int32_t OnSelector170 (uint32_t a0, int32_t a1, SFileList* a2, SFileList* a3, uint8_t a4) override { return Record ("OnSelector170", { W (a0), W (a1), W (a2), W (a3), W (a4) }); }
    int32_t OnSelector173 (uint32_t a0, int32_t a1) override { return Record ("OnSelector173", { W (a0), W (a1) }); }
    int32_t GetUnknown (uint32_t a0, int32_t a1, IACFUnknown** a2) override { return Record ("GetUnknown", { W (a0), W (a1), W (a2) }); }

private:
    template <typename T>
    static int64_t W (T value)
    {
        if constexpr (std::is_same_v<T, Point>)
        {
            uint32_t word;
            std::memcpy (&word, &value, sizeof word);
            return word;
        }
        else if constexpr (std::is_pointer_v<T>)
            return int64_t (reinterpret_cast<uintptr_t> (value));
        else
            return int64_t (value);
    }

    int32_t Record (const char* name, std::vector<int64_t> arguments)
    {
        operations.push_back ({ name, std::move (arguments) });
        switch (thrown)
        {
            case ThrownKind::kNothing: break;
            case ThrownKind::kOutOfMemory: throw std::bad_alloc();
            case ThrownKind::kLibraryError: throw CDAEError (kThrownLibraryCode);
            case ThrownKind::kLibraryErrorZero: throw CDAEError (0);
            case ThrownKind::kLibraryErrorTooWide: throw CDAEError (0x10000);
            case ThrownKind::kContainerError: throw int16_t (-1);
            case ThrownKind::kOtherError: throw std::runtime_error ("unexpected");
        }
        return result;
    }
};
