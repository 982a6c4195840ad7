// The process group's own life: its types (order, enabling, lookup), its lock through the PISI
// service, and the instances it creates and deletes with the SDS server and the plug-in's
// resource file that they hold, against the stand-in engine and toolbox.

#include "GroupTestSupport.h"
#include "NonCountingToolbox.h"
#include "ThrownCode.h"

#include "process/dsp/DSPCodeResources.h"
#include "process/process/SDSConnection.h"
#include "process/utilities/HostExtToolbox.h"
#include "process/utilities/PlugInFileRecord.h"
#include "process/utilities/ScopedPlugInResFile.h"
#include "process/utilities/ViewlessMode.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

// A type with a product identifier, a type identifier and an enable mark of its own.
class CMarkedType final : public CInstanceType
{
public:
    CMarkedType (uint32_t productID, uint32_t identifier, int16_t mark, bool* deleted = nullptr)
        : CInstanceType (productID), fDeleted (deleted)
    {
        SetTypeIdentifier (identifier);
        SetEnableMark (mark);
    }
    ~CMarkedType() override
    {
        if (fDeleted != nullptr)
            *fDeleted = true;
    }

private:
    bool* fDeleted;
};

class ProcessGroups : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.reset();
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        SetOpenedByWinPlugInOpen (false);
        FSSpec spec {};
        std::string (KESTRUNE_GROUP_PLUGIN_FILE).copy (spec.path, sizeof spec.path - 1);
        SetPlugInFileSpec (spec);
        hostFile = HostToolbox().OpenResFileWithSwap (KESTRUNE_GROUP_HOST_FILE, nullptr);
        ASSERT_GT (hostFile, 0);
        engine.setGestalt (kFicGestaltHostSDS, 1);
    }
    void TearDown() override
    {
        group.reset();
        SetOpenedByWinPlugInOpen (false);
        HostToolbox().CloseResFileByPath (KESTRUNE_GROUP_HOST_FILE);
        ReleaseHostToolbox();
    }

    // Initialises the group with one instance type of kTestTypeID.
    void InitializeWithInstanceType()
    {
        group->addTypes = [this] (CTestGroup& g) {
            instanceType = new CInstanceType;
            g.AddProcessType (instanceType);
        };
        ASSERT_EQ (group->Initialize(), 0);
    }

    int32_t Create()
    {
        int32_t id = 0;
        EXPECT_EQ (group->CreateProcess (kTestTypeID, &id), 0);
        return id;
    }

    int PlugInFileOpens()
    {
        for (const HostExtResourceFile& file : toolbox.openResourceFiles())
            if (file.path == KESTRUNE_GROUP_PLUGIN_FILE)
                return file.opens;
        return 0;
    }
    bool PlugInFileOpen() { return PlugInFileOpens() > 0; }

    DaeControl& engine = *KestruneDaeStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
    ScopedViewless viewless;
    int16_t hostFile = 0;
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<CTestGroup> group = std::make_unique<CTestGroup>();
    CInstanceType* instanceType = nullptr;
};

// The plug-in's resource file opened as the module's open procedure opens it, and held as the
// module's for the object's lifetime. The host's file is current again afterwards.
class ModuleOpenOfPlugInFile
{
public:
    explicit ModuleOpenOfPlugInFile (int16_t hostFile)
    {
        SetModulePlugInResFile (HostToolbox().OpenResFileWithSwap (KESTRUNE_GROUP_PLUGIN_FILE, nullptr));
        HostToolbox().UseResFile (hostFile);
    }
    ~ModuleOpenOfPlugInFile()
    {
        SetModulePlugInResFile (0);
        HostToolbox().CloseResFileByPath (KESTRUNE_GROUP_PLUGIN_FILE);
    }
    ModuleOpenOfPlugInFile (const ModuleOpenOfPlugInFile&) = delete;
    ModuleOpenOfPlugInFile& operator= (const ModuleOpenOfPlugInFile&) = delete;
};

