// The DSP process type: instance IDs and the start-up order, creations that fail at any step,
// registration with the host's DSP manager, deletion, and the DSPs and shells it finds or asks the
// host for through its group, with the room on them.

#include "DSPGroupTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

class DSPProcessTypes : public DSPGroupFixture
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        first = dsi.addDSP (dsi.addCard (20, 0));
        second = dsi.addDSP (dsi.addCard (20, 0));
        Host().dsps = { Identifier (first), Identifier (second) };
        Initialize();
    }

    std::vector<int16_t> IDs() { return InstanceIDs (*type); }

    DSIDSPRecord* first = nullptr;
    DSIDSPRecord* second = nullptr;
};

// ---- Instances ----

TEST_F (DSPProcessTypes, ANewInstanceTakesTheLowestFreeIDAndStartsUpInOrder)
{
    EXPECT_EQ (Create().GetInstanceID(), 1);
    EXPECT_EQ (log, (Log { "SetType", "SetDSPType", "SetTypeIndex", "SetInstanceID 1", "Initialize", "SetSampleRate", "NotifyTypeValue" }));
    EXPECT_EQ (Create().GetInstanceID(), 2);
    EXPECT_EQ (Create().GetInstanceID(), 3);
    EXPECT_EQ (Create().GetInstanceID(), 4);
    ASSERT_EQ (group->DeleteProcess (kDSPTypeID, 3), 0);
    EXPECT_EQ (IDs(), (std::vector<int16_t> { 1, 2, 4 }));
    EXPECT_EQ (Create().GetInstanceID(), 3);
    EXPECT_EQ (IDs(), (std::vector<int16_t> { 1, 2, 4, 3 })) << "appended";
    CTestDSPProcess& process = type->Process (3);
    EXPECT_EQ (process.GetType(), type);
    EXPECT_EQ (process.GetDSPType(), type);
    EXPECT_EQ (process.GetTypeIndex(), 1);
}

TEST_F (DSPProcessTypes, AStartUpStepThatThrowsLeavesNoInstance)
{
    Create();
    for (const char* step : { "SetType", "SetDSPType", "SetTypeIndex", "SetInstanceID", "Initialize", "SetSampleRate", "NotifyTypeValue" })
    {
        SCOPED_TRACE (step);
        type->failAt = step;
        log.clear();
        int32_t id = 0;
        try
        {
            group->CreateProcess (kDSPTypeID, &id);
            ADD_FAILURE() << "created";
        }
        catch (const CDAEError& error)
        {
            EXPECT_EQ (error.Code(), -7321);
        }
        EXPECT_EQ (IDs(), (std::vector<int16_t> { 1 }));
        const auto at = std::find (log.begin(), log.end(), "ReleaseDirectMIDI");
        ASSERT_NE (at, log.end());
        EXPECT_EQ (Log (at, log.end()), (Log { "ReleaseDirectMIDI", "Teardown", "deleted" })) << "torn down, then released";
        EXPECT_EQ (manager.registeredProcesses().size(), 1u) << "only the first instance";
        EXPECT_EQ (group->GetOpenCount(), 1);
    }
}

TEST_F (DSPProcessTypes, ATypeThatMakesNoObjectAnswersMinus7053)
{
    type->makeNothing = true;
    int32_t id = 0;
    EXPECT_EQ (group->CreateProcess (kDSPTypeID, &id), -7053);
    EXPECT_TRUE (IDs().empty());
    EXPECT_EQ (group->GetOpenCount(), 0);
}

TEST_F (DSPProcessTypes, EveryInstanceIsRegisteredWithTheDSPManagerAndAccepted)
{
    const int32_t id = Create().GetInstanceID();
    IProcess2* registered = &type->Process (id);
    EXPECT_EQ (manager.registeredProcesses(), (std::vector<void*> { registered }));
    EXPECT_EQ (manager.acceptedProcesses(), (std::vector<void*> { registered }));
    ASSERT_EQ (group->DeleteProcess (kDSPTypeID, id), 0);
    EXPECT_TRUE (manager.registeredProcesses().empty());
    EXPECT_TRUE (manager.acceptedProcesses().empty());
}

