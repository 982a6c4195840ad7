#include "process/group/CProcessGroupInterface.h"

#include <algorithm>
#include <cstring>

#include "process/base/FourCharCode.h"
#include "process/base/OutParameter.h"
#include "process/base/PointerWords.h"
#include "process/group/HostRequests.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PStrings.h"

HostCallbackProc gHostCallback = nullptr;
int32_t gHostLevel = 99;

namespace
{
inline constexpr int32_t kDefaultHostLevel = 99;
inline constexpr int16_t kFirstSelector = -6;
inline constexpr int16_t kLastSelector = 173;
inline constexpr int16_t kInfoKeyWithValue = 21;
inline constexpr uint32_t kInfoValueOfKey21 = 27;
inline constexpr int32_t kNoStemFormat = -100;
inline constexpr uint32_t kFastHardwareGestalt = FourCharCode ("fshw");

void PutEmptyText (char* text)
{
    PutOut (text, 0);
}

bool HostHasFastHardware()
{
    int32_t answer = 0;
    return FicGestalt (kFastHardwareGestalt, &answer) == 0 && answer != 0;
}
}

CProcessGroupInterface::CProcessGroupInterface()
{
    gHostLevel = kDefaultHostLevel;
}

CProcessGroupInterface::~CProcessGroupInterface() noexcept (false) = default;

int32_t CProcessGroupInterface::Initialize() { return 0; }

bool CProcessGroupInterface::IsSelectorSupported (int16_t selector)
{
    return selector >= kFirstSelector && selector <= kLastSelector;
}

int32_t CProcessGroupInterface::GetGroupVersion() { return 1; }
int32_t CProcessGroupInterface::ReservedSetter (int32_t) { return 0; }
int32_t CProcessGroupInterface::InvalidateView (uint32_t, int32_t, Rect*) { return 0; }
int32_t CProcessGroupInterface::HandleViewClick (uint32_t, int32_t, EventRecord*) { return 0; }
int32_t CProcessGroupInterface::HandleViewEvent (uint32_t, int32_t, EventRecord*, uint8_t*) { return 0; }
int32_t CProcessGroupInterface::Idle (uint32_t, int32_t, EventRecord*) { return 0; }
int32_t CProcessGroupInterface::GetViewRect (uint32_t, int32_t, Rect*) { return 0; }
int32_t CProcessGroupInterface::SetViewPort (uint32_t, int32_t, OpaqueGrafPtr*) { return 0; }
int32_t CProcessGroupInterface::MoveViewTo (uint32_t, int32_t, Point) { return 0; }

int32_t CProcessGroupInterface::GetGroupName (int32_t maxLength, char* name)
{
    if (name == nullptr)
        return 0;
    static const uint8_t kOther[] = { 5, 'O', 't', 'h', 'e', 'r' };
    auto* text = reinterpret_cast<uint8_t*> (name);
    text[0] = 0;
    PStrAppend (static_cast<int16_t> (std::clamp<int32_t> (maxLength, 0, kPStrMaxLength)), kOther, text);
    return 0;
}

