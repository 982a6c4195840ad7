// One DSP of a card on both roads: the same device traffic whether the driver's entry points or
// the host-port registers carry it, time-outs, attaching, code loading, the shell's release and
// the driver's callbacks.

#include "DSPCardFixture.h"

#include "process/base/CDAEError.h"
#include "process/dsp/CDSP.h"
#include "process/dsp/DSPCodeResources.h"
#include "process/dsp/DSPGroupRequests.h"
#include "process/dsp/DSPHostCallbacks.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace
{

using namespace dsptest;

constexpr int16_t kCodeID = 1000;
constexpr int32_t kCodeLength = 40; // fixtures/dspcode.bin
// 'HMkr'
constexpr uint32_t kShellID = 0x484D6B72;

HMODULE ThisProgram()
{
    return GetModuleHandleA (nullptr);
}

class DSPCard : public ::testing::Test
{
protected:
    void SetUp() override { PrepareHost(); }
    void TearDown() override
    {
        UnloadDSIEntryPoints();
        ReleaseHostToolbox();
        dsi.reset();
    }

    // A DSP with byte registers on a card of kind `kind`, its host port empty, the library bound
    // for the road.
    DSIDSPRecord* AddDSP (Road road, int32_t kind = 20)
    {
        DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (kind, 0));
        dsi.setHostBit (dsp, 2, 1);
        standardShell = dsi.addShell();
        BindRoad (road);
        return dsp;
    }

    DsiControl& dsi = *KestruneDsiStandIn();
    DSIShellRecord* standardShell = nullptr;
};

class DSPCardRoads : public DSPCard, public ::testing::WithParamInterface<Road>
{
};

// ---- One table of operations, the same traffic on both roads ----

struct TrafficCase
{
    const char* name;
    std::vector<int32_t> toHost; // words the DSP has for the host beforehand
    std::function<std::vector<int32_t> (CDSP&)> run; // the results to compare
    std::vector<int32_t> results;
    std::vector<DeviceEvent> traffic;
};

const std::vector<TrafficCase>& TrafficCases()
{
    // Command base 18: vector v travels as v + 18.
    static const std::vector<TrafficCase> cases = {
        { "HostCommand", {}, [] (CDSP& d) { return std::vector<int32_t> { d.HostCommand (5) }; }, { 0 }, { { Kind::Command, 23 } } },
        { "LargestVector", {}, [] (CDSP& d) { return std::vector<int32_t> { d.HostCommand (109) }; }, { 0 }, { { Kind::Command, 127 } } },
        { "HostCommandOnEmptyPort", {}, [] (CDSP& d) { return std::vector<int32_t> { d.HostCommandOnEmptyPort (2) }; }, { 0 }, { { Kind::Command, 20 } } },
        { "CommandThenData", { 1, 0x800000 }, [] (CDSP& d) {
             int32_t out[2] = {};
             const int32_t status = d.CommandThenData (3, 2, out, { 7, 0x1FFFFFF });
             return std::vector<int32_t> { status, out[0], out[1] };
         },
          { 0, 1, -8388608 },
          { { Kind::Command, 21 }, { Kind::WordToDSP, 7 }, { Kind::WordToDSP, 0xFFFFFF }, { Kind::WordToHost, 1 }, { Kind::WordToHost, -8388608 } } },
        { "DataThenCommand", { 5 }, [] (CDSP& d) {
             int32_t out = 0;
             const int32_t status = d.DataThenCommand (4, 1, &out, { 9 });
             return std::vector<int32_t> { status, out };
         },
          { 0, 5 },
          { { Kind::WordToDSP, 9 }, { Kind::Command, 22 }, { Kind::WordToHost, 5 } } },
        { "SendWord", {}, [] (CDSP& d) { return std::vector<int32_t> { d.SendWord (-2) }; }, { 0 }, { { Kind::WordToDSP, 0xFFFFFE } } },
        { "ReceiveWord", { 0x800001 }, [] (CDSP& d) { return std::vector<int32_t> { d.ReceiveWord() }; }, { -8388607 }, { { Kind::WordToHost, -8388607 } } },
        { "SendWords", {}, [] (CDSP& d) {
             const int32_t words[] = { 1, 2, 0x123456 };
             return std::vector<int32_t> { d.SendWords (words, 3) };
         },
          { 0 },
          { { Kind::WordToDSP, 1 }, { Kind::WordToDSP, 2 }, { Kind::WordToDSP, 0x123456 } } },
        { "ReceiveWords", { 4, 0xFFFFFF }, [] (CDSP& d) {
             int32_t words[2] = {};
             const int32_t status = d.ReceiveWords (words, 2);
             return std::vector<int32_t> { status, words[0], words[1] };
         },
          { 0, 4, -1 },
          { { Kind::WordToHost, 4 }, { Kind::WordToHost, -1 } } },
    };
    return cases;
}

