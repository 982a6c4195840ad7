#include "process/type/CProcessType.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "process/base/CDAEError.h"
#include "process/base/OutParameter.h"
#include "process/process/GroupValues.h"
#include "process/type/PageTableResource.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/ViewlessMode.h"

namespace
{
constexpr uint8_t kUnnamed[] = { 7, 'U', 'n', 'n', 'a', 'm', 'e', 'd' };
}

CProcessType::CProcessType()
{
    fSampleRate = CurrentGroupSampleRate();
    fSettingPair = CurrentGroupSettingPair();
    const uint32_t now = HostToolbox().TickCount();
    for (CachedPageTable& entry : fPageTables)
        entry.stamp = now;
}

CProcessType::~CProcessType() = default;

// ---- Instances ----

CProcess* CProcessType::FindProcess (int32_t id) const
{
    if (id < 1)
        return nullptr;
    for (CProcess* process : fProcesses)
        if (process->GetInstanceID() == id)
            return process;
    return nullptr;
}

void CProcessType::AddProcess (CProcess* process)
{
    ThrowIfNull (process);
    const std::lock_guard guard (fProcessesLock);
    fProcesses.push_back (process);
}

int32_t CProcessType::GetNumProcesses()
{
    return static_cast<int32_t> (fProcesses.size());
}

int32_t CProcessType::NewProcess (int32_t* id)
{
    if (! OpenedByWinPlugInOpen())
        PreloadPageTables();
    return CreateProcess (id);
}

int32_t CProcessType::CreateProcess (int32_t*)
{
    return 0;
}

int32_t CProcessType::DeleteProcess (int32_t id)
{
    CProcess* process = FindProcess (id);
    if (process == nullptr)
        return RTASError::kNoSuchProcess;
    DeleteOneProcess (process);
    return 0;
}

void CProcessType::DeleteAllProcesses()
{
    std::exception_ptr firstFailure;
    while (! fProcesses.empty())
    {
        try
        {
            DeleteOneProcess (fProcesses.front());
        }
        catch (...)
        {
            if (! firstFailure)
                firstFailure = std::current_exception();
        }
    }
    {
        const std::lock_guard guard (fProcessesLock);
        std::vector<CProcess*>().swap (fProcesses);
    }
    if (firstFailure)
        std::rethrow_exception (firstFailure);
}

void CProcessType::DeleteOneProcess (CProcess* process)
{
    {
        const std::lock_guard guard (fProcessesLock);
        fProcesses.erase (std::find (fProcesses.begin(), fProcesses.end(), process));
    }
    std::exception_ptr teardownFailure;
    try
    {
        process->Teardown();
    }
    catch (...)
    {
        teardownFailure = std::current_exception();
    }
    IACFUnknown* unknown = nullptr;
    process->GetUnknown (&unknown);
    if (unknown != nullptr)
    {
        // The reference that made it and the one the answer added.
        unknown->Release();
        unknown->Release();
    }
    else
    {
        delete process;
    }
    if (teardownFailure)
        std::rethrow_exception (teardownFailure);
}

// ---- Forwarding ----

template <typename... Parameters, typename... Arguments>
int32_t CProcessType::Forward (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments)
{
    CProcess* process = FindProcess (id);
    if (process == nullptr)
        return RTASError::kNoSuchProcess;
    return (process->*operation) (arguments...);
}

template <typename... Parameters, typename... Arguments>
int32_t CProcessType::ForwardOrZero (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments)
{
    CProcess* process = FindProcess (id);
    return process != nullptr ? (process->*operation) (arguments...) : 0;
}

template <typename... Parameters, typename... Arguments>
int32_t CProcessType::ForwardAnsweringZero (int32_t id, int32_t (CProcess::*operation) (Parameters...), Arguments... arguments)
{
    CProcess* process = FindProcess (id);
    if (process == nullptr)
        return RTASError::kNoSuchProcess;
    (process->*operation) (arguments...);
    return 0;
}

template <typename Operation>
int32_t CProcessType::Broadcast (Operation operation)
{
    int32_t first = 0;
    for (CProcess* process : fProcesses)
    {
        const int32_t result = operation (*process);
        if (first == 0)
            first = result;
    }
    return first;
}

