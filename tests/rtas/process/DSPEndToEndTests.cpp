// A DSP plug-in on the simulated card, on both roads (the driver's entry points and the host
// port's registers): a process is created and registered, the DSP manager finds it a DSP (the
// host allocates one, the group makes the DSP object and loads the DSP code), attaches it, the
// host's connection changes reach the DSP code as commands, and deleting the processes removes
// the DSP objects and gives the DSPs back.

#include "DSPGroupTestSupport.h"

#include "process/dsp/DSPGroupRequests.h"
#include "process/dspclasses/C321ChipDSP.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;
using dsptest::Road;

constexpr int16_t kDSPCodeID = 1001; // five bytes of raw code in the program's resources
constexpr int32_t kProcessCommandVector = 13 + 58; // the command vector on a DSP 321 chip
constexpr int32_t kAddressOffset321 = 0x801800;

class DSPEndToEnd : public DSPGroupFixture, public ::testing::WithParamInterface<Road>
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        if (GetParam() == Road::Registers)
            dsi.addCard (18, 0); // keeps the card library's records, and the registers, in use
        for (DSIDSPRecord*& record : records)
        {
            record = dsi.addDSP (dsi.addCard (20, 0), kDSIFlagDSP321);
            dsi.setHostBit (record, 2, 1);
        }
        dsi.addShell();
        Host().dsps = { Identifier (records[0]), Identifier (records[1]) };
        group->option = kDSPCodeID;
        group->makeDSP = nullptr; // the card library's DSP objects
        Initialize();
        ASSERT_EQ (DsiCompat_UseDsiEntries(), GetParam() == Road::Driver);
    }

    // What the manager does for a new process: a DSP for it, and the process attached to it.
    CProcessDSP* PlaceOnADSP (CTestDSPProcess& process)
    {
        CProcessDSP* dsp = Allocate();
        EXPECT_EQ (process.AttachToDSPGuarded (dsp), 0);
        return dsp;
    }

    // The words the host sent the DSP after its last command, with that command.
    std::vector<int32_t> LastCommand (DSIDSPRecord* record)
    {
        std::vector<int32_t> command;
        for (const DeviceEvent& event : dsi.traffic (record))
        {
            if (event.kind == DeviceEvent::Kind::Command)
                command = { event.value };
            else if (event.kind == DeviceEvent::Kind::WordToDSP)
                command.push_back (event.value);
        }
        return command;
    }

    DSIDSPRecord* records[2] = {};
};

TEST_P (DSPEndToEnd, AProcessRunsOnADSPOfTheCardAndGivesItBackWhenDeleted)
{
    CTestDSPProcess& process = Create();
    EXPECT_EQ (manager.acceptedProcesses(), (std::vector<void*> { static_cast<IProcess2*> (&process) }));

    CProcessDSP* dsp = PlaceOnADSP (process);
    ASSERT_NE (dynamic_cast<C321ChipDSP*> (dsp), nullptr) << "the card's DSP 321 chip";
    EXPECT_EQ (dsp->GetDSP(), records[0]);
    EXPECT_EQ (DsiCompat_GetDSPClientVal (records[0]), dsp);
    const ShellState loaded = dsi.shellState (records[0]);
    ASSERT_FALSE (loaded.loads.empty());
    EXPECT_EQ (loaded.loads.back().shell, dsp->GetShell()) << "the DSP object's shell with the plug-in's code";
    EXPECT_TRUE (loaded.loads.back().hadCode);
    EXPECT_EQ (loaded.loads.back().firstCodeWord, 5) << "the code's length";
    const auto regions = manager.regions();
    ASSERT_FALSE (regions.empty());
    EXPECT_EQ (regions.back().name, "CProcessDSP<KESTrune> cr") << "named from the group's answer to the DSP code";
    EXPECT_EQ (process.GetIndexOnDSP(), 1);
    EXPECT_EQ (process.GetConnectionsReady(), 1);

    EXPECT_EQ (group->NotifyDSPConnect (kDSPTypeID, process.GetInstanceID(), 3, 0x40), 0);
    EXPECT_EQ (LastCommand (records[0]), (std::vector<int32_t> { kProcessCommandVector, 1, 1, 1, 3, kAddressOffset321 + 0x40 }));
    EXPECT_EQ (group->NotifyDSPDisconnectOutput (kDSPTypeID, process.GetInstanceID(), 2), 0);
    EXPECT_EQ (LastCommand (records[0]), (std::vector<int32_t> { kProcessCommandVector, 4, 1, 1, 2 }));
    int16_t percent = 0;
    EXPECT_EQ (QueryGroupForDSP (Identifier (records[0]), 4, &percent), 0);
    EXPECT_EQ (percent, 100);

    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, process.GetInstanceID()), 0);
    EXPECT_TRUE (group->GetDSPObjects()->empty());
    EXPECT_TRUE (group->GetCardKeys()->empty());
    EXPECT_TRUE (manager.registeredProcesses().empty());
    EXPECT_EQ (DsiCompat_GetDSPClientVal (records[0]), nullptr);
    EXPECT_EQ (dsi.shellState (records[0]).loads.back().shell, GetShellList()) << "the driver's standard shells are back";
    const auto freed = Host().Seen (11);
    ASSERT_EQ (freed.size(), 1u);
    EXPECT_EQ (freed[0].words[0], Identifier (records[0]));
}

TEST_P (DSPEndToEnd, ADSPObjectLeftIdleByTheManagerIsRemovedAfterTheNextDelete)
{
    CTestDSPProcess& staying = Create();
    CTestDSPProcess& leaving = Create();
    PlaceOnADSP (staying);
    CProcessDSP* idle = PlaceOnADSP (leaving);
    EXPECT_EQ (idle->GetDSP(), records[1]);
    EXPECT_EQ (leaving.DetachFromDSP(), 0);
    EXPECT_EQ (idle->GetUserCount(), 0);
    ASSERT_EQ (group->GetDSPObjects()->size(), 2u) << "the manager does not release it";

    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, leaving.GetInstanceID()), 0);
    ASSERT_EQ (group->GetDSPObjects()->size(), 1u);
    EXPECT_EQ (group->GetDSPObjects()->front()->GetDSP(), records[0]);
    EXPECT_EQ (dsi.shellState (records[1]).loads.back().shell, GetShellList());
    EXPECT_EQ (Host().Seen (11).size(), 1u);
    EXPECT_EQ (*group->GetCardKeys(), (DSPIdentifierList { Identifier (records[0]) }));
}

INSTANTIATE_TEST_SUITE_P (BothRoads, DSPEndToEnd, ::testing::Values (Road::Driver, Road::Registers), dsptest::NameOf);

}
