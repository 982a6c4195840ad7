#include "entry/RoutineTable.h"

#include <utility>

#include "entry/GroupFunctions.h"
#include "entry/PlugInEntry.h"
#include "process/group/CProcessGroupInterface.h"

namespace
{
// When a routine takes the group's lock around its operation.
enum class RunChoice : uint8_t
{
    kGuarded, // always (when gHostLevel is not 0)
    kGuardedAbove98, // only when gHostLevel is above 98
    kGuardedAbove99 // only when gHostLevel is above 99
};

inline constexpr RunChoice Guarded = RunChoice::kGuarded;
inline constexpr RunChoice GuardedAbove98 = RunChoice::kGuardedAbove98;
inline constexpr RunChoice GuardedAbove99 = RunChoice::kGuardedAbove99;
// Whether the run holds a RoutineGuard around the call.
inline constexpr uint8_t Guard = 1;
inline constexpr uint8_t NoGuard = 0;

RunForm FormOf (RunChoice choice)
{
    switch (choice)
    {
        case RunChoice::kGuardedAbove98: return gHostLevel > 98 ? RunForm::kGuarded : RunForm::kUnguarded;
        case RunChoice::kGuardedAbove99: return gHostLevel > 99 ? RunForm::kGuarded : RunForm::kUnguarded;
        case RunChoice::kGuarded: break;
    }
    return RunForm::kGuarded;
}

template <typename... Args>
int32_t Dispatch (RunChoice choice, int32_t (CProcessGroupInterface::*operation) (Args...), uint8_t guard, Args... arguments)
{
    return DispatchGroupFunc (FormOf (choice), operation, guard, arguments...);
}

// A routine whose host arguments are the operation's own.
template <typename Operation>
struct OperationRoutine;

template <typename... Args>
struct OperationRoutine<int32_t (CProcessGroupInterface::*) (Args...)>
{
    template <auto Op, RunChoice Choice, uint8_t RoutineGuard>
    static int32_t KESTRUNE_RTAS_STDCALL Run (Args... arguments)
    {
        return Dispatch (Choice, Op, RoutineGuard, arguments...);
    }
};

template <auto Op, RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine
{
    static PlugInRoutinePtr Address()
    {
        return reinterpret_cast<PlugInRoutinePtr> (&OperationRoutine<decltype (Op)>::template Run<Op, Choice, RoutineGuard>);
    }
};

// The routines that build a specifier record on their own stack frame from the host's leading
// arguments and pass its address in their place.
template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithProcessSpecifier, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t typeID, int32_t process, uint32_t a, int16_t b, int16_t c, int16_t d)
    {
        SProcessSpecifier specifier { typeID, process };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithProcessSpecifier, RoutineGuard, &specifier, a, b, c, d);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithControlSpecifierA, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t typeID, int32_t process, uint32_t control, char* text, int32_t a, uint32_t b, int16_t* out)
    {
        SControlSpecifier specifier { typeID, process, control };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithControlSpecifierA, RoutineGuard, &specifier, text, a, b, out);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithControlSpecifierB, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t typeID, int32_t process, uint32_t control, int32_t a, char* text, int32_t b)
    {
        SControlSpecifier specifier { typeID, process, control };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithControlSpecifierB, RoutineGuard, &specifier, a, text, b);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithParamSpecifierA, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t* out)
    {
        SParamSpecifier specifier { typeID, process, static_cast<uint16_t> (a), static_cast<uint16_t> (b), static_cast<uint16_t> (c) };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithParamSpecifierA, RoutineGuard, &specifier, out);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithParamSpecifierB, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t typeID, int32_t process, int16_t a, int16_t b, int16_t c, int16_t value, char* text)
    {
        SParamSpecifier specifier { typeID, process, static_cast<uint16_t> (a), static_cast<uint16_t> (b), static_cast<uint16_t> (c) };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithParamSpecifierB, RoutineGuard, &specifier, value, text);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <RunChoice Choice, uint8_t RoutineGuard>