// clang-format off
int32_t CProcessType::InvalidateView (int32_t id, Rect* area) { return Forward (id, &CProcess::InvalidateView, area); }
int32_t CProcessType::HandleViewClick (int32_t id, EventRecord* event) { return Forward (id, &CProcess::HandleViewClick, event); }
int32_t CProcessType::HandleViewEvent (int32_t id, EventRecord* event, uint8_t* handled) { return Forward (id, &CProcess::HandleViewEvent, event, handled); }
int32_t CProcessType::Idle (int32_t id, EventRecord* event) { return ForwardAnsweringZero (id, &CProcess::Idle, event); }
int32_t CProcessType::GetViewRect (int32_t id, Rect* bounds) { return ForwardAnsweringZero (id, &CProcess::GetViewRect, bounds); }
int32_t CProcessType::SetViewPort (int32_t id, OpaqueGrafPtr* port) { return ForwardAnsweringZero (id, &CProcess::SetViewPort, port); }
int32_t CProcessType::MoveViewTo (int32_t id, Point where) { return ForwardAnsweringZero (id, &CProcess::MoveViewTo, where); }
int32_t CProcessType::ActivateView (int32_t id) { return Forward (id, &CProcess::ActivateView); }
int32_t CProcessType::DeactivateView (int32_t id) { return Forward (id, &CProcess::DeactivateView); }
int32_t CProcessType::SetMasterBypass (int32_t id, uint8_t on) { return Forward (id, &CProcess::SetMasterBypass, on); }
int32_t CProcessType::ReleaseDirectMIDI (int32_t id) { return Forward (id, &CProcess::ReleaseDirectMIDI); }
int32_t CProcessType::SetOptionA (int32_t id, int16_t value) { return Forward (id, &CProcess::SetOptionA, value); }
int32_t CProcessType::SetOptionB (int32_t id, int16_t value) { return Forward (id, &CProcess::SetOptionB, value); }
int32_t CProcessType::IsInputConnected (int32_t id, int32_t port, uint8_t* connected) { return Forward (id, &CProcess::IsInputConnected, port, connected); }
int32_t CProcessType::CanConnectOutput (int32_t id, int32_t port, uint8_t* possible) { return Forward (id, &CProcess::CanConnectOutput, port, possible); }
int32_t CProcessType::IsOutputConnected (int32_t id, int32_t port, uint8_t* connected) { return Forward (id, &CProcess::IsOutputConnected, port, connected); }
int32_t CProcessType::NotifyDSPConnect (int32_t id, int32_t port, int32_t value) { return Forward (id, &CProcess::NotifyDSPConnect, port, value); }
int32_t CProcessType::NotifyDSPConnectOutput (int32_t id, int32_t port, int32_t value) { return Forward (id, &CProcess::NotifyDSPConnectOutput, port, value); }
int32_t CProcessType::NotifyDSPDisconnectInput (int32_t id, int32_t port) { return Forward (id, &CProcess::NotifyDSPDisconnectInput, port); }
int32_t CProcessType::NotifyDSPDisconnectOutput (int32_t id, int32_t port) { return Forward (id, &CProcess::NotifyDSPDisconnectOutput, port); }
int32_t CProcessType::GetNumControls (int32_t id, int16_t* count) { return Forward (id, &CProcess::GetNumControls, count); }
int32_t CProcessType::GetMasterBypassControlIndex (int32_t id, int32_t* index) { return Forward (id, &CProcess::GetMasterBypassControlIndex, index); }
int32_t CProcessType::IsControlAutomatable (int32_t id, int32_t index, int16_t* automatable) { return Forward (id, &CProcess::IsControlAutomatable, index, automatable); }
int32_t CProcessType::GetControlStepCount (int32_t id, int32_t index, int32_t* steps) { return Forward (id, &CProcess::GetControlStepCount, index, steps); }
int32_t CProcessType::GetControlName (int32_t id, int32_t index, char* name) { return Forward (id, &CProcess::GetControlName, index, name); }
int32_t CProcessType::GetControlNameToFit (int32_t id, int32_t index, char* text, int32_t length, uint32_t code, int16_t* out) { return Forward (id, &CProcess::GetControlNameToFit, index, text, length, code, out); }
int32_t CProcessType::GetControlValue (int32_t id, int32_t index, int32_t* value) { return Forward (id, &CProcess::GetControlValue, index, value); }
int32_t CProcessType::SetControlValue (int32_t id, int32_t index, int32_t value) { return Forward (id, &CProcess::SetControlValue, index, value); }
int32_t CProcessType::ReservedOp1 (int32_t id, int32_t index, SFicAutoTimeRampData* ramp) { return Forward (id, &CProcess::ReservedOp1, index, ramp); }
int32_t CProcessType::ReservedOp2 (int32_t id, int32_t a) { return ForwardOrZero (id, &CProcess::ReservedOp2, a); }
int32_t CProcessType::ReservedOp3 (int32_t id, int32_t a) { return ForwardOrZero (id, &CProcess::ReservedOp3, a); }
int32_t CProcessType::GetPageCount (int32_t id, uint32_t table, int16_t surface) { return ForwardOrZero (id, &CProcess::GetPageCount, table, surface); }
int32_t CProcessType::GetPageControl (int32_t id, uint32_t table, int16_t surface, int16_t page, int16_t slot) { return ForwardOrZero (id, &CProcess::GetPageControl, table, surface, page, slot); }
int32_t CProcessType::HasPageLayout (int32_t id, uint32_t table, int16_t surface) { return ForwardOrZero (id, &CProcess::HasPageLayout, table, surface); }
int32_t CProcessType::IsMasterBypassed (int32_t id, uint8_t* bypassed) { return Forward (id, &CProcess::IsMasterBypassed, bypassed); }
int32_t CProcessType::ReservedOp4 (int32_t id, int32_t a, uint8_t flag) { return Forward (id, &CProcess::ReservedOp4, a, flag); }
int32_t CProcessType::QueryOption (int32_t id, int32_t option, uint8_t* answer) { return Forward (id, &CProcess::QueryOption, option, answer); }
int32_t CProcessType::GetBypassIndexIfCardFlag (int32_t id, uint32_t mask, uint32_t* index) { return Forward (id, &CProcess::GetBypassIndexIfCardFlag, mask, index); }
int32_t CProcessType::GetNumMeters (int32_t id, int32_t* count) { return Forward (id, &CProcess::GetNumMeters, count); }
int32_t CProcessType::GetMeterValues (int32_t id, int32_t count, int32_t* values) { return Forward (id, &CProcess::GetMeterValues, count, values); }
int32_t CProcessType::ReservedOp5 (int32_t id, int32_t a, char* text) { return Forward (id, &CProcess::ReservedOp5, a, text); }
int32_t CProcessType::GetMeterOrientation (int32_t id, int32_t meter, EMeterOrientation* orientation) { return Forward (id, &CProcess::GetMeterOrientation, meter, orientation); }
int32_t CProcessType::GetNumMetersOfType (int32_t id, EMeterType type, int32_t* count) { return Forward (id, &CProcess::GetNumMetersOfType, type, count); }
int32_t CProcessType::GetMeterIndexOfType (int32_t id, EMeterType type, int32_t which, int32_t* index) { return Forward (id, &CProcess::GetMeterIndexOfType, type, which, index); }
int32_t CProcessType::IsClipped (int32_t id, uint8_t* clipped) { return Forward (id, &CProcess::IsClipped, clipped); }
int32_t CProcessType::ClearClipIndicators (int32_t id) { return Forward (id, &CProcess::ClearClipIndicators); }
int32_t CProcessType::ReservedOp6 (int32_t id, int32_t a, int32_t b, uint8_t flag) { return Forward (id, &CProcess::ReservedOp6, a, b, flag); }
int32_t CProcessType::ReservedOp7 (int32_t id, uint8_t* out) { return Forward (id, &CProcess::ReservedOp7, out); }
int32_t CProcessType::ReservedOp8 (int32_t id, int32_t a, void* data, uint8_t* out) { return Forward (id, &CProcess::ReservedOp8, a, data, out); }
int32_t CProcessType::ReservedOp9 (int32_t id) { return Forward (id, &CProcess::ReservedOp9); }
int32_t CProcessType::ReservedOp10 (int32_t id, int32_t a, int32_t b) { return Forward (id, &CProcess::ReservedOp10, a, b); }
int32_t CProcessType::GetNumChunks (int32_t id, int32_t* count) { return Forward (id, &CProcess::GetNumChunks, count); }
int32_t CProcessType::GetChunkID (int32_t id, int32_t index, uint32_t* chunkID) { return Forward (id, &CProcess::GetChunkID, index, chunkID); }
int32_t CProcessType::GetChunkName (int32_t id, uint32_t chunkID, uint8_t* name) { return Forward (id, &CProcess::GetChunkName, chunkID, name); }
int32_t CProcessType::GetChunkSize (int32_t id, uint32_t chunkID, int32_t* size) { return Forward (id, &CProcess::GetChunkSize, chunkID, size); }
int32_t CProcessType::GetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk) { return Forward (id, &CProcess::GetChunk, chunkID, chunk); }
int32_t CProcessType::SetChunk (int32_t id, uint32_t chunkID, SFicPlugInChunk* chunk) { return Forward (id, &CProcess::SetChunk, chunkID, chunk); }
int32_t CProcessType::RestoreControlsFromChunk (int32_t id, SFicPlugInChunk* chunk, uint8_t* changed) { return Forward (id, &CProcess::RestoreControlsFromChunk, chunk, changed); }
int32_t CProcessType::ReservedOp11 (int32_t id, char* text) { return Forward (id, &CProcess::ReservedOp11, text); }
int32_t CProcessType::ReservedOp12 (int32_t id, void* data) { return Forward (id, &CProcess::ReservedOp12, data); }
int32_t CProcessType::GetChangeCount (int32_t id, int32_t* count) { return Forward (id, &CProcess::GetChangeCount, count); }
int32_t CProcessType::ReservedOp14 (int32_t id, int32_t a, uint8_t flag) { return Forward (id, &CProcess::ReservedOp14, a, flag); }
int32_t CProcessType::GetLatencyShort (int32_t id, int16_t* latency) { return Forward (id, &CProcess::GetLatencyShort, latency); }
int32_t CProcessType::GetLatency (int32_t id, int32_t* latency) { return Forward (id, &CProcess::GetLatency, latency); }
int32_t CProcessType::GetInfoString (int32_t id, int32_t key, uint8_t* text) { return Forward (id, &CProcess::GetInfoString, key, text); }
int32_t CProcessType::GetStreamFormat (int32_t id, int16_t a, int16_t b, char* format) { return Forward (id, &CProcess::GetStreamFormat, a, b, format); }
int32_t CProcessType::CheckStreamFormat (int32_t id, int16_t a, int16_t b, char* format) { return Forward (id, &CProcess::CheckStreamFormat, a, b, format); }
int32_t CProcessType::ReservedOp16 (int32_t id, int16_t a, int16_t b, int16_t c, int16_t* out) { return Forward (id, &CProcess::ReservedOp16, a, b, c, out); }
int32_t CProcessType::ReservedOp17 (int32_t id, int16_t a, int16_t b, int16_t c, int16_t value, char* text) { return Forward (id, &CProcess::ReservedOp17, a, b, c, value, text); }
int32_t CProcessType::GetDefaultStreamInfo (int32_t id) { return Forward (id, &CProcess::GetDefaultStreamInfo); }
int32_t CProcessType::ReservedOp18 (int32_t id, int32_t a, int32_t b) { return Forward (id, &CProcess::ReservedOp18, a, b); }
int32_t CProcessType::ReservedOp19 (int32_t id, int16_t a, int32_t b, int32_t* out) { return Forward (id, &CProcess::ReservedOp19, a, b, out); }
int32_t CProcessType::ReservedOp20 (int32_t id, int32_t* out) { return Forward (id, &CProcess::ReservedOp20, out); }
int32_t CProcessType::ReservedOp21 (int32_t id, int32_t* out) { return Forward (id, &CProcess::ReservedOp21, out); }
int32_t CProcessType::IncrementControlValue (int32_t id, int32_t index, int32_t delta) { return Forward (id, &CProcess::IncrementControlValue, index, delta); }
int32_t CProcessType::GetControlHostHint1 (int32_t id, int32_t index, int32_t* hint) { return Forward (id, &CProcess::GetControlHostHint1, index, hint); }
int32_t CProcessType::GetInstanceNameID (int32_t id, void** nameId) { return Forward (id, &CProcess::GetInstanceNameID, nameId); }
int32_t CProcessType::GetControlNameID (int32_t id, int32_t index, void** nameId) { return Forward (id, &CProcess::GetControlNameID, index, nameId); }
int32_t CProcessType::GetControlValueKind (int32_t id, int32_t index, int32_t* kind) { return Forward (id, &CProcess::GetControlValueKind, index, kind); }
int32_t CProcessType::GetControlHostHint2 (int32_t id, int32_t index, int32_t* hint) { return Forward (id, &CProcess::GetControlHostHint2, index, hint); }
int32_t CProcessType::GetControlText (int32_t id, int32_t index, int32_t value, char* text, int32_t length) { return Forward (id, &CProcess::GetControlText, index, value, text, length); }
int32_t CProcessType::GetControlHighlight (int32_t id, int32_t index, int16_t* on, int16_t* colour) { return Forward (id, &CProcess::GetControlHighlight, index, on, colour); }
int32_t CProcessType::SetControlHighlightInfo (int32_t id, int32_t index, int16_t on, int16_t colour) { return Forward (id, &CProcess::SetControlHighlightInfo, index, on, colour); }
int32_t CProcessType::UpdateControlValue (int32_t id, int32_t index, int32_t value) { return Forward (id, &CProcess::UpdateControlValue, index, value); }
int32_t CProcessType::IncrementControlValueDirect (int32_t id, int32_t index, int32_t delta) { return Forward (id, &CProcess::IncrementControlValueDirect, index, delta); }
int32_t CProcessType::GetControlIndexAtPoint (int32_t id, Point where, int32_t* index) { return Forward (id, &CProcess::GetControlIndexAtPoint, where, index); }
int32_t CProcessType::GetControlDefaultValue (int32_t id, int32_t index, int32_t* value) { return Forward (id, &CProcess::GetControlDefaultValue, index, value); }
int32_t CProcessType::SetControlSpecial (int32_t id, int32_t index, int32_t a, int32_t b, int32_t* out) { return Forward (id, &CProcess::SetControlSpecial, index, a, b, out); }
int32_t CProcessType::SetOwnerValue (int32_t id, int32_t value) { return Forward (id, &CProcess::SetOwnerValue, value); }
int32_t CProcessType::GetPlugInSpec (int32_t id, SFicPlugInSpec* spec) { return Forward (id, &CProcess::GetPlugInSpec, spec); }
int32_t CProcessType::SetPlugInSpec (int32_t id, SFicPlugInSpec* spec) { return Forward (id, &CProcess::SetPlugInSpec, spec); }
int32_t CProcessType::ReservedOp22 (int32_t id, SFicPlugInSpec* spec, int32_t a, int32_t* out) { return Forward (id, &CProcess::ReservedOp22, spec, a, out); }
int32_t CProcessType::ReservedOp23 (int32_t id, SFicPlugInSpec* spec, int32_t a, int32_t* out) { return Forward (id, &CProcess::ReservedOp23, spec, a, out); }
int32_t CProcessType::ReservedOp24 (int32_t id, int32_t a, uint8_t flag) { return Forward (id, &CProcess::ReservedOp24, a, flag); }
int32_t CProcessType::ReservedOp25 (int32_t id, int32_t a, int32_t b) { return Forward (id, &CProcess::ReservedOp25, a, b); }
int32_t CProcessType::ReservedOp26 (int32_t id, int32_t a, int32_t* out) { return Forward (id, &CProcess::ReservedOp26, a, out); }
int32_t CProcessType::ReservedOp27 (int32_t id, int32_t* out) { return Forward (id, &CProcess::ReservedOp27, out); }
int32_t CProcessType::ReservedOp28 (int32_t id, int32_t a, int32_t b) { return Forward (id, &CProcess::ReservedOp28, a, b); }
int32_t CProcessType::ReservedOp29 (int32_t id, int32_t a, int32_t* out) { return Forward (id, &CProcess::ReservedOp29, a, out); }
int32_t CProcessType::ReservedOp30 (int32_t id, int32_t a, uint8_t flag) { return Forward (id, &CProcess::ReservedOp30, a, flag); }
int32_t CProcessType::GetNumConnectionInfos (int32_t id, int32_t* count) { return Forward (id, &CProcess::GetNumConnectionInfos, count); }
int32_t CProcessType::GetConnectionInfo (int32_t id, int32_t index, SFicPlugInStemInfo* info) { return Forward (id, &CProcess::GetConnectionInfo, index, info); }
int32_t CProcessType::ReservedOp31 (int32_t id, void* data) { return Forward (id, &CProcess::ReservedOp31, data); }
int32_t CProcessType::ReservedOp32 (int32_t id, SFileList* first, SFileList* second) { return Forward (id, &CProcess::ReservedOp32, first, second); }
int32_t CProcessType::ReservedOp33 (int32_t id, SFileList* first, SFileList* second, uint8_t flag) { return Forward (id, &CProcess::ReservedOp33, first, second, flag); }
int32_t CProcessType::ReservedOp34 (int32_t id) { return Forward (id, &CProcess::ReservedOp34); }
int32_t CProcessType::GetUnknown (int32_t id, IACFUnknown** unknown) { return Forward (id, &CProcess::GetUnknown, unknown); }
// clang-format on

