// A plug-in module started and shut down as the engine does it: on the road of the open and close
// procedures that it registers, opened at once by an engine without that road, or through
// WinPlugInOpen; its resource file opened with the byte-order fix-up; and a failure at each step.

#include "TestPlugInProbe.h"

#include <PlugInLoader.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

const std::string kModules = KESTRUNE_TEST_MODULES;
const std::string kGoodModule = kModules + "/TestPlugIn.dpm";
const std::string kNoGroupModule = kModules + "/NoGroupPlugIn.dpm";
const std::string kLibraryErrorModule = kModules + "/LibraryErrorPlugIn.dpm";
const std::string kOutOfMemoryModule = kModules + "/OutOfMemoryPlugIn.dpm";
const std::string kFailsFirstModule = kModules + "/FailsFirstPlugIn.dpm";

inline constexpr uint32_t kGetGroupName = 12;
inline constexpr uint32_t kGetTypeIDsByIndex = 6;

uint32_t word (const void* pointer)
{
    return uint32_t (reinterpret_cast<uintptr_t> (pointer));
}

class StartUp : public ::testing::Test
{
protected:
    PlugInLoader& host (const std::string& module, const char* engine = KESTRUNE_DAE_PATH, bool withToolbox = true)
    {
        loader_.emplace (PlugInLoaderPaths { engine, withToolbox ? KESTRUNE_HOSTEXT_PATH : "", module });
        EXPECT_TRUE (loader_->loadHost());
        return *loader_;
    }

    PlugInLoader& loaded (const std::string& module, const char* engine = KESTRUNE_DAE_PATH, bool withToolbox = true)
    {
        PlugInLoader& loader = host (module, engine, withToolbox);
        EXPECT_TRUE (loader.loadPlugIn());
        return loader;
    }

    TestPlugInProbe& probe()
    {
        auto entry = reinterpret_cast<TestPlugInProbe* (*) ()> (loader_->plugInSymbol (kTestPlugInProbeEntry));
        if (entry == nullptr)
            throw std::runtime_error ("the module has no probe");
        return *entry();
    }

    int liveGroups() { return probe().groupsCreated - probe().groupsDeleted; }

    std::vector<HostExtResourceFile> resourceFiles() { return loader_->toolbox()->openResourceFiles(); }

    size_t toolboxCalls (const char* name) { return loader_->toolbox()->script().countOf (name); }

    std::string groupName()
    {
        uint8_t name[256] = {};
        const auto result = loader_->call (kGetGroupName, { 255, word (name) });
        EXPECT_EQ (result, 0);
        return std::string (reinterpret_cast<const char*> (name + 1), name[0]);
    }

    std::optional<PlugInLoader> loader_;
};

TEST_F (StartUp, RegisteredProceduresOpenAndCloseThePlugIn)
{
    PlugInLoader& loader = loaded (kGoodModule);
    EXPECT_EQ (probe().entryCalls, 1);
    ASSERT_NE (loader.engine().openProc(), nullptr);
    EXPECT_EQ (probe().groupsCreated, 0) << "registering opens nothing";

    ASSERT_EQ (loader.open (StartUpRoad::kRegisteredProcedures), 0);
    EXPECT_EQ (liveGroups(), 1);
    EXPECT_EQ (probe().groupsInitialised, 1);
    ASSERT_EQ (resourceFiles().size(), 1u);
    EXPECT_EQ (resourceFiles()[0].path, kGoodModule + ".rsr");
    EXPECT_FALSE (probe().viewless());

    EXPECT_EQ (groupName(), "Other");
    uint32_t product = 0, type = 0, types = 99;
    EXPECT_EQ (loader.call (kGetTypeIDsByIndex, { 0, word (&product), word (&type), word (&types) }), 0);
    EXPECT_EQ (product, kTestProductID);
    EXPECT_EQ (type, kTestTypeID);
    EXPECT_EQ (loader.call (kGetTypeIDsByIndex, { 1, word (&product), word (&type), word (&types) }), -7300)
        << "a library error of the group reaches the host as its code";

    EXPECT_EQ (loader.close (StartUpRoad::kRegisteredProcedures), 0);
    EXPECT_EQ (liveGroups(), 0);
    EXPECT_TRUE (resourceFiles().empty());
    EXPECT_EQ (loader.call (kGetGroupName, { 255, word (nullptr) }), -7003) << "no group after the last close";
    EXPECT_TRUE (loader.unloadPlugIn());
}