// ---- Types ----

TEST_F (ProcessGroups, InitialisationPutsEnabledTypesAndTypesWithoutIdentifierFirstAndNumbersThem)
{
    CMarkedType* a = nullptr;
    CMarkedType* b = nullptr;
    CMarkedType* c = nullptr;
    group->addTypes = [&] (CTestGroup& g) {
        g.AddProcessType (a = new CMarkedType (FourCharCode ("AAAA"), 1, 0));
        g.AddProcessType (b = new CMarkedType (FourCharCode ("BBBB"), 0, 0));
        g.AddProcessType (c = new CMarkedType (FourCharCode ("CCCC"), 3, 1));
    };
    ASSERT_EQ (group->Initialize(), 0);
    EXPECT_EQ (group->Types(), (std::vector<CProcessType*> { b, c, a }));
    for (CProcessType* type : { b, c, a })
        EXPECT_EQ (type->GetGroup(), group.get());
    EXPECT_EQ (b->GetTypeIndex(), 1);
    EXPECT_EQ (c->GetTypeIndex(), 2);
    EXPECT_EQ (a->GetTypeIndex(), 3);
    EXPECT_EQ (group->FindTypeByIndex (3), a);
    EXPECT_EQ (ThrownCode ([&] { group->FindTypeByIndex (4); }), -7125);
    int16_t count = 0;
    EXPECT_EQ (group->GetNumTypes (&count), 0);
    EXPECT_EQ (count, 2) << "the enabled type and the one without identifier";
}

TEST_F (ProcessGroups, EnablingATypeMarksEveryTypeWithItsIdentifierAndMovesThemFirst)
{
    CMarkedType *a = nullptr, *b = nullptr, *c = nullptr, *d = nullptr;
    group->addTypes = [&] (CTestGroup& g) {
        g.AddProcessType (a = new CMarkedType (FourCharCode ("AAAA"), 1, 0));
        g.AddProcessType (b = new CMarkedType (FourCharCode ("BBBB"), 2, 0));
        g.AddProcessType (c = new CMarkedType (FourCharCode ("CCCC"), 3, 0));
        g.AddProcessType (d = new CMarkedType (FourCharCode ("DDDD"), 3, 0));
    };
    ASSERT_EQ (group->Initialize(), 0);
    EXPECT_EQ (group->Types(), (std::vector<CProcessType*> { a, b, c, d }));

    EXPECT_EQ (group->EnableType (99), 0);
    EXPECT_EQ (group->Types(), (std::vector<CProcessType*> { a, b, c, d })) << "no type has it";

    EXPECT_EQ (group->EnableType (2), 0);
    EXPECT_EQ (group->Types(), (std::vector<CProcessType*> { b, a, c, d }));
    EXPECT_EQ (b->GetTypeIndex(), 1);
    EXPECT_EQ (a->GetTypeIndex(), 2);
    EXPECT_EQ (c->GetTypeIndex(), 3);

    EXPECT_EQ (group->EnableType (3), 0);
    EXPECT_EQ (group->Types(), (std::vector<CProcessType*> { b, c, d, a })) << "both types of identifier 3";
    EXPECT_EQ (d->GetEnableMark(), 1);
    int16_t count = 0;
    group->GetNumTypes (&count);
    EXPECT_EQ (count, 3);
}

TEST_F (ProcessGroups, TheFirstOfTwoTypesWithTheSameProductIdentifierIsFound)
{
    CInstanceType* first = nullptr;
    group->addTypes = [&] (CTestGroup& g) {
        g.AddProcessType (new CInstanceType (kOtherTypeID));
        g.AddProcessType (first = new CInstanceType (kTestTypeID));
        g.AddProcessType (new CInstanceType (kTestTypeID));
    };
    ASSERT_EQ (group->Initialize(), 0);
    EXPECT_EQ (group->FindType (kTestTypeID), first);
    EXPECT_EQ (group->FindTypeOrNull (kUnknownTypeID), nullptr);
    EXPECT_EQ (ThrownCode ([&] { group->FindType (kUnknownTypeID); }), -7125);
}