int32_t CProcessType::GetUserValueA (int32_t id, int32_t* value)
{
    return AnswerProcessValue (id, value, &CProcess::GetUserValueA);
}

int32_t CProcessType::GetUserValueB (int32_t id, int32_t* value)
{
    return AnswerProcessValue (id, value, &CProcess::GetUserValueB);
}

int32_t CProcessType::AnswerProcessValue (int32_t id, int32_t* value, int32_t (CProcess::*getter)())
{
    CProcess* process = FindProcess (id);
    if (process == nullptr)
        return RTASError::kNoSuchProcess;
    PutOut (value, (process->*getter)());
    return 0;
}

// ---- Type-wide values ----

void CProcessType::DoNothing() {}

void CProcessType::SetGroup (CProcessGroupInterface* group)
{
    fGroup = group;
}

void CProcessType::SetTypeIndex (int16_t index)
{
    fTypeIndex = index;
    for (CProcess* process : fProcesses)
        process->SetTypeIndex (index);
}

int32_t CProcessType::SetSampleRate (int32_t sampleRate)
{
    fSampleRate = sampleRate;
    return Broadcast ([sampleRate] (CProcess& process) { return process.SetSampleRate (sampleRate); });
}

int32_t CProcessType::SetTypeValue (int32_t value)
{
    fTypeValue = value;
    return Broadcast ([value] (CProcess& process) { return process.NotifyTypeValue (value); });
}

