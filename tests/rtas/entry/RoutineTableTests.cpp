// The 174 selectors of the routine table, checked against a table of their own: which have a
// routine, which group operation each reaches with which host arguments, when it takes the
// group's lock, and which code each kind of exception becomes.

#include "RecordingGroup.h"
#include "TestGroupFactory.h"

#include "entry/GroupFunctions.h"
#include "entry/PlugInGroup.h"
#include "entry/RoutineTable.h"
#include "process/utilities/HostExtToolbox.h"

#include <HostExtControl.h>
#include <PlugInLoader.h>

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

namespace
{

using kestrune::host::rtas::callPlugInRoutine;

// When the routine brackets its operation with the group's lock (never at host level 0).
enum Bracket
{
    Always, // at every nonzero level
    Above98, // at levels of 99 and more
    Above99 // at levels of 100 and more
};

struct OperationSelector
{
    uint32_t selector;
    const char* reaches; // the virtual operation of the group that the routine ends in
    size_t hostWords;
    Bracket bracket;
};

// From the host's selectors and the operations' argument lists.
// clang-format off
const std::vector<OperationSelector> kOperationSelectors = {
    { 0, "InvalidateView", 3, Above98 }, { 1, "HandleViewClick", 3, Always }, { 2, "HandleViewEvent", 4, Always },
    { 3, "Idle", 3, Always }, { 4, "GetViewRect", 3, Always }, { 5, "GetTypeName", 3, Always },
    { 6, "GetTypeIDsByIndex", 4, Always }, { 7, "SetSampleRate", 1, Always }, { 8, "ActivateView", 2, Always },
    { 9, "DeactivateView", 2, Always }, { 10, "OnSelector10", 3, Always }, { 12, "GetGroupName", 2, Always },
    { 14, "SetHostCallback", 1, Always }, { 15, "OnSelector15", 3, Always }, { 16, "OnSelector16", 0, Always },
    { 17, "OnSelector17", 3, Always }, { 18, "OnSelector18", 0, Always }, { 19, "CreateProcess", 2, Always },
    { 20, "DeleteProcess", 2, Always }, { 22, "GetNumTypes", 1, Always }, { 23, "SetOptionA", 3, Always },
    { 24, "SetOptionB", 3, Always }, { 25, "OnSelector25", 2, Always }, { 27, "IsInputConnected", 4, Always },
    { 28, "CanConnectOutput", 4, Always }, { 29, "IsOutputConnected", 4, Always }, { 30, "NotifyDSPConnect", 4, Always },
    { 31, "NotifyDSPConnectOutput", 4, Always }, { 32, "NotifyDSPDisconnectInput", 3, Always },
    { 33, "NotifyDSPDisconnectOutput", 3, Always }, { 35, "GetInfo", 2, Always }, { 36, "OnSelector36", 5, Always },
    { 37, "OnSelector37", 5, Always }, { 38, nullptr, 1, Always }, { 39, "SetMasterBypass", 4, Always },
    { 40, "GetNumControls", 3, Always }, { 41, "IsControlAutomatable", 4, Always }, { 42, "GetControlStepCount", 4, Always },
    { 44, "GetControlName", 4, Always }, { 45, "GetControlValue", 4, Always }, { 46, "SetControlValue", 4, Always },
    { 47, "SetViewPort", 3, Above98 }, { 48, "MoveViewTo", 3, Always }, { 49, "OnSelector49", 4, Always },
    { 50, "OnSelector50", 4, Always }, { 51, "IsMasterBypassed", 4, Always }, { 52, "QueryOption", 4, Always },
    { 53, "GetNumMeters", 3, Always }, { 54, "GetMeterValues", 4, Always }, { 55, "OnSelector55", 4, Always },
    { 59, "OnSelector59", 5, Always }, { 62, "GetNumChunks", 3, Always }, { 63, "GetChunkID", 4, Always },
    { 64, "GetChunkName", 4, Always }, { 65, "GetChunkSize", 4, Always }, { 66, "GetChunk", 4, Always },
    { 67, "SetChunk", 4, Always }, { 68, "MatchPlugInSpec", 3, Always }, { 69, "OnSelector69", 1, Always },
    { 70, "OnSelector70", 1, Always }, { 71, "OnSelector71", 4, Always }, { 72, "OnSelector72", 1, Always },
    { 73, "OnSelector73", 4, Always }, { 74, "OnSelector74", 4, Always }, { 75, "OnSelector75", 0, Above99 },
    { 79, "OnSelector79", 2, Always }, { 80, "GetLatencyShort", 3, Always }, { 81, "IncrementControlValue", 4, Always },
    { 82, "GetControlHostHint1", 4, Always }, { 85, "GetInstanceNameID", 3, Always }, { 86, "GetControlNameID", 4, Always },
    { 87, "GetControlIndexAtPoint", 4, Always }, { 88, "GetControlValueKind", 4, Always },
    { 89, "GetControlHostHint2", 4, Always }, { 90, "GetControlText", 6, Always }, { 91, "EnableType", 1, Always },
    { 92, "OnSelector92", 2, Always }, { 93, "GetCardInfo", 3, Always }, { 94, "GetStreamFormat", 5, Always },
    { 95, "CheckStreamFormat", 5, Always }, { 96, "OnSelector96", 6, Always }, { 97, "OnSelector97", 7, Always },
    { 99, "UpdateControlValue", 4, Always }, { 100, "IncrementControlValueDirect", 4, Always },
    { 101, "GetDefaultStreamInfo", 2, Always }, { 102, "OnSelector102", 4, Always }, { 103, "OnSelector103", 5, Always },
    { 104, "OnSelector104", 3, Always }, { 105, "OnSelector105", 3, Above99 }, { 108, "GetInfoString", 4, Always },
    { 109, "GetControlDefaultValue", 4, Always }, { 110, "GetChangeCount", 3, Always }, { 111, "SetTimeCodeInfo", 1, Always },
    { 120, "GetPageCount", 4, Always }, { 121, "GetPageControl", 6, Always }, { 122, "OnSelector122", 2, Always },
    { 123, "OnSelector123", 4, Always }, { 124, "OnSelector124", 4, Always }, { 125, "OnSelector125", 1, Always },
    { 126, "GetControlHighlight", 5, Always }, { 127, "SetControlHighlightInfo", 5, Always },
    { 128, "RestoreControlsFromChunk", 4, Always }, { 129, "HasPageLayout", 4, Always }, { 130, "SetOwnerValue", 3, Always },
    { 131, "GetControlNameToFit", 7, Always }, { 132, "GetMasterBypassControlIndex", 3, Always },
    { 133, "OnSelector133", 5, Always }, { 134, "OnSelector134", 3, Always }, { 135, "GetBypassIndexIfCardFlag", 4, Always },
    { 136, "GetInfo2", 4, Always }, { 137, "GetStemFormats", 3, Always }, { 138, "MatchPlugInSpecStems", 6, Always },
    { 139, "SetPlugInSpec", 3, Always }, { 140, "GetPlugInSpec", 3, Always }, { 141, "OnSelector141", 5, Always },
    { 142, "OnSelector142", 5, Always }, { 143, "OnSelector143", 4, Always }, { 144, "ReleaseDirectMIDI", 2, Above99 },
    { 145, "GetLatency", 3, Always }, { 146, "GetMeterOrientation", 4, Always }, { 147, "GetNumMetersOfType", 4, Always },
    { 148, "GetMeterIndexOfType", 5, Always }, { 149, "IsClipped", 3, Always }, { 150, "ClearClipIndicators", 2, Always },
    { 151, "OnSelector151", 4, Always }, { 152, "OnSelector152", 4, Always }, { 153, "OnSelector153", 3, Always },
    { 154, "OnSelector154", 4, Always }, { 155, "OnSelector155", 4, Always }, { 156, "SetControlSpecial", 6, Always },
    { 157, "OnSelector157", 4, Always }, { 158, "GetNumConnectionInfos", 3, Always }, { 159, "GetConnectionInfo", 4, Always },
    { 160, "OnSelector160", 5, Always }, { 161, "OnSelector161", 3, Always }, { 162, "OnSelector162", 5, Always },
    { 163, "OnSelector163", 2, Always }, { 164, "OnSelector164", 4, Always }, { 165, "OnSelector165", 3, Always },
    { 166, "OnSelector166", 4, Always }, { 167, "OnSelector167", 3, Always }, { 168, "OnSelector168", 3, Always },
    { 169, "OnSelector169", 4, Always }, { 170, "OnSelector170", 5, Always }, { 171, "OnSelector171", 3, Always },
    { 172, "GetUnknown", 3, Always }, { 173, "OnSelector173", 2, Always },
};
// clang-format on

struct EmptySelector
{
    uint32_t selector;
    size_t hostWords;
};

// clang-format off
const std::vector<EmptySelector> kEmptySelectors = {
    { 43, 4 }, { 56, 1 }, { 57, 1 }, { 58, 1 }, { 76, 2 }, { 77, 1 }, { 78, 2 }, { 83, 1 }, { 84, 2 },
    { 98, 5 }, { 112, 3 }, { 113, 4 }, { 114, 4 }, { 115, 3 }, { 116, 4 }, { 117, 4 }, { 118, 3 }, { 119, 3 },
};
// clang-format on

const std::set<uint32_t> kWithoutRoutine = { 11, 13, 21, 26, 34, 60, 61, 106, 107 };

// Selectors whose routine answers 0 rather than the operation's result: 14 and 38 store a
// value; 73 and 74 store the operation's result through their fourth word.
const std::set<uint32_t> kAnswerZero = { 14, 38, 73, 74 };

std::vector<uint8_t> gRequestBlock;

int16_t __attribute__ ((stdcall)) KeepRequestBlock (int16_t, ComponentRecord*, char** data)
{
    gRequestBlock.assign (*data, *data + 12);
    return 0;
}

uint32_t Word (const void* pointer)
{
    return uint32_t (reinterpret_cast<uintptr_t> (pointer));
}

class RoutineTable : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gTestGroupFactory = [this] { group = new RecordingGroup(); return group; };
        ASSERT_EQ (NewPlugIn (0), 0);
    }

    void TearDown() override
    {
        DestroyPlugInGroup();
        gTestGroupFactory = nullptr;
        gHostLevel = 99;
    }

    static PlugInRoutinePtr RoutineOf (uint32_t selector)
    {
        PlugInRoutinePtr routine = nullptr;
        EXPECT_EQ (_PI_GetRoutineDescriptor (selector, &routine), 0) << selector;
        return routine;
    }

    // Distinct host words 0x11, 0x12, ...; the fourth of 73 and 74 points at `out`.
    std::vector<uint32_t> WordsFor (const OperationSelector& s)
    {
        std::vector<uint32_t> words;
        for (size_t i = 0; i < s.hostWords; ++i)
            words.push_back (uint32_t (0x11 + i));
        if (s.selector == 73 || s.selector == 74)
            words[3] = Word (&out);
        return words;
    }

    int32_t Call (const OperationSelector& s)
    {
        group->operations.clear();
        return callPlugInRoutine (RoutineOf (s.selector), WordsFor (s));
    }

    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        for (const auto& operation : group->operations)
            names.push_back (operation.name);
        return names;
    }

    RecordingGroup* group = nullptr;
    int32_t out = 0;
};

