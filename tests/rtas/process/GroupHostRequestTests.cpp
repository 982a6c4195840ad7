// The group's requests to the host through the engine's callback, and the yield of its lock.

#include "process/base/CDAEError.h"
#include "process/group/CProcessGroupInterface.h"
#include "process/group/HostRequests.h"
#include "process/utilities/HostExtToolbox.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

struct SeenRequest
{
    int16_t code;
    const ComponentRecord* component;
    std::vector<uint8_t> block;
    bool locked;
};

std::vector<SeenRequest> seen;
int16_t answer = 0;

int16_t __attribute__ ((stdcall)) HostCallback (int16_t code, ComponentRecord* component, char** block)
{
    kestrune::rtas::abi::HostExtRoutines toolbox;
    kestrune::rtas::abi::bindHostExtRoutines (GetModuleHandleA ("HostExt.dll"), toolbox);
    std::vector<uint8_t> bytes;
    if (block != nullptr)
        bytes.assign (*block, *block + toolbox.GetHandleSize (block));
    seen.push_back ({ code, component, bytes, KestruneHostExtStandIn()->isLocked (block) });
    return answer;
}

class MinimalGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
};

std::vector<uint8_t> Words (std::initializer_list<int32_t> words)
{
    std::vector<uint8_t> bytes (words.size() * 4);
    size_t at = 0;
    for (const int32_t w : words)
    {
        std::memcpy (bytes.data() + at, &w, 4);
        at += 4;
    }
    return bytes;
}

int32_t Address (const void* p)
{
    return int32_t (reinterpret_cast<uintptr_t> (p));
}

class GroupHostRequests : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.reset();
        toolbox.reset();
        seen.clear();
        answer = 0;
        gHostCallback = nullptr;
        ASSERT_TRUE (InstallHostToolbox());
    }
    void TearDown() override
    {
        gHostCallback = nullptr;
        ReleaseHostToolbox();
    }

    DaeControl& engine = *KestruneDaeStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<MinimalGroup> owned = std::make_unique<MinimalGroup>();
    MinimalGroup& group = *owned;
};

TEST_F (GroupHostRequests, WithoutTheHostCallbackEveryRequestAnswersMinus7175AndCallsNothing)
{
    int32_t out1 = 5, out2 = 6;
    EXPECT_EQ (group.HostRequest17 (&out1, &out2, 1, 2, 3, 4), -7175);
    EXPECT_EQ (group.HostRequest11 (1, 2), -7175);
    EXPECT_EQ (group.HostRequest12 (1, 2, 3, nullptr), -7175);
    EXPECT_EQ (group.HostRequest14 (1, 2), -7175);
    EXPECT_EQ (group.HostRequest19 (1, 2, 3), -7175);
    EXPECT_EQ (group.HostRequest20 (1, 2), -7175);
    EXPECT_EQ (group.RegisterHostRequest15 (nullptr, nullptr), -7175);
    EXPECT_TRUE (toolbox.script().calls().empty());
    EXPECT_TRUE (engine.script().calls().empty());
    EXPECT_EQ (out1, 0);
    EXPECT_EQ (out2, 0);
}

TEST_F (GroupHostRequests, EachRequestSendsItsBlockAndAnswersTheHostsResult)
{
    EXPECT_EQ (group.SetHostCallbackEntry (&HostCallback), 0);
    EXPECT_EQ (CProcessGroupInterface::GetHostCallback(), &HostCallback);
    int context = 0;
    EXPECT_EQ (group.SetHostContext (&context), 0);
    int data = 0;
    void (*procedure) (void*) = [] (void*) {};

    struct Request
    {
        const char* name;
        std::function<int32_t()> send;
        int16_t code;
        std::vector<uint8_t> block;
    };
    const std::vector<Request> requests = {
        { "11", [&] { return group.HostRequest11 (-1, 2); }, 11, Words ({ -1, 2, Address (&context) }) },
        { "12", [&] { return group.HostRequest12 (3, 4, 5, &data); }, 12, Words ({ 3, 4, 5, Address (&data) }) },
        { "14", [&] { return group.HostRequest14 (6, 7); }, 14, Words ({ 6, 7, 0, 0 }) },
        { "19", [&] { return group.HostRequest19 (8, 9, 10); }, 19, Words ({ 8, 9, 10, 0 }) },
        { "20", [&] { return group.HostRequest20 (11, 12); }, 20, Words ({ 11, 12, 0, 0 }) },
        { "15", [&] { return group.RegisterHostRequest15 (procedure, &data); }, 15,
          Words ({ Address (reinterpret_cast<const void*> (procedure)), Address (&data) }) },
    };
    for (const Request& request : requests)
    {
        SCOPED_TRACE (request.name);
        seen.clear();
        toolbox.script().clearCalls();
        answer = -1234;
        EXPECT_EQ (request.send(), -1234);
        ASSERT_EQ (seen.size(), 1u);
        EXPECT_EQ (seen[0].code, request.code);
        EXPECT_EQ (seen[0].component, nullptr);
        EXPECT_TRUE (seen[0].locked);
        EXPECT_EQ (seen[0].block, request.block);
        EXPECT_EQ (toolbox.liveHandles(), 0u) << "the block is disposed of";
        EXPECT_EQ (toolbox.script().countOf ("MoveHHi"), request.code == 15 ? 1u : 0u);
    }
}