int32_t CProcessType::SetSettingPair (const SFicTimeCodeInfo* pair)
{
    if (pair != nullptr)
        fSettingPair = *pair;
    return Broadcast ([pair] (CProcess& process) { return process.SetSettingPair (pair); });
}

int32_t CProcessType::SetProcessValue (int32_t a, int32_t value)
{
    fProcessValue = value;
    return Broadcast ([a, value] (CProcess& process) { return process.SetProcessValue (a, value); });
}

int32_t CProcessType::BroadcastByteA (uint8_t flag)
{
    return Broadcast ([flag] (CProcess& process) { return process.ReservedOp13 (flag); });
}

int32_t CProcessType::BroadcastByteB (uint8_t flag)
{
    return Broadcast ([flag] (CProcess& process) { return process.ReservedOp15 (flag); });
}

// ---- The type's own answers ----

int32_t CProcessType::ForwardToProcess (int32_t, EventRecord*)
{
    return 0;
}

int32_t CProcessType::GetZeroCountA (int32_t* count)
{
    PutOut (count, 0);
    return 0;
}

int32_t CProcessType::GetZeroCountB (int16_t* count)
{
    PutOut (count, 0);
    return 0;
}

int32_t CProcessType::GetName (char* name)
{
    if (name != nullptr)
        std::memcpy (name, kUnnamed, sizeof kUnnamed);
    return 0;
}