TEST_F (StartUp, OnlyTheLastCloseDestroysTheGroupAndTheCountNeverGoesBelowZero)
{
    PlugInLoader& loader = loaded (kGoodModule);
    const auto road = StartUpRoad::kRegisteredProcedures;
    EXPECT_EQ (loader.close (road), 0) << "a close without an open";
    EXPECT_EQ (loader.open (road), 0);
    EXPECT_EQ (loader.open (road), 0);
    EXPECT_EQ (probe().groupsCreated, 1);
    EXPECT_EQ (toolboxCalls ("OpenResFileWithSwap"), 1u);

    EXPECT_EQ (loader.close (road), 0);
    EXPECT_EQ (liveGroups(), 1);
    EXPECT_EQ (loader.close (road), 0);
    EXPECT_EQ (liveGroups(), 0);
    EXPECT_EQ (loader.close (road), 0);

    EXPECT_EQ (loader.open (road), 0) << "counting starts again from no open";
    EXPECT_EQ (liveGroups(), 1);
    EXPECT_EQ (loader.close (road), 0);
    EXPECT_EQ (liveGroups(), 0);
}

// The module holds the library as the plug-in does; nothing but the open installs its toolbox, and
// the resource file the open opened is the one the library holds until the last close.
TEST_F (StartUp, TheModulesToolboxUtilitiesWorkFromTheOpenToTheLastClose)
{
    for (const auto road : { StartUpRoad::kRegisteredProcedures, StartUpRoad::kWinPlugInOpen })
    {
        SCOPED_TRACE (road == StartUpRoad::kWinPlugInOpen ? "WinPlugInOpen" : "registered procedures");
        PlugInLoader& loader = loaded (kGoodModule);
        uint8_t text[256] = {};
        EXPECT_EQ (probe().padAndAppend (7, 3, text), -7401) << "no toolbox before the open";
        EXPECT_EQ (probe().plugInFilePath(), nullptr);

        ASSERT_EQ (loader.open (road), 0);
        ASSERT_EQ (loader.open (road), 0);
        ASSERT_EQ (resourceFiles().size(), 1u);
        EXPECT_EQ (probe().heldPlugInResFile(), resourceFiles()[0].reference) << "the file the open holds is the one used";
        EXPECT_EQ (probe().padAndAppend (7, 3, text), 0);
        EXPECT_EQ (std::string (reinterpret_cast<const char*> (text + 1), text[0]), "007");
        EXPECT_EQ (toolboxCalls ("NumToString"), 1u) << "the number came from the host's toolbox";
        ASSERT_NE (probe().plugInFilePath(), nullptr);
        EXPECT_EQ (std::string (probe().plugInFilePath()), kGoodModule);
        EXPECT_EQ (toolboxCalls ("FSMakeFSSpecFromPath"), 1u);

        EXPECT_EQ (loader.close (road), 0);
        EXPECT_EQ (probe().padAndAppend (1, 0, text), 0) << "still open once";
        EXPECT_EQ (loader.close (road), 0);
        EXPECT_EQ (probe().padAndAppend (1, 0, text), -7401) << "the last close released the toolbox";
        EXPECT_EQ (probe().heldPlugInResFile(), 0) << "and let the file go";
        EXPECT_TRUE (loader.unloadPlugIn());
        loader_.reset();
    }
}

TEST_F (StartUp, AGoodOpenAfterAFailedOneKeepsItsGroupUntilTheCloseOfTheLastOpen)
{
    for (const auto road : { StartUpRoad::kRegisteredProcedures, StartUpRoad::kWinPlugInOpen })
    {
        SCOPED_TRACE (road == StartUpRoad::kWinPlugInOpen ? "WinPlugInOpen" : "registered procedures");
        PlugInLoader& loader = loaded (kFailsFirstModule);
        EXPECT_EQ (loader.open (road), -7053);
        EXPECT_EQ (liveGroups(), 0);
        EXPECT_TRUE (resourceFiles().empty());

        EXPECT_EQ (loader.open (road), 0) << "the good open makes the group the failed one could not";
        EXPECT_EQ (liveGroups(), 1);
        EXPECT_EQ (resourceFiles().size(), 1u);
        EXPECT_EQ (groupName(), "Other");

        EXPECT_EQ (loader.close (road), 0) << "the close of the failed open";
        EXPECT_EQ (liveGroups(), 1) << "the host still holds the plug-in open";
        EXPECT_EQ (groupName(), "Other");
        EXPECT_EQ (resourceFiles().size(), 1u);

        EXPECT_EQ (loader.close (road), 0);
        EXPECT_EQ (liveGroups(), 0);
        EXPECT_TRUE (resourceFiles().empty());
        EXPECT_EQ (probe().groupsCreated, 2);
        EXPECT_TRUE (loader.unloadPlugIn());
        loader_.reset();
    }
}