TEST_F (DSPProcessTypes, AnInstanceTheManagerRefusesIsDeletedThroughTeardownAndRelease)
{
    for (const char* refusal : { "Client.RegisterProcess", "Client.AcceptProcess" })
    {
        SCOPED_TRACE (refusal);
        manager.script().injectFailure (refusal, -9200);
        log.clear();
        int32_t id = 0;
        EXPECT_EQ (group->CreateProcess (kDSPTypeID, &id), -9200);
        EXPECT_TRUE (IDs().empty());
        EXPECT_EQ (Log (log.end() - 3, log.end()), (Log { "ReleaseDirectMIDI", "Teardown", "deleted" }));
        EXPECT_TRUE (manager.registeredProcesses().empty());
        EXPECT_EQ (group->GetOpenCount(), 0);
        EXPECT_TRUE (engine.liveObjects().empty()) << "the failed create let its SDS connection go";
    }
}

// A type that makes plain processes although it is a DSP type.
class CPlainProcessType final : public CTestDSPType
{
public:
    using CTestDSPType::CTestDSPType;
    bool deleted = false;

    int32_t CreateProcess (int32_t* id) override
    {
        auto* process = new CObservedProcess (&deleted);
        process->SetInstanceID (1);
        AddProcess (process);
        *id = 1;
        return 0;
    }

private:
    class CObservedProcess final : public CTestProcess
    {
    public:
        explicit CObservedProcess (bool* deleted) : fDeleted (deleted) {}
        ~CObservedProcess() override { *fDeleted = true; }

    private:
        bool* fDeleted;
    };
};

TEST_F (DSPProcessTypes, AnInstanceOfAnotherKindIsDeletedAndRefused)
{
    auto plainGroup = std::make_unique<CTestDSPGroup>();
    CPlainProcessType* plain = nullptr;
    plainGroup->addTypes = [&] (CTestDSPGroup& g) { g.AddProcessType (plain = new CPlainProcessType (&log)); };
    ASSERT_EQ (plainGroup->Initialize(), 0);
    int32_t id = 0;
    EXPECT_EQ (plainGroup->CreateProcess (kDSPTypeID, &id), -77);
    EXPECT_EQ (plain->GetNumProcesses(), 0);
    EXPECT_TRUE (plain->deleted);
    EXPECT_TRUE (manager.registeredProcesses().empty());
    plainGroup.reset();
}

TEST_F (DSPProcessTypes, OpenedThroughWinPlugInOpenInstancesAreNotRegisteredAndStillDeleted)
{
    SetOpenedByWinPlugInOpen (true);
    const int32_t id = Create().GetInstanceID();
    EXPECT_TRUE (manager.registeredProcesses().empty());
    log.clear();
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, id), 0);
    EXPECT_TRUE (IDs().empty());
    EXPECT_EQ (log, (Log { "Teardown", "deleted" }));
}

TEST_F (DSPProcessTypes, DeletingClearsTheSpecsIDsAndGivesTheDSPBackWithItsLastUser)
{
    const int32_t one = Create().GetInstanceID();
    const int32_t two = Create().GetInstanceID();
    CProcessDSP* dsp = Allocate();
    ASSERT_NE (dsp, nullptr);
    ASSERT_EQ (type->Process (one).AttachToDSP (dsp), 0);
    ASSERT_EQ (type->Process (two).AttachToDSP (dsp), 0);
    EXPECT_EQ (dsp->GetUserCount(), 2);

    log.clear();
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, one), 0);
    EXPECT_EQ (dsp->GetUserCount(), 1);
    EXPECT_EQ (group->GetDSPObjects()->size(), 1u) << "still in use";
    EXPECT_TRUE (Host().Seen (11).empty());

    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, two), 0);
    EXPECT_TRUE (group->GetDSPObjects()->empty());
    EXPECT_EQ (std::count (log.begin(), log.end(), "DSP deleted"), 1);
    EXPECT_EQ (std::count (log.begin(), log.end(), "ReleaseShell"), 1);
    const auto freed = Host().Seen (11);
    ASSERT_EQ (freed.size(), 1u);
    EXPECT_EQ (freed[0].words[0], Identifier (first));
    EXPECT_EQ (freed[0].words[1], 0) << "its index";
    EXPECT_TRUE (group->GetCardKeys()->empty());
    EXPECT_EQ (group->removed.size(), 1u);
}