TEST_F (RoutineTable, EverySelectorHasARoutineExceptTheNineAndThoseAbove173)
{
    std::set<uint32_t> covered (kWithoutRoutine);
    for (const auto& s : kOperationSelectors)
        EXPECT_TRUE (covered.insert (s.selector).second) << s.selector;
    for (const auto& s : kEmptySelectors)
        EXPECT_TRUE (covered.insert (s.selector).second) << s.selector;
    ASSERT_EQ (covered.size(), 174u);
    EXPECT_EQ (*covered.rbegin(), 173u);
    EXPECT_EQ (kOperationSelectors.size() + kEmptySelectors.size(), 165u);

    const PlugInRoutinePtr stale = reinterpret_cast<PlugInRoutinePtr> (&Word);
    for (uint32_t selector = 0; selector < 180; ++selector)
    {
        PlugInRoutinePtr routine = stale;
        const int32_t result = _PI_GetRoutineDescriptor (selector, &routine);
        const bool has = selector < 174 && kWithoutRoutine.count (selector) == 0;
        EXPECT_EQ (result, has ? 0 : -9007) << selector;
        EXPECT_EQ (routine != nullptr, has) << selector;
    }
    PlugInRoutinePtr routine = stale;
    EXPECT_EQ (_PI_GetRoutineDescriptor (0xFFFFFFFFu, &routine), -9007);
    EXPECT_EQ (routine, nullptr);
    EXPECT_EQ (_PI_GetRoutineDescriptor (0, nullptr), -9007) << "nowhere to store the routine";
}