TEST_P (DSPCardRoads, EveryOperationGivesTheSameDeviceTraffic)
{
    for (const TrafficCase& c : TrafficCases())
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        DSIDSPRecord* dsp = AddDSP (GetParam());
        CDSP object;
        object.Attach (dsp);
        ASSERT_EQ (object.UsesDriver(), GetParam() == Road::Driver);
        dsi.queueWordsToHost (dsp, c.toHost);
        EXPECT_EQ (c.run (object), c.results);
        EXPECT_EQ (dsi.traffic (dsp), c.traffic);
    }
}

TEST_P (DSPCardRoads, AVectorBeyondThePortsRangeGoesToTheDriverAsItIsAndIsRefusedOnTheRegisters)
{
    DSIDSPRecord* dsp = AddDSP (GetParam());
    CDSP object;
    object.Attach (dsp);
    const std::vector<int32_t> results { object.HostCommand (110), object.HostCommandOnEmptyPort (-19) };
    if (GetParam() == Road::Driver)
    {
        EXPECT_EQ (results, (std::vector<int32_t> { 0, 0 }));
        EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> { { Kind::Command, 128 }, { Kind::Command, -1 } }))
            << "vector + command base, unchanged";
    }
    else
    {
        EXPECT_EQ (results, (std::vector<int32_t> { -7401, -7401 })) << "the 7-bit register cannot carry them";
        EXPECT_TRUE (dsi.traffic (dsp).empty());
    }
}

TEST_F (DSPCard, SyncingTheRegistersReadsTheDSPsIndexLocationWhenTheDriverGivesOne)
{
    {
        DSIDSPRecord* dsp = AddDSP (Road::Registers);
        dsi.giveIndexLocation (dsp);
        CDSP object;
        object.Attach (dsp);
        const int attached = dsi.indexReads (dsp);
        EXPECT_GE (attached, 1) << "setting the port record syncs";
        object.SyncPort();
        EXPECT_EQ (dsi.indexReads (dsp), attached + 1);
        EXPECT_EQ (object.HostCommand (5), 0);
        EXPECT_GT (dsi.indexReads (dsp), attached + 1) << "a command syncs the port";
    }
    PrepareHost();
    DSIDSPRecord* without = AddDSP (Road::Registers);
    CDSP plain;
    plain.Attach (without);
    dsi.giveIndexLocation (without); // only after the attach: the object read none
    plain.SyncPort();
    EXPECT_EQ (dsi.indexReads (without), 0) << "without an index location the interrupt-vector register is read";
}

