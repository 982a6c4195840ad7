// The DSP process: its COM identity, the use it holds of its DSP object, attaching to a DSP and
// detaching from it with the engine's talkers and listeners and the connection preparation, its
// number among the processes on one DSP, and the connection changes it passes to its DSP.

#include "DSPGroupTestSupport.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

class DSPProcesses : public DSPGroupFixture
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        record = dsi.addDSP (dsi.addCard (20, 0));
        otherRecord = dsi.addDSP (dsi.addCard (20, 0));
        Initialize();
        dsp = MakeDSP (record, 5);
        otherDSP = MakeDSP (otherRecord, 6);
    }
    void TearDown() override
    {
        DSPGroupFixture::TearDown();
        dsp.reset();
        otherDSP.reset();
    }

    // A DSP object on the DSP, made here rather than by the group.
    std::unique_ptr<CRecordingDSP> MakeDSP (DSIDSPRecord* on, int32_t index)
    {
        auto made = std::make_unique<CRecordingDSP> (&log);
        made->Attach (on);
        made->SetUserWord (index);
        return made;
    }

    // The engine's connection calls since the last clear, as "name port".
    std::vector<std::string> ConnectionCalls()
    {
        std::vector<std::string> calls;
        for (const RecordedCall& call : engine.script().calls())
        {
            if (call.function.rfind ("FicPrepareForConnections", 0) == 0)
                calls.push_back (call.function + (call.function == "FicPrepareForConnections" ? " " + std::to_string (call.arguments[1]) : ""));
            else if (call.function.find ("Talker") != std::string::npos || call.function.find ("Listener") != std::string::npos)
                calls.push_back (call.function + " " + std::to_string (call.arguments[2]));
        }
        return calls;
    }

    void ExpectUnbound (CTestDSPProcess& process)
    {
        EXPECT_EQ (process.GetDSP(), nullptr);
        EXPECT_EQ (process.GetDSPIdentifier(), 0);
        EXPECT_EQ (process.GetUserValueA(), 0);
        EXPECT_EQ (process.GetUserValueB(), 0);
        EXPECT_EQ (process.GetConnectionsReady(), 0);
        EXPECT_EQ (dsp->GetUserCount(), 0);
    }

    DSIDSPRecord* record = nullptr;
    DSIDSPRecord* otherRecord = nullptr;
    std::unique_ptr<CRecordingDSP> dsp;
    std::unique_ptr<CRecordingDSP> otherDSP;
};

TEST_F (DSPProcesses, AnswersBothProcessInterfacesAndCountsItsReferences)
{
    CTestDSPProcess& process = Create();
    void* first = nullptr;
    void* second = nullptr;
    EXPECT_EQ (process.QueryInterface (IID_IProcess, &first), 0);
    EXPECT_EQ (process.QueryInterface (IID_IProcess2, &second), 0);
    EXPECT_EQ (first, second);
    EXPECT_EQ (first, static_cast<IProcess2*> (&process));
    EXPECT_EQ (process.ReferenceCount(), 3);
    void* none = &process;
    EXPECT_EQ (process.QueryInterface (IID_IProcessType, &none), int32_t (0x80004002));
    EXPECT_EQ (none, nullptr);
    IACFUnknown* unknown = nullptr;
    EXPECT_EQ (process.GetUnknown (&unknown), 0);
    EXPECT_EQ (unknown, static_cast<IProcess2*> (&process));
    EXPECT_EQ (process.ReferenceCount(), 4);
    process.Release();
    process.Release();
    process.Release();
    EXPECT_EQ (process.GetWeight(), 100);
    EXPECT_EQ (process.AnswerTrueA(), 1);
    EXPECT_EQ (process.GetIndexOnDSP(), kNotOnADSP);
}