TEST_F (RoutineTable, EachRoutineReachesItsOperationWithTheHostsArguments)
{
    gHostLevel = 0;
    for (const auto& s : kOperationSelectors)
    {
        SCOPED_TRACE (s.selector);
        group->result = int32_t (1000 + s.selector);
        out = 0;
        const int32_t result = Call (s);
        EXPECT_EQ (result, kAnswerZero.count (s.selector) ? 0 : group->result);
        if (s.reaches == nullptr)
        {
            EXPECT_TRUE (group->operations.empty());
            continue;
        }
        ASSERT_EQ (group->operations.size(), 1u);
        EXPECT_EQ (group->operations[0].name, s.reaches);
        std::vector<int64_t> expected;
        for (const uint32_t word : WordsFor (s))
            expected.push_back (word);
        if (s.selector == 73 || s.selector == 74)
        {
            expected.resize (3);
            EXPECT_EQ (out, group->result) << "the operation's result is stored through the fourth word";
        }
        EXPECT_EQ (group->operations[0].arguments, expected);
    }
}

TEST_F (RoutineTable, SelectorsWithoutAnOperationTakeTheirWordsAndTouchNothing)
{
    for (const auto& s : kEmptySelectors)
    {
        SCOPED_TRACE (s.selector);
        uint8_t flag = 0x5A;
        std::vector<uint32_t> words (s.hostWords, 0x33);
        if (s.selector == 98)
            words[3] = Word (&flag);
        group->operations.clear();
        EXPECT_EQ (callPlugInRoutine (RoutineOf (s.selector), words), 0);
        EXPECT_TRUE (group->operations.empty());
        EXPECT_EQ (flag, s.selector == 98 ? 0 : 0x5A);
    }
    EXPECT_EQ (callPlugInRoutine (RoutineOf (98), { 1, 2, 3, 0, 5 }), 0) << "a null flag is not written through";
}