TEST_P (DSPCardRoads, ADeadDeviceTimesOutWithoutStaleWordsOrOverwrittenCommands)
{
    DSIDSPRecord* dsp = AddDSP (GetParam());
    CDSP object;
    object.Attach (dsp);
    dsi.queueWordsToHost (dsp, { 0x123 });
    dsi.setDead (dsp, true);

    EXPECT_EQ (object.ReceiveWord(), -1) << "no stale word";
    int32_t words[2] = { 7, 7 };
    EXPECT_NE (object.ReceiveWords (words, 2), 0);
    EXPECT_EQ (words[0], 7);
    EXPECT_NE (object.SendWord (5), 0);
    const int32_t first = object.HostCommand (5);
    const int32_t second = object.HostCommand (6);
    if (GetParam() == Road::Registers)
    {
        // The first command lands in the register and stays pending there; the second waits
        // for it in vain and writes nothing over it.
        EXPECT_EQ (first, 0);
        EXPECT_EQ (second, DSPError::kTimedOut);
        EXPECT_EQ (dsp->fInfo.fBytes[DSIHostPortBytes::kCommandVector], 0x97) << "5 + 18 + 128";
        EXPECT_EQ (object.HostCommandOnEmptyPort (1), DSPError::kTimedOut);
        EXPECT_EQ (object.SendWord (5), DSPError::kTimedOut);
    }
    else
    {
        EXPECT_EQ (first, kDsiTimeout);
        EXPECT_EQ (second, kDsiTimeout);
    }
    dsi.setDead (dsp, false);
    EXPECT_EQ (dsi.hostCommands (dsp), GetParam() == Road::Registers ? std::vector<int32_t> { 23 } : std::vector<int32_t> {})
        << "back to life, the device takes only the command that was pending";
    EXPECT_EQ (object.ReceiveWord(), 0x123);
}

TEST_P (DSPCardRoads, WithoutADSPNothingHappens)
{
    AddDSP (GetParam());
    CDSP object;
    int32_t word = 3;
    EXPECT_EQ (object.HostCommand (1), DSPError::kNoDSP);
    EXPECT_EQ (object.CommandThenData (1, 1, &word, { 2 }), DSPError::kNoDSP);
    EXPECT_EQ (object.SendWord (1), DSPError::kNoDSP);
    EXPECT_EQ (object.ReceiveWord(), -1);
    EXPECT_EQ (object.GetXWord (1, &word), DSPError::kNoDSP);
    EXPECT_NO_THROW (object.LoadDSPCode (ThisProgram(), kCodeID));
    EXPECT_NO_THROW (object.ReleaseShell());
    EXPECT_EQ (word, 3);
    EXPECT_TRUE (dsi.script().callsOf ("DsiLoadShell").empty());
}

// ---- Attaching ----

TEST_P (DSPCardRoads, AttachMakesOneShellAndTakesTheDriversOwnRegisters)
{
    // A card of kind 18 keeps the records in use, so the driver road meets kind 19.
    const bool registers = GetParam() == Road::Registers;
    DSIDSPRecord* dsp = AddDSP (GetParam(), registers ? 18 : 19);
    if (GetParam() == Road::Registers)
        dsp->fInfo.fBytes[DSIHostPortBytes::kControl] = 0x03;
    CDSP object;
    object.Attach (dsp);

    DSIShellRecord* shell = object.GetShell();
    ASSERT_NE (shell, nullptr);
    EXPECT_EQ (shell->fID, kShellID);
    EXPECT_EQ (shell->fIsStandard, 1);
    EXPECT_EQ (shell->fDSPCode, nullptr);
    EXPECT_EQ (shell->fMaxLocation, 0);
    EXPECT_EQ (shell->fHostCodeHandler, &DSPHostCodeHandler);
    EXPECT_EQ (object.IsCardType18(), registers);
    EXPECT_TRUE (object.IsCardType18Or19());
    int32_t word32 = 0;
    std::memcpy (&word32, dsp->fInfo.fBytes + 32, 4);
    EXPECT_EQ (object.GetFirstInfoWord(), word32);
    EXPECT_EQ (object.GetUserCount(), 0);

    if (GetParam() == Road::Registers)
    {
        EXPECT_EQ (object.GetPortRecord(), dsp->fInfo.fBytes) << "the driver's live record, not a copy";
        EXPECT_EQ (dsp->fInfo.fBytes[DSIHostPortBytes::kControl], 0x02) << "control bit 0 cleared";
    }
    else
    {
        EXPECT_EQ (object.GetPortRecord(), nullptr);
        EXPECT_EQ (dsi.liveShells(), 1u);
    }

    object.IncrementUserCount();
    object.Attach (dsp);
    EXPECT_EQ (object.GetUserCount(), 0);
    if (GetParam() == Road::Driver)
    {
        EXPECT_EQ (dsi.liveShells(), 1u) << "a second attach gives the first shell back";
    }
}