TEST_F (ProcessGroups, ATypeIsRefusedWhenNullOrBeforeInitialisationAndNotLeaked)
{
    bool deleted = false;
    EXPECT_THROW (group->AddProcessType (new CMarkedType (kTestTypeID, 1, 0, &deleted)), CProcessGroup::AddProcessTypeEx);
    EXPECT_TRUE (deleted);
    InitializeWithInstanceType();
    EXPECT_THROW (group->AddProcessType (nullptr), CProcessGroup::AddProcessTypeEx);
    EXPECT_EQ (group->Types().size(), 1u);
}

TEST_F (ProcessGroups, DestructionDeletesTheTypesAndTheirInstances)
{
    bool deleted = false;
    CMarkedType* type = nullptr;
    group->addTypes = [&] (CTestGroup& g) { g.AddProcessType (type = new CMarkedType (kTestTypeID, 1, 0, &deleted)); };
    ASSERT_EQ (group->Initialize(), 0);
    Create();
    Create();
    ASSERT_EQ (type->GetNumProcesses(), 2);
    group.reset();
    EXPECT_TRUE (deleted);
    EXPECT_TRUE (engine.liveObjects().empty()) << "the SDS server and object are gone";
    EXPECT_FALSE (PlugInFileOpen());
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
}

// ---- The group lock ----

struct LockCase
{
    const char* what;
    int32_t version;
    std::string altName;
    int32_t altNameResult;
    const char* failure; // a PISI operation made to fail
    int32_t made; // MakeGroupName's answer
    bool named;
    std::string name;
};

TEST_F (ProcessGroups, TheLockIsMadeAsThePISIServiceVersionAllows)
{
    const std::string longName (80, 'k');
    const std::vector<LockCase> cases = {
        { "version 2", 2, "KESTrune", 0, nullptr, 0, true, "CProcessGroup<KESTrune>" },
        { "version 3", 3, "KESTrune", 0, nullptr, 0, true, "CProcessGroup<KESTrune>" },
        { "an empty name", 2, "", 0, nullptr, 0, true, "CProcessGroup<<unknown>>" },
        { "a failed name", 2, "KESTrune", -1, nullptr, 0, true, "CProcessGroup<<unknown>>" },
        { "a long name", 2, longName, 0, nullptr, 0, true, "CProcessGroup<" + std::string (63, 'k') + ">" },
        { "version 1", 1, "KESTrune", 0, nullptr, 0, false, "" },
        { "no named lock", 2, "KESTrune", 0, "PISI.NewNamedLock", -7075, false, "" },
        { "no unnamed lock", 1, "KESTrune", 0, "PISI.NewLock", -7075, false, "" },
        { "version 0", 0, "KESTrune", 0, nullptr, -7060, false, "" },
        { "version -1", -1, "KESTrune", 0, nullptr, -7060, false, "" },
    };
    for (const LockCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        engine.reset();
        engine.setPISIVersion (row.version);
        if (row.failure != nullptr)
            engine.script().injectFailure (row.failure, 0);
        group = std::make_unique<CTestGroup>();
        group->altName = row.altName;
        group->altNameResult = row.altNameResult;
        EXPECT_EQ (group->Initialize(), 0) << "a group without a lock still initialises";
        const std::vector<DaeLock> locks = engine.locks();
        const bool madeOne = row.made == 0;
        ASSERT_EQ (locks.size(), madeOne ? 1u : 0u);
        if (madeOne)
        {
            EXPECT_EQ (locks[0].named, row.named);
            EXPECT_EQ (locks[0].name, row.name);
        }

        // Without a lock only the depth is counted.
        engine.script().clearCalls();
        EXPECT_EQ (group->Lock(), 1);
        EXPECT_EQ (group->Unlock(), 0);
        EXPECT_EQ (engine.script().countOf ("PISI.Lock"), madeOne ? 1u : 0u);
        EXPECT_EQ (engine.script().countOf ("PISI.Unlock"), madeOne ? 1u : 0u);
        group.reset();
    }
}