TEST_F (RoutineTable, TheHostLevelChoosesWhichRoutinesTakeTheGroupsLock)
{
    for (const int32_t level : { 0, 98, 99, 100 })
    {
        for (const auto& s : kOperationSelectors)
        {
            SCOPED_TRACE (testing::Message() << "level " << level << " selector " << s.selector);
            gHostLevel = level;
            Call (s);
            const bool bracketed = level != 0 && (s.bracket == Always || (s.bracket == Above98 && level > 98) || (s.bracket == Above99 && level > 99));
            std::vector<std::string> expected;
            if (s.reaches != nullptr)
                expected.push_back (s.reaches);
            if (bracketed)
            {
                expected.insert (expected.begin(), "Lock");
                expected.push_back ("Unlock");
            }
            EXPECT_EQ (Names(), expected);
            EXPECT_EQ (group->depth, 0);
        }
    }
}

TEST_F (RoutineTable, EachKindOfExceptionBecomesItsCodeAndTheLockIsReleased)
{
    const std::pair<ThrownKind, int32_t> kinds[] = {
        { ThrownKind::kOutOfMemory, -9006 },
        { ThrownKind::kLibraryError, kThrownLibraryCode },
        { ThrownKind::kLibraryErrorZero, -7401 },
        { ThrownKind::kLibraryErrorTooWide, -7401 },
        { ThrownKind::kContainerError, -7401 },
        { ThrownKind::kOtherError, -7401 },
    };
    gHostLevel = 100;
    for (const auto& [kind, code] : kinds)
        for (const auto& s : kOperationSelectors)
        {
            if (s.reaches == nullptr)
                continue;
            SCOPED_TRACE (testing::Message() << "selector " << s.selector << " code " << code);
            group->thrown = kind;
            EXPECT_EQ (Call (s), code);
            EXPECT_EQ (Names().back(), "Unlock");
            EXPECT_EQ (group->depth, 0);
        }
}