TEST_F (DSPCard, CardTypeFlags)
{
    const std::pair<int32_t, std::pair<bool, bool>> cases[] = { { 18, { true, true } }, { 19, { false, true } }, { 20, { false, false } } };
    for (const auto& [kind, flags] : cases)
    {
        PrepareHost();
        CDSP object;
        object.Attach (AddDSP (Road::Registers, kind));
        EXPECT_EQ (object.GetCardType(), kind);
        EXPECT_EQ (object.IsCardType18(), flags.first) << kind;
        EXPECT_EQ (object.IsCardType18Or19(), flags.second) << kind;
    }
}

// ---- Code loading ----

TEST_P (DSPCardRoads, LoadDSPCodeLoadsTheStandardShellsFirstThenOursAndFreesTheCopy)
{
    DSIDSPRecord* dsp = AddDSP (GetParam());
    CDSP object;
    object.Attach (dsp);
    object.LoadDSPCode (ThisProgram(), kCodeID);

    const ShellState state = dsi.shellState (dsp);
    ASSERT_EQ (state.loads.size(), 2u);
    EXPECT_EQ (state.loads[0].shell, standardShell);
    EXPECT_EQ (state.loads[1].shell, object.GetShell());
    EXPECT_EQ (state.loads[1].id, kShellID);
    EXPECT_TRUE (state.loads[1].hadCode);
    EXPECT_EQ (state.loads[1].firstCodeWord, kCodeLength) << "raw code: its length first";
    EXPECT_EQ (dsi.script().countOf ("ResetDSP"), 1u);
    EXPECT_EQ (dsp->fShell, object.GetShell());
    EXPECT_EQ (dsp->fClientValue, &object);
    EXPECT_EQ (object.GetShell()->fDSPCode, nullptr) << "the code copy is gone once loaded";

    // A DSP that runs the standard shells is not reset again.
    object.ReleaseShell();
    dsi.script().clearCalls();
    object.LoadDSPCode (ThisProgram(), kCodeID);
    EXPECT_EQ (dsi.script().countOf ("ResetDSP"), 0u);
    EXPECT_EQ (dsi.shellState (dsp).loads.size(), 4u);
}

struct LoadFailure
{
    const char* name;
    int16_t id;
    const char* failing;
    int skip;
    int32_t code;
    size_t loads;
};

TEST_F (DSPCard, CodeLoadingFailuresLeaveNoCodeCopyAndNoClient)
{
    const LoadFailure cases[] = {
        { "no code resource", 999, nullptr, 0, DSPError::kNoDSPCode, 0 },
        { "reset fails", kCodeID, "ResetDSP", 0, -6050, 0 },
        { "standard shells fail to load", kCodeID, "DsiLoadShell", 0, -6051, 0 },
        { "our shell fails to load", kCodeID, "DsiLoadShell", 1, -6052, 1 },
    };
    for (const LoadFailure& c : cases)
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        DSIDSPRecord* dsp = AddDSP (Road::Driver);
        CDSP object;
        object.Attach (dsp);
        if (c.failing != nullptr)
            dsi.script().injectFailure (c.failing, c.code, 1, c.skip);
        try
        {
            object.LoadDSPCode (ThisProgram(), c.id);
            ADD_FAILURE() << "loading must fail";
        }
        catch (const CDAEError& error)
        {
            EXPECT_EQ (error.Code(), c.code);
        }
        EXPECT_EQ (object.GetShell()->fDSPCode, nullptr);
        EXPECT_EQ (dsp->fClientValue, nullptr);
        EXPECT_EQ (dsi.shellState (dsp).loads.size(), c.loads);
    }
}