int32_t CProcessGroupInterface::OnSelector25 (uint32_t, int32_t* out)
{
    PutOut (out, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetTypeName (uint32_t, int32_t, char* name)
{
    PutEmptyText (name);
    return 0;
}

int32_t CProcessGroupInterface::SetSampleRate (int32_t sampleRate)
{
    mSampleRate = sampleRate;
    return 0;
}

int32_t CProcessGroupInterface::OnSelector125 (int32_t) { return 0; }

int32_t CProcessGroupInterface::SetTimeCodeInfo (SFicTimeCodeInfo* info)
{
    if (info != nullptr)
        mTimeCodeInfo = *info;
    return 0;
}

int32_t CProcessGroupInterface::ReservedSetter2 (int32_t) { return 0; }
int32_t CProcessGroupInterface::ActivateView (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::DeactivateView (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector10 (uint32_t, int32_t, int16_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CProcessGroupInterface::GetStemFormats (uint32_t, int32_t, SFicPlugInStemFormats* formats)
{
    if (formats != nullptr)
        *formats = { kNoStemFormat, kNoStemFormat, kNoStemFormat };
    return GroupResult::kNoStemFormats;
}

void CProcessGroupInterface::SetHostCallback (HostCallbackProc callback) { gHostCallback = callback; }
int32_t CProcessGroupInterface::OnSelector15 (uint32_t, int32_t, EventRecord*) { return 0; }
int32_t CProcessGroupInterface::OnSelector16() { return 0; }
int32_t CProcessGroupInterface::OnSelector17 (uint32_t, int32_t, int16_t* out)
{
    PutOut (out, 0);
    return 0;
}
int32_t CProcessGroupInterface::OnSelector18() { return 0; }
int32_t CProcessGroupInterface::CreateProcess (uint32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::DeleteProcess (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::ReleaseDirectMIDI (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::ReservedQuery() { return 0; }
int32_t CProcessGroupInterface::GetNumTypes (int16_t* count)
{
    PutOut (count, 0);
    return 0;
}
int32_t CProcessGroupInterface::SetOptionA (uint32_t, int32_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::SetOptionB (uint32_t, int32_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector79 (uint32_t, int16_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CProcessGroupInterface::PairOperationA (uint32_t, int32_t, int32_t, uint32_t, int32_t, int32_t, uint8_t* out)
{
    PutOut (out, 0);
    return 0;
}

int32_t CProcessGroupInterface::PairOperationB (uint32_t, int32_t, int32_t, uint32_t, int32_t, int32_t, int32_t)
{
    return GroupResult::kPairUnsupported;
}

int32_t CProcessGroupInterface::IsInputConnected (uint32_t, int32_t, int32_t, uint8_t* connected)
{
    PutOut (connected, 0);
    return 0;
}
int32_t CProcessGroupInterface::CanConnectOutput (uint32_t, int32_t, int32_t, uint8_t* possible)
{
    PutOut (possible, 1);
    return 0;
}
int32_t CProcessGroupInterface::IsOutputConnected (uint32_t, int32_t, int32_t, uint8_t* connected)
{
    PutOut (connected, 0);
    return 0;
}
int32_t CProcessGroupInterface::NotifyDSPConnect (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::NotifyDSPConnectOutput (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::NotifyDSPDisconnectInput (uint32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::NotifyDSPDisconnectOutput (uint32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::PairOperationC (uint32_t, int32_t, int32_t, uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::GetInfo (int32_t* value, char**)
{
    PutOut (value, 0);
    return 0;
}

int32_t CProcessGroupInterface::GetInfo2 (int16_t key, int32_t* known, int32_t index, uint32_t* value)
{
    PutOut (known, 0);
    if (key == kInfoKeyWithValue && index > 0)
    {
        PutOut (known, 1);
        PutOut (value, kInfoValueOfKey21);
    }
    return 0;
}

int32_t CProcessGroupInterface::OnSelector36 (int32_t* count1, int32_t* count2, uint32_t, int32_t, int32_t)
{
    PutOut (count1, 0);
    PutOut (count2, 0);
    return 0;
}

int32_t CProcessGroupInterface::OnSelector37 (int32_t* count1, int32_t* count2, uint32_t, int32_t, int32_t)
{
    PutOut (count1, 0);
    PutOut (count2, 0);
    return 0;
}

int32_t CProcessGroupInterface::HostRequest17 (int32_t* out1, int32_t* out2, int16_t a, int16_t b, int16_t c, int16_t d)
{
    PutOut (out1, 0);
    PutOut (out2, 0);
    if (gHostCallback == nullptr)
        return GroupResult::kNoHostCallback;
    const int16_t code = HostHasFastHardware() ? HostRequestCode::kFastHardware : HostRequestCode::kSlowHardware;
    return SendHostRequest (code, 20, HostRequestBlockMove::kMovedHigh, [&] (HostRequestBlock& block) {
        block.PutPointer (0, out1);
        block.PutPointer (4, out2);
        block.PutPointer (8, mHostContext);
        if (code == HostRequestCode::kFastHardware)
        {
            block.Put16 (12, d);
            block.Put16 (14, c);
            block.Put16 (16, b);
            block.Put16 (18, a);
        }
    });
}

int32_t CProcessGroupInterface::HostRequest11 (int32_t a, int32_t b)
{
    return SendHostRequest (HostRequestCode::k11, 12, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
        block.PutPointer (8, mHostContext);
    });
}

int32_t CProcessGroupInterface::HostRequest12 (int32_t a, int32_t b, int32_t c, void* d)
{
    return SendHostRequest (HostRequestCode::k12, 16, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
        block.Put32 (8, c);
        block.PutPointer (12, d);
    });
}

int32_t CProcessGroupInterface::HostRequest14 (int32_t a, int32_t b)
{
    return SendHostRequest (HostRequestCode::k14, 16, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
    });
}

int32_t CProcessGroupInterface::HostRequest19 (int32_t a, int32_t b, int32_t c)
{
    return SendHostRequest (HostRequestCode::k19, 16, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
        block.Put32 (8, c);
    });
}

int32_t CProcessGroupInterface::HostRequest20 (int32_t a, int32_t b)
{
    return SendHostRequest (HostRequestCode::k20, 16, HostRequestBlockMove::kStays, [&] (HostRequestBlock& block) {
        block.Put32 (0, a);
        block.Put32 (4, b);
    });
}

int32_t CProcessGroupInterface::GetNumControls (uint32_t, int32_t, int16_t* count)
{
    PutOut (count, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetMasterBypassControlIndex (uint32_t, int32_t, int32_t* index)
{
    PutOut (index, 0);
    return 0;
}
int32_t CProcessGroupInterface::IsControlAutomatable (uint32_t, int32_t, int32_t, int16_t* automatable)
{
    PutOut (automatable, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetControlStepCount (uint32_t, int32_t, int32_t, int32_t* steps)
{
    PutOut (steps, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetControlName (uint32_t, int32_t, int32_t, char* text)
{
    PutEmptyText (text);
    return 0;
}

int32_t CProcessGroupInterface::GetControlNameToFit (uint32_t, int32_t, int32_t, char* text, int32_t, uint32_t, int16_t*)
{
    PutEmptyText (text);
    return 0;
}

int32_t CProcessGroupInterface::GetControlValue (uint32_t, int32_t, int32_t, int32_t* value)
{
    PutOut (value, 0);
    return 0;
}
int32_t CProcessGroupInterface::SetControlValue (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector49 (uint32_t, int32_t, int32_t, SFicAutoTimeRampData*) { return 0; }
int32_t CProcessGroupInterface::OnSelector73 (uint32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector74 (uint32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::GetPageCount (uint32_t, int32_t, uint32_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::GetPageControl (uint32_t, int32_t, uint32_t, int16_t, int16_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::HasPageLayout (uint32_t, int32_t, uint32_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector166 (uint32_t, int32_t, char*, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector167 (uint32_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector75() { return 0; }
int32_t CProcessGroupInterface::SetMasterBypass (uint32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::IsMasterBypassed (uint32_t, int32_t, int32_t, uint8_t* bypassed)
{
    PutOut (bypassed, 0);
    return 0;
}
int32_t CProcessGroupInterface::OnSelector50 (uint32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::QueryOption (uint32_t, int32_t, int32_t, uint8_t* answer)
{
    PutOut (answer, 0);
    return 0;
}
int32_t CProcessGroupInterface::OnSelector133 (uint32_t, int32_t, uint32_t, uint32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector134 (uint32_t, int32_t, uint32_t*) { return 0; }
int32_t CProcessGroupInterface::GetBypassIndexIfCardFlag (uint32_t, int32_t, uint32_t, uint32_t*) { return 0; }
int32_t CProcessGroupInterface::GetNumMeters (uint32_t, int32_t, int32_t* count)
{
    PutOut (count, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetMeterValues (uint32_t, int32_t, int32_t, int32_t* values)
{
    PutOut (values, 0);
    return 0;
}
int32_t CProcessGroupInterface::OnSelector55 (uint32_t, int32_t, int32_t, char*) { return 0; }

int32_t CProcessGroupInterface::GetMeterOrientation (uint32_t, int32_t, int32_t, EMeterOrientation* orientation)
{
    PutOut (orientation, 0);
    return 0;
}

int32_t CProcessGroupInterface::GetNumMetersOfType (uint32_t, int32_t, EMeterType, int32_t* count)
{
    PutOut (count, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetMeterIndexOfType (uint32_t, int32_t, EMeterType, int32_t, int32_t* index)
{
    PutOut (index, 0);
    return 0;
}
int32_t CProcessGroupInterface::IsClipped (uint32_t, int32_t, uint8_t* clipped)
{
    PutOut (clipped, 0);
    return 0;
}
int32_t CProcessGroupInterface::ClearClipIndicators (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector160 (uint32_t, int32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector161 (uint32_t, int32_t, uint8_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector162 (uint32_t, int32_t, int32_t, void*, uint8_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector163 (uint32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector164 (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::GetNumChunks (uint32_t, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::GetChunkID (uint32_t, int32_t, int32_t, uint32_t*) { return 0; }
int32_t CProcessGroupInterface::GetChunkName (uint32_t, int32_t, uint32_t, uint8_t*) { return 0; }
int32_t CProcessGroupInterface::GetChunkSize (uint32_t, int32_t, uint32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::GetChunk (uint32_t, int32_t, uint32_t, SFicPlugInChunk*) { return 0; }
int32_t CProcessGroupInterface::SetChunk (uint32_t, int32_t, uint32_t, SFicPlugInChunk*) { return 0; }

int32_t CProcessGroupInterface::RestoreControlsFromChunk (uint32_t, int32_t, SFicPlugInChunk*, uint8_t* result)
{
    PutOut (result, 0);
    return GroupResult::kNoChunkRestore;
}

int32_t CProcessGroupInterface::OnSelector165 (uint32_t, int32_t, char*) { return 0; }
int32_t CProcessGroupInterface::OnSelector171 (uint32_t, int32_t, void*) { return 0; }
int32_t CProcessGroupInterface::GetChangeCount (uint32_t, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::MatchPlugInSpec (SFicPlugInSpec*, int32_t, int32_t) { return GroupResult::kNoMatchingSpec; }

int32_t CProcessGroupInterface::MatchPlugInSpecStems (SFicPlugInSpec*, int32_t, int32_t, int32_t, int32_t, int32_t)
{
    return GroupResult::kNoMatchingSpec;
}

int32_t CProcessGroupInterface::OnSelector69 (uint8_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector71 (uint32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector70 (uint8_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector72 (uint8_t) { return 0; }

int32_t CProcessGroupInterface::RegisterHostRequest15 (HostRequestProc procedure, void* userData)
{
    return SendHostRequest (HostRequestCode::k15, 8, HostRequestBlockMove::kMovedHigh, [&] (HostRequestBlock& block) {
        block.PutPointer (0, reinterpret_cast<const void*> (procedure));
        block.PutPointer (4, userData);
    });
}

int32_t CProcessGroupInterface::QueryForDSP (int32_t, int16_t, int16_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetLatencyShort (uint32_t, int32_t, int16_t* latency)
{
    PutOut (latency, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetLatency (uint32_t, int32_t, int32_t* latency)
{
    PutOut (latency, 0);
    return 0;
}
int32_t CProcessGroupInterface::EnableType (int32_t) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector92 (uint32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetCardInfo (uint32_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetInfoString (uint32_t, int32_t, int32_t, uint8_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetStreamFormat (uint32_t, int32_t, int16_t, int16_t, char*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::CheckStreamFormat (uint32_t, int32_t, int16_t, int16_t, char*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector96 (uint32_t, int32_t, int16_t, int16_t, int16_t, int16_t*) { return GroupResult::kUnsupported; }

int32_t CProcessGroupInterface::OnSelector97 (uint32_t, int32_t, int16_t, int16_t, int16_t, int16_t, char*)
{
    return GroupResult::kUnsupported;
}

int32_t CProcessGroupInterface::GetDefaultStreamInfo (uint32_t, int32_t) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector102 (uint32_t, int32_t, int32_t, int32_t) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector103 (uint32_t, int32_t, int16_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector104 (uint32_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector105 (uint32_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::IncrementControlValue (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::GetControlHostHint1 (uint32_t, int32_t, int32_t, int32_t* hint)
{
    PutOut (hint, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetInstanceNameID (uint32_t, int32_t, void** nameID)
{
    PutOut (nameID, nullptr);
    return 0;
}
int32_t CProcessGroupInterface::GetControlNameID (uint32_t, int32_t, int32_t, void** nameID)
{
    PutOut (nameID, nullptr);
    return 0;
}
int32_t CProcessGroupInterface::GetControlValueKind (uint32_t, int32_t, int32_t, int32_t* kind)
{
    PutOut (kind, 1);
    return 0;
}
int32_t CProcessGroupInterface::GetControlHostHint2 (uint32_t, int32_t, int32_t, int32_t* hint)
{
    PutOut (hint, 0);
    return 0;
}
int32_t CProcessGroupInterface::GetControlText (uint32_t, int32_t, int32_t, int32_t, char* text, int32_t)
{
    PutEmptyText (text);
    return 0;
}

int32_t CProcessGroupInterface::GetControlHighlight (uint32_t, int32_t, int32_t, int16_t* on, int16_t* colour)
{
    PutOut (on, 0);
    PutOut (colour, 0);
    return 0;
}

int32_t CProcessGroupInterface::SetControlHighlightInfo (uint32_t, int32_t, int32_t, int16_t, int16_t) { return 0; }
int32_t CProcessGroupInterface::UpdateControlValue (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::IncrementControlValueDirect (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::GetControlIndexAtPoint (uint32_t, int32_t, Point, int32_t*) { return 0; }
int32_t CProcessGroupInterface::GetControlDefaultValue (uint32_t, int32_t, int32_t, int32_t* value)
{
    PutOut (value, 0);
    return 0;
}

int32_t CProcessGroupInterface::SetControlSpecial (uint32_t, int32_t, int32_t, int32_t, int32_t, int32_t*)
{
    return GroupResult::kNoControlSpecial;
}

int32_t CProcessGroupInterface::OnSelector59 (uint32_t, int32_t, int32_t, int32_t, int16_t*) { return 0; }

int32_t CProcessGroupInterface::OnSelector122 (int32_t, int32_t value)
{
    mSelector122Value = value;
    return 0;
}

int32_t CProcessGroupInterface::OnSelector123 (uint32_t, int32_t, int32_t, SASPRegion*) { return 0; }
int32_t CProcessGroupInterface::OnSelector124 (uint32_t, int32_t, int32_t, SASPRegion*) { return 0; }
int32_t CProcessGroupInterface::SetOwnerValue (uint32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::Lock() { return 0; }
bool CProcessGroupInterface::TryLock() { return false; }
int32_t CProcessGroupInterface::Unlock() { return 0; }

// Releases no more levels than the lock reported holding, so a lock whose Unlock keeps
// answering a positive depth cannot keep this loop going.
int32_t CProcessGroupInterface::YieldLock()
{
    const int32_t depth = Lock();
    const int32_t held = Unlock();
    int32_t last = held;
    for (int32_t released = 1; last > 0 && released < depth; ++released)
        last = Unlock();

    if (const HostToolboxRoutines* toolbox = InstalledHostToolbox())
    {
        EventRecord event {};
        toolbox->EventAvail (0, &event);
    }

    for (int32_t level = 0; level < held; ++level)
        Lock();
    return 0;
}

int32_t CProcessGroupInterface::SetGroupGlobal (int32_t level)
{
    gHostLevel = level;
    return 0;
}

int32_t CProcessGroupInterface::SetPlugInSpec (uint32_t, int32_t, SFicPlugInSpec*) { return 0; }
int32_t CProcessGroupInterface::GetPlugInSpec (uint32_t, int32_t, SFicPlugInSpec*) { return 0; }
int32_t CProcessGroupInterface::OnSelector141 (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector142 (uint32_t, int32_t, SFicPlugInSpec*, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector143 (uint32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector151 (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector152 (uint32_t, int32_t, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector153 (uint32_t, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector154 (uint32_t, int32_t, int32_t, int32_t) { return 0; }
int32_t CProcessGroupInterface::OnSelector155 (uint32_t, int32_t, int32_t, int32_t*) { return 0; }
int32_t CProcessGroupInterface::OnSelector157 (uint32_t, int32_t, int32_t, uint8_t) { return 0; }
int32_t CProcessGroupInterface::GetNumConnectionInfos (uint32_t, int32_t, int32_t*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetConnectionInfo (uint32_t, int32_t, int32_t, SFicPlugInStemInfo*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector168 (uint32_t, int32_t, void*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector169 (uint32_t, int32_t, SFileList*, SFileList*) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector170 (uint32_t, int32_t, SFileList*, SFileList*, uint8_t) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::OnSelector173 (uint32_t, int32_t) { return GroupResult::kUnsupported; }
int32_t CProcessGroupInterface::GetUnknown (uint32_t, int32_t, IACFUnknown** unknown)
{
    PutOut (unknown, nullptr);
    return 0;
}
int32_t CProcessGroupInterface::GetTimeCodeFirst() { return mTimeCodeInfo.fFirst; }
int32_t CProcessGroupInterface::GetTimeCodeSecond() { return mTimeCodeInfo.fSecond; }
int32_t CProcessGroupInterface::GetSampleRate() { return mSampleRate; }

int32_t CProcessGroupInterface::SetHostCallbackEntry (HostCallbackProc callback)
{
    SetHostCallback (callback);
    return 0;
}

int32_t CProcessGroupInterface::SetHostContext (void* context)
{
    mHostContext = context;
    return 0;
}

int32_t CProcessGroupInterface::CallWithProcessSpecifier (SProcessSpecifier* s, uint32_t a, int16_t b, int16_t c, int16_t d)
{
    return GetPageControl (s->fTypeID, s->fProcess, a, b, c, d);
}

int32_t CProcessGroupInterface::CallWithControlSpecifierA (SControlSpecifier* s, char* text, int32_t a, uint32_t b, int16_t* out)
{
    return GetControlNameToFit (s->fTypeID, s->fProcess, static_cast<int32_t> (s->fControl), text, a, b, out);
}

int32_t CProcessGroupInterface::CallWithControlSpecifierB (SControlSpecifier* s, int32_t a, char* text, int32_t b)
{
    return GetControlText (s->fTypeID, s->fProcess, static_cast<int32_t> (s->fControl), a, text, b);
}

int32_t CProcessGroupInterface::CallWithStemSpecifiers (SFicPlugInSpec* spec, int32_t a, SStemSpecifier* in, SStemSpecifier* out)
{
    return MatchPlugInSpecStems (spec, a, static_cast<int32_t> (in->fSecond), static_cast<int32_t> (out->fSecond),
                                 static_cast<int32_t> (in->fFirst), static_cast<int32_t> (out->fFirst));
}

int32_t CProcessGroupInterface::CallWithParamSpecifierA (SParamSpecifier* s, int16_t* out)
{
    return OnSelector96 (s->fTypeID, s->fProcess, static_cast<int16_t> (s->fA), static_cast<int16_t> (s->fB),
                         static_cast<int16_t> (s->fC), out);
}

int32_t CProcessGroupInterface::CallWithParamSpecifierB (SParamSpecifier* s, int16_t value, char* text)
{
    return OnSelector97 (s->fTypeID, s->fProcess, static_cast<int16_t> (s->fA), static_cast<int16_t> (s->fB),
                         static_cast<int16_t> (s->fC), value, text);
}

int32_t CProcessGroupInterface::GetValueA (uint32_t typeID, int32_t process, int32_t a, SFicTDMAutoElem*** out)
{
    const int32_t value = OnSelector73 (typeID, process, a);
    PutOut (out, PointerOfWord<SFicTDMAutoElem*> (value));
    return 0;
}

int32_t CProcessGroupInterface::GetValueB (uint32_t typeID, int32_t process, int32_t a, void** out)
{
    const int32_t value = OnSelector74 (typeID, process, a);
    PutOut (out, PointerOfWord<void> (value));
    return 0;
}

int32_t CProcessGroupInterface::CallPairOperationA (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, uint8_t* out)
{
    return PairOperationA (first->fTypeID, first->fProcess, a, second->fTypeID, second->fProcess, b, out);
}

int32_t CProcessGroupInterface::CallPairOperationB (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, int32_t c)
{
    return PairOperationB (first->fTypeID, first->fProcess, a, second->fTypeID, second->fProcess, b, c);
}

int32_t CProcessGroupInterface::CallPairOperationC (SProcessSpecifier* first, int32_t a, SProcessSpecifier* second, int32_t b, int32_t c)
{
    return PairOperationC (first->fTypeID, first->fProcess, a, second->fTypeID, second->fProcess, b, c);
}

HostCallbackProc CProcessGroupInterface::GetHostCallback()
{
    return gHostCallback;
}