TEST_F (RoutineTable, WithoutAGroupEveryRoutineAnswersMinus7003)
{
    DestroyPlugInGroup();
    group = nullptr;
    gHostLevel = 99;
    for (const auto& s : kOperationSelectors)
        EXPECT_EQ (callPlugInRoutine (RoutineOf (s.selector), WordsFor (s)), -7003) << s.selector;
}

TEST_F (RoutineTable, NarrowArgumentsReachTheOperationInTheirDeclaredWidths)
{
    gHostLevel = 0;
    group->operations.clear();
    callPlugInRoutine (RoutineOf (96), { 0x11, 0x12, 0x12345678, 0x0000FFFF, 0x7FFF8000, 0x16 });
    ASSERT_EQ (group->operations.size(), 1u);
    EXPECT_EQ (group->operations[0].arguments, (std::vector<int64_t> { 0x11, 0x12, 0x5678, -1, -32768, 0x16 }));

    group->operations.clear();
    callPlugInRoutine (RoutineOf (69), { 0x1234 });
    ASSERT_EQ (group->operations.size(), 1u);
    EXPECT_EQ (group->operations[0].arguments, (std::vector<int64_t> { 0x34 }));
}

TEST_F (RoutineTable, TheHostContextOfSelector38TravelsInTheHostsRequests)
{
    gHostLevel = 0;
    KestruneHostExtStandIn()->reset();
    ASSERT_TRUE (InstallHostToolbox());
    int context = 0;
    ASSERT_EQ (callPlugInRoutine (RoutineOf (38), { Word (&context) }), 0);
    group->CProcessGroupInterface::SetHostCallback (&KeepRequestBlock);
    ASSERT_EQ (group->CProcessGroupInterface::HostRequest11 (1, 2), 0);
    gHostCallback = nullptr;
    ReleaseHostToolbox();
    uint32_t stored = 0;
    std::memcpy (&stored, gRequestBlock.data() + 8, 4);
    EXPECT_EQ (stored, Word (&context));
}

int32_t __attribute__ ((stdcall)) TakesItsOneWord (uint32_t word)
{
    return int32_t (word) + 1;
}

int32_t __attribute__ ((cdecl)) LeavesItsWord (uint32_t word)
{
    return int32_t (word) + 2;
}

TEST (LoaderHarness, ARoutineThatTakesTheWrongNumberOfWordsOffTheStackFails)
{
    const auto stdcallRoutine = reinterpret_cast<kestrune::host::rtas::PlugInRoutine> (&TakesItsOneWord);
    const auto cdeclRoutine = reinterpret_cast<kestrune::host::rtas::PlugInRoutine> (&LeavesItsWord);
    EXPECT_EQ (callPlugInRoutine (stdcallRoutine, { 40 }), 41);
    EXPECT_THROW (callPlugInRoutine (stdcallRoutine, { 40, 50 }), std::logic_error) << "one word too many for it";
    EXPECT_THROW (callPlugInRoutine (stdcallRoutine, {}), std::logic_error) << "it took a word it was not given";
    EXPECT_THROW (callPlugInRoutine (cdeclRoutine, { 40 }), std::logic_error) << "it left its word on the stack";
    EXPECT_EQ (callPlugInRoutine (stdcallRoutine, { 1 }), 2) << "the stack is whole again after a failed check";
}

// The group made and destroyed as for the routines, also when a check fails.
class GroupFunctions : public RoutineTable
{
};

TEST_F (GroupFunctions, APointArgumentIsKeptByValue)
{
    Point where { 3, 4 };
    S3ArgGroupFunc<uint32_t, int32_t, Point> function (&CProcessGroupInterface::MoveViewTo, 1, 2, where);
    where = Point { 30, 40 };
    EXPECT_EQ (RunGroupFuncUnguarded (function, 1), 0);
    ASSERT_EQ (group->operations.size(), 1u);
    EXPECT_EQ (group->operations[0].arguments[2], int64_t ((4u << 16) | 3u));
}

} // namespace