TEST_P (DSPCardRoads, ReleaseShellGivesTheDSPBackToTheStandardShells)
{
    DSIDSPRecord* dsp = AddDSP (GetParam());
    CDSP object;
    object.Attach (dsp);
    object.LoadDSPCode (ThisProgram(), kCodeID);
    dsi.setHostBit (dsp, 10, 1);
    object.ReleaseShell();
    EXPECT_EQ (dsp->fShell, standardShell);
    EXPECT_EQ (dsp->fClientValue, nullptr);
    EXPECT_EQ (dsi.hostBit (dsp, 10), GetParam() == Road::Driver ? 0 : 1) << "a byte control register has no bit 10";
}

TEST_F (DSPCard, DestroyingTheObjectReleasesItsShellAndItsClaimOnTheDSP)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    auto object = std::make_unique<CDSP>();
    object->Attach (dsp);
    object->LoadDSPCode (ThisProgram(), kCodeID);
    const DSIHostCallback getXWord = DSPHostCodeHandler (256);
    object.reset();
    EXPECT_EQ (dsp->fShell, standardShell);
    EXPECT_EQ (dsp->fClientValue, nullptr);
    EXPECT_EQ (dsi.liveShells(), 0u);

    // A callback that arrives late finds no object instead of a freed one.
    int32_t word = 0;
    EXPECT_EQ (reinterpret_cast<decltype (&SGetXWord)> (getXWord) (dsp, 1, &word), -7053);
    int notADSPObject = 0;
    dsp->fClientValue = &notADSPObject;
    EXPECT_EQ (reinterpret_cast<decltype (&SGetXWord)> (getXWord) (dsp, 1, &word), -7053);
}

TEST_F (DSPCard, FindFreeDSPSkipsDSPsWithAClient)
{
    DSICardRecord* card = dsi.addCard (20, 0);
    DSIDSPRecord* taken = dsi.addDSP (card);
    DSIDSPRecord* free = dsi.addDSP (card);
    int client = 0;
    taken->fClient = &client;
    BindRoad (Road::Driver);
    CDSP object;
    EXPECT_EQ (object.FindFreeDSP(), free);
    free->fClient = &client;
    EXPECT_EQ (object.FindFreeDSP(), nullptr);
}

// ---- The driver's callbacks ----

struct SelectorCase
{
    int16_t selector;
    const char* service; // the driver function the object calls; null: no callback
};

// clang-format off
const SelectorCase kSelectors[] = {
    { 255, nullptr },
    { 256, "SGetXWord" }, { 257, "SGetYWord" }, { 258, "SGetPWord" },
    { 259, "SChangeXBits" }, { 260, "SChangeYBits" }, { 261, "SChangePBits" },
    { 262, "SExecute" }, { 263, "SSetLeftRightBit" }, { 264, "SGetControlLatch" }, { 265, "SSetControlLatch" },
    { 266, "SInitShell" }, { 267, "SStartShell" }, { 268, "SPauseShell" }, { 269, "SResumeShell" },
    { 270, "SSetInputDelay" }, { 271, "SSetOutputDelay" }, { 272, "SUpdateDSPPeripheral" }, { 273, "SGetDSPCodeInfo" },
    { 274, nullptr }, { -1, nullptr }, { 0, nullptr },
};
// clang-format on

struct GroupCase
{
    const char* name;
    bool group;
    int32_t hostLevel;
};