struct GroupRoutine<&CProcessGroupInterface::CallWithStemSpecifiers, Choice, RoutineGuard>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (SFicPlugInSpec* spec, int32_t a, uint32_t inValue, uint32_t outValue, uint32_t inType, uint32_t outType)
    {
        SStemSpecifier in { inType, inValue };
        SStemSpecifier out { outType, outValue };
        return Dispatch (Choice, &CProcessGroupInterface::CallWithStemSpecifiers, RoutineGuard, spec, a, &in, &out);
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

// Routines without an operation: they take their host words off the stack and answer 0.
template <size_t>
using HostWord = uint32_t;

template <typename Words>
struct NoOperationOf;

template <size_t... Index>
struct NoOperationOf<std::index_sequence<Index...>>
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (HostWord<Index>...) { return 0; }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

template <size_t Words>
using NoOperation = NoOperationOf<std::make_index_sequence<Words>>;

// The one of them that first clears the flag byte its fourth word points at.
struct NoOperationClearingFlag
{
    static int32_t KESTRUNE_RTAS_STDCALL Run (uint32_t, uint32_t, uint32_t, uint8_t* flag, uint32_t)
    {
        if (flag != nullptr)
            *flag = 0;
        return 0;
    }
    static PlugInRoutinePtr Address() { return reinterpret_cast<PlugInRoutinePtr> (&Run); }
};

// The routine table: OP(selector, operation, run form, routine guard) forwards to the group;
// NO_OP(selector, routine) answers 0. Selectors not listed have no routine.
#define KESTRUNE_RTAS_ROUTINE_TABLE(OP, NO_OP)              \
    OP (0, InvalidateView, GuardedAbove98, NoGuard)         \
    OP (1, HandleViewClick, Guarded, Guard)                 \
    OP (2, HandleViewEvent, Guarded, Guard)                 \
    OP (3, Idle, Guarded, Guard)                            \
    OP (4, GetViewRect, Guarded, Guard)                     \
    OP (5, GetTypeName, Guarded, Guard)                     \
    OP (6, GetTypeIDsByIndex, Guarded, Guard)               \
    OP (7, SetSampleRate, Guarded, Guard)                   \
    OP (8, ActivateView, Guarded, Guard)                    \
    OP (9, DeactivateView, Guarded, Guard)                  \
    OP (10, OnSelector10, Guarded, Guard)                   \
    OP (12, GetGroupName, Guarded, Guard)                   \
    OP (14, SetHostCallbackEntry, Guarded, Guard)           \
    OP (15, OnSelector15, Guarded, Guard)                   \
    OP (16, OnSelector16, Guarded, Guard)                   \
    OP (17, OnSelector17, Guarded, Guard)                   \
    OP (18, OnSelector18, Guarded, Guard)                   \
    OP (19, CreateProcess, Guarded, Guard)                  \
    OP (20, DeleteProcess, Guarded, Guard)                  \
    OP (22, GetNumTypes, Guarded, Guard)                    \
    OP (23, SetOptionA, Guarded, Guard)                     \
    OP (24, SetOptionB, Guarded, Guard)                     \
    OP (25, OnSelector25, Guarded, Guard)                   \
    OP (27, IsInputConnected, Guarded, Guard)               \
    OP (28, CanConnectOutput, Guarded, Guard)               \
    OP (29, IsOutputConnected, Guarded, Guard)              \
    OP (30, NotifyDSPConnect, Guarded, Guard)               \
    OP (31, NotifyDSPConnectOutput, Guarded, Guard)         \
    OP (32, NotifyDSPDisconnectInput, Guarded, Guard)       \
    OP (33, NotifyDSPDisconnectOutput, Guarded, Guard)      \
    OP (35, GetInfo, Guarded, NoGuard)                      \
    OP (36, OnSelector36, Guarded, NoGuard)                 \
    OP (37, OnSelector37, Guarded, NoGuard)                 \
    OP (38, SetHostContext, Guarded, NoGuard)               \
    OP (39, SetMasterBypass, Guarded, Guard)                \
    OP (40, GetNumControls, Guarded, NoGuard)               \
    OP (41, IsControlAutomatable, Guarded, NoGuard)         \
    OP (42, GetControlStepCount, Guarded, NoGuard)          \
    NO_OP (43, NoOperation<4>)                              \
    OP (44, GetControlName, Guarded, NoGuard)               \
    OP (45, GetControlValue, Guarded, NoGuard)              \
    OP (46, SetControlValue, Guarded, NoGuard)              \
    OP (47, SetViewPort, GuardedAbove98, Guard)             \
    OP (48, MoveViewTo, Guarded, Guard)                     \
    OP (49, OnSelector49, Guarded, Guard)                   \
    OP (50, OnSelector50, Guarded, Guard)                   \
    OP (51, IsMasterBypassed, Guarded, Guard)               \
    OP (52, QueryOption, Guarded, Guard)                    \
    OP (53, GetNumMeters, Guarded, NoGuard)                 \
    OP (54, GetMeterValues, Guarded, NoGuard)               \
    OP (55, OnSelector55, Guarded, NoGuard)                 \
    NO_OP (56, NoOperation<1>)                              \
    NO_OP (57, NoOperation<1>)                              \
    NO_OP (58, NoOperation<1>)                              \
    OP (59, OnSelector59, Guarded, NoGuard)                 \
    OP (62, GetNumChunks, Guarded, NoGuard)                 \
    OP (63, GetChunkID, Guarded, NoGuard)                   \
    OP (64, GetChunkName, Guarded, NoGuard)                 \
    OP (65, GetChunkSize, Guarded, NoGuard)                 \
    OP (66, GetChunk, Guarded, NoGuard)                     \
    OP (67, SetChunk, Guarded, NoGuard)                     \
    OP (68, MatchPlugInSpec, Guarded, NoGuard)              \
    OP (69, OnSelector69, Guarded, Guard)                   \
    OP (70, OnSelector70, Guarded, Guard)                   \
    OP (71, OnSelector71, Guarded, NoGuard)                 \
    OP (72, OnSelector72, Guarded, Guard)                   \
    OP (73, GetValueA, Guarded, NoGuard)                    \
    OP (74, GetValueB, Guarded, NoGuard)                    \
    OP (75, OnSelector75, GuardedAbove99, NoGuard)          \
    NO_OP (76, NoOperation<2>)                              \
    NO_OP (77, NoOperation<1>)                              \
    NO_OP (78, NoOperation<2>)                              \
    OP (79, OnSelector79, Guarded, Guard)                   \
    OP (80, GetLatencyShort, Guarded, Guard)                \
    OP (81, IncrementControlValue, Guarded, Guard)          \
    OP (82, GetControlHostHint1, Guarded, Guard)            \
    NO_OP (83, NoOperation<1>)                              \
    NO_OP (84, NoOperation<2>)                              \
    OP (85, GetInstanceNameID, Guarded, Guard)              \
    OP (86, GetControlNameID, Guarded, Guard)               \
    OP (87, GetControlIndexAtPoint, Guarded, Guard)         \
    OP (88, GetControlValueKind, Guarded, Guard)            \
    OP (89, GetControlHostHint2, Guarded, Guard)            \
    OP (90, CallWithControlSpecifierB, Guarded, Guard)      \
    OP (91, EnableType, Guarded, NoGuard)                   \
    OP (92, OnSelector92, Guarded, NoGuard)                 \
    OP (93, GetCardInfo, Guarded, NoGuard)                  \
    OP (94, GetStreamFormat, Guarded, NoGuard)              \
    OP (95, CheckStreamFormat, Guarded, NoGuard)            \
    OP (96, CallWithParamSpecifierA, Guarded, NoGuard)      \
    OP (97, CallWithParamSpecifierB, Guarded, NoGuard)      \
    NO_OP (98, NoOperationClearingFlag)                     \
    OP (99, UpdateControlValue, Guarded, Guard)             \
    OP (100, IncrementControlValueDirect, Guarded, Guard)   \
    OP (101, GetDefaultStreamInfo, Guarded, NoGuard)        \
    OP (102, OnSelector102, Guarded, NoGuard)               \
    OP (103, OnSelector103, Guarded, NoGuard)               \
    OP (104, OnSelector104, Guarded, NoGuard)               \
    OP (105, OnSelector105, GuardedAbove99, NoGuard)        \
    OP (108, GetInfoString, Guarded, NoGuard)               \
    OP (109, GetControlDefaultValue, Guarded, Guard)        \
    OP (110, GetChangeCount, Guarded, Guard)                \
    OP (111, SetTimeCodeInfo, Guarded, Guard)               \
    NO_OP (112, NoOperation<3>)                             \
    NO_OP (113, NoOperation<4>)                             \
    NO_OP (114, NoOperation<4>)                             \
    NO_OP (115, NoOperation<3>)                             \
    NO_OP (116, NoOperation<4>)                             \
    NO_OP (117, NoOperation<4>)                             \
    NO_OP (118, NoOperation<3>)                             \
    NO_OP (119, NoOperation<3>)                             \
    OP (120, GetPageCount, Guarded, NoGuard)                \
    OP (121, CallWithProcessSpecifier, Guarded, NoGuard)    \
    OP (122, OnSelector122, Guarded, Guard)                 \
    OP (123, OnSelector123, Guarded, Guard)                 \
    OP (124, OnSelector124, Guarded, Guard)                 \
    OP (125, OnSelector125, Guarded, Guard)                 \
    OP (126, GetControlHighlight, Guarded, Guard)           \
    OP (127, SetControlHighlightInfo, Guarded, Guard)       \
    OP (128, RestoreControlsFromChunk, Guarded, NoGuard)    \
    OP (129, HasPageLayout, Guarded, NoGuard)               \
    OP (130, SetOwnerValue, Guarded, Guard)                 \
    OP (131, CallWithControlSpecifierA, Guarded, NoGuard)   \
    OP (132, GetMasterBypassControlIndex, Guarded, NoGuard) \
    OP (133, OnSelector133, Guarded, Guard)                 \
    OP (134, OnSelector134, Guarded, Guard)                 \
    OP (135, GetBypassIndexIfCardFlag, Guarded, Guard)      \
    OP (136, GetInfo2, Guarded, NoGuard)                    \
    OP (137, GetStemFormats, Guarded, Guard)                \
    OP (138, CallWithStemSpecifiers, Guarded, NoGuard)      \
    OP (139, SetPlugInSpec, Guarded, Guard)                 \
    OP (140, GetPlugInSpec, Guarded, Guard)                 \
    OP (141, OnSelector141, Guarded, Guard)                 \
    OP (142, OnSelector142, Guarded, Guard)                 \
    OP (143, OnSelector143, Guarded, Guard)                 \
    OP (144, ReleaseDirectMIDI, GuardedAbove99, Guard)      \
    OP (145, GetLatency, Guarded, Guard)                    \
    OP (146, GetMeterOrientation, Guarded, Guard)           \
    OP (147, GetNumMetersOfType, Guarded, Guard)            \
    OP (148, GetMeterIndexOfType, Guarded, Guard)           \
    OP (149, IsClipped, Guarded, Guard)                     \
    OP (150, ClearClipIndicators, Guarded, Guard)           \
    OP (151, OnSelector151, Guarded, Guard)                 \
    OP (152, OnSelector152, Guarded, Guard)                 \
    OP (153, OnSelector153, Guarded, Guard)                 \
    OP (154, OnSelector154, Guarded, Guard)                 \
    OP (155, OnSelector155, Guarded, Guard)                 \
    OP (156, SetControlSpecial, Guarded, Guard)             \
    OP (157, OnSelector157, Guarded, Guard)                 \
    OP (158, GetNumConnectionInfos, Guarded, Guard)         \
    OP (159, GetConnectionInfo, Guarded, Guard)             \
    OP (160, OnSelector160, Guarded, Guard)                 \
    OP (161, OnSelector161, Guarded, Guard)                 \
    OP (162, OnSelector162, Guarded, Guard)                 \
    OP (163, OnSelector163, Guarded, Guard)                 \
    OP (164, OnSelector164, Guarded, Guard)                 \
    OP (165, OnSelector165, Guarded, Guard)                 \
    OP (166, OnSelector166, Guarded, Guard)                 \
    OP (167, OnSelector167, Guarded, Guard)                 \
    OP (168, OnSelector168, Guarded, Guard)                 \
    OP (169, OnSelector169, Guarded, Guard)                 \
    OP (170, OnSelector170, Guarded, Guard)                 \
    OP (171, OnSelector171, Guarded, Guard)                 \
    OP (172, GetUnknown, Guarded, Guard)                    \
    OP (173, OnSelector173, Guarded, Guard)

PlugInRoutinePtr RoutineOf (uint32_t selector)
{
    switch (selector)
    {
#define KESTRUNE_OPERATION_CASE(selector, operation, form, guard) \
    case selector:                                                \
        return GroupRoutine<&CProcessGroupInterface::operation, form, guard>::Address();
#define KESTRUNE_NO_OPERATION_CASE(selector, ...) \
    case selector: return __VA_ARGS__::Address();
        KESTRUNE_RTAS_ROUTINE_TABLE (KESTRUNE_OPERATION_CASE, KESTRUNE_NO_OPERATION_CASE)
#undef KESTRUNE_OPERATION_CASE
#undef KESTRUNE_NO_OPERATION_CASE
        default: return nullptr;
    }
}
}

int32_t _PI_GetRoutineDescriptor (uint32_t selector, PlugInRoutinePtr* routine)
{
    if (routine == nullptr)
        return kNoRoutine;
    *routine = nullptr;
    if (ModuleAttachFailed())
        return kNoRoutine;
    *routine = RoutineOf (selector);
    return *routine != nullptr ? 0 : kNoRoutine;
}