TEST_F (StartUp, AnEngineWithoutTheRegistrarHasThePlugInOpenedAtOnceAndClosedAtUnload)
{
    PlugInLoader& loader = loaded (kGoodModule, KESTRUNE_DAE_WITHOUT_OPEN_PROCS_PATH);
    EXPECT_EQ (liveGroups(), 1);
    EXPECT_EQ (resourceFiles().size(), 1u);
    EXPECT_EQ (groupName(), "Other");

    EXPECT_TRUE (loader.unloadPlugIn());
    EXPECT_TRUE (resourceFiles().empty()) << "the detach closed the plug-in";
    EXPECT_EQ (toolboxCalls ("CloseResFileByPath"), 1u);
}

TEST_F (StartUp, WinPlugInOpenAcceptsOnlyItsKeyAndOpensWithoutViews)
{
    PlugInLoader& loader = loaded (kGoodModule);
    const auto road = StartUpRoad::kWinPlugInOpen;
    ASSERT_EQ (loader.open (road, 73), 0);
    EXPECT_TRUE (probe().openedByWinPlugInOpen());
    EXPECT_TRUE (probe().viewless());
    EXPECT_EQ (liveGroups(), 1);

    EXPECT_EQ (loader.open (road, 72), -1);
    EXPECT_FALSE (probe().openedByWinPlugInOpen());
    EXPECT_FALSE (probe().viewless());
    EXPECT_EQ (probe().groupsCreated, 1) << "a refused key opens nothing";

    EXPECT_EQ (loader.close (road), 0);
    EXPECT_EQ (liveGroups(), 0);
    EXPECT_TRUE (resourceFiles().empty());
}

TEST_F (StartUp, TheResourceFileIsSwappedAsTheToolboxLoadsIt)
{
    PlugInLoader& loader = loaded (kGoodModule);
    ASSERT_EQ (loader.open (StartUpRoad::kRegisteredProcedures), 0);
    kestrune::rtas::abi::HostExtRoutines toolbox;
    ASSERT_EQ (kestrune::rtas::abi::bindHostExtRoutines (loader.toolboxModule(), toolbox), 0);

    const Handle component = toolbox.GetResource (kestrune::rtas::abi::fourCC ("thng"), 128);
    ASSERT_NE (component, nullptr);
    ASSERT_EQ (toolbox.GetHandleSize (component), 44);
    const std::vector<uint8_t> expected = {
        0x03, 0x02, 0x01, 0x00, 0x07, 0x06, 0x05, 0x04, 0x0b, 0x0a, 0x09, 0x08, 0x0f, 0x0e, 0x0d, 0x0c,
        0x13, 0x12, 0x11, 0x10, 0x17, 0x16, 0x15, 0x14, 0x19, 0x18, 0x1d, 0x1c, 0x1b, 0x1a, 0x1f, 0x1e,
        0x23, 0x22, 0x21, 0x20, 0x25, 0x24, 0x29, 0x28, 0x27, 0x26, 0x2b, 0x2a
    };
    EXPECT_EQ (std::vector<uint8_t> (*component, *component + 44), expected);

    const Handle fragment = toolbox.GetResource (kestrune::rtas::abi::fourCC ("cfrg"), 0);
    ASSERT_NE (fragment, nullptr);
    std::vector<uint8_t> swappedFragment (40);
    for (size_t i = 0; i < swappedFragment.size(); ++i)
        swappedFragment[i] = uint8_t (i);
    std::swap (swappedFragment[32], swappedFragment[35]);
    std::swap (swappedFragment[33], swappedFragment[34]);
    EXPECT_EQ (std::vector<uint8_t> (*fragment, *fragment + 40), swappedFragment);

    const Handle text = toolbox.GetResource (kestrune::rtas::abi::fourCC ("TEXT"), 1);
    ASSERT_NE (text, nullptr);
    EXPECT_EQ (std::string (*text, 8), "KESTrune") << "other types are left as stored";
    EXPECT_EQ (loader.close (StartUpRoad::kRegisteredProcedures), 0);
}

TEST_F (StartUp, TheResourceFileIsNotNeededToOpen)
{
    {
        PlugInLoader& loader = host (kGoodModule);
        loader.toolbox()->script().injectFailure ("OpenResFileWithSwap", -193);
        ASSERT_TRUE (loader.loadPlugIn());
        EXPECT_EQ (loader.open (StartUpRoad::kRegisteredProcedures), 0);
        EXPECT_EQ (liveGroups(), 1);
        EXPECT_EQ (loader.close (StartUpRoad::kRegisteredProcedures), 0);
    }
    loader_.reset();
    PlugInLoader& loader = loaded (kGoodModule, KESTRUNE_DAE_PATH, false);
    EXPECT_EQ (loader.open (StartUpRoad::kRegisteredProcedures), 0) << "a host without its toolbox";
    EXPECT_EQ (liveGroups(), 1);
    uint8_t text[256] = {};
    EXPECT_EQ (probe().padAndAppend (7, 3, text), -7401) << "the utilities fail clearly without a toolbox";
    EXPECT_EQ (loader.close (StartUpRoad::kRegisteredProcedures), 0);
    EXPECT_EQ (liveGroups(), 0);
}