TEST_F (DSPCard, EachSelectorReachesItsServiceAndOnlyTheMemoryServicesLockTheGroup)
{
    const GroupCase groups[] = { { "group, host level 99", true, 99 }, { "group, host level 0", true, 0 }, { "no group", false, 99 } };
    for (const GroupCase& g : groups)
    {
        SCOPED_TRACE (g.name);
        PrepareHost();
        DSIDSPRecord* dsp = AddDSP (Road::Driver);
        CDSP object;
        object.Attach (dsp);
        object.LoadDSPCode (ThisProgram(), kCodeID);
        std::unique_ptr<InstalledGroup> group = g.group ? std::make_unique<InstalledGroup> (g.hostLevel) : nullptr;
        if (! g.group)
            gHostLevel = g.hostLevel;

        for (const SelectorCase& c : kSelectors)
        {
            SCOPED_TRACE (c.selector);
            dsi.script().clearCalls();
            const int32_t locksBefore = group ? (**group).locks.load() : 0;
            const CallbackOutcome outcome = dsi.raiseHostCallback (dsp, c.selector, { 0x40, 0 });
            EXPECT_EQ (outcome.answered, c.service != nullptr);
            if (c.service == nullptr)
                continue;
            const auto calls = dsi.script().callsOf (c.service);
            ASSERT_EQ (calls.size(), 1u);
            EXPECT_EQ (calls[0].arguments.at (0), addressOf (dsp)) << "the service runs on the callback's DSP";
            const bool locks = g.group && g.hostLevel != 0 && c.selector <= 261;
            if (group)
            {
                EXPECT_EQ ((**group).locks.load() - locksBefore, locks ? 1 : 0);
                EXPECT_EQ ((**group).locks.load(), (**group).unlocks.load());
            }
        }
    }
}

// What happens to a group deleted while a callback holds its lock, in order, from both threads.
class GroupEvents
{
public:
    void Note (const std::string& event)
    {
        const std::lock_guard guard (fLock);
        fEvents.push_back (event);
    }
    bool Has (const std::string& event)
    {
        const std::lock_guard guard (fLock);
        return std::find (fEvents.begin(), fEvents.end(), event) != fEvents.end();
    }
    std::vector<std::string> Events()
    {
        const std::lock_guard guard (fLock);
        return fEvents;
    }

private:
    std::mutex fLock;
    std::vector<std::string> fEvents;
};

// How long one thread waits for the other to arrive; and how long an Unlock waits for a deletion
// that would not wait for the callback's use to begin under it.
constexpr auto kArrival = std::chrono::seconds (10);
constexpr auto kChanceToDelete = std::chrono::milliseconds (50);

// Waits for the condition for at most `timeout`; whether it came.
bool WaitUntil (const std::function<bool()>& condition, std::chrono::milliseconds timeout = kArrival)
{
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (! condition())
    {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for (std::chrono::milliseconds (1));
    }
    return true;
}

// A group whose Lock holds the callback until the group's deletion has begun, and whose Unlock
// waits a little, so that a deletion that did not wait for the callback's use would begin before
// it. Its end waits for an Unlock still to come, so that a late one reaches a group still whole.
class CDeletedWhileLockedGroup final : public CProcessGroupInterface
{
public:
    explicit CDeletedWhileLockedGroup (GroupEvents& events) : fEvents (events) {}
    ~CDeletedWhileLockedGroup() override
    {
        fEvents.Note ("destroyed");
        WaitUntil ([this] { return fEvents.Has ("Unlock"); });
    }

    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
    int32_t Lock() override
    {
        fEvents.Note ("Lock");
        fEvents.Note (WaitUntil (IsPlugInGroupBeingDestroyed) ? "deletion begun" : "no deletion");
        return 1;
    }
    int32_t Unlock() override
    {
        WaitUntil ([this] { return fEvents.Has ("destroyed"); }, kChanceToDelete);
        fEvents.Note ("Unlock");
        return 0;
    }

private:
    GroupEvents& fEvents;
};