TEST_F (ProcessGroups, MakingTheNameAnswersWhetherALockWasMade)
{
    engine.setPISIVersion (0);
    EXPECT_EQ (group->MakeGroupName(), -7060);
    engine.setPISIVersion (2);
    engine.script().injectFailure ("PISI.NewNamedLock", 0);
    EXPECT_EQ (group->MakeGroupName(), -7075);
    EXPECT_EQ (group->MakeGroupName(), 0);
}

TEST_F (ProcessGroups, TheLockCountsItsDepthAndExcludesOtherThreads)
{
    InitializeWithInstanceType();
    EXPECT_EQ (group->Lock(), 1);
    EXPECT_TRUE (group->TryLock());
    EXPECT_EQ (group->GetLockDepth(), 2);
    EXPECT_EQ (engine.locks()[0].depth, 2);

    bool otherTook = true;
    std::thread ([&] { otherTook = group->TryLock(); }).join();
    EXPECT_FALSE (otherTook);
    EXPECT_EQ (group->GetLockDepth(), 2) << "a failed try counts nothing";

    EXPECT_EQ (group->Unlock(), 1);
    EXPECT_EQ (group->Unlock(), 0);
    EXPECT_EQ (engine.locks()[0].depth, 0);
    std::thread ([&] {
        otherTook = group->TryLock();
        if (otherTook)
            group->Unlock();
    }).join();
    EXPECT_TRUE (otherTook);

    engine.script().clearCalls();
    EXPECT_EQ (group->Unlock(), 0) << "an unlock without a lock";
    EXPECT_EQ (group->GetLockDepth(), 0);
    EXPECT_EQ (engine.script().countOf ("PISI.Unlock"), 0u);
}

TEST_F (ProcessGroups, YieldingAtDepthThreeReleasesAllFourLevelsYieldsOnceAndTakesThreeAgain)
{
    InitializeWithInstanceType();
    group->Lock();
    group->Lock();
    group->Lock();
    engine.script().clearCalls();
    toolbox.script().clearCalls();
    EXPECT_EQ (group->YieldLock(), 0);
    EXPECT_EQ (engine.script().countOf ("PISI.Lock"), 4u);
    EXPECT_EQ (engine.script().countOf ("PISI.Unlock"), 4u);
    EXPECT_EQ (toolbox.script().countOf ("EventAvail"), 1u);
    const std::vector<std::string> names = engine.script().callNames();
    std::vector<std::string> pisi;
    for (const std::string& name : names)
        if (name == "PISI.Lock" || name == "PISI.Unlock")
            pisi.push_back (name);
    EXPECT_EQ (pisi, (std::vector<std::string> { "PISI.Lock", "PISI.Unlock", "PISI.Unlock", "PISI.Unlock", "PISI.Unlock", "PISI.Lock", "PISI.Lock", "PISI.Lock" }));
    EXPECT_EQ (group->GetLockDepth(), 3);
    EXPECT_EQ (engine.locks()[0].depth, 3);
    group->Unlock();
    group->Unlock();
    group->Unlock();
}

TEST_F (ProcessGroups, DestructionGivesTheLockBack)
{
    InitializeWithInstanceType();
    group.reset();
    ASSERT_EQ (engine.locks().size(), 1u);
    EXPECT_TRUE (engine.locks()[0].disposed);
}

// ---- Instances ----

