// The DSP process group: its initialisation and what a failure of it leaves, the DSP objects it
// makes (and what a failure at each step leaves), the removal of idle DSP objects, load and cycle
// figures, its answers to the DSP code, its COM part and the host's DSP manager, and its
// destruction with live processes and DSP objects.

#include "DSPGroupTestSupport.h"
#include "ThrownCode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

class DSPProcessGroups : public DSPGroupFixture
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        record = dsi.addDSP (dsi.addCard (20, 0));
        otherRecord = dsi.addDSP (dsi.addCard (20, 0));
        Host().dsps = { Identifier (record), Identifier (otherRecord), Identifier (record) };
    }

    DSIDSPRecord* record = nullptr;
    DSIDSPRecord* otherRecord = nullptr;
};

// ---- Initialisation ----

TEST_F (DSPProcessGroups, InitialisationGivesEveryDSPTypeTheListsAndTheGroup)
{
    CInstanceType* plain = nullptr;
    group->addTypes = [&] (CTestDSPGroup& g) {
        g.AddProcessType (type = new CTestDSPType (&log));
        g.AddProcessType (plain = new CInstanceType);
    };
    Initialize();
    ASSERT_NE (group->GetDSPObjects(), nullptr);
    ASSERT_NE (group->GetCardKeys(), nullptr);
    ASSERT_NE (group->GetDSPRegistrations(), nullptr);
    EXPECT_EQ (type->GetDSPGroup(), group.get());
    EXPECT_EQ (type->GetAllocatedList(), group->GetCardKeys());
    EXPECT_EQ (type->GetShellList(), group->GetDSPRegistrations());
    EXPECT_EQ (type->GetDSPList(), group->GetDSPObjects());
    EXPECT_EQ (group->DSPTypes(), (std::vector<CDSPProcessType*> { type }));
    EXPECT_EQ (group->SupportsDSP(), 1);
    EXPECT_EQ (dsi.script().countOf ("InitSADriver"), 2u) << "the group starts the driver, and so does the binding's card search";
}

struct InitialiseFailureCase
{
    const char* what;
    std::function<void (CTestDSPGroup&, DsiControl&)> arrange;
    int32_t thrown;
};

TEST_F (DSPProcessGroups, AFailedInitialisationFreesTheListsAndIsThrown)
{
    const std::vector<InitialiseFailureCase> cases = {
        { "the driver does not start", [] (CTestDSPGroup&, DsiControl& d) { d.script().injectFailure ("InitSADriver", -6500); }, -6500 },
        { "a type cannot be made", [] (CTestDSPGroup& g, DsiControl&) { g.addTypes = [] (CTestDSPGroup&) { throw CDAEError (-7001); }; }, -7001 },
        { "a type is refused", [] (CTestDSPGroup& g, DsiControl&) { g.addTypes = [] (CTestDSPGroup& gg) { gg.AddProcessType (nullptr); }; }, 1 },
    };
    for (const InitialiseFailureCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        group = std::make_unique<CTestDSPGroup>();
        row.arrange (*group, dsi);
        EXPECT_EQ (ThrownAnything ([&] { group->Initialize(); }), row.thrown);
        EXPECT_EQ (group->GetDSPObjects(), nullptr);
        EXPECT_EQ (group->GetCardKeys(), nullptr);
        EXPECT_EQ (group->GetDSPRegistrations(), nullptr);
        group.reset();
    }
}

// ---- DSP objects ----

TEST_F (DSPProcessGroups, ADSPObjectIsMadeListedStartedAnnouncedAndLoaded)
{
    Initialize();
    group->option = 1001;
    CProcessDSP* dsp = reinterpret_cast<CProcessDSP*> (1);
    EXPECT_EQ (group->CreateProcessDSP (record, &dsp, 21, 22), 0);
    ASSERT_NE (dsp, nullptr);
    EXPECT_EQ (group->GetDSPObjects()->size(), 1u);
    EXPECT_EQ (dsp->GetDSP(), record);
    EXPECT_EQ (dsp->GetUserWord(), 22);
    EXPECT_EQ (log, (Log { "Attach", "LoadDSPCode 1001" }));
    const auto announced = Host().Seen (13);
    ASSERT_EQ (announced.size(), 1u);
    EXPECT_EQ (announced[0].words, (std::vector<int32_t> { 21, 22, Identifier (record) }));
}

