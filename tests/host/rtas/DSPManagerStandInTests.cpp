// The stand-in DSP manager's contract: interfaces and references, versions and regions, the
// process steps, recorded calls, injected failures and reset.

#include <DSPManagerControl.h>

#include <gtest/gtest.h>

#include <future>
#include <thread>
#include <tuple>

namespace
{

using namespace kestrune::host::rtas;

class DSPManagerStandIn : public ::testing::Test
{
protected:
    void SetUp() override { control.reset(); }
    void TearDown() override { control.reset(); }

    // The client interface, as the DSP objects fetch it: manager, query, release the manager.
    IDSPManagerClient* fetchClient()
    {
        IDSPManager* manager = GetDSPManager (0);
        if (manager == nullptr)
            return nullptr;
        void* client = nullptr;
        manager->QueryInterface (IID_IDSPManagerClient, &client);
        manager->Release();
        return static_cast<IDSPManagerClient*> (client);
    }

    DSPManagerControl& control = *KestruneDSPManagerStandIn();
};

TEST_F (DSPManagerStandIn, TheManagerHandsOutItsInterfacesWithReferences)
{
    IDSPManager* manager = GetDSPManager (3);
    ASSERT_NE (manager, nullptr);
    EXPECT_EQ (control.references(), 1);
    IDSPGroupRegistrar* registrar = manager->GetGroupRegistrar();
    ASSERT_NE (registrar, nullptr);
    void* client = nullptr;
    EXPECT_EQ (manager->QueryInterface (IID_IDSPManagerClient, &client), 0);
    EXPECT_NE (client, nullptr);
    void* unknown = reinterpret_cast<void*> (1);
    EXPECT_EQ (manager->QueryInterface (HostGUID { 1, 2, 3, { 4 } }, &unknown), kHostNoInterface);
    EXPECT_EQ (unknown, nullptr);
    EXPECT_EQ (control.references(), 3);
    static_cast<IDSPManagerClient*> (client)->Release();
    registrar->Release();
    manager->Release();
    EXPECT_EQ (control.references(), 0);
    EXPECT_EQ (control.script().callsOf ("GetDSPManager")[0].arguments[0], 3);
}

TEST_F (DSPManagerStandIn, AMissingManagerGivesNull)
{
    control.setAvailable (false);
    EXPECT_EQ (GetDSPManager (0), nullptr);
    control.setAvailable (true);
    control.script().injectFailure ("GetDSPManager", 0);
    EXPECT_EQ (GetDSPManager (0), nullptr);
    IDSPManager* manager = GetDSPManager (0);
    ASSERT_NE (manager, nullptr);
    manager->Release();
}

TEST_F (DSPManagerStandIn, TheVersionDecidesWhichRegionsExist)
{
    struct Case
    {
        int32_t version;
        bool unnamed;
        bool named;
    };
    const Case cases[] = { { 0, false, false }, { 1, true, false }, { 2, true, true }, { 3, true, true } };
    for (const auto& [version, unnamed, named] : cases)
    {
        control.reset();
        control.setVersion (version);
        IDSPManagerClient* client = fetchClient();
        ASSERT_NE (client, nullptr);
        EXPECT_EQ (client->GetVersion(), version);
        EXPECT_EQ (client->NewCriticalRegion() != nullptr, unnamed) << "version " << version;
        EXPECT_EQ (client->NewNamedCriticalRegion ("CProcessDSP<KESTrune> cr") != nullptr, named) << "version " << version;
        client->Release();
    }
    EXPECT_EQ (control.regions().back().name, "CProcessDSP<KESTrune> cr");
}

TEST_F (DSPManagerStandIn, ARegionIsRecursiveForItsHolderAndExcludesOthers)
{
    IDSPManagerClient* client = fetchClient();
    DSPCriticalRegionRef region = client->NewCriticalRegion();
    ASSERT_NE (region, nullptr);
    EXPECT_EQ (client->EnterCriticalRegion (region), 0);
    EXPECT_EQ (client->EnterCriticalRegion (region), 0);
    auto tryElsewhere = [&] { return std::async (std::launch::async, [&] {
                                         const int32_t result = client->TryEnterCriticalRegion (region);
                                         if (result == 0)
                                             client->LeaveCriticalRegion (region);
                                         return result;
                                     })
                                  .get(); };
    EXPECT_EQ (tryElsewhere(), kDSPManagerErrRegionBusy);
    EXPECT_EQ (client->DeleteCriticalRegion (region), kDSPManagerErrRegionBusy);
    EXPECT_EQ (control.regions().at (0).depth, 2);
    EXPECT_EQ (client->LeaveCriticalRegion (region), 0);
    EXPECT_EQ (client->LeaveCriticalRegion (region), 0);
    EXPECT_EQ (client->LeaveCriticalRegion (region), kDSPManagerErrNotHeld);
    EXPECT_EQ (tryElsewhere(), 0);
    EXPECT_EQ (client->DeleteCriticalRegion (region), 0);
    EXPECT_TRUE (control.regions().at (0).deleted);
    EXPECT_EQ (client->EnterCriticalRegion (region), kDSPManagerErrUnknownRegion);
    client->Release();
}

TEST_F (DSPManagerStandIn, ARegionRecordsItsOwnerAndOnlyTheOwnerLeavesIt)
{
    IDSPManagerClient* client = fetchClient();
    DSPCriticalRegionRef region = client->NewNamedCriticalRegion ("owned");
    ASSERT_NE (region, nullptr);
    EXPECT_EQ (control.regions().at (0).owner, std::thread::id());
    ASSERT_EQ (client->EnterCriticalRegion (region), 0);
    EXPECT_EQ (control.regions().at (0).owner, std::this_thread::get_id());

    // Another thread may neither leave it nor enter it until the holder has left.
    std::promise<void> left;
    auto elsewhere = std::async (std::launch::async, [&] {
        const int32_t leave = client->LeaveCriticalRegion (region);
        const int32_t enter = client->EnterCriticalRegion (region);
        const bool ownerAfterEnter = control.regions().at (0).owner == std::this_thread::get_id();
        client->LeaveCriticalRegion (region);
        return std::make_tuple (leave, enter, ownerAfterEnter, left.get_future().wait_for (std::chrono::seconds (0)) == std::future_status::ready);
    });
    EXPECT_EQ (elsewhere.wait_for (std::chrono::milliseconds (50)), std::future_status::timeout) << "the other thread waits";
    EXPECT_EQ (control.regions().at (0).depth, 1);
    left.set_value();
    EXPECT_EQ (client->LeaveCriticalRegion (region), 0);
    const auto [leave, enter, ownerAfterEnter, enteredAfterLeave] = elsewhere.get();
    EXPECT_EQ (leave, kDSPManagerErrNotHeld);
    EXPECT_EQ (enter, 0);
    EXPECT_TRUE (ownerAfterEnter);
    EXPECT_TRUE (enteredAfterLeave);
    EXPECT_EQ (control.regions().at (0).owner, std::thread::id());
    client->Release();
}

TEST_F (DSPManagerStandIn, ProcessesAreRegisteredAcceptedAndUnregistered)
{
    IDSPManagerClient* client = fetchClient();
    int process = 0;
    EXPECT_EQ (client->AcceptProcess (&process), kDSPManagerErrUnknownProcess);
    EXPECT_EQ (client->RegisterProcess (&process), 0);
    EXPECT_EQ (client->AcceptProcess (&process), 0);
    EXPECT_EQ (control.acceptedProcesses(), std::vector<void*> { &process });
    EXPECT_EQ (client->UnregisterProcess (&process), 0);
    EXPECT_TRUE (control.registeredProcesses().empty());
    EXPECT_TRUE (control.acceptedProcesses().empty());
    EXPECT_EQ (client->UnregisterProcess (&process), kDSPManagerErrUnknownProcess);
    EXPECT_EQ (control.script().callNames().back(), "Client.UnregisterProcess");
    client->Release();
}

TEST_F (DSPManagerStandIn, ARefusedAcceptLeavesTheProcessRegisteredOnly)
{
    IDSPManagerClient* client = fetchClient();
    int process = 0;
    control.script().injectFailure ("Client.AcceptProcess", -7434);
    EXPECT_EQ (client->RegisterProcess (&process), 0);
    EXPECT_EQ (client->AcceptProcess (&process), -7434);
    EXPECT_EQ (control.registeredProcesses(), std::vector<void*> { &process });
    EXPECT_TRUE (control.acceptedProcesses().empty());
    client->Release();
}

TEST_F (DSPManagerStandIn, GroupsRegisterWithACookie)
{
    IDSPManager* manager = GetDSPManager (0);
    IDSPGroupRegistrar* registrar = manager->GetGroupRegistrar();
    int group = 0;
    int32_t cookie = 0;
    EXPECT_EQ (registrar->RegisterGroup (&group, &cookie), 0);
    EXPECT_NE (cookie, 0);
    EXPECT_EQ (control.registeredGroups().size(), 1u);
    EXPECT_EQ (registrar->UnregisterGroup (cookie), 0);
    EXPECT_EQ (registrar->UnregisterGroup (cookie), kDSPManagerErrUnknownCookie);
    registrar->Release();
    manager->Release();
}

TEST_F (DSPManagerStandIn, ResetGivesANewManager)
{
    control.setVersion (1);
    control.setAvailable (false);
    control.script().injectFailure ("Client.RegisterProcess", -1, -1);
    control.reset();
    IDSPManagerClient* client = fetchClient();
    ASSERT_NE (client, nullptr);
    EXPECT_EQ (client->GetVersion(), 2);
    int process = 0;
    EXPECT_EQ (client->RegisterProcess (&process), 0);
    client->Release();
    control.reset();
    EXPECT_TRUE (control.registeredProcesses().empty());
    EXPECT_TRUE (control.script().calls().empty());
    EXPECT_EQ (control.references(), 0);
}

} // namespace