// A process whose plug-in spec, as the type sets it on deletion, is kept beyond the process.
class CSpecProcess final : public CTestDSPProcess
{
public:
    CSpecProcess (Log* log, std::vector<uint8_t>* sink) : CTestDSPProcess (log), fSink (sink) {}
    int32_t SetPlugInSpec (SFicPlugInSpec* spec) override
    {
        const auto* bytes = reinterpret_cast<const uint8_t*> (spec);
        fSink->assign (bytes, bytes + sizeof *spec);
        return CTestDSPProcess::SetPlugInSpec (spec);
    }

private:
    std::vector<uint8_t>* fSink;
};

class CSpecType final : public CTestDSPType
{
public:
    CSpecType (Log* log, std::vector<uint8_t>* sink) : CTestDSPType (log), fLog (log), fSink (sink) {}
    CDSPProcess* NewProcessObject() override { return new CSpecProcess (fLog, fSink); }

private:
    Log* fLog;
    std::vector<uint8_t>* fSink;
};

TEST_F (DSPProcessTypes, DeletingADSPProcessClearsTheIDsOfItsSpec)
{
    std::vector<uint8_t> specOnDeletion;
    auto specGroup = std::make_unique<CTestDSPGroup>();
    specGroup->addTypes = [&] (CTestDSPGroup& g) { g.AddProcessType (new CSpecType (&log, &specOnDeletion)); };
    ASSERT_EQ (specGroup->Initialize(), 0);
    int32_t id = 0;
    ASSERT_EQ (specGroup->CreateProcess (kDSPTypeID, &id), 0);
    std::vector<uint8_t> spec (sizeof (SFicPlugInSpec));
    for (size_t i = 0; i < spec.size(); ++i)
        spec[i] = uint8_t (0x80 + i);
    ASSERT_EQ (specGroup->SetPlugInSpec (kDSPTypeID, id, reinterpret_cast<SFicPlugInSpec*> (spec.data())), 0);
    EXPECT_EQ (specGroup->DeleteProcess (kDSPTypeID, id), 0);
    std::vector<uint8_t> expected = spec;
    std::fill (expected.begin() + 32, expected.end(), 0);
    EXPECT_EQ (specOnDeletion, expected) << "bytes 32 to 51 cleared, the engine's bytes kept";
    specGroup.reset();
}

// ---- DSPs ----

TEST_F (DSPProcessTypes, ADSPComesFromTheHostForTheTypesNeedsAndGetsItsObject)
{
    CProcessDSP* dsp = Allocate();
    ASSERT_NE (dsp, nullptr);
    const auto asked = Host().Seen (10);
    ASSERT_EQ (asked.size(), 1u) << "request 10 on slow hardware";
    EXPECT_EQ (DSPIdentifierOf (dsp), Identifier (first));
    EXPECT_EQ (dsp->GetUserWord(), 0) << "the index the host gave";
    EXPECT_EQ (*group->GetCardKeys(), (DSPIdentifierList { Identifier (first) }));
    ASSERT_EQ (group->GetDSPObjects()->size(), 1u);
    EXPECT_EQ (group->GetDSPObjects()->front().get(), dsp);
    const auto made = Host().Seen (13);
    ASSERT_EQ (made.size(), 1u);
    EXPECT_EQ (made[0].words, (std::vector<int32_t> { Identifier (first), 0, Identifier (first) }));
    EXPECT_EQ (log, (Log { "Attach", "LoadDSPCode 0" }));
    CProcessDSP* another = Allocate();
    ASSERT_EQ (group->GetDSPObjects()->size(), 2u) << "every process gets a DSP of its own";
    EXPECT_EQ (another, group->GetDSPObjects()->back().get());
    EXPECT_EQ (DSPIdentifierOf (another), Identifier (second));
}

TEST_F (DSPProcessTypes, OnFastHardwareTheNeedsTravelWithTheRequest)
{
    engine.setGestalt (kFicGestaltFastHardware, 1);
    Allocate();
    const auto asked = Host().Seen (17);
    ASSERT_EQ (asked.size(), 1u);
    EXPECT_EQ (asked[0].words[3], 0x00000000) << "needs c, d = 0, 0";
    EXPECT_EQ (asked[0].words[4], 0x00010001) << "needs a, b = 1, 1";
}

TEST_F (DSPProcessTypes, ADSPTheHostGivesAgainKeepsItsObject)
{
    Host().dsps = { Identifier (first), Identifier (first) };
    CProcessDSP* dsp = Allocate();
    EXPECT_EQ (Allocate(), dsp);
    EXPECT_EQ (group->GetDSPObjects()->size(), 1u);
    EXPECT_EQ (group->GetCardKeys()->size(), 1u);
}