TEST_F (ProcessGroups, InstancesHoldTheSDSServerAndTheResourceFileFromTheFirstCreateToTheLastDelete)
{
    InitializeWithInstanceType();
    EXPECT_TRUE (engine.liveObjects().empty());
    EXPECT_EQ (Create(), 1);
    const std::vector<DaeObject> live = engine.liveObjects();
    ASSERT_EQ (live.size(), 2u) << "the server and the SDS object";
    EXPECT_EQ (live[0].ref, gSDSServer);
    EXPECT_EQ (live[1].ref, gSDSObject);
    EXPECT_EQ (live[1].server, gSDSServer);
    EXPECT_EQ (live[1].standardType, engine.standardType (57));
    EXPECT_TRUE (PlugInFileOpen());
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile) << "the host's file is current again";
    EXPECT_EQ (gSavedResFile, hostFile);
    EXPECT_EQ (group->GetOpenCount(), 1);
    EXPECT_EQ (gInstanceSerial, 1);

    EXPECT_EQ (Create(), 2);
    EXPECT_EQ (engine.script().countOf ("FicNewServer"), 1u);
    EXPECT_EQ (PlugInFileOpens(), 1) << "pushed once for all instances";
    EXPECT_EQ (gInstanceSerial, 2);

    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
    EXPECT_EQ (engine.liveObjects().size(), 2u);
    EXPECT_TRUE (PlugInFileOpen());
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 2), 0);
    EXPECT_TRUE (engine.liveObjects().empty());
    EXPECT_EQ (gSDSServer, 0);
    EXPECT_EQ (gSDSObject, 0);
    EXPECT_FALSE (PlugInFileOpen());
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    EXPECT_EQ (group->GetOpenCount(), 0);

    EXPECT_EQ (Create(), 1);
    EXPECT_EQ (engine.script().countOf ("FicNewServer"), 2u) << "connected again";
    EXPECT_EQ (engine.liveObjects().size(), 2u);
    EXPECT_TRUE (PlugInFileOpen());
    EXPECT_EQ (gInstanceSerial, 3) << "the serial is never counted down";
}

struct CreateFailureCase
{
    const char* what;
    std::function<void (CInstanceType&, DaeControl&, HostExtControl&)> arrange;
    uint32_t typeID;
    int32_t result; // answered
    int32_t thrown; // thrown (1: not a CDAEError)
    bool firstOnly; // a step only the first instance takes
};

TEST_F (ProcessGroups, ResourceFilePushesNestAndEveryPopMakesThePreviousFileCurrent)
{
    InitializeWithInstanceType();
    EXPECT_EQ (group->PushPlugInResFile(), hostFile);
    const int16_t plugIn = HostToolbox().CurResFile();
    EXPECT_NE (plugIn, hostFile);
    EXPECT_EQ (HeldPlugInResFile(), plugIn);
    EXPECT_EQ (group->PushPlugInResFile(), plugIn) << "the plug-in's file is current: only counted";
    HostToolbox().UseResFile (hostFile);
    EXPECT_EQ (group->PushPlugInResFile(), hostFile) << "made current again, not opened again";
    EXPECT_EQ (PlugInFileOpens(), 1);

    group->PopPlugInResFile (hostFile);
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    group->PopPlugInResFile (plugIn);
    EXPECT_EQ (HostToolbox().CurResFile(), plugIn);
    EXPECT_TRUE (PlugInFileOpen());
    group->PopPlugInResFile (hostFile);
    EXPECT_FALSE (PlugInFileOpen()) << "the last pop closes it";
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    EXPECT_EQ (HeldPlugInResFile(), 0);

    // A pop without a push closes nothing, and still makes the file it is given current.
    const int16_t other = HostToolbox().OpenResFileWithSwap (KESTRUNE_GROUP_PLUGIN_FILE, nullptr);
    ASSERT_EQ (HostToolbox().CurResFile(), other);
    toolbox.script().clearCalls();
    group->PopPlugInResFile (hostFile);
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    EXPECT_EQ (toolbox.script().countOf ("CloseResFile"), 0u);
    EXPECT_EQ (PlugInFileOpens(), 1);
    HostToolbox().CloseResFileByPath (KESTRUNE_GROUP_PLUGIN_FILE);
}