TEST_F (GroupHostRequests, Request17IsSentOnlyToFastHardwareElseRequest10WithoutTheShorts)
{
    group.SetHostCallback (&HostCallback);
    int context = 0;
    group.SetHostContext (&context);
    int32_t out1 = 5, out2 = 6;

    EXPECT_EQ (group.HostRequest17 (&out1, &out2, 0x11, 0x22, 0x33, 0x44), 0);
    ASSERT_EQ (seen.size(), 1u);
    EXPECT_EQ (seen[0].code, 10);
    EXPECT_EQ (seen[0].block, Words ({ Address (&out1), Address (&out2), Address (&context), 0, 0 }));
    EXPECT_EQ (out1, 0);
    EXPECT_EQ (out2, 0);

    seen.clear();
    engine.setGestalt (kFicGestaltFastHardware, 1);
    EXPECT_EQ (group.HostRequest17 (&out1, &out2, 0x11, 0x22, 0x33, 0x44), 0);
    ASSERT_EQ (seen.size(), 1u);
    EXPECT_EQ (seen[0].code, 17);
    const std::vector<uint8_t> shorts { 0x44, 0, 0x33, 0, 0x22, 0, 0x11, 0 };
    EXPECT_EQ (std::vector<uint8_t> (seen[0].block.begin() + 12, seen[0].block.end()), shorts) << "d, c, b, a";
    const auto names = toolbox.script().callNames();
    const auto moved = std::find (names.begin(), names.end(), "MoveHHi");
    ASSERT_NE (moved, names.end());
    EXPECT_NE (std::find (moved, names.end(), "HLock"), names.end()) << "moved high before it is locked";
}

TEST_F (GroupHostRequests, ABlockThatCannotBeMadeAnswersMinus7176)
{
    group.SetHostCallback (&HostCallback);
    toolbox.script().injectFailure ("NewHandleClear", -108);
    EXPECT_EQ (group.HostRequest11 (1, 2), -7176);
    EXPECT_TRUE (seen.empty());
}

TEST_F (GroupHostRequests, GroupClassesSendTheirOwnRequestsThroughTheSameSender)
{
    group.SetHostCallback (&HostCallback);
    const auto request13 = [] (HostRequestBlock& block) {
        block.Put32 (0, 21);
        block.Put32 (4, -22);
        block.Put32 (8, 23);
    };
    answer = -9;
    EXPECT_EQ (SendHostRequest (HostRequestCode::k13, 12, HostRequestBlockMove::kStays, request13), -9);
    ASSERT_EQ (seen.size(), 1u);
    EXPECT_EQ (seen[0].code, 13);
    EXPECT_EQ (seen[0].block, Words ({ 21, -22, 23 }));
    EXPECT_EQ (toolbox.liveHandles(), 0u);

    seen.clear();
    for (const int32_t offset : { -1, 9, 12, 0x7FFFFFFE })
    {
        SCOPED_TRACE (offset);
        try
        {
            SendHostRequest (HostRequestCode::k13, 12, HostRequestBlockMove::kStays, [offset] (HostRequestBlock& block) { block.Put32 (offset, 1); });
            ADD_FAILURE() << "a field outside the block is refused";
        }
        catch (const CDAEError& error)
        {
            EXPECT_EQ (error.Code(), -7401);
        }
        EXPECT_TRUE (seen.empty()) << "nothing is sent";
        EXPECT_EQ (toolbox.liveHandles(), 0u) << "the block is disposed of";
    }

    ReleaseHostToolbox();
    EXPECT_EQ (SendHostRequest (HostRequestCode::k13, 12, HostRequestBlockMove::kStays, request13), -7176)
        << "no block without the toolbox binding";
    EXPECT_TRUE (seen.empty());
}

// A group lock that counts its depth; Unlock at depth 0 does nothing.
class CountingLockGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    int32_t Lock() override
    {
        log.push_back ("Lock");
        return ++depth;
    }
    int32_t Unlock() override
    {
        log.push_back ("Unlock");
        if (depth > 0)
            --depth;
        return stuck ? 1 : depth;
    }

    int32_t depth = 0;
    bool stuck = false;
    std::vector<std::string> log;
};

TEST_F (GroupHostRequests, YieldLockReleasesEveryLevelYieldsOnceAndTakesTheLevelsAgain)
{
    CountingLockGroup locked;
    locked.depth = 3;
    EXPECT_EQ (locked.YieldLock(), 0);
    EXPECT_EQ (locked.depth, 3);
    EXPECT_EQ (locked.log, (std::vector<std::string> { "Lock", "Unlock", "Unlock", "Unlock", "Unlock", "Lock", "Lock", "Lock" }));
    EXPECT_EQ (toolbox.script().countOf ("EventAvail"), 1u);
    ASSERT_EQ (toolbox.script().callsOf ("EventAvail")[0].arguments[0], 0) << "an empty event mask";
}

TEST_F (GroupHostRequests, YieldLockReleasesNoMoreLevelsThanTheLockHeld)
{
    CountingLockGroup locked;
    locked.depth = 1;
    locked.stuck = true;
    locked.YieldLock();
    EXPECT_EQ (std::count (locked.log.begin(), locked.log.end(), "Unlock"), 2);

    MinimalGroup unlocked;
    EXPECT_EQ (unlocked.YieldLock(), 0) << "a group without a lock yields once and returns";
    EXPECT_EQ (toolbox.script().countOf ("EventAvail"), 2u);
}

} // namespace