struct CreateDSPFailureCase
{
    const char* what;
    std::function<void (CTestDSPGroup&, std::string&)> arrange;
    int32_t thrown;
    bool started;
};

TEST_F (DSPProcessGroups, AFailureWhileMakingADSPObjectLeavesNoObject)
{
    const std::vector<CreateDSPFailureCase> cases = {
        { "no object", [] (CTestDSPGroup& g, std::string&) { g.makeDSP = [] { return nullptr; }; }, -7053, false },
        { "it does not attach", [] (CTestDSPGroup&, std::string& f) { f = "Attach"; }, -7322, false },
        { "the host refuses it", [] (CTestDSPGroup&, std::string&) { Host().answers[13] = -9401; }, -9401, true },
        { "without the host's callback", [] (CTestDSPGroup&, std::string&) { gHostCallback = nullptr; }, -7175, true },
        { "its code does not load", [] (CTestDSPGroup&, std::string& f) { f = "LoadDSPCode"; }, -7322, true },
    };
    for (const CreateDSPFailureCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        group = std::make_unique<CTestDSPGroup>();
        group->makeDSP = [this] {
            auto dsp = std::make_unique<CRecordingDSP> (&log);
            dsp->failAt = dspFailAt;
            return dsp;
        };
        Initialize();
        host.emplace();
        dspFailAt.clear();
        group->option = 1001;
        row.arrange (*group, dspFailAt);
        hostext.script().clearCalls();
        CProcessDSP* dsp = reinterpret_cast<CProcessDSP*> (1);
        EXPECT_EQ (ThrownAnything ([&] { group->CreateProcessDSP (record, &dsp, 21, 22); }), row.thrown);
        EXPECT_EQ (dsp, nullptr);
        EXPECT_TRUE (group->GetDSPObjects()->empty());
        EXPECT_EQ (std::count (log.begin(), log.end(), "ReleaseShell"), row.started ? 1 : 0) << "a started object is torn down";
        EXPECT_EQ (hostext.script().countOf ("CloseResFile"), 0u) << "no resource file is popped";
        EXPECT_EQ (hostext.script().countOf ("UseResFile"), 0u);
        group.reset();
        SetPlugInGroup (nullptr);
    }
}

TEST_F (DSPProcessGroups, ACardOfNoKnownTypeGetsNoObject)
{
    Initialize();
    group->makeDSP = nullptr;
    DSIDSPRecord* unknown = dsi.addDSP (dsi.addCard (99, 0));
    CProcessDSP* dsp = nullptr;
    EXPECT_THROW (group->CreateProcessDSP (unknown, &dsp, 0, 0), std::runtime_error);
    EXPECT_TRUE (group->GetDSPObjects()->empty());
}

TEST_F (DSPProcessGroups, AfterADeleteTheDSPObjectsNoProcessUsesAreRemoved)
{
    Initialize();
    CTestDSPProcess& user = Create();
    CTestDSPProcess& other = Create();
    CProcessDSP* used = Allocate();
    CProcessDSP* idle = Allocate();
    ASSERT_EQ (user.AttachToDSP (used), 0);
    ASSERT_EQ (group->GetDSPObjects()->size(), 2u);
    log.clear();

    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, other.GetInstanceID()), 0);
    ASSERT_EQ (group->GetDSPObjects()->size(), 1u);
    EXPECT_EQ (group->GetDSPObjects()->front().get(), used);
    EXPECT_EQ (group->removed, (std::vector<CProcessDSP*> { idle }));
    EXPECT_EQ (std::count (log.begin(), log.end(), "ReleaseShell"), 1);
    const auto freed = Host().Seen (11);
    ASSERT_EQ (freed.size(), 1u) << "its DSP goes back to the host";
    EXPECT_EQ (freed[0].words[0], Identifier (otherRecord));
    EXPECT_EQ (*group->GetCardKeys(), (DSPIdentifierList { Identifier (record) }));
}

TEST_F (DSPProcessGroups, ANegativeUserCountStopsTheRemovalAfterTheProcessIsGone)
{
    Initialize();
    CTestDSPProcess& other = Create();
    CProcessDSP* broken = Allocate();
    Allocate();
    broken->DecrementUserCount();
    const int32_t id = other.GetInstanceID();
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, id), -7150);
    EXPECT_EQ (type->FindProcess (id), nullptr);
    EXPECT_EQ (group->GetDSPObjects()->size(), 2u) << "nothing removed";
}