// What reads the plug-in's resource file, each with the file held by a live instance, by the
// module's open and by nothing, through a toolbox that does not count opens (so that a second open
// and its close would close the holder's file): a held file is used as it is and stays open, else
// the file is opened and closed again once; the host's file is current again in every case.
struct PlugInFileUseCase
{
    const char* what;
    // Whether the use found what the plug-in's file holds.
    std::function<bool (CInstanceType&)> use;
};

enum class PlugInFileHolder
{
    kInstance,
    kModuleOpen,
    kNothing
};

TEST_F (ProcessGroups, WhatReadsThePlugInsFileUsesTheFileHeldOpenAndOpensItOnlyWhenNothingHoldsIt)
{
    const std::vector<PlugInFileUseCase> cases = {
        { "a page table",
          [] (CInstanceType& type) {
              const auto table = type.LoadPageTable (FourCharCode ("PcTL"));
              return table != nullptr && *table == PageTableBuffer { 5, 0, 6, 0, 0, 0 };
          } },
        { "counting DSP code resources", [] (CInstanceType&) { return CountPlugInResources (kSACDResourceType) == 1; } },
        { "DSP code words",
          [] (CInstanceType&) { return LoadPlugInResourceAsWords (kSACDResourceType, 1000) == DSPCodeBlock { 2, 0, 0x123456, 0xABCDEF }; } },
        { "a guard inside a guard",
          [this] (CInstanceType&) {
              const ScopedPlugInResFile outer;
              {
                  const ScopedPlugInResFile inner;
              }
              return outer.IsOpen() && PlugInFileOpen() && HostToolbox().CountResources (kSACDResourceType) == 1;
          } },
        { "a guard whose scope throws",
          [] (CInstanceType&) {
              try
              {
                  const ScopedPlugInResFile file;
                  if (HostToolbox().CountResources (kSACDResourceType) == 1)
                      throw std::runtime_error ("thrown with the plug-in's file current");
              }
              catch (const std::runtime_error&)
              {
                  return true;
              }
              return false;
          } },
    };
    InitializeWithInstanceType();
    const NonCountingToolbox nonCounting;
    for (const PlugInFileUseCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        for (const PlugInFileHolder holder : { PlugInFileHolder::kInstance, PlugInFileHolder::kModuleOpen, PlugInFileHolder::kNothing })
        {
            SCOPED_TRACE (holder == PlugInFileHolder::kInstance     ? "an instance holds the file"
                          : holder == PlugInFileHolder::kModuleOpen ? "the module's open holds the file"
                                                                    : "nothing holds the file");
            const bool held = holder != PlugInFileHolder::kNothing;
            std::optional<ModuleOpenOfPlugInFile> module;
            if (holder == PlugInFileHolder::kModuleOpen)
                module.emplace (hostFile);
            if (holder == PlugInFileHolder::kInstance)
            {
                EXPECT_EQ (Create(), 1);
                EXPECT_TRUE (PlugInFileOpen()) << "the page tables read while it was made left the file open";
            }
            toolbox.script().clearCalls();

            EXPECT_TRUE (row.use (*instanceType));
            EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
            EXPECT_EQ (PlugInFileOpen(), held);
            EXPECT_EQ (toolbox.script().countOf ("FSpOpenResFile"), held ? 0u : 1u);
            EXPECT_EQ (toolbox.script().countOf ("CloseResFile"), held ? 0u : 1u);

            if (holder == PlugInFileHolder::kInstance)
            {
                EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
                EXPECT_FALSE (PlugInFileOpen());
            }
        }
    }
}

TEST_F (ProcessGroups, InstancesUseTheFileTheModulesOpenHoldsAndLeaveItOpen)
{
    InitializeWithInstanceType();
    const NonCountingToolbox nonCounting;
    const ModuleOpenOfPlugInFile module (hostFile);
    toolbox.script().clearCalls();
    EXPECT_EQ (Create(), 1);
    EXPECT_EQ (Create(), 2);
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 2), 0);
    EXPECT_EQ (PlugInFileOpens(), 1) << "the module's open still holds it";
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
    EXPECT_EQ (toolbox.script().countOf ("FSpOpenResFile"), 0u);
    EXPECT_EQ (toolbox.script().countOf ("CloseResFile"), 0u);
}