int32_t CProcessType::GetProductID (uint32_t* productID)
{
    PutOut (productID, kDefaultProductID);
    return 0;
}

int32_t CProcessType::GetTypeIDs (int32_t, SFicPlugInStemFormats* ids)
{
    if (ids != nullptr)
    {
        const int32_t none[3] = { kNoTypeID, kNoTypeID, kNoTypeID };
        std::memcpy (ids, none, sizeof none);
    }
    int32_t stemFormatsMissing = 0;
    GetCardInfo (kCardInfoNoStemFormats, &stemFormatsMissing);
    return stemFormatsMissing != 0 ? GroupResult::kNoStemFormats : 0;
}

int32_t CProcessType::AnswerZeroA()
{
    return 0;
}

int32_t CProcessType::AnswerZeroB()
{
    return 0;
}

int32_t CProcessType::AnswerZeroC (int32_t, int32_t, int32_t, int16_t*)
{
    return 0;
}

int32_t CProcessType::CheckPointers (int32_t, char* text, int32_t* value)
{
    if (text == nullptr || value == nullptr)
        return ProcessTypeResult::kNullPointer;
    text[0] = 0;
    *value = 0;
    return 0;
}

int32_t CProcessType::CheckPointer (int32_t, int32_t* value)
{
    if (value == nullptr)
        return ProcessTypeResult::kNullPointer;
    *value = 0;
    return 0;
}