struct AllocationFailureCase
{
    const char* what;
    std::function<void (CTestDSPType&, std::string&)> arrange;
    int32_t code;
    bool objectMade; // made, started and loaded before the failure
};

TEST_F (DSPProcessTypes, AFailedAllocationGivesBackEverything)
{
    const std::vector<AllocationFailureCase> cases = {
        { "the host has no DSP", [] (CTestDSPType&, std::string&) { Host().dsps = { 0 }; }, -7077, false },
        { "the host refuses", [] (CTestDSPType&, std::string&) { Host().answers[10] = -9301; }, -9301, false },
        { "the object does not attach", [] (CTestDSPType&, std::string& failAt) { failAt = "Attach"; }, -7322, false },
        { "the code does not load", [] (CTestDSPType&, std::string& failAt) { failAt = "LoadDSPCode"; }, -7322, true },
        { "the host refuses the object", [] (CTestDSPType&, std::string&) { Host().answers[13] = -9302; }, -9302, true },
        { "the masks are refused", [] (CTestDSPType& t, std::string&) { t.mode = 2; Host().answers[19] = -9303; }, -9303, true },
        { "the single mask is refused", [] (CTestDSPType& t, std::string&) { t.cardInfo[35] = 1; Host().answers[20] = -9304; }, -9304, true },
    };
    for (const AllocationFailureCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        Host() = FakeHost();
        Host().dsps = { Identifier (first) };
        type->mode = 0;
        type->cardInfo.clear();
        dspFailAt.clear();
        log.clear();
        row.arrange (*type, dspFailAt);
        CProcessDSP* dsp = reinterpret_cast<CProcessDSP*> (1);
        EXPECT_EQ (type->FindOrAllocateDSPGuarded (&dsp, 0), row.code);
        EXPECT_TRUE (group->GetDSPObjects()->empty());
        EXPECT_TRUE (group->GetCardKeys()->empty());
        const bool hostGaveOne = row.code != -7077 && row.code != -9301;
        EXPECT_EQ (Host().Seen (11).size(), hostGaveOne ? 1u : 0u) << "the DSP goes back to the host";
        EXPECT_EQ (std::count (log.begin(), log.end(), "DSP deleted"), hostGaveOne ? 1 : 0) << "an object made is deleted again";
        EXPECT_EQ (std::count (log.begin(), log.end(), "ReleaseShell"), row.objectMade ? 1 : 0) << "a started object is torn down";
    }
}

TEST_F (DSPProcessTypes, TheDSPModeAndTheCardsSingleMaskSetMasksThatTheReleaseClears)
{
    struct MaskCase
    {
        int32_t mode;
        int32_t key35;
        std::vector<std::vector<int32_t>> request19;
        std::vector<std::vector<int32_t>> request20;
        Log commands;
    };
    const int32_t id = Identifier (first);
    const std::vector<MaskCase> cases = {
        { 0, 0, {}, {}, {} },
        { 2, 0, { { id, 0xfc00, 0xfc00 }, { id, 0, 0 } }, {}, { "command range -1024 -1024" } },
        { 1, 0, { { id, 0xffff, 0xffff }, { id, 0, 0 } }, {}, { "command range -1 -1" } },
        { 0, 1, {}, { { id, 0xfc00 }, { id, 0 } }, { "command offset -1024" } },
        { 0, 7, {}, { { id, 0 }, { id, 0 } }, { "command offset 0" } },
    };
    for (const MaskCase& row : cases)
    {
        SCOPED_TRACE ("mode " + std::to_string (row.mode) + ", key 35 " + std::to_string (row.key35));
        Host() = FakeHost();
        Host().dsps = { id };
        type->mode = row.mode;
        type->cardInfo[35] = row.key35;
        log.clear();
        CProcessDSP* dsp = Allocate();
        ASSERT_NE (dsp, nullptr);
        EXPECT_EQ (type->ReleaseDSPGuarded (dsp), 0);
        std::vector<std::vector<int32_t>> seen19, seen20;
        for (const auto& request : Host().Seen (19))
            seen19.push_back ({ request.words.begin(), request.words.begin() + 3 });
        for (const auto& request : Host().Seen (20))
            seen20.push_back ({ request.words.begin(), request.words.begin() + 2 });
        EXPECT_EQ (seen19, row.request19);
        EXPECT_EQ (seen20, row.request20);
        Log commands;
        for (const std::string& line : log)
            if (line.rfind ("command", 0) == 0)
                commands.push_back (line);
        EXPECT_EQ (commands, row.commands);
        EXPECT_TRUE (group->GetDSPObjects()->empty());
    }
}