TEST_F (ProcessGroups, ATypesNameIsCutToTheHostsLength)
{
    InitializeWithInstanceType();
    char name[8];
    std::memset (name, 'x', sizeof name);
    EXPECT_EQ (group->GetTypeName (kTestTypeID, 3, name), 0);
    EXPECT_EQ (std::string (name, 4), std::string ("\x03Unn"));
    EXPECT_EQ (name[4], 'x') << "nothing past the host's length";
    EXPECT_EQ (group->GetTypeName (kTestTypeID, 0, name), 0);
    EXPECT_EQ (name[0], 0);
    EXPECT_EQ (name[1], 'U') << "only the length byte";
}

TEST_F (ProcessGroups, AFailedCreateLeavesNothingOfWhatItTookOn)
{
    const std::vector<CreateFailureCase> cases = {
        { "the type answers a code", [] (CInstanceType& t, DaeControl&, HostExtControl&) { t.failWith = -7001; }, kTestTypeID, -7001, 0, false },
        { "the type throws its error", [] (CInstanceType& t, DaeControl&, HostExtControl&) { t.throwDAEError = true; }, kTestTypeID, 0, -7777, false },
        { "the type throws something else", [] (CInstanceType& t, DaeControl&, HostExtControl&) { t.throwOther = true; }, kTestTypeID, 0, 1, false },
        { "no such type", [] (CInstanceType&, DaeControl&, HostExtControl&) {}, kUnknownTypeID, 0, -7125, false },
        { "the plug-in file does not open", [] (CInstanceType&, DaeControl&, HostExtControl& t) { t.script().injectFailure ("FSpOpenResFile", -43); }, kTestTypeID, 0, -7400, true },
    };
    InitializeWithInstanceType();
    for (const CreateFailureCase& row : cases)
    {
        SCOPED_TRACE (row.what);
        for (const bool withLiveInstance : { false, true })
        {
            if (withLiveInstance && row.firstOnly)
                continue;
            SCOPED_TRACE (withLiveInstance ? "another instance lives" : "the first instance");
            if (withLiveInstance)
                Create();
            const int32_t serial = gInstanceSerial;
            const size_t processes = size_t (instanceType->GetNumProcesses());
            row.arrange (*instanceType, engine, toolbox);
            int32_t id = 0;
            int32_t result = 0;
            EXPECT_EQ (ThrownAnything ([&] { result = group->CreateProcess (row.typeID, &id); }), row.thrown);
            EXPECT_EQ (result, row.result);
            EXPECT_EQ (gInstanceSerial, serial);
            EXPECT_EQ (size_t (instanceType->GetNumProcesses()), processes);
            EXPECT_EQ (group->GetOpenCount(), withLiveInstance ? 1 : 0);
            EXPECT_EQ (engine.liveObjects().size(), withLiveInstance ? 2u : 0u);
            EXPECT_EQ (PlugInFileOpen(), withLiveInstance);
            EXPECT_EQ (HostToolbox().CurResFile(), hostFile);

            instanceType->failWith = 0;
            instanceType->throwDAEError = instanceType->throwOther = false;
            toolbox.script().reset();
            if (withLiveInstance)
            {
                EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
            }
        }
    }
}