int32_t CProcessType::GetCardValue21 (int32_t, uint32_t* value)
{
    int32_t flags = 0;
    const int32_t result = GetCardInfo (kCardInfoBypassFlags, &flags);
    PutOut (value, static_cast<uint32_t> (flags));
    return result;
}

int32_t CProcessType::AnswerOne (int32_t, uint32_t, uint32_t, int32_t* out)
{
    PutOut (out, 1);
    return 0;
}

int32_t CProcessType::GetTypeShort (int16_t* value)
{
    PutOut (value, fShortValue);
    return 0;
}

int32_t CProcessType::GetTypeKind (int32_t* kind)
{
    PutOut (kind, fKind);
    return 0;
}

int32_t CProcessType::GetCardInfo (int32_t, int32_t* value)
{
    PutOut (value, 0);
    return 0;
}

int32_t CProcessType::GetLongName (uint8_t* name)
{
    if (name == nullptr)
        return 0;
    name[0] = 0;
    uint32_t productID = 0;
    if (const int32_t result = GetProductID (&productID))
        return result;
    name[0] = 4;
    for (int i = 0; i < 4; ++i)
        name[1 + i] = static_cast<uint8_t> (productID >> (24 - 8 * i));
    return 0;
}

// ---- Page tables ----

void CProcessType::PreloadPageTables()
{
    for (const uint32_t code : kPageTableCodes)
        GetPageTable (code);
}

PageTable CProcessType::GetPageTable (uint32_t code)
{
    const uint32_t now = HostToolbox().TickCount();
    auto held = std::find_if (fPageTables.begin(), fPageTables.end(), [code] (const CachedPageTable& e) { return e.code == code; });
    if (held == fPageTables.end())
    {
        // An entry never used takes the table; else the least recently used one (the first of
        // equals) makes room. Tables loaded within one tick so never push each other out.
        held = std::find_if (fPageTables.begin(), fPageTables.end(), [] (const CachedPageTable& e) { return ! e.used; });
        if (held == fPageTables.end())
            held = std::min_element (fPageTables.begin(), fPageTables.end(), [] (const CachedPageTable& a, const CachedPageTable& b) {
                return a.stamp < b.stamp;
            });
        held->buffer.reset();
        held->buffer = LoadPageTable (code);
        held->code = code;
        held->used = true;
    }
    held->stamp = now;
    if (held->buffer == nullptr)
        return {};
    return { held->buffer->data(), held->buffer->size() };
}

std::unique_ptr<PageTableBuffer> CProcessType::LoadPageTable (uint32_t code)
{
    uint8_t name[256] = {};
    GetLongName (name);
    return LoadPageTableResource (code, name);
}