TEST_F (DSPCard, AMemoryServiceHoldsOffTheGroupsDeletionUntilItHasUnlockedTheGroup)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    CDSP object;
    object.Attach (dsp);
    object.LoadDSPCode (ThisProgram(), kCodeID);
    const int32_t hostLevel = gHostLevel;
    gHostLevel = 99;
    for (const SelectorCase& c : kSelectors)
    {
        if (c.selector < 256 || c.selector > 261)
            continue;
        SCOPED_TRACE (c.selector);
        dsi.script().clearCalls();
        GroupEvents events;
        SetPlugInGroup (new CDeletedWhileLockedGroup (events));
        CallbackOutcome outcome;
        std::thread driver ([&] { outcome = dsi.raiseHostCallback (dsp, c.selector, { 0x40, 0 }); });
        EXPECT_TRUE (WaitUntil ([&] { return events.Has ("Lock"); })) << "the callback locks the group";
        DeletePlugInGroup();
        driver.join();
        EXPECT_EQ (events.Events(), (std::vector<std::string> { "Lock", "deletion begun", "Unlock", "destroyed" }))
            << "the deletion waits for the callback's use, which unlocks the group before it ends";
        EXPECT_TRUE (outcome.answered);
        EXPECT_EQ (outcome.result, 0);
        EXPECT_EQ (dsi.script().callsOf (c.service).size(), 1u);
        EXPECT_EQ (PlugInGroup(), nullptr);
    }
    gHostLevel = hostLevel;
}

TEST_F (DSPCard, ACallbackTurnsExceptionsIntoCodes)
{
    struct Throwing : CDSP
    {
        int16_t InitShell() override { throw CDAEError (-1234); }
        int16_t StartShell() override { throw std::runtime_error ("no"); }
    };
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    Throwing object;
    object.Attach (dsp);
    object.LoadDSPCode (ThisProgram(), kCodeID);
    EXPECT_EQ (dsi.raiseHostCallback (dsp, 266, {}).result, -1234);
    EXPECT_EQ (dsi.raiseHostCallback (dsp, 267, {}).result, -7401);
}

TEST_F (DSPCard, ShellServicesPassTheirArgumentsToTheDriver)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    CDSP object;
    object.Attach (dsp);
    dsi.setMemoryWord (dsp, MemorySpace::P, 0x10, 0x0F);
    int32_t word = 0;
    EXPECT_EQ (object.GetPWord (0x10, &word), 0);
    EXPECT_EQ (word, 0x0F);
    EXPECT_EQ (object.ChangePBits (0x10, 0x03, 0x30), 0);
    EXPECT_EQ (dsi.memoryWord (dsp, MemorySpace::P, 0x10), 0x3C);
    EXPECT_EQ (object.Execute (7), 0);
    EXPECT_EQ (object.SetInputDelay (12), 0);
    dsi.setCodeName (dsp, "Shell code");
    uint8_t name[256] = {};
    EXPECT_EQ (object.GetDSPCodeInfo (1, name), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "Shell code");
    dsi.script().injectFailure ("SResumeShell", -6060);
    EXPECT_EQ (object.ResumeShell(), -6060);
    const ShellState state = dsi.shellState (dsp);
    EXPECT_EQ (state.executed, (std::vector<int16_t> { 7 }));
    EXPECT_EQ (state.inputDelay, 12);
}

// ---- The group and the host ----

TEST_F (DSPCard, QueryGroupForDSPAsksTheModulesGroupOrAnswersMinus7026)
{
    int16_t out[8] = {};
    EXPECT_EQ (QueryGroupForDSP (5, 4, out), kNoGroupForDSP);
    InstalledGroup group (0);
    group->answer = -7000;
    EXPECT_EQ (QueryGroupForDSP (5, 4, out), -7000);
    EXPECT_EQ (group->askedFor, 5);
    EXPECT_EQ (group->askedKind, 4);
}

std::vector<int32_t> gRequestBlock;
int16_t gRequestAnswer = 0;
int32_t gResultToLeave = 0;

