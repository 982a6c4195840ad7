// The stand-in engine's contract: its services, recorded calls, scripted results, injected
// failures and reset.

#include <DaeControl.h>

#include <win/Win32.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <future>

namespace
{

using namespace kestrune::host::rtas;
using kestrune::rtas::abi::fourCC;

class DaeStandIn : public ::testing::Test
{
protected:
    void SetUp() override { dae.reset(); }
    void TearDown() override { dae.reset(); }

    DaeControl& dae = *KestruneDaeStandIn();
};

std::vector<uint8_t> pascal (const char* text)
{
    const size_t length = std::strlen (text);
    std::vector<uint8_t> bytes (length + 1, uint8_t (length));
    std::memcpy (bytes.data() + 1, text, length);
    return bytes;
}

// A token declaring the given length; the buffer always holds the length field itself.
std::vector<uint8_t> token (uint32_t type, uint16_t length)
{
    std::vector<uint8_t> bytes (std::max<size_t> (length, 38), 0);
    std::memcpy (&bytes[4], &type, 4);
    std::memcpy (&bytes[36], &length, 2);
    return bytes;
}

TEST_F (DaeStandIn, GestaltAnswersThePISIServiceAndScriptedSelectors)
{
    int32_t response = 0;
    ASSERT_EQ (FicGestalt (kFicGestaltPISI, &response), 0);
    const auto* service = reinterpret_cast<const SPISIService*> (uintptr_t (response));
    ASSERT_EQ (service, dae.pisiService());
    EXPECT_EQ (service->GetVersion(), 2);

    EXPECT_EQ (FicGestalt (kFicGestaltHostSDS, &response), kFicErrUnknownSelector);
    dae.setGestalt (kFicGestaltHostSDS, 1);
    ASSERT_EQ (FicGestalt (fourCC ("hsds"), &response), 0);
    EXPECT_EQ (response, 1);

    dae.setPISIVersion (0);
    EXPECT_EQ (service->GetVersion(), 0);
    dae.removeGestalt (kFicGestaltPISI);
    EXPECT_EQ (FicGestalt (kFicGestaltPISI, &response), kFicErrUnknownSelector);
}

TEST_F (DaeStandIn, CallsAreRecordedInOrderWithTheirArguments)
{
    int32_t response = 0;
    FicGestalt (kFicGestaltConnectionManager, &response);
    const FicObjectRef server = FicNewServer();
    FicNewObject (server, FicFindStandardType (server, 57));
    const auto calls = dae.script().calls();
    ASSERT_EQ (dae.script().callNames(),
               (std::vector<std::string> { "FicGestalt", "FicNewServer", "FicFindStandardType", "FicNewObject" }));
    EXPECT_EQ (calls[0].arguments[0], int64_t (kFicGestaltConnectionManager));
    EXPECT_EQ (calls[2].arguments, (std::vector<int64_t> { server, 57 }));
    EXPECT_EQ (calls[3].arguments[1], int64_t (dae.standardType (57)));
}

TEST_F (DaeStandIn, InjectedFailuresHitTheChosenCallsOnly)
{
    dae.script().injectFailure ("FicNewObject", 0, 1, 1);
    const FicObjectRef server = FicNewServer();
    EXPECT_NE (FicNewObject (server, 56), 0) << "the first call is skipped";
    EXPECT_EQ (FicNewObject (server, 56), 0) << "the second fails";
    EXPECT_NE (FicNewObject (server, 56), 0) << "then it works again";

    dae.script().injectFailure ("FicPrepareForConnections", -7103, -1);
    EXPECT_EQ (FicPrepareForConnections (0, 1), -7103);
    EXPECT_EQ (FicPrepareForConnections (0, 0), -7103);
    EXPECT_FALSE (dae.connectionsPrepared());

    dae.script().injectFailure ("FicIsAlive", 0);
    EXPECT_EQ (FicIsAlive(), 0);
    EXPECT_EQ (FicIsAlive(), 1);
}

TEST_F (DaeStandIn, RecordingCanBeSwitchedOffWhileScriptsStillApply)
{
    dae.script().setRecording (false);
    dae.script().injectFailure ("FicNewServer", 0);
    EXPECT_EQ (FicNewServer(), 0);
    EXPECT_NE (FicNewServer(), 0);
    EXPECT_TRUE (dae.script().calls().empty());
    dae.reset();
    FicNewServer();
    EXPECT_EQ (dae.script().countOf ("FicNewServer"), 1u) << "reset records again";
}

TEST_F (DaeStandIn, ObjectsLiveUntilDeleted)
{
    const FicObjectRef server = FicNewServer();
    ASSERT_NE (server, 0);
    const FicObjectRef task = FicNewObject (server, FicFindStandardType (server, 57));
    ASSERT_NE (task, 0);
    EXPECT_EQ (FicNewObject (task, 56), 0) << "objects are made on servers";
    EXPECT_EQ (dae.liveObjects().size(), 2u);
    EXPECT_EQ (FicDelete (task), 0);
    EXPECT_EQ (FicDelete (task), kFicErrUnknownObject);
    EXPECT_EQ (FicDelete (server), 0);
    EXPECT_TRUE (dae.liveObjects().empty());
}

TEST_F (DaeStandIn, ListenersKeepTheirTenSettings)
{
    const FicObjectRef server = FicNewServer();
    const FicObjectRef task = FicNewObject (server, dae.standardType (57));
    const FicObjectRef listener = FicNewObject (server, dae.standardType (56));
    int entry = 0;
    EXPECT_EQ (FicSDSSetListenerName (listener, 101), 0);
    EXPECT_EQ (FicSDSSetListenerType (listener, fourCC ("CURV")), 0);
    EXPECT_EQ (FicSDSSetListenerSubType (listener, fourCC ("CAVL")), 0);
    EXPECT_EQ (FicSDSSetListenerGoal (listener, 0), 0);
    EXPECT_EQ (FicSDSSetListenerCritical (listener, 0), 0);
    EXPECT_EQ (FicSDSSetListenerLatest (listener, 1), 0);
    EXPECT_EQ (FicSDSSetListenerTaskVal (listener, &entry), 0);
    EXPECT_EQ (FicSDSSetListenerTask (listener, task), 0);
    EXPECT_EQ (FicSDSSetListenerProtocol (listener, fourCC ("Ctrl")), 0);
    EXPECT_EQ (FicSDSSetListenerManufacturer (listener, fourCC ("DUZU")), 0);
    EXPECT_EQ (FicSDSSetListenerName (server, 101), kFicErrUnknownObject) << "a server is no listener";

    const auto objects = dae.liveObjects();
    const auto found = std::find_if (objects.begin(), objects.end(), [&] (const DaeObject& o) { return o.ref == listener; });
    ASSERT_NE (found, objects.end());
    const DaeListener& settings = found->listener;
    EXPECT_EQ (settings.nameId, 101);
    EXPECT_EQ (settings.type, fourCC ("CURV"));
    EXPECT_EQ (settings.subType, fourCC ("CAVL"));
    EXPECT_EQ (settings.latest, 1);
    EXPECT_EQ (settings.taskValue, &entry);
    EXPECT_EQ (settings.task, task);
    EXPECT_EQ (settings.protocol, fourCC ("Ctrl"));
    EXPECT_EQ (settings.manufacturer, fourCC ("DUZU"));
}

TEST_F (DaeStandIn, SDSNamesFormATreeThatIsFreedWhole)
{
    int32_t root = 0;
    ASSERT_EQ (FicSDSGetNameId (0, pascal ("").data(), &root), 0);
    EXPECT_EQ (root, 1);
    int32_t instance = 0;
    ASSERT_EQ (FicSDSReserveName (0, pascal ("QORa/KSTR/Inst1").data(), &instance), 0);
    EXPECT_EQ (instance, 100);
    int32_t control = 0;
    ASSERT_EQ (FicSDSReserveName (instance, pascal ("Attack").data(), &control), 0);
    EXPECT_EQ (dae.nameId (instance, "Attack"), control);
    EXPECT_EQ (FicSDSReserveName (instance, pascal ("Attack").data(), &control), kFicErrNameInUse);
    EXPECT_EQ (FicSDSReserveName (999, pascal ("Orphan").data(), &control), kFicErrUnknownName);
    int32_t found = 0;
    EXPECT_EQ (FicSDSGetNameId (instance, pascal ("Attack").data(), &found), 0);
    EXPECT_EQ (found, control);

    EXPECT_EQ (FicSDSFreeName (instance, pascal ("Attack").data()), 0);
    EXPECT_EQ (FicSDSFreeName (instance, pascal ("Attack").data()), kFicErrUnknownName);
    ASSERT_EQ (FicSDSReserveName (instance, pascal ("Release").data(), &control), 0);
    EXPECT_EQ (FicSDSFreeName (instance, nullptr), 0) << "no name frees the parent itself";
    EXPECT_EQ (dae.reservedNameCount(), 0u);
    EXPECT_EQ (dae.script().callsOf ("FicSDSReserveName")[0].text, "QORa/KSTR/Inst1");
}

TEST_F (DaeStandIn, TokensQueuedForATaskAreHandedOutAndGivenBack)
{
    const FicObjectRef server = FicNewServer();
    const FicObjectRef task = FicNewObject (server, dae.standardType (57));
    int entry = 0;
    dae.queueToken (task, &entry, token (fourCC ("CURV"), 42));
    dae.queueToken (task + 1, nullptr, token (fourCC ("GETV"), 38));

    uint8_t* handed = nullptr;
    void* value = nullptr;
    ASSERT_EQ (FicSDSGetTokenAndTaskVal (task, &handed, &value), 0);
    ASSERT_NE (handed, nullptr);
    EXPECT_EQ (value, &entry);
    uint32_t type = 0;
    std::memcpy (&type, handed + 4, 4);
    EXPECT_EQ (type, fourCC ("CURV"));
    EXPECT_EQ (dae.tokensHandedOut(), 1u);
    ASSERT_EQ (FicSDSGetTokenAndTaskVal (task, &handed, &value), 0);
    EXPECT_EQ (handed, nullptr) << "the other token belongs to another task";
    EXPECT_EQ (FicSDSDoneWithToken (handed), kFicErrUnknownToken);
}

TEST_F (DaeStandIn, DispatchedTokensAreKeptByTheirLength)
{
    auto sent = token (fourCC ("SETV"), 44);
    sent.resize (60, 0xEE); // bytes after the token's length are not its own
    EXPECT_EQ (FicSDSDispatchToken (sent.data()), 0);
    const auto kept = dae.dispatchedTokens();
    ASSERT_EQ (kept.size(), 1u);
    EXPECT_EQ (kept[0], std::vector<uint8_t> (sent.begin(), sent.begin() + 44));
    EXPECT_EQ (FicSDSDispatchToken (token (fourCC ("SETV"), 20).data()), kFicErrBadArgument);
    EXPECT_EQ (FicSDSDispatchToken (nullptr), kFicErrBadArgument);
}

TEST_F (DaeStandIn, PlugInSpecsCarryTheirIDsAndPortCallsAreRecorded)
{
    SFicPlugInSpec spec;
    std::memset (&spec, 0xFF, sizeof spec);
    ASSERT_EQ (FicCreatePlugInSpec (fourCC ("QORa"), fourCC ("KSTR"), fourCC ("jcaa"), &spec), 0);
    EXPECT_EQ (spec.fManufacturerID, fourCC ("QORa"));
    EXPECT_EQ (spec.fProductID, fourCC ("KSTR"));
    EXPECT_EQ (spec.fPlugInID, fourCC ("jcaa"));
    EXPECT_EQ (spec.fInstanceWord, 0u);
    spec.fInstanceWord = 3;
    EXPECT_EQ (FicDeactivateTalker (&spec, 2), 0);
    EXPECT_EQ (FicReactivateListener (nullptr, 1), kFicErrBadArgument);
    const auto talker = dae.script().callsOf ("FicDeactivateTalker");
    ASSERT_EQ (talker.size(), 1u);
    EXPECT_EQ (talker[0].arguments, (std::vector<int64_t> { fourCC ("jcaa"), 3, 2 }));
}

TEST_F (DaeStandIn, ConnectionPreparationOpensAndClosesAndItsStatusCanBeScripted)
{
    EXPECT_EQ (FicPrepareForConnectionsStatus (0), 0);
    EXPECT_EQ (FicPrepareForConnections (0, 1), 0);
    EXPECT_EQ (FicPrepareForConnectionsStatus (0), 1);
    EXPECT_EQ (FicPrepareForConnections (0, 0), 0);
    dae.script().scriptResult ("FicPrepareForConnectionsStatus", 1, 1);
    EXPECT_EQ (FicPrepareForConnectionsStatus (0), 1);
    EXPECT_EQ (FicPrepareForConnectionsStatus (0), 0);
}

TEST_F (DaeStandIn, DirectMIDIClientsRegisterOnce)
{
    int client = 0;
    SFicPlugInSpec spec {};
    spec.fManufacturerID = fourCC ("XXXX");
    EXPECT_EQ (FicRegisterDirectMIDIClient (&client, nullptr, &spec, nullptr), 0);
    EXPECT_EQ (FicRegisterDirectMIDIClient (&client, nullptr, &spec, nullptr), kFicErrClientInUse);
    EXPECT_EQ (dae.midiClients(), std::vector<void*> { &client });
    EXPECT_EQ (FicUnRegisterDirectMIDIClient (&client), 0);
    EXPECT_EQ (FicUnRegisterDirectMIDIClient (&client), kFicErrUnknownObject);
    EXPECT_EQ (dae.script().callsOf ("FicRegisterDirectMIDIClient")[0].arguments[2], int64_t (fourCC ("XXXX")));
}

int16_t openProc()
{
    return 0;
}

int16_t closeProc()
{
    return 0;
}

// As the plug-in's entry glue finds it: at run time, in the engine module.
void registerProcs()
{
    auto registrar = reinterpret_cast<SetPlugInOpenAndCloseProcsProc> (
        GetProcAddress (GetModuleHandleA ("DAE.DLL"), kSetPlugInOpenAndCloseProcsName));
    ASSERT_NE (registrar, nullptr);
    registrar (openProc, closeProc);
}

TEST_F (DaeStandIn, OpenAndCloseProceduresAreKeptForTheTest)
{
    ASSERT_TRUE (dae.offersOpenAndCloseProcs());
    registerProcs();
    EXPECT_EQ (dae.openProc(), &openProc);
    EXPECT_EQ (dae.closeProc(), &closeProc);
}

TEST_F (DaeStandIn, PISILocksExcludeOtherThreadsAndNamedOnesKeepTheirName)
{
    const SPISIService& service = *dae.pisiService();
    PISILockRef lock = service.NewNamedLock ("CProcessGroup<KESTrune>");
    ASSERT_NE (lock, nullptr);
    service.Lock (lock);
    service.Lock (lock);
    EXPECT_EQ (std::async (std::launch::async, [&] { return service.TryLock (lock); }).get(), 0);
    EXPECT_EQ (dae.locks().at (0).depth, 2);
    EXPECT_EQ (dae.locks().at (0).name, "CProcessGroup<KESTrune>");
    service.Unlock (lock);
    service.Unlock (lock);
    EXPECT_EQ (std::async (std::launch::async, [&] {
                   const uint8_t taken = service.TryLock (lock);
                   if (taken)
                       service.Unlock (lock);
                   return taken;
               }).get(),
               1);
    service.DisposeLock (lock);
    EXPECT_TRUE (dae.locks().at (0).disposed);

    dae.script().injectFailure ("PISI.NewLock", 0);
    EXPECT_EQ (service.NewLock(), nullptr);
    EXPECT_NE (service.NewLock(), nullptr);
}

TEST_F (DaeStandIn, ResetGivesANewEngine)
{
    dae.setGestalt (kFicGestaltHostSDS, 1);
    dae.setAlive (false);
    dae.setPISIVersion (1);
    const FicObjectRef server = FicNewServer();
    int32_t id = 0;
    FicSDSReserveName (0, pascal ("Name").data(), &id);
    FicPrepareForConnections (0, 1);
    registerProcs();
    dae.pisiService()->NewLock();
    dae.script().injectFailure ("FicGestalt", -1, -1);

    dae.reset();
    int32_t response = 0;
    EXPECT_EQ (FicGestalt (kFicGestaltHostSDS, &response), kFicErrUnknownSelector);
    EXPECT_EQ (FicIsAlive(), 1);
    EXPECT_EQ (dae.pisiService()->GetVersion(), 2);
    EXPECT_TRUE (dae.liveObjects().empty());
    EXPECT_EQ (dae.reservedNameCount(), 0u);
    EXPECT_FALSE (dae.connectionsPrepared());
    EXPECT_EQ (dae.openProc(), nullptr);
    EXPECT_TRUE (dae.locks().empty());
    EXPECT_EQ (FicNewServer(), server) << "object references start again";
    EXPECT_EQ (dae.script().countOf ("FicNewServer"), 1u);
}

} // namespace