TEST_F (DSPProcessTypes, ADSPInUseIsNotReleased)
{
    const int32_t one = Create().GetInstanceID();
    CProcessDSP* dsp = Allocate();
    ASSERT_EQ (type->Process (one).AttachToDSP (dsp), 0);
    EXPECT_FALSE (type->IsDSPIdle (dsp));
    EXPECT_EQ (type->ReleaseDSPGuarded (dsp), 0);
    EXPECT_EQ (group->GetDSPObjects()->size(), 1u);
    ASSERT_EQ (type->Process (one).DetachFromDSP(), 0);
    EXPECT_TRUE (type->IsDSPIdle (dsp));
    EXPECT_EQ (type->ReleaseDSPGuarded (dsp), 0);
    EXPECT_TRUE (group->GetDSPObjects()->empty());
}

TEST_F (DSPProcessTypes, AnObjectTheGroupNoLongerHoldsIsNeitherIdleNorReleasedAgain)
{
    CTestDSPProcess& leaving = Create();
    CProcessDSP* gone = Allocate();
    ASSERT_EQ (group->DeleteProcess (kDSPTypeID, leaving.GetInstanceID()), 0);
    ASSERT_TRUE (group->GetDSPObjects()->empty()) << "the group removed the idle object";
    // The DSP manager may still hold the pointer; the object is not looked at.
    EXPECT_FALSE (type->IsDSPIdle (gone));
    EXPECT_EQ (type->ReleaseDSPGuarded (gone), 0);
    EXPECT_EQ (Host().Seen (11).size(), 1u) << "its DSP went back to the host once";
}

TEST_F (DSPProcessTypes, TheGuardedNameIsCutToTheCallersLength)
{
    struct Case
    {
        int32_t maxLength;
        std::string written;
    };
    for (const Case& c : { Case { 255, "\x07Unnamed" }, Case { 7, "\x07Unnamed" }, Case { 3, "\x03Unn" }, Case { 0, std::string (1, '\0') } })
    {
        SCOPED_TRACE (c.maxLength);
        char name[300];
        std::memset (name, 'x', sizeof name);
        EXPECT_EQ (type->GetNameGuarded (name, c.maxLength), 0);
        EXPECT_EQ (std::string (name, c.written.size()), c.written);
        EXPECT_EQ (name[c.written.size()], 'x') << "nothing past the name";
    }
    EXPECT_EQ (type->GetNameGuarded (nullptr, 8), -7401);
}

TEST_F (DSPProcessTypes, ADSPHasRoomWhileItsUseAndTheExtraNeedsStayBelowWhatItCarries)
{
    const int32_t one = Create().GetInstanceID();
    CProcessDSP* dsp = Allocate();
    ASSERT_EQ (type->Process (one).AttachToDSP (dsp), 0);
    const int32_t id = Identifier (first);
    Host().capacity = 4;
    EXPECT_TRUE (type->DSPHasRoom (id)) << "one process and its two outputs: 3 < 4";
    Host().capacity = 3;
    EXPECT_FALSE (type->DSPHasRoom (id));
    EXPECT_TRUE (type->DSPHasRoom (Identifier (second))) << "nothing on the other DSP";
    const auto asked = Host().Seen (15);
    ASSERT_FALSE (asked.empty());
    EXPECT_EQ (asked.back().words[0], DsiCompat_DSPToDriverType (second)) << "asked by the DSP's driver type";

    int16_t processes = 0, outputs = 0;
    EXPECT_EQ (group->CountDSPResources (&processes, &outputs, id), 2);
    EXPECT_EQ (processes, 1);
    EXPECT_EQ (outputs, 2);
}

// ---- Shells ----