int16_t __attribute__ ((stdcall)) DriverTypeHost (int16_t code, ComponentRecord*, char** block)
{
    gRequestBlock = { code };
    int32_t words[2] = {};
    std::memcpy (words, *block, sizeof words);
    gRequestBlock.push_back (words[0]);
    auto* result = reinterpret_cast<int32_t*> (static_cast<uintptr_t> (uint32_t (words[1])));
    gRequestBlock.push_back (*result);
    *result = gResultToLeave;
    return gRequestAnswer;
}

TEST_F (DSPCard, TheDriverTypeRequestHandsTheHostAResultWord)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver, 21);
    try
    {
        RequestForDriverType (dsp);
        ADD_FAILURE() << "no host callback yet";
    }
    catch (const CDAEError& error)
    {
        EXPECT_EQ (error.Code(), -7175);
    }
    gHostCallback = &DriverTypeHost;
    gResultToLeave = 42;
    EXPECT_EQ (RequestForDriverType (dsp), 42);
    EXPECT_EQ (gRequestBlock, (std::vector<int32_t> { 15, 61072, 0 })) << "request 15: the driver type, then a result word that starts at 0";
    gRequestAnswer = -33;
    EXPECT_THROW (RequestForDriverType (dsp), CDAEError);
}

// ---- Code as the resources hold it ----

TEST_F (DSPCard, ResourcesBecomeCodeBlocks)
{
    const uint8_t seven[] = { 0x12, 0x34, 0x56, 0xAB, 0xCD, 0xEF, 0x99 };
    EXPECT_EQ (WordCodeBlock (kSACDResourceType, seven, 7), (DSPCodeBlock { 2, 0, 0x123456, 0xABCDEF })) << "the seventh byte is ignored";
    EXPECT_EQ (WordCodeBlock (0x44535057, seven, 6), (DSPCodeBlock { 2, 0, 0x563412, 0xEFCDAB })) << "other types: least significant first";
    EXPECT_EQ (WordCodeBlock (kSACDResourceType, seven, 2), (DSPCodeBlock { 0, 0 }));
    EXPECT_TRUE (WordCodeBlock (kSACDResourceType, seven, 0).empty());

    const uint8_t five[] = { 1, 2, 3, 4, 5 };
    DSPCodeBlock raw = RawCodeBlock (five, 5);
    ASSERT_EQ (raw.size(), 3u);
    EXPECT_EQ (raw[0], 5);
    EXPECT_EQ (std::memcmp (raw.data() + 1, five, 5), 0);
    EXPECT_EQ (reinterpret_cast<const uint8_t*> (raw.data() + 1)[7], 0) << "padded with zeros";

    EXPECT_EQ (LoadPlugInResourceAsWords (kSACDResourceType, 1000), (DSPCodeBlock { 2, 0, 0x123456, 0xABCDEF }));
    EXPECT_EQ (LoadPlugInResourceAsWords (0x44535057, 1000), (DSPCodeBlock { 2, 0, 0x563412, 0xEFCDAB }));
    EXPECT_TRUE (LoadPlugInResourceAsWords (kSACDResourceType, 4).empty());
    EXPECT_EQ (CountPlugInResources (kPenResourceType), 0);
    EXPECT_FALSE (CDSP::PlugInHasPenResources());
    EXPECT_NE (DSPHostCodeHandler (266), nullptr);

    uint32_t size = 0;
    EXPECT_NE (LoadModuleResource (ThisProgram(), kDSPCodeResourceType, kCodeID, &size), nullptr);
    EXPECT_EQ (size, uint32_t (kCodeLength));
    EXPECT_EQ (LoadModuleResource (ThisProgram(), kDSPCodeResourceType, 4, &size), nullptr);
}

INSTANTIATE_TEST_SUITE_P (BothRoads, DSPCardRoads, ::testing::Values (Road::Driver, Road::Registers), NameOf);

} // namespace