TEST_F (DSPProcessGroups, TheRemovalAnswersTheFirstFailureAndStillRemovesEveryIdleObject)
{
    Initialize();
    CTestDSPProcess& other = Create();
    Allocate();
    Allocate();
    group->removedAnswer = -5;
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, other.GetInstanceID()), -5);
    EXPECT_TRUE (group->GetDSPObjects()->empty());
    EXPECT_EQ (group->removed.size(), 2u);
}

TEST_F (DSPProcessGroups, AnIdleObjectGoesBackThroughTheTypeThatMadeIt)
{
    CTestDSPType* maker = nullptr;
    group->addTypes = [&] (CTestDSPGroup& g) {
        g.AddProcessType (type = new CTestDSPType (&log));
        g.AddProcessType (maker = new CTestDSPType (&log, FourCharCode ("DSPm")));
    };
    Initialize();
    maker->mode = 2; // its DSPs carry masks, which its release clears
    CTestDSPProcess& leaving = Create();
    CProcessDSP* made = nullptr;
    ASSERT_EQ (maker->FindOrAllocateDSPGuarded (&made, 0), 0);
    EXPECT_EQ (group->DSPObjectType (made), maker);
    Host().seen.clear();

    group->removedAnswer = -6;
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, leaving.GetInstanceID()), -6) << "the removal's answer is the hook's";
    EXPECT_TRUE (group->GetDSPObjects()->empty());
    const auto masks = Host().Seen (19);
    ASSERT_EQ (masks.size(), 1u) << "released by the type that made it, not by the first type";
    EXPECT_EQ (std::vector<int32_t> (masks[0].words.begin(), masks[0].words.begin() + 3),
               (std::vector<int32_t> { Identifier (record), 0, 0 }));
    EXPECT_EQ (Host().Seen (11).size(), 1u);
    EXPECT_TRUE (group->GetCardKeys()->empty());
}

// ---- Figures ----

struct UsageCase
{
    std::vector<double> loads;
    int32_t percent;
};

TEST_F (DSPProcessGroups, TheUsageIsTheSummedLoadInWholePercentFrom0To100)
{
    Initialize();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::vector<UsageCase> cases = {
        { {}, 0 },
        { { 12.5 }, 13 },
        { { 100.0, 50.3 }, 100 },
        { { 12.4 }, 12 },
        { { -20.0 }, 0 },
        { { nan }, 0 },
        { { nan, 30.0 }, 30 },
        { { std::numeric_limits<double>::infinity() }, 100 },
    };
    Host().dsps.assign (20, Identifier (record));
    CProcessDSP* dsp = Allocate();
    for (const UsageCase& row : cases)
    {
        SCOPED_TRACE (::testing::PrintToString (row.loads));
        std::vector<int32_t> ids;
        for (const double load : row.loads)
        {
            CTestDSPProcess& process = Create();
            process.weight = load;
            ASSERT_EQ (process.AttachToDSP (dsp), 0);
            ids.push_back (process.GetInstanceID());
        }
        Create().weight = 40.0; // on no DSP
        EXPECT_EQ (group->GetDSPUsagePercent (Identifier (record)), row.percent);
        int16_t percent = -1;
        EXPECT_EQ (group->QueryForDSP (Identifier (record), 4, &percent), 0);
        EXPECT_EQ (percent, row.percent);
        EXPECT_EQ (group->IsDSPAssigned (Identifier (record)), ! row.loads.empty());
        for (CProcess* process : std::vector<CProcess*> (type->Processes()))
            group->DeleteProcess (kDSPTypeID, process->GetInstanceID());
        dsp = Allocate();
    }
}

TEST_F (DSPProcessGroups, CyclesPerSampleAreTheClockRateOverTwiceTheSampleRate)
{
    Initialize();
    // The stand-in's first DSP holds bytes 32 to 35 at bytes 32 to 35 of its information record.
    const uint32_t clockRate = 0x23222120;
    group->SetSampleRate (48000);
    EXPECT_EQ (group->GetDSPCyclesPerSample (record), int16_t (clockRate / 2 / 48000));
    group->SetSampleRate (0);
    EXPECT_EQ (group->GetDSPCyclesPerSample (record), 0) << "no sample rate yet";
    group->SetSampleRate (-44100);
    EXPECT_EQ (group->GetDSPCyclesPerSample (record), 0);
    group->SetSampleRate (1);
    EXPECT_EQ (group->GetDSPCyclesPerSample (record), 32767) << "too many for 16 bits";
}