TEST_F (DSPProcesses, ANewDSPGivesBackTheOldOnesUse)
{
    auto* process = new CTestDSPProcess (&log);
    process->SetDSP (7, dsp.get());
    EXPECT_EQ (dsp->GetUserCount(), 1);
    process->SetDSP (8, otherDSP.get());
    EXPECT_EQ (dsp->GetUserCount(), 0);
    EXPECT_EQ (otherDSP->GetUserCount(), 1);
    process->SetDSP (8, otherDSP.get());
    EXPECT_EQ (otherDSP->GetUserCount(), 1) << "the same object once";
    EXPECT_EQ (process->GetDSPIdentifier(), 8);
    process->Release();
    EXPECT_EQ (otherDSP->GetUserCount(), 0) << "a process destroyed without its teardown gives its use back";
}

TEST_F (DSPProcesses, WithoutTheHostsConnectionManagerAttachingOnlyBindsAndDetachingUnbinds)
{
    CTestDSPProcess& process = Create();
    engine.script().clearCalls();
    EXPECT_EQ (process.AttachToDSPGuarded (dsp.get()), 0);
    EXPECT_EQ (process.GetDSP(), dsp.get());
    EXPECT_EQ (process.GetDSPIdentifier(), Identifier (record));
    EXPECT_EQ (process.GetUserValueB(), Identifier (record));
    EXPECT_EQ (process.GetUserValueA(), 5) << "the DSP object's index";
    EXPECT_EQ (process.GetConnectionsReady(), 1);
    EXPECT_EQ (process.AreConnectionsReady(), 1);
    EXPECT_EQ (dsp->GetUserCount(), 1);
    EXPECT_EQ (process.DetachFromDSP(), 0);
    ExpectUnbound (process);
    EXPECT_TRUE (ConnectionCalls().empty());
}

TEST_F (DSPProcesses, WithTheConnectionManagerListenersAndTalkersAreSwitchedInsideOnePreparation)
{
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    type->cardInfo[5] = 3; // the side-chain input's port
    CTestDSPProcess& process = Create();
    process.unconnected = { 2 };
    engine.script().clearCalls();
    EXPECT_EQ (process.AttachToDSP (dsp.get()), 0);
    EXPECT_EQ (ConnectionCalls(), (std::vector<std::string> { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1",
                                                              "FicReactivateListener 1", "FicReactivateListener 3",
                                                              "FicReactivateTalker 1", "FicReactivateTalker 2",
                                                              "FicPrepareForConnections 0" }));
    const RecordedCall talker = engine.script().callsOf ("FicReactivateTalker")[0];
    EXPECT_EQ (talker.arguments[0], kDSPTypeID) << "the plug-in record filled for the process's type";
    EXPECT_EQ (talker.arguments[1], process.GetInstanceID());
    EXPECT_FALSE (engine.connectionsPrepared());

    engine.script().clearCalls();
    EXPECT_EQ (process.DetachFromDSP(), 0);
    EXPECT_EQ (ConnectionCalls(), (std::vector<std::string> { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1",
                                                              "FicDeactivateTalker 1", "FicDeactivateTalker 2",
                                                              "FicDeactivateListener 1", "FicDeactivateListener 3",
                                                              "FicPrepareForConnections 0" }));
    ExpectUnbound (process);
}

TEST_F (DSPProcesses, APreparationTheHostHasOpenIsNeitherOpenedNorClosed)
{
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    CTestDSPProcess& process = Create();
    engine.script().scriptResult ("FicPrepareForConnectionsStatus", 1);
    engine.script().clearCalls();
    EXPECT_EQ (process.AttachToDSP (dsp.get()), 0);
    EXPECT_EQ (process.DetachFromDSP(), 0);
    EXPECT_EQ (engine.script().countOf ("FicPrepareForConnections"), 0u);
    EXPECT_EQ (engine.script().countOf ("FicReactivateTalker"), 2u);
}

struct AttachFailureCase
{
    const char* what;
    const char* failing;
    int skip;
    int32_t code;
    int32_t result;
    std::vector<std::string> calls;
};