TEST_F (StartUp, WithoutTheEngineTheEntryGlueDoesNotRunAndRoutinesAnswerNoGroup)
{
    loader_.emplace (PlugInLoaderPaths { KESTRUNE_DAE_PATH, KESTRUNE_HOSTEXT_PATH, kGoodModule });
    ASSERT_TRUE (loader_->loadPlugIn());
    EXPECT_EQ (probe().attachCalls, 1);
    EXPECT_EQ (probe().entryCalls, 0);
    EXPECT_EQ (loader_->call (kGetGroupName, { 255, 0 }), -7003);
    EXPECT_TRUE (loader_->unloadPlugIn());
}

TEST_F (StartUp, AnUnloadedModuleStartsAfreshWhenLoadedAgain)
{
    PlugInLoader& loader = loaded (kGoodModule);
    ASSERT_EQ (loader.open (StartUpRoad::kRegisteredProcedures), 0);
    ASSERT_EQ (loader.close (StartUpRoad::kRegisteredProcedures), 0);
    ASSERT_TRUE (loader.unloadPlugIn());
    ASSERT_TRUE (loader.loadPlugIn());
    EXPECT_EQ (probe().groupsCreated, 0);
    EXPECT_EQ (probe().attachCalls, 1);
}

struct FailingGroup
{
    const char* name;
    const std::string* module;
    int32_t code;
};

class FailingStartUp : public StartUp, public ::testing::WithParamInterface<FailingGroup>
{
};

TEST_P (FailingStartUp, AFailedOpenUndoesItselfAndTheNextOpenFailsAgain)
{
    for (const auto road : { StartUpRoad::kRegisteredProcedures, StartUpRoad::kWinPlugInOpen })
    {
        PlugInLoader& loader = loaded (*GetParam().module);
        for (int attempt = 0; attempt < 2; ++attempt)
        {
            EXPECT_EQ (loader.open (road), GetParam().code) << "attempt " << attempt;
            EXPECT_EQ (liveGroups(), 0);
            EXPECT_TRUE (resourceFiles().empty());
        }
        EXPECT_EQ (toolboxCalls ("OpenResFileWithSwap"), 2u);
        EXPECT_EQ (toolboxCalls ("CloseResFileByPath"), 2u);
        EXPECT_EQ (loader.call (kGetGroupName, { 255, 0 }), -7003);
        EXPECT_EQ (loader.close (road), 0);
        EXPECT_TRUE (loader.unloadPlugIn());
        loader_.reset();
    }
}

TEST_P (FailingStartUp, AFailedImmediateOpenFailsTheAttachAndTheExportsRefuse)
{
    PlugInLoader& loader = loaded (*GetParam().module, KESTRUNE_DAE_WITHOUT_OPEN_PROCS_PATH);
    EXPECT_EQ (probe().attachCalls, 1);
    EXPECT_EQ (probe().detachCalls, 1) << "a failed attach is followed by its detach";
    EXPECT_EQ (liveGroups(), 0);
    EXPECT_TRUE (resourceFiles().empty());

    PlugInRoutine routine = reinterpret_cast<PlugInRoutine> (&word);
    EXPECT_EQ (loader.routineDescriptor (kGetGroupName, &routine), -9007);
    EXPECT_EQ (routine, nullptr);
    EXPECT_EQ (loader.newPlugIn(), -7003);
    EXPECT_EQ (loader.open (StartUpRoad::kWinPlugInOpen, 73), -1);
    EXPECT_EQ (probe().groupsCreated, GetParam().module == &kNoGroupModule ? 0 : 1);
    EXPECT_TRUE (loader.unloadPlugIn());
}

INSTANTIATE_TEST_SUITE_P (EachFailure, FailingStartUp,
                          ::testing::Values (FailingGroup { "NoGroup", &kNoGroupModule, -7003 },
                                             FailingGroup { "LibraryError", &kLibraryErrorModule, -7053 },
                                             FailingGroup { "OutOfMemory", &kOutOfMemoryModule, -7401 }),
                          [] (const auto& info) { return std::string (info.param.name); });

} // namespace