TEST_F (DSPProcessGroups, TheDSPCodeAsksForTheGroupsNameAndTheLoad)
{
    Initialize();
    group->altName = "KESTrune dynamics compressor";
    uint8_t name[64] = {};
    EXPECT_EQ (group->QueryForDSP (0, 1, reinterpret_cast<int16_t*> (name)), 0);
    EXPECT_EQ (std::string ((const char*) name + 1, name[0]), "KESTrune dynamic") << "at most 16 characters";
    int16_t out = 7;
    EXPECT_EQ (group->QueryForDSP (0, 2, &out), -1);
    EXPECT_EQ (out, 7);
    EXPECT_EQ (group->QueryForDSP (0, 4, nullptr), 0);
    EXPECT_EQ (group->QueryForDSP (0, 1, nullptr), 0);
}

// ---- COM and the host's DSP manager ----

TEST_F (DSPProcessGroups, ThePartForTheHostIsTheProcessGroupInterface)
{
    Initialize();
    void* part = nullptr;
    EXPECT_EQ (group->QueryInterface (IID_IProcessGroup, &part), 0);
    EXPECT_EQ (part, static_cast<IProcessGroup*> (group.get()));
    EXPECT_EQ (group->ReferenceCount(), 2);
    group->Release();
    void* none = &part;
    EXPECT_EQ (group->QueryInterface (IID_IProcessType, &none), int32_t (0x80004002));
    EXPECT_EQ (none, nullptr);

    IProcessGroup& processGroup = *group;
    int32_t known = 5;
    uint32_t value = 0;
    EXPECT_EQ (processGroup.GetInfo2 (21, &known, 3, &value), 0);
    EXPECT_EQ (known, 1);
    EXPECT_EQ (value, 27u);
    int32_t info = 5;
    EXPECT_EQ (processGroup.GetInfo (&info, nullptr), 0);
    EXPECT_EQ (info, 0);
}

TEST_F (DSPProcessGroups, TheGroupRegistersWithTheDSPManagerWhoseRegistrarItKeeps)
{
    Initialize();
    manager.setAvailable (false);
    int32_t cookie = 9;
    EXPECT_EQ (group->RegisterWithDSPManager (&cookie), 0);
    EXPECT_EQ (cookie, 0) << "no manager";
    EXPECT_EQ (group->UnregisterFromDSPManager (1), 0);

    manager.setAvailable (true);
    EXPECT_EQ (group->RegisterWithDSPManager (&cookie), 0);
    EXPECT_EQ (cookie, 1);
    const auto groups = manager.registeredGroups();
    ASSERT_EQ (groups.size(), 1u);
    EXPECT_EQ (groups[0].first, static_cast<IProcessGroup*> (group.get()));
    EXPECT_EQ (manager.references(), 1) << "the registrar's reference is kept, the manager's given back";
    EXPECT_EQ (group->UnregisterFromDSPManager (cookie), 0);
    EXPECT_TRUE (manager.registeredGroups().empty());
    EXPECT_EQ (manager.script().countOf ("GetDSPManager"), 3u) << "asked twice while there was none, then kept";
    EXPECT_EQ (manager.references(), 1);
}

// ---- Destruction ----

TEST_F (DSPProcessGroups, DestructionDeletesTheProcessesBeforeTheirDSPObjects)
{
    Initialize();
    CTestDSPProcess& first = Create();
    CTestDSPProcess& second = Create();
    CProcessDSP* dsp = Allocate();
    Allocate();
    ASSERT_EQ (first.AttachToDSP (dsp), 0);
    ASSERT_EQ (second.AttachToDSP (dsp), 0);
    log.clear();
    group.reset();
    // The shared DSP object goes when its last process gives it up, the idle one after all
    // processes; none is deleted while a process holds it (the sanitized build checks).
    EXPECT_EQ (std::count (log.begin(), log.end(), "deleted"), 2);
    EXPECT_EQ (std::count (log.begin(), log.end(), "DSP deleted"), 2);
    EXPECT_EQ (std::count (log.begin(), log.end(), "ReleaseShell"), 2);
    EXPECT_EQ (log.back(), "DSP deleted");
    EXPECT_TRUE (engine.liveObjects().empty());
}

}