TEST_F (DSPProcessTypes, AShellComesFromTheHostAndIsReusedWhileItHasRoom)
{
    const int32_t shell = Identifier (first);
    Host().shell = shell;
    int32_t got = 0;
    EXPECT_EQ (type->FindOrAllocateShellGuarded (&got), 0);
    EXPECT_EQ (got, shell);
    const auto asked = Host().Seen (12);
    ASSERT_EQ (asked.size(), 1u);
    EXPECT_EQ (asked[0].words[0], int32_t (kDSPTypeID));
    EXPECT_EQ (asked[0].words[1], 2) << "the type's outputs";
    EXPECT_EQ (*group->GetDSPRegistrations(), (ShellList { shell }));

    Host().capacity = 2;
    EXPECT_EQ (type->FindOrAllocateShellGuarded (&got), 0);
    EXPECT_EQ (Host().Seen (12).size(), 1u) << "the listed shell has room for two outputs";

    const int32_t one = Create().GetInstanceID();
    CProcessDSP* dsp = Allocate();
    ASSERT_EQ (type->Process (one).AttachToDSP (dsp), 0);
    EXPECT_FALSE (type->ShellHasRoom (shell)) << "two outputs run on it already";
    EXPECT_EQ (type->ReleaseShellGuarded (shell), 0);
    EXPECT_TRUE (Host().Seen (14).empty()) << "still in use";
    ASSERT_EQ (type->Process (one).DetachFromDSP(), 0);
    EXPECT_EQ (type->ReleaseShellGuarded (shell), 0);
    ASSERT_EQ (Host().Seen (14).size(), 1u);
    EXPECT_EQ (Host().Seen (14)[0].words[0], shell);
    EXPECT_TRUE (group->GetDSPRegistrations()->empty());
}

TEST_F (DSPProcessTypes, WithoutAShellOrAGroupTheShellAllocationAnswersItsCode)
{
    int32_t got = 0;
    EXPECT_EQ (type->FindOrAllocateShellGuarded (&got), -7077) << "the host gave none";
    CTestDSPType loose (&log);
    EXPECT_EQ (loose.FindOrAllocateShellGuarded (&got), -7027);
    EXPECT_EQ (loose.FindOrAllocateDSPGuarded (nullptr, 0), -7027);
}

// ---- The type's identity and answers ----

TEST_F (DSPProcessTypes, AnswersItsInterfacesAndItsFixedValues)
{
    struct CPlainDSPType final : CDSPProcessType
    {
        int32_t GetNumInputs (int32_t, int16_t* count) override
        {
            *count = 1;
            return 0;
        }
        int32_t GetNumOutputs (int32_t, int16_t* count) override
        {
            *count = 1;
            return 0;
        }
    };
    auto* plain = new CPlainDSPType;
    uint32_t product = 0;
    EXPECT_EQ (plain->GetProductID (&product), 0);
    EXPECT_EQ (product, FourCharCode ("swDS"));
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ (plain->QueryInterface (IID_IProcessType, &first), 0);
    EXPECT_EQ (plain->QueryInterface (IID_IProcessType2, &second), 0);
    EXPECT_EQ (first, static_cast<IProcessType2*> (plain));
    EXPECT_EQ (first, second);
    EXPECT_EQ (plain->ReferenceCount(), 3);
    int16_t a = 9, b = 9, c = 9, d = 9;
    plain->GetDSPNeeds (&a, &b, &c, &d);
    EXPECT_EQ ((std::vector<int16_t> { a, b, c, d }), (std::vector<int16_t> { 1, 1, 0, 0 }));
    plain->GetDSPOffsets (&a, &b);
    EXPECT_EQ (a + b, 0);
    EXPECT_FALSE (plain->CanUseDSP (nullptr));
    EXPECT_EQ (plain->NewProcessObject(), nullptr);
    EXPECT_EQ (plain->GetGroupInterface(), nullptr);
    EXPECT_EQ (plain->QueryCardCapability(), 0) << "no group";
    plain->Release();
    plain->Release();
    plain->Release();

    EXPECT_EQ (type->GetGroupInterface(), static_cast<IProcessGroup*> (group.get()));
    EXPECT_EQ (type->QueryCardCapability(), 27) << "the group's answer for key 21 without a DSP 321";
    int32_t known = 0;
    uint32_t value = 0;
    EXPECT_EQ (type->GroupQuery2 (21, &known, 1, &value), 0);
    EXPECT_EQ (known, 1);
}

TEST_F (DSPProcessTypes, WithADSP321TheCardCapabilityIsAskedForKey29)
{
    dsi.addDSP (dsi.addCard (20, 0), kDSIFlagDSP321);
    EXPECT_EQ (type->QueryCardCapability(), 0) << "the group knows nothing for key 29";
}

}