TEST_F (DSPProcesses, AFailedAttachLeavesNoBindingAndClosesOnlyThePreparationItOpened)
{
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    const std::vector<AttachFailureCase> cases = {
        { "a listener", "FicReactivateListener", 1, -9101, -9101, { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1", "FicReactivateListener 1", "FicReactivateListener 2", "FicPrepareForConnections 0" } },
        { "a talker", "FicReactivateTalker", 0, -9102, -9102, { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1", "FicReactivateListener 1", "FicReactivateListener 2", "FicReactivateTalker 1", "FicDeactivateListener 1", "FicDeactivateListener 2", "FicPrepareForConnections 0" } },
        { "the opening", "FicPrepareForConnections", 0, -9103, -9103, { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1" } },
        { "the closing", "FicPrepareForConnections", 1, -9104, -9104, { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1", "FicReactivateListener 1", "FicReactivateListener 2", "FicReactivateTalker 1", "FicReactivateTalker 2", "FicPrepareForConnections 0", "FicDeactivateTalker 1", "FicDeactivateTalker 2", "FicDeactivateListener 1", "FicDeactivateListener 2" } },
        { "already in that state", "FicReactivateListener", 0, -7103, 0, { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1", "FicReactivateListener 1", "FicReactivateListener 2", "FicReactivateTalker 1", "FicReactivateTalker 2", "FicPrepareForConnections 0" } },
    };
    CTestDSPProcess& process = Create();
    for (const AttachFailureCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        engine.script().clearCalls();
        engine.script().injectFailure (row.failing, row.code, 1, row.skip);
        EXPECT_EQ (process.AttachToDSPGuarded (dsp.get()), row.result);
        EXPECT_EQ (ConnectionCalls(), row.calls);
        if (row.result != 0)
            ExpectUnbound (process);
        else
            EXPECT_EQ (process.DetachFromDSP(), 0);
        FicPrepareForConnections (0, 0); // the host closes what a failed close left open
        engine.script().reset();
    }
}

TEST_F (DSPProcesses, AFailedDetachSwitchesTheTalkersBackOnAndKeepsTheBinding)
{
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    CTestDSPProcess& process = Create();
    ASSERT_EQ (process.AttachToDSP (dsp.get()), 0);
    engine.script().clearCalls();
    engine.script().injectFailure ("FicDeactivateListener", -9105);
    EXPECT_EQ (process.DetachFromDSP(), -9105);
    EXPECT_EQ (ConnectionCalls(), (std::vector<std::string> { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1",
                                                              "FicDeactivateTalker 1", "FicDeactivateTalker 2",
                                                              "FicDeactivateListener 1", "FicReactivateTalker 1",
                                                              "FicReactivateTalker 2", "FicPrepareForConnections 0" }));
    EXPECT_EQ (process.GetDSP(), dsp.get());
    EXPECT_EQ (process.GetConnectionsReady(), 1);

    engine.script().clearCalls();
    engine.script().injectFailure ("FicPrepareForConnections", -9106);
    EXPECT_EQ (process.DetachFromDSP(), -9106) << "the opening's result, after a detach without the preparation";
    EXPECT_EQ (engine.script().countOf ("FicPrepareForConnections"), 1u) << "a failed opening is not closed";
    EXPECT_EQ (engine.script().countOf ("FicDeactivateTalker"), 2u);
    ExpectUnbound (process);
}

TEST_F (DSPProcesses, AFailureAfterBothSwitchOffsStillSwitchesTheTalkersBackOn)
{
    engine.setGestalt (kFicGestaltConnectionManager, 1);
    CTestDSPProcess& process = Create();
    ASSERT_EQ (process.AttachToDSP (dsp.get()), 0);
    engine.script().clearCalls();
    engine.script().injectFailure ("FicPrepareForConnections", -9107, 1, 1); // the closing
    EXPECT_EQ (process.DetachFromDSP(), -9107);
    EXPECT_EQ (ConnectionCalls(), (std::vector<std::string> { "FicPrepareForConnectionsStatus", "FicPrepareForConnections 1",
                                                              "FicDeactivateTalker 1", "FicDeactivateTalker 2",
                                                              "FicDeactivateListener 1", "FicDeactivateListener 2",
                                                              "FicPrepareForConnections 0", "FicReactivateTalker 1",
                                                              "FicReactivateTalker 2" }));
    EXPECT_EQ (process.GetDSP(), dsp.get());
}

TEST_F (DSPProcesses, ProcessesAreNumberedPerDSPInListOrder)
{
    CTestDSPProcess& first = Create();
    CTestDSPProcess& second = Create();
    CTestDSPProcess& third = Create();
    ASSERT_EQ (first.AttachToDSP (dsp.get()), 0);
    ASSERT_EQ (second.AttachToDSP (dsp.get()), 0);
    EXPECT_EQ (first.GetIndexOnDSP(), 1);
    EXPECT_EQ (second.GetIndexOnDSP(), 2);
    EXPECT_EQ (dsp->GetUserCount(), 2);

    ASSERT_EQ (first.DetachFromDSP(), 0);
    EXPECT_EQ (second.GetIndexOnDSP(), 1) << "renumbered";

    ASSERT_EQ (first.AttachToDSP (otherDSP.get()), 0);
    ASSERT_EQ (third.AttachToDSP (dsp.get()), 0);
    EXPECT_EQ (first.GetIndexOnDSP(), 1);
    EXPECT_EQ (second.GetIndexOnDSP(), 1);
    EXPECT_EQ (third.GetIndexOnDSP(), 2) << "counted on its own DSP although another DSP's process lies between";
}

TEST_F (DSPProcesses, ConnectionChangesGoToTheProcessCodeOnTheDSP)
{
    Create();
    CTestDSPProcess& process = Create();
    ASSERT_EQ (process.AttachToDSP (dsp.get()), 0);
    log.clear();
    EXPECT_EQ (group->NotifyDSPConnect (kDSPTypeID, 2, 0x10003, 0x20004), 0);
    EXPECT_EQ (group->NotifyDSPConnectOutput (kDSPTypeID, 2, 5, 6), 0);
    EXPECT_EQ (group->NotifyDSPDisconnectInput (kDSPTypeID, 2, 7), 0);
    EXPECT_EQ (group->NotifyDSPDisconnectOutput (kDSPTypeID, 2, 8), 0);
    EXPECT_EQ (log, (Log { "command 1 1 1 3 4", "command 2 1 1 5 6", "command 3 1 1 7", "command 4 1 1 8" }))
        << "type index, index on the DSP, then the ports cut to 16 bits";

    ASSERT_EQ (process.DetachFromDSP(), 0);
    log.clear();
    EXPECT_EQ (group->NotifyDSPConnect (kDSPTypeID, 2, 1, 2), 0);
    EXPECT_TRUE (log.empty()) << "nothing without a DSP";
}

int16_t PrecHook()
{
    return 42;
}

TEST_F (DSPProcesses, TheHostsPrecRoutineIsRunWhenItHasOne)
{
    CTestDSPProcess& process = Create();
    EXPECT_EQ (process.RunHostPrecHook(), 0);
    engine.setGestalt (kHostPrecHookGestalt, int32_t (reinterpret_cast<uintptr_t> (&PrecHook)));
    EXPECT_EQ (process.RunHostPrecHook(), 42);
}

TEST_F (DSPProcesses, TypeQuestionsGoToTheDSPTypeAndAnswerZeroWithoutOne)
{
    CTestDSPProcess& process = Create();
    EXPECT_EQ (process.CardCapability(), 27) << "the group's information for key 21";
    EXPECT_EQ (process.TypeQuery (1), 0);
    EXPECT_EQ (process.GetDSPType(), type);
    CTestDSPProcess loose (&log);
    EXPECT_EQ (loose.CardCapability(), 0);
    process.SetConnectionValue (9);
    EXPECT_EQ (process.GetConnectionValue(), 9);
    process.ClearConnectionValue();
    EXPECT_EQ (process.GetConnectionValue(), 0);
}

TEST_F (DSPProcesses, TheGroupAnswersADSPProcesssIdentifierForTheCountMarker)
{
    CTestDSPProcess& process = Create();
    ASSERT_EQ (process.AttachToDSP (dsp.get()), 0);
    int32_t count1 = 5;
    int32_t count2 = kDSPIdentifierQuery;
    EXPECT_EQ (group->OnSelector36 (&count1, &count2, kDSPTypeID, process.GetInstanceID(), 0), 0);
    EXPECT_EQ (count2, Identifier (record));
    EXPECT_EQ (count1, 5) << "left as it was";
}

}
