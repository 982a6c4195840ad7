// How the process group reaches its types: the table of routed operations with the type operation
// each one reaches and the arguments it passes, -7125 on every row for a type the group does not
// have, the broadcasts, and the group's own answers from its types.

#include "GroupTestSupport.h"
#include "ThrownCode.h"

#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/HostExtToolbox.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <type_traits>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

// One type operation as the recording type saw it: its name and its arguments as numbers.
struct TypeCall
{
    std::string operation;
    std::vector<int64_t> words;

    bool operator== (const TypeCall&) const = default;
};

template <typename T>
int64_t Word (T value)
{
    if constexpr (std::is_pointer_v<T>)
        return int64_t (reinterpret_cast<uintptr_t> (value));
    else if constexpr (std::is_same_v<T, Point>)
        return int64_t (value.v) * 65536 + value.h;
    else
        return int64_t (value);
}

template <typename... Arguments>
std::vector<int64_t> Words (Arguments... arguments)
{
    return { Word (arguments)... };
}

// X(operation, parameters, arguments): every type operation that the group reaches with a
// typeID's routed arguments.
// clang-format off
#define KESTRUNE_RECORDED_TYPE_OPERATIONS(X) \
    X (InvalidateView, (int32_t id, Rect* a), (id, a)) \
    X (HandleViewClick, (int32_t id, EventRecord* a), (id, a)) \
    X (HandleViewEvent, (int32_t id, EventRecord* a, uint8_t* b), (id, a, b)) \
    X (Idle, (int32_t id, EventRecord* a), (id, a)) \
    X (GetViewRect, (int32_t id, Rect* a), (id, a)) \
    X (SetViewPort, (int32_t id, OpaqueGrafPtr* a), (id, a)) \
    X (MoveViewTo, (int32_t id, Point a), (id, a)) \
    X (ActivateView, (int32_t id), (id)) \
    X (DeactivateView, (int32_t id), (id)) \
    X (ReleaseDirectMIDI, (int32_t id), (id)) \
    X (SetOptionA, (int32_t id, int16_t a), (id, a)) \
    X (SetOptionB, (int32_t id, int16_t a), (id, a)) \
    X (IsInputConnected, (int32_t id, int32_t a, uint8_t* b), (id, a, b)) \
    X (CanConnectOutput, (int32_t id, int32_t a, uint8_t* b), (id, a, b)) \
    X (IsOutputConnected, (int32_t id, int32_t a, uint8_t* b), (id, a, b)) \
    X (NotifyDSPConnect, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (NotifyDSPConnectOutput, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (NotifyDSPDisconnectInput, (int32_t id, int32_t a), (id, a)) \
    X (NotifyDSPDisconnectOutput, (int32_t id, int32_t a), (id, a)) \
    X (GetNumControls, (int32_t id, int16_t* a), (id, a)) \
    X (GetMasterBypassControlIndex, (int32_t id, int32_t* a), (id, a)) \
    X (IsControlAutomatable, (int32_t id, int32_t a, int16_t* b), (id, a, b)) \
    X (GetControlStepCount, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (GetControlName, (int32_t id, int32_t a, char* b), (id, a, b)) \
    X (GetControlNameToFit, (int32_t id, int32_t a, char* b, int32_t c, uint32_t d, int16_t* e), (id, a, b, c, d, e)) \
    X (GetControlValue, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (SetControlValue, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (GetPageCount, (int32_t id, uint32_t a, int16_t b), (id, a, b)) \
    X (GetPageControl, (int32_t id, uint32_t a, int16_t b, int16_t c, int16_t d), (id, a, b, c, d)) \
    X (HasPageLayout, (int32_t id, uint32_t a, int16_t b), (id, a, b)) \
    X (SetMasterBypass, (int32_t id, uint8_t a), (id, a)) \
    X (IsMasterBypassed, (int32_t id, uint8_t* a), (id, a)) \
    X (QueryOption, (int32_t id, int32_t a, uint8_t* b), (id, a, b)) \
    X (GetBypassIndexIfCardFlag, (int32_t id, uint32_t a, uint32_t* b), (id, a, b)) \
    X (GetNumMeters, (int32_t id, int32_t* a), (id, a)) \
    X (GetMeterValues, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (GetMeterOrientation, (int32_t id, int32_t a, EMeterOrientation* b), (id, a, b)) \
    X (GetNumMetersOfType, (int32_t id, EMeterType a, int32_t* b), (id, a, b)) \
    X (GetMeterIndexOfType, (int32_t id, EMeterType a, int32_t b, int32_t* c), (id, a, b, c)) \
    X (IsClipped, (int32_t id, uint8_t* a), (id, a)) \
    X (ClearClipIndicators, (int32_t id), (id)) \
    X (GetNumChunks, (int32_t id, int32_t* a), (id, a)) \
    X (GetChunkID, (int32_t id, int32_t a, uint32_t* b), (id, a, b)) \
    X (GetChunkName, (int32_t id, uint32_t a, uint8_t* b), (id, a, b)) \
    X (GetChunkSize, (int32_t id, uint32_t a, int32_t* b), (id, a, b)) \
    X (GetChunk, (int32_t id, uint32_t a, SFicPlugInChunk* b), (id, a, b)) \
    X (SetChunk, (int32_t id, uint32_t a, SFicPlugInChunk* b), (id, a, b)) \
    X (RestoreControlsFromChunk, (int32_t id, SFicPlugInChunk* a, uint8_t* b), (id, a, b)) \
    X (GetChangeCount, (int32_t id, int32_t* a), (id, a)) \
    X (GetLatencyShort, (int32_t id, int16_t* a), (id, a)) \
    X (GetLatency, (int32_t id, int32_t* a), (id, a)) \
    X (GetStreamFormat, (int32_t id, int16_t a, int16_t b, char* c), (id, a, b, c)) \
    X (CheckStreamFormat, (int32_t id, int16_t a, int16_t b, char* c), (id, a, b, c)) \
    X (GetDefaultStreamInfo, (int32_t id), (id)) \
    X (IncrementControlValue, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (GetControlHostHint1, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (GetInstanceNameID, (int32_t id, void** a), (id, a)) \
    X (GetControlNameID, (int32_t id, int32_t a, void** b), (id, a, b)) \
    X (GetControlValueKind, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (GetControlHostHint2, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (GetControlText, (int32_t id, int32_t a, int32_t b, char* c, int32_t d), (id, a, b, c, d)) \
    X (GetControlHighlight, (int32_t id, int32_t a, int16_t* b, int16_t* c), (id, a, b, c)) \
    X (SetControlHighlightInfo, (int32_t id, int32_t a, int16_t b, int16_t c), (id, a, b, c)) \
    X (UpdateControlValue, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (IncrementControlValueDirect, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (GetControlIndexAtPoint, (int32_t id, Point a, int32_t* b), (id, a, b)) \
    X (GetControlDefaultValue, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (SetControlSpecial, (int32_t id, int32_t a, int32_t b, int32_t c, int32_t* d), (id, a, b, c, d)) \
    X (SetOwnerValue, (int32_t id, int32_t a), (id, a)) \
    X (SetPlugInSpec, (int32_t id, SFicPlugInSpec* a), (id, a)) \
    X (GetPlugInSpec, (int32_t id, SFicPlugInSpec* a), (id, a)) \
    X (GetNumConnectionInfos, (int32_t id, int32_t* a), (id, a)) \
    X (GetConnectionInfo, (int32_t id, int32_t a, SFicPlugInStemInfo* b), (id, a, b)) \
    X (GetUnknown, (int32_t id, IACFUnknown** a), (id, a)) \
    X (GetInfoString, (int32_t id, int32_t a, uint8_t* b), (id, a, b)) \
    X (ReservedOp1, (int32_t id, int32_t a, SFicAutoTimeRampData* b), (id, a, b)) \
    X (ReservedOp2, (int32_t id, int32_t a), (id, a)) \
    X (ReservedOp3, (int32_t id, int32_t a), (id, a)) \
    X (ReservedOp4, (int32_t id, int32_t a, uint8_t b), (id, a, b)) \
    X (ReservedOp5, (int32_t id, int32_t a, char* b), (id, a, b)) \
    X (ReservedOp6, (int32_t id, int32_t a, int32_t b, uint8_t c), (id, a, b, c)) \
    X (ReservedOp7, (int32_t id, uint8_t* a), (id, a)) \
    X (ReservedOp8, (int32_t id, int32_t a, void* b, uint8_t* c), (id, a, b, c)) \
    X (ReservedOp9, (int32_t id), (id)) \
    X (ReservedOp10, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (ReservedOp11, (int32_t id, char* a), (id, a)) \
    X (ReservedOp12, (int32_t id, void* a), (id, a)) \
    X (ReservedOp14, (int32_t id, int32_t a, uint8_t b), (id, a, b)) \
    X (ReservedOp16, (int32_t id, int16_t a, int16_t b, int16_t c, int16_t* d), (id, a, b, c, d)) \
    X (ReservedOp17, (int32_t id, int16_t a, int16_t b, int16_t c, int16_t d, char* e), (id, a, b, c, d, e)) \
    X (ReservedOp18, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (ReservedOp19, (int32_t id, int16_t a, int32_t b, int32_t* c), (id, a, b, c)) \
    X (ReservedOp20, (int32_t id, int32_t* a), (id, a)) \
    X (ReservedOp21, (int32_t id, int32_t* a), (id, a)) \
    X (ReservedOp22, (int32_t id, SFicPlugInSpec* a, int32_t b, int32_t* c), (id, a, b, c)) \
    X (ReservedOp23, (int32_t id, SFicPlugInSpec* a, int32_t b, int32_t* c), (id, a, b, c)) \
    X (ReservedOp24, (int32_t id, int32_t a, uint8_t b), (id, a, b)) \
    X (ReservedOp25, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (ReservedOp26, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (ReservedOp27, (int32_t id, int32_t* a), (id, a)) \
    X (ReservedOp28, (int32_t id, int32_t a, int32_t b), (id, a, b)) \
    X (ReservedOp29, (int32_t id, int32_t a, int32_t* b), (id, a, b)) \
    X (ReservedOp30, (int32_t id, int32_t a, uint8_t b), (id, a, b)) \
    X (ReservedOp31, (int32_t id, void* a), (id, a)) \
    X (ReservedOp32, (int32_t id, SFileList* a, SFileList* b), (id, a, b)) \
    X (ReservedOp33, (int32_t id, SFileList* a, SFileList* b, uint8_t c), (id, a, b, c)) \
    X (ReservedOp34, (int32_t id), (id)) \
    X (GetZeroCountA, (int32_t* a), (a)) \
    X (GetNumInputs, (int32_t id, int16_t* a), (id, a)) \
    X (GetNumOutputs, (int32_t id, int16_t* a), (id, a)) \
    X (GetTypeIDs, (int32_t id, SFicPlugInStemFormats* a), (id, a)) \
    X (ForwardToProcess, (int32_t id, EventRecord* a), (id, a)) \
    X (GetZeroCountB, (int16_t* a), (a)) \
    X (CheckPointers, (int32_t id, char* a, int32_t* b), (id, a, b)) \
    X (CheckPointer, (int32_t id, int32_t* a), (id, a)) \
    X (AnswerOne, (int32_t id, uint32_t a, uint32_t b, int32_t* c), (id, a, b, c)) \
    X (GetCardValue21, (int32_t id, uint32_t* a), (id, a)) \
    X (GetTypeKind, (int32_t* a), (a)) \
    X (AnswerZeroC, (int32_t id, int32_t a, int32_t b, int16_t* c), (id, a, b, c)) \
    X (GetCardInfo, (int32_t id, int32_t* a), (id, a)) \
    X (GetUserValueA, (int32_t id, int32_t* a), (id, a)) \
    X (GetUserValueB, (int32_t id, int32_t* a), (id, a)) \
    X (GetName, (char* a), (a)) \
    X (SetSampleRate, (int32_t a), (a)) \
    X (SetTypeValue, (int32_t a), (a)) \
    X (SetSettingPair, (const SFicTimeCodeInfo* a), (a)) \
    X (AnswerZeroA, (), ()) \
    X (AnswerZeroB, (), ()) \
    X (BroadcastByteA, (uint8_t a), (a)) \
    X (BroadcastByteB, (uint8_t a), (a)) \
    X (SetProcessValue, (int32_t a, int32_t b), (a, b))
// clang-format on

// Records every type operation the group reaches and answers `answer` (or the scripted answer of
// the operation); throws from an operation named in `throwFrom`.
class CRecordingType final : public CProcessType
{
public:
    CRecordingType (uint32_t productID, std::vector<TypeCall>* log) : fProductID (productID), fLog (log) {}

    int32_t answer = 4242;
    std::map<std::string, int32_t> answers;
    std::string throwFrom;
    int productQuestions = 0;

    int32_t GetProductID (uint32_t* productID) override
    {
        ++productQuestions;
        *productID = fProductID;
        return 0;
    }

#define KESTRUNE_RECORD_OPERATION(operation, parameters, arguments) \
    int32_t operation parameters override { return Note (#operation, Words arguments); }
    KESTRUNE_RECORDED_TYPE_OPERATIONS (KESTRUNE_RECORD_OPERATION)
#undef KESTRUNE_RECORD_OPERATION

private:
    int32_t Note (const std::string& operation, std::vector<int64_t> words)
    {
        fLog->push_back ({ operation, std::move (words) });
        if (operation == throwFrom)
            throw std::runtime_error ("type operation failed");
        const auto scripted = answers.find (operation);
        return scripted != answers.end() ? scripted->second : answer;
    }

    uint32_t fProductID;
    std::vector<TypeCall>* fLog;
};

template <typename T>
T* P (uintptr_t address)
{
    return reinterpret_cast<T*> (address);
}

int64_t A (uintptr_t address)
{
    return int64_t (address);
}

constexpr int32_t kProcess = 7;
constexpr Point kPoint { 3, 4 };

using GroupCall = std::function<int32_t (CProcessGroup&, uint32_t typeID)>;

struct RoutingCase
{
    const char* groupOperation;
    GroupCall call;
    const char* typeOperation;
    std::vector<int64_t> words;
};

// The group's routed operations, each with the type operation it reaches and the arguments it
// passes on (the process reference first).
// clang-format off
std::vector<RoutingCase> RoutingCases()
{
    using G = CProcessGroup&;
    using T = uint32_t;
    const int64_t p = kProcess;
    return {
        { "InvalidateView", [] (G g, T t) { return g.InvalidateView (t, kProcess, P<Rect> (0x100)); }, "InvalidateView", { p, A (0x100) } },
        { "HandleViewClick", [] (G g, T t) { return g.HandleViewClick (t, kProcess, P<EventRecord> (0x100)); }, "HandleViewClick", { p, A (0x100) } },
        { "HandleViewEvent", [] (G g, T t) { return g.HandleViewEvent (t, kProcess, P<EventRecord> (0x100), P<uint8_t> (0x104)); }, "HandleViewEvent", { p, A (0x100), A (0x104) } },
        { "Idle", [] (G g, T t) { return g.Idle (t, kProcess, P<EventRecord> (0x100)); }, "Idle", { p, A (0x100) } },
        { "GetViewRect", [] (G g, T t) { return g.GetViewRect (t, kProcess, P<Rect> (0x100)); }, "GetViewRect", { p, A (0x100) } },
        { "SetViewPort", [] (G g, T t) { return g.SetViewPort (t, kProcess, P<OpaqueGrafPtr> (0x100)); }, "SetViewPort", { p, A (0x100) } },
        { "MoveViewTo", [] (G g, T t) { return g.MoveViewTo (t, kProcess, kPoint); }, "MoveViewTo", { p, 3 * 65536 + 4 } },
        { "ActivateView", [] (G g, T t) { return g.ActivateView (t, kProcess); }, "ActivateView", { p } },
        { "DeactivateView", [] (G g, T t) { return g.DeactivateView (t, kProcess); }, "DeactivateView", { p } },
        { "ReleaseDirectMIDI", [] (G g, T t) { return g.ReleaseDirectMIDI (t, kProcess); }, "ReleaseDirectMIDI", { p } },
        { "SetOptionA", [] (G g, T t) { return g.SetOptionA (t, kProcess, -3); }, "SetOptionA", { p, -3 } },
        { "SetOptionB", [] (G g, T t) { return g.SetOptionB (t, kProcess, 4); }, "SetOptionB", { p, 4 } },
        { "IsInputConnected", [] (G g, T t) { return g.IsInputConnected (t, kProcess, 11, P<uint8_t> (0x100)); }, "IsInputConnected", { p, 11, A (0x100) } },
        { "CanConnectOutput", [] (G g, T t) { return g.CanConnectOutput (t, kProcess, 11, P<uint8_t> (0x100)); }, "CanConnectOutput", { p, 11, A (0x100) } },
        { "IsOutputConnected", [] (G g, T t) { return g.IsOutputConnected (t, kProcess, 11, P<uint8_t> (0x100)); }, "IsOutputConnected", { p, 11, A (0x100) } },
        { "NotifyDSPConnect", [] (G g, T t) { return g.NotifyDSPConnect (t, kProcess, 11, 12); }, "NotifyDSPConnect", { p, 11, 12 } },
        { "NotifyDSPConnectOutput", [] (G g, T t) { return g.NotifyDSPConnectOutput (t, kProcess, 11, 12); }, "NotifyDSPConnectOutput", { p, 11, 12 } },
        { "NotifyDSPDisconnectInput", [] (G g, T t) { return g.NotifyDSPDisconnectInput (t, kProcess, 11); }, "NotifyDSPDisconnectInput", { p, 11 } },
        { "NotifyDSPDisconnectOutput", [] (G g, T t) { return g.NotifyDSPDisconnectOutput (t, kProcess, 11); }, "NotifyDSPDisconnectOutput", { p, 11 } },
        { "GetNumControls", [] (G g, T t) { return g.GetNumControls (t, kProcess, P<int16_t> (0x100)); }, "GetNumControls", { p, A (0x100) } },
        { "GetMasterBypassControlIndex", [] (G g, T t) { return g.GetMasterBypassControlIndex (t, kProcess, P<int32_t> (0x100)); }, "GetMasterBypassControlIndex", { p, A (0x100) } },
        { "IsControlAutomatable", [] (G g, T t) { return g.IsControlAutomatable (t, kProcess, 11, P<int16_t> (0x100)); }, "IsControlAutomatable", { p, 11, A (0x100) } },
        { "GetControlStepCount", [] (G g, T t) { return g.GetControlStepCount (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlStepCount", { p, 11, A (0x100) } },
        { "GetControlName", [] (G g, T t) { return g.GetControlName (t, kProcess, 11, P<char> (0x100)); }, "GetControlName", { p, 11, A (0x100) } },
        { "GetControlNameToFit", [] (G g, T t) { return g.GetControlNameToFit (t, kProcess, 11, P<char> (0x100), 12, 13, P<int16_t> (0x104)); }, "GetControlNameToFit", { p, 11, A (0x100), 12, 13, A (0x104) } },
        { "GetControlValue", [] (G g, T t) { return g.GetControlValue (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlValue", { p, 11, A (0x100) } },
        { "SetControlValue", [] (G g, T t) { return g.SetControlValue (t, kProcess, 11, -12); }, "SetControlValue", { p, 11, -12 } },
        { "GetPageCount", [] (G g, T t) { return g.GetPageCount (t, kProcess, 0x50675443, 2); }, "GetPageCount", { p, 0x50675443, 2 } },
        { "GetPageControl", [] (G g, T t) { return g.GetPageControl (t, kProcess, 0x50675443, 2, 3, 4); }, "GetPageControl", { p, 0x50675443, 2, 3, 4 } },
        { "HasPageLayout", [] (G g, T t) { return g.HasPageLayout (t, kProcess, 0x50675443, 2); }, "HasPageLayout", { p, 0x50675443, 2 } },
        { "SetMasterBypass", [] (G g, T t) { return g.SetMasterBypass (t, kProcess, 11, 1); }, "SetMasterBypass", { p, 1 } },
        { "IsMasterBypassed", [] (G g, T t) { return g.IsMasterBypassed (t, kProcess, 11, P<uint8_t> (0x100)); }, "IsMasterBypassed", { p, A (0x100) } },
        { "QueryOption", [] (G g, T t) { return g.QueryOption (t, kProcess, 11, P<uint8_t> (0x100)); }, "QueryOption", { p, 11, A (0x100) } },
        { "GetBypassIndexIfCardFlag", [] (G g, T t) { return g.GetBypassIndexIfCardFlag (t, kProcess, 11, P<uint32_t> (0x100)); }, "GetBypassIndexIfCardFlag", { p, 11, A (0x100) } },
        { "GetNumMeters", [] (G g, T t) { return g.GetNumMeters (t, kProcess, P<int32_t> (0x100)); }, "GetNumMeters", { p, A (0x100) } },
        { "GetMeterValues", [] (G g, T t) { return g.GetMeterValues (t, kProcess, 11, P<int32_t> (0x100)); }, "GetMeterValues", { p, 11, A (0x100) } },
        { "GetMeterOrientation", [] (G g, T t) { return g.GetMeterOrientation (t, kProcess, 11, P<EMeterOrientation> (0x100)); }, "GetMeterOrientation", { p, 11, A (0x100) } },
        { "GetNumMetersOfType", [] (G g, T t) { return g.GetNumMetersOfType (t, kProcess, EMeterType (5), P<int32_t> (0x100)); }, "GetNumMetersOfType", { p, 5, A (0x100) } },
        { "GetMeterIndexOfType", [] (G g, T t) { return g.GetMeterIndexOfType (t, kProcess, EMeterType (5), 11, P<int32_t> (0x100)); }, "GetMeterIndexOfType", { p, 5, 11, A (0x100) } },
        { "IsClipped", [] (G g, T t) { return g.IsClipped (t, kProcess, P<uint8_t> (0x100)); }, "IsClipped", { p, A (0x100) } },
        { "ClearClipIndicators", [] (G g, T t) { return g.ClearClipIndicators (t, kProcess); }, "ClearClipIndicators", { p } },
        { "GetNumChunks", [] (G g, T t) { return g.GetNumChunks (t, kProcess, P<int32_t> (0x100)); }, "GetNumChunks", { p, A (0x100) } },
        { "GetChunkID", [] (G g, T t) { return g.GetChunkID (t, kProcess, 11, P<uint32_t> (0x100)); }, "GetChunkID", { p, 11, A (0x100) } },
        { "GetChunkName", [] (G g, T t) { return g.GetChunkName (t, kProcess, 0x656c636b, P<uint8_t> (0x100)); }, "GetChunkName", { p, 0x656c636b, A (0x100) } },
        { "GetChunkSize", [] (G g, T t) { return g.GetChunkSize (t, kProcess, 0x656c636b, P<int32_t> (0x100)); }, "GetChunkSize", { p, 0x656c636b, A (0x100) } },
        { "GetChunk", [] (G g, T t) { return g.GetChunk (t, kProcess, 0x656c636b, P<SFicPlugInChunk> (0x100)); }, "GetChunk", { p, 0x656c636b, A (0x100) } },
        { "SetChunk", [] (G g, T t) { return g.SetChunk (t, kProcess, 0x656c636b, P<SFicPlugInChunk> (0x100)); }, "SetChunk", { p, 0x656c636b, A (0x100) } },
        { "RestoreControlsFromChunk", [] (G g, T t) { return g.RestoreControlsFromChunk (t, kProcess, P<SFicPlugInChunk> (0x100), P<uint8_t> (0x104)); }, "RestoreControlsFromChunk", { p, A (0x100), A (0x104) } },
        { "GetChangeCount", [] (G g, T t) { return g.GetChangeCount (t, kProcess, P<int32_t> (0x100)); }, "GetChangeCount", { p, A (0x100) } },
        { "GetLatencyShort", [] (G g, T t) { return g.GetLatencyShort (t, kProcess, P<int16_t> (0x100)); }, "GetLatencyShort", { p, A (0x100) } },
        { "GetLatency", [] (G g, T t) { return g.GetLatency (t, kProcess, P<int32_t> (0x100)); }, "GetLatency", { p, A (0x100) } },
        { "GetStreamFormat", [] (G g, T t) { return g.GetStreamFormat (t, kProcess, 11, 12, P<char> (0x100)); }, "GetStreamFormat", { p, 11, 12, A (0x100) } },
        { "CheckStreamFormat", [] (G g, T t) { return g.CheckStreamFormat (t, kProcess, 11, 12, P<char> (0x100)); }, "CheckStreamFormat", { p, 11, 12, A (0x100) } },
        { "GetDefaultStreamInfo", [] (G g, T t) { return g.GetDefaultStreamInfo (t, kProcess); }, "GetDefaultStreamInfo", { p } },
        { "IncrementControlValue", [] (G g, T t) { return g.IncrementControlValue (t, kProcess, 11, -12); }, "IncrementControlValue", { p, 11, -12 } },
        { "GetControlHostHint1", [] (G g, T t) { return g.GetControlHostHint1 (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlHostHint1", { p, 11, A (0x100) } },
        { "GetInstanceNameID", [] (G g, T t) { return g.GetInstanceNameID (t, kProcess, P<void*> (0x100)); }, "GetInstanceNameID", { p, A (0x100) } },
        { "GetControlNameID", [] (G g, T t) { return g.GetControlNameID (t, kProcess, 11, P<void*> (0x100)); }, "GetControlNameID", { p, 11, A (0x100) } },
        { "GetControlValueKind", [] (G g, T t) { return g.GetControlValueKind (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlValueKind", { p, 11, A (0x100) } },
        { "GetControlHostHint2", [] (G g, T t) { return g.GetControlHostHint2 (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlHostHint2", { p, 11, A (0x100) } },
        { "GetControlText", [] (G g, T t) { return g.GetControlText (t, kProcess, 11, 12, P<char> (0x100), 13); }, "GetControlText", { p, 11, 12, A (0x100), 13 } },
        { "GetControlHighlight", [] (G g, T t) { return g.GetControlHighlight (t, kProcess, 11, P<int16_t> (0x100), P<int16_t> (0x104)); }, "GetControlHighlight", { p, 11, A (0x100), A (0x104) } },
        { "SetControlHighlightInfo", [] (G g, T t) { return g.SetControlHighlightInfo (t, kProcess, 11, 1, 2); }, "SetControlHighlightInfo", { p, 11, 1, 2 } },
        { "UpdateControlValue", [] (G g, T t) { return g.UpdateControlValue (t, kProcess, 11, -12); }, "UpdateControlValue", { p, 11, -12 } },
        { "IncrementControlValueDirect", [] (G g, T t) { return g.IncrementControlValueDirect (t, kProcess, 11, -12); }, "IncrementControlValueDirect", { p, 11, -12 } },
        { "GetControlIndexAtPoint", [] (G g, T t) { return g.GetControlIndexAtPoint (t, kProcess, kPoint, P<int32_t> (0x100)); }, "GetControlIndexAtPoint", { p, 3 * 65536 + 4, A (0x100) } },
        { "GetControlDefaultValue", [] (G g, T t) { return g.GetControlDefaultValue (t, kProcess, 11, P<int32_t> (0x100)); }, "GetControlDefaultValue", { p, 11, A (0x100) } },
        { "SetControlSpecial", [] (G g, T t) { return g.SetControlSpecial (t, kProcess, 11, 12, 13, P<int32_t> (0x100)); }, "SetControlSpecial", { p, 11, 12, 13, A (0x100) } },
        { "SetOwnerValue", [] (G g, T t) { return g.SetOwnerValue (t, kProcess, 11); }, "SetOwnerValue", { p, 11 } },
        { "SetPlugInSpec", [] (G g, T t) { return g.SetPlugInSpec (t, kProcess, P<SFicPlugInSpec> (0x100)); }, "SetPlugInSpec", { p, A (0x100) } },
        { "GetPlugInSpec", [] (G g, T t) { return g.GetPlugInSpec (t, kProcess, P<SFicPlugInSpec> (0x100)); }, "GetPlugInSpec", { p, A (0x100) } },
        { "GetNumConnectionInfos", [] (G g, T t) { return g.GetNumConnectionInfos (t, kProcess, P<int32_t> (0x100)); }, "GetNumConnectionInfos", { p, A (0x100) } },
        { "GetConnectionInfo", [] (G g, T t) { return g.GetConnectionInfo (t, kProcess, 11, P<SFicPlugInStemInfo> (0x100)); }, "GetConnectionInfo", { p, 11, A (0x100) } },
        { "GetUnknown", [] (G g, T t) { return g.GetUnknown (t, kProcess, P<IACFUnknown*> (0x100)); }, "GetUnknown", { p, A (0x100) } },
        { "GetInfoString", [] (G g, T t) { return g.GetInfoString (t, kProcess, 11, P<uint8_t> (0x100)); }, "GetInfoString", { p, 11, A (0x100) } },

        { "OnSelector49", [] (G g, T t) { return g.OnSelector49 (t, kProcess, 11, P<SFicAutoTimeRampData> (0x100)); }, "ReservedOp1", { p, 11, A (0x100) } },
        { "OnSelector73", [] (G g, T t) { return g.OnSelector73 (t, kProcess, 11); }, "ReservedOp2", { p, 11 } },
        { "OnSelector74", [] (G g, T t) { return g.OnSelector74 (t, kProcess, 11); }, "ReservedOp3", { p, 11 } },
        { "OnSelector50", [] (G g, T t) { return g.OnSelector50 (t, kProcess, 11, 1); }, "ReservedOp4", { p, 11, 1 } },
        { "OnSelector55", [] (G g, T t) { return g.OnSelector55 (t, kProcess, 11, P<char> (0x100)); }, "ReservedOp5", { p, 11, A (0x100) } },
        { "OnSelector160", [] (G g, T t) { return g.OnSelector160 (t, kProcess, 11, 12, 1); }, "ReservedOp6", { p, 11, 12, 1 } },
        { "OnSelector161", [] (G g, T t) { return g.OnSelector161 (t, kProcess, P<uint8_t> (0x100)); }, "ReservedOp7", { p, A (0x100) } },
        { "OnSelector162", [] (G g, T t) { return g.OnSelector162 (t, kProcess, 11, P<void> (0x100), P<uint8_t> (0x104)); }, "ReservedOp8", { p, 11, A (0x100), A (0x104) } },
        { "OnSelector163", [] (G g, T t) { return g.OnSelector163 (t, kProcess); }, "ReservedOp9", { p } },
        { "OnSelector164", [] (G g, T t) { return g.OnSelector164 (t, kProcess, 11, 12); }, "ReservedOp10", { p, 11, 12 } },
        { "OnSelector165", [] (G g, T t) { return g.OnSelector165 (t, kProcess, P<char> (0x100)); }, "ReservedOp11", { p, A (0x100) } },
        { "OnSelector171", [] (G g, T t) { return g.OnSelector171 (t, kProcess, P<void> (0x100)); }, "ReservedOp12", { p, A (0x100) } },
        { "OnSelector71", [] (G g, T t) { return g.OnSelector71 (t, kProcess, 11, 1); }, "ReservedOp14", { p, 11, 1 } },
        { "OnSelector96", [] (G g, T t) { return g.OnSelector96 (t, kProcess, 11, 12, 13, P<int16_t> (0x100)); }, "ReservedOp16", { p, 11, 12, 13, A (0x100) } },
        { "OnSelector97", [] (G g, T t) { return g.OnSelector97 (t, kProcess, 11, 12, 13, -14, P<char> (0x100)); }, "ReservedOp17", { p, 11, 12, 13, -14, A (0x100) } },
        { "OnSelector102", [] (G g, T t) { return g.OnSelector102 (t, kProcess, 11, 12); }, "ReservedOp18", { p, 11, 12 } },
        { "OnSelector103", [] (G g, T t) { return g.OnSelector103 (t, kProcess, 11, 12, P<int32_t> (0x100)); }, "ReservedOp19", { p, 11, 12, A (0x100) } },
        { "OnSelector104", [] (G g, T t) { return g.OnSelector104 (t, kProcess, P<int32_t> (0x100)); }, "ReservedOp20", { p, A (0x100) } },
        { "OnSelector105", [] (G g, T t) { return g.OnSelector105 (t, kProcess, P<int32_t> (0x100)); }, "ReservedOp21", { p, A (0x100) } },
        { "OnSelector141", [] (G g, T t) { return g.OnSelector141 (t, kProcess, P<SFicPlugInSpec> (0x100), 11, P<int32_t> (0x104)); }, "ReservedOp22", { p, A (0x100), 11, A (0x104) } },
        { "OnSelector142", [] (G g, T t) { return g.OnSelector142 (t, kProcess, P<SFicPlugInSpec> (0x100), 11, P<int32_t> (0x104)); }, "ReservedOp23", { p, A (0x100), 11, A (0x104) } },
        { "OnSelector143", [] (G g, T t) { return g.OnSelector143 (t, kProcess, 11, 1); }, "ReservedOp24", { p, 11, 1 } },
        { "OnSelector151", [] (G g, T t) { return g.OnSelector151 (t, kProcess, 11, 12); }, "ReservedOp25", { p, 11, 12 } },
        { "OnSelector152", [] (G g, T t) { return g.OnSelector152 (t, kProcess, 11, P<int32_t> (0x100)); }, "ReservedOp26", { p, 11, A (0x100) } },
        { "OnSelector153", [] (G g, T t) { return g.OnSelector153 (t, kProcess, P<int32_t> (0x100)); }, "ReservedOp27", { p, A (0x100) } },
        { "OnSelector154", [] (G g, T t) { return g.OnSelector154 (t, kProcess, 11, 12); }, "ReservedOp28", { p, 11, 12 } },
        { "OnSelector155", [] (G g, T t) { return g.OnSelector155 (t, kProcess, 11, P<int32_t> (0x100)); }, "ReservedOp29", { p, 11, A (0x100) } },
        { "OnSelector157", [] (G g, T t) { return g.OnSelector157 (t, kProcess, 11, 1); }, "ReservedOp30", { p, 11, 1 } },
        { "OnSelector168", [] (G g, T t) { return g.OnSelector168 (t, kProcess, P<void> (0x100)); }, "ReservedOp31", { p, A (0x100) } },
        { "OnSelector169", [] (G g, T t) { return g.OnSelector169 (t, kProcess, P<SFileList> (0x100), P<SFileList> (0x104)); }, "ReservedOp32", { p, A (0x100), A (0x104) } },
        { "OnSelector170", [] (G g, T t) { return g.OnSelector170 (t, kProcess, P<SFileList> (0x100), P<SFileList> (0x104), 1); }, "ReservedOp33", { p, A (0x100), A (0x104), 1 } },
        { "OnSelector173", [] (G g, T t) { return g.OnSelector173 (t, kProcess); }, "ReservedOp34", { p } },

        { "OnSelector25", [] (G g, T t) { return g.OnSelector25 (t, P<int32_t> (0x100)); }, "GetZeroCountA", { A (0x100) } },
        { "OnSelector10", [] (G g, T t) { return g.OnSelector10 (t, kProcess, P<int16_t> (0x100)); }, "GetNumInputs", { p, A (0x100) } },
        { "OnSelector17", [] (G g, T t) { return g.OnSelector17 (t, kProcess, P<int16_t> (0x100)); }, "GetNumOutputs", { p, A (0x100) } },
        { "GetStemFormats", [] (G g, T t) { return g.GetStemFormats (t, kProcess, P<SFicPlugInStemFormats> (0x100)); }, "GetTypeIDs", { p, A (0x100) } },
        { "OnSelector15", [] (G g, T t) { return g.OnSelector15 (t, kProcess, P<EventRecord> (0x100)); }, "ForwardToProcess", { p, A (0x100) } },
        { "OnSelector79", [] (G g, T t) { return g.OnSelector79 (t, P<int16_t> (0x100)); }, "GetZeroCountB", { A (0x100) } },
        { "OnSelector166", [] (G g, T t) { return g.OnSelector166 (t, kProcess, P<char> (0x100), P<int32_t> (0x104)); }, "CheckPointers", { p, A (0x100), A (0x104) } },
        { "OnSelector167", [] (G g, T t) { return g.OnSelector167 (t, kProcess, P<int32_t> (0x100)); }, "CheckPointer", { p, A (0x100) } },
        { "OnSelector133", [] (G g, T t) { return g.OnSelector133 (t, kProcess, 11, 12, P<int32_t> (0x100)); }, "AnswerOne", { p, 11, 12, A (0x100) } },
        { "OnSelector134", [] (G g, T t) { return g.OnSelector134 (t, kProcess, P<uint32_t> (0x100)); }, "GetCardValue21", { p, A (0x100) } },
        { "OnSelector92", [] (G g, T t) { return g.OnSelector92 (t, P<int32_t> (0x100)); }, "GetTypeKind", { A (0x100) } },
        { "OnSelector59", [] (G g, T t) { return g.OnSelector59 (t, kProcess, 11, 12, P<int16_t> (0x100)); }, "AnswerZeroC", { p, 11, 12, A (0x100) } },
    };
}
// clang-format on

class GroupRouting : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.reset();
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        group->addTypes = [this] (CTestGroup& g) {
            auto first = std::make_unique<CRecordingType> (kOtherTypeID, &otherLog);
            auto second = std::make_unique<CRecordingType> (kTestTypeID, &log);
            other = first.get();
            type = second.get();
            g.AddProcessType (first.release());
            g.AddProcessType (second.release());
        };
        ASSERT_EQ (group->Initialize(), 0);
        log.clear();
        otherLog.clear();
    }
    void TearDown() override
    {
        group.reset();
        ReleaseHostToolbox();
    }

    DaeControl& engine = *KestruneDaeStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
    std::vector<TypeCall> log;
    std::vector<TypeCall> otherLog;
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<CTestGroup> group = std::make_unique<CTestGroup>();
    CRecordingType* type = nullptr;
    CRecordingType* other = nullptr;
};

TEST_F (GroupRouting, EveryRoutedOperationReachesItsTypeOperationWithItsArgumentsAndAnswersItsResult)
{
    for (const RoutingCase& row : RoutingCases())
    {
        SCOPED_TRACE (row.groupOperation);
        log.clear();
        type->answer = 4242;
        EXPECT_EQ (row.call (*group, kTestTypeID), 4242);
        ASSERT_EQ (log.size(), 1u);
        EXPECT_EQ (log[0], (TypeCall { row.typeOperation, row.words }));
        EXPECT_TRUE (otherLog.empty()) << "only the named type";
    }
}

TEST_F (GroupRouting, EveryRoutedOperationThrowsMinus7125ForATypeTheGroupDoesNotHave)
{
    for (const RoutingCase& row : RoutingCases())
    {
        SCOPED_TRACE (row.groupOperation);
        EXPECT_EQ (ThrownCode ([&] { row.call (*group, kUnknownTypeID); }), -7125);
    }
    EXPECT_TRUE (log.empty());
    EXPECT_TRUE (otherLog.empty());
}

TEST_F (GroupRouting, TheViewDefaultsRunFirstAndThenTheType)
{
    Rect bounds {};
    EXPECT_EQ (group->GetViewRect (kTestTypeID, kProcess, &bounds), 4242);
    EXPECT_EQ (group->SetViewPort (kTestTypeID, kProcess, nullptr), 4242);
    EXPECT_EQ (group->MoveViewTo (kTestTypeID, kProcess, kPoint), 4242);
    EXPECT_EQ (log.size(), 3u);
}

TEST_F (GroupRouting, TheRegionSelectorsKeepTheDefaultsAndAskNoType)
{
    EXPECT_EQ (group->OnSelector123 (kUnknownTypeID, kProcess, 1, nullptr), 0);
    EXPECT_EQ (group->OnSelector124 (kUnknownTypeID, kProcess, 1, nullptr), 0);
    EXPECT_TRUE (log.empty());
}

struct BroadcastCase
{
    const char* groupOperation;
    std::function<int32_t (CProcessGroup&)> call;
    TypeCall reached;
};

std::vector<BroadcastCase> BroadcastCases()
{
    static SFicTimeCodeInfo info { 30, 2 };
    using G = CProcessGroup&;
    return {
        { "SetSampleRate", [] (G g) { return g.SetSampleRate (48000); }, { "SetSampleRate", { 48000 } } },
        { "OnSelector125", [] (G g) { return g.OnSelector125 (-9); }, { "SetTypeValue", { -9 } } },
        { "SetTimeCodeInfo", [] (G g) { return g.SetTimeCodeInfo (&info); }, { "SetSettingPair", { Word (&info) } } },
        { "OnSelector16", [] (G g) { return g.OnSelector16(); }, { "AnswerZeroA", {} } },
        { "OnSelector18", [] (G g) { return g.OnSelector18(); }, { "AnswerZeroB", {} } },
        { "OnSelector69", [] (G g) { return g.OnSelector69 (1); }, { "BroadcastByteA", { 1 } } },
        { "OnSelector72", [] (G g) { return g.OnSelector72 (0); }, { "BroadcastByteB", { 0 } } },
        { "OnSelector122", [] (G g) { return g.OnSelector122 (5, 6); }, { "SetProcessValue", { 5, 6 } } },
    };
}

TEST_F (GroupRouting, EveryBroadcastReachesEveryTypeAndAnswersTheFirstNonzeroResult)
{
    for (const BroadcastCase& row : BroadcastCases())
    {
        SCOPED_TRACE (row.groupOperation);
        log.clear();
        otherLog.clear();
        other->answer = 0;
        type->answer = -5;
        EXPECT_EQ (row.call (*group), -5) << "the second type's, since the first answered 0";
        other->answer = -3;
        EXPECT_EQ (row.call (*group), -3);
        EXPECT_EQ (otherLog, (std::vector<TypeCall> { row.reached, row.reached }));
        EXPECT_EQ (log, (std::vector<TypeCall> { row.reached, row.reached })) << "called although the first one failed";
        other->answer = 0;
        type->answer = 0;
        EXPECT_EQ (row.call (*group), 0);
    }
}

TEST_F (GroupRouting, ABroadcastReachesEveryTypeAlsoWhenOneThrows)
{
    other->throwFrom = "SetSampleRate";
    EXPECT_THROW (group->SetSampleRate (96000), std::runtime_error);
    ASSERT_EQ (log.size(), 1u);
    EXPECT_EQ (log[0], (TypeCall { "SetSampleRate", { 96000 } }));
    EXPECT_EQ (group->GetSampleRate(), 96000);
}

TEST_F (GroupRouting, TheGroupKeepsTheValuesItBroadcasts)
{
    SFicTimeCodeInfo info { 25, 1 };
    group->SetTimeCodeInfo (&info);
    group->SetSampleRate (88200);
    EXPECT_EQ (group->GetTimeCodeFirst(), 25);
    EXPECT_EQ (group->GetTimeCodeSecond(), 1);
    EXPECT_EQ (group->GetSampleRate(), 88200);
}

TEST_F (GroupRouting, TheGroupsOwnNameNeverAsksTheTypes)
{
    const int questionsBefore = type->productQuestions + other->productQuestions;
    char name[32] = {};
    EXPECT_EQ (group->GetTypeName (kGroupItselfTypeID, 5, name), 0);
    EXPECT_EQ (std::string (name + 1, size_t (name[0])), "KESTr") << "the alternative name, at most 5 characters";
    EXPECT_EQ (type->productQuestions + other->productQuestions, questionsBefore);
    EXPECT_TRUE (log.empty());
    group->altNameResult = -7;
    EXPECT_EQ (group->GetTypeName (kGroupItselfTypeID, 31, name), -7);

    EXPECT_EQ (group->GetTypeName (kTestTypeID, 31, name), 4242);
    EXPECT_EQ (log.back().operation, "GetName") << "into a buffer of the group's own, cut to the host's length";
    EXPECT_EQ (ThrownCode ([&] { group->GetTypeName (kUnknownTypeID, 31, name); }), -7125);
}

TEST_F (GroupRouting, CardInformationForATypeTheGroupDoesNotHaveIsAnsweredNotThrown)
{
    int32_t info = 0;
    EXPECT_EQ (group->GetCardInfo (kUnknownTypeID, 21, &info), -7125);
    EXPECT_EQ (group->GetCardInfo (kTestTypeID, 21, &info), 4242);
    EXPECT_EQ (log.back(), (TypeCall { "GetCardInfo", { 21, Word (&info) } })) << "the host's process word is the key";
}

TEST_F (GroupRouting, UserValueCountsComeFromTheTypeAndTheFirstFailureIsAnswered)
{
    int32_t count1 = 5, count2 = 6;
    type->answer = 0;
    EXPECT_EQ (group->OnSelector36 (&count1, &count2, kTestTypeID, kProcess, 0), 0);
    ASSERT_EQ (log.size(), 2u);
    EXPECT_EQ (log[0], (TypeCall { "GetUserValueA", { kProcess, Word (&count1) } }));
    EXPECT_EQ (log[1], (TypeCall { "GetUserValueB", { kProcess, Word (&count2) } }));
    EXPECT_EQ (count1, 0) << "cleared before the type answers";
    EXPECT_EQ (count2, 0);

    log.clear();
    type->answers["GetUserValueA"] = -7126;
    EXPECT_EQ (group->OnSelector37 (&count1, &count2, kTestTypeID, kProcess, 0), -7126);
    EXPECT_EQ (log.size(), 1u) << "B is not asked after A failed";
}

}