TEST_F (ProcessGroups, WithoutTheHostsSDSInstancesAreMadeWithoutAServer)
{
    InitializeWithInstanceType();
    const std::vector<std::pair<const char*, std::function<void()>>> withoutSDS = {
        { "SDS not offered", [this] { engine.removeGestalt (kFicGestaltHostSDS); } },
        { "the engine is not alive", [this] { engine.setAlive (false); } },
        { "no SDS object", [this] { engine.script().injectFailure ("FicNewObject", 0); } },
        { "no server", [this] { engine.script().injectFailure ("FicNewServer", 0); } },
    };
    for (const auto& [what, arrange] : withoutSDS)
    {
        SCOPED_TRACE (what);
        engine.reset();
        engine.setGestalt (kFicGestaltHostSDS, 1);
        arrange();
        EXPECT_EQ (Create(), 1);
        EXPECT_TRUE (engine.liveObjects().empty()) << "no half-made connection";
        EXPECT_FALSE (HasSDS());
        EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
    }
}

TEST_F (ProcessGroups, OpenedThroughWinPlugInOpenTheResourceFileIsNeitherPushedNorPopped)
{
    InitializeWithInstanceType();
    SetOpenedByWinPlugInOpen (true);
    toolbox.script().clearCalls();
    EXPECT_EQ (Create(), 1);
    instanceType->failWith = -7001;
    int32_t id = 0;
    EXPECT_EQ (group->CreateProcess (kTestTypeID, &id), -7001);
    instanceType->failWith = 0;
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
    for (const char* routine : { "FSpOpenResFile", "UseResFile", "CloseResFile", "CurResFile" })
        EXPECT_EQ (toolbox.script().countOf (routine), 0u) << routine;
    EXPECT_EQ (HostToolbox().CurResFile(), hostFile);
}

TEST_F (ProcessGroups, TheOpenCountFallsOnlyForAnInstanceThatWasRemoved)
{
    InitializeWithInstanceType();
    Create();
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 9), -7126);
    EXPECT_EQ (group->GetOpenCount(), 1);
    EXPECT_EQ (engine.liveObjects().size(), 2u) << "still connected";
    EXPECT_EQ (ThrownCode ([&] { group->DeleteProcess (kUnknownTypeID, 1); }), -7125);
    EXPECT_EQ (group->GetOpenCount(), 1);

    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), 0);
    EXPECT_EQ (group->DeleteProcess (kTestTypeID, 1), -7126);
    EXPECT_EQ (group->GetOpenCount(), 0) << "never below 0";
}

TEST_F (ProcessGroups, AnInstanceWhoseTeardownThrowsIsStillCountedOut)
{
    InitializeWithInstanceType();
    instanceType->teardownThrows = true;
    Create();
    EXPECT_EQ (ThrownCode ([&] { group->DeleteProcess (kTestTypeID, 1); }), -7654);
    EXPECT_EQ (instanceType->GetNumProcesses(), 0);
    EXPECT_EQ (group->GetOpenCount(), 0);
    EXPECT_TRUE (engine.liveObjects().empty());
    EXPECT_FALSE (PlugInFileOpen());
}

TEST_F (ProcessGroups, AStereoTypeWithoutInfoStringTwoAnswersStereoMode)
{
    CInstanceType* mono = nullptr;
    struct CMonoType final : CInstanceType
    {
        using CInstanceType::CInstanceType;
        int32_t GetNumInputs (int32_t, int16_t* count) override
        {
            *count = 1;
            return 0;
        }
    };
    group->addTypes = [&] (CTestGroup& g) {
        g.AddProcessType (instanceType = new CInstanceType);
        g.AddProcessType (mono = new CMonoType (kOtherTypeID));
    };
    ASSERT_EQ (group->Initialize(), 0);
    Create();
    int32_t monoID = 0;
    ASSERT_EQ (group->CreateProcess (kOtherTypeID, &monoID), 0);
    uint8_t text[64] = { 0xA5 };
    EXPECT_EQ (group->GetInfoString (kTestTypeID, 1, 2, text), 0);
    EXPECT_EQ (std::string ((const char*) text + 1, text[0]), "stereo mode");
    EXPECT_EQ (group->GetInfoString (kTestTypeID, 1, 3, text), -7000) << "another index";
    EXPECT_EQ (group->GetInfoString (kOtherTypeID, monoID, 2, text), -7000) << "a mono type keeps its failure";
}

}
