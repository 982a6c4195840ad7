// The DSP classes: the factory by card type, each class's constants, the command protocol of the
// plug-in's DSP code, state data, time of day, the critical region per manager version and its
// lock across threads, and the Onyx host port with its time-outs on the toolbox's clock.

#include "DSPCardFixture.h"

#include "entry/PlugInGroup.h"
#include "process/dsp/DSPHostCallbacks.h"
#include "process/dspclasses/C321ChipDSP.h"
#include "process/dspclasses/CPrestoChipDSP.h"
#include "process/dspclasses/ProcessDSPFactory.h"

#include <chrono>
#include <functional>
#include <future>
#include <stdexcept>
#include <typeinfo>

// The plug-in's group factory, which the entry layer asks for; these tests make none.
CProcessGroupInterface* CreatePlugInGroup()
{
    return nullptr;
}

namespace
{

using namespace dsptest;

constexpr uint64_t kMicrosecondsPerTick = 1000000 / 60;
constexpr int32_t kAll24 = 0xFFFFFF; // -1 as a 24-bit word

std::vector<int32_t> WordsToHost (DsiControl& dsi, DSIDSPRecord* dsp)
{
    std::vector<int32_t> words;
    for (const DeviceEvent& event : dsi.traffic (dsp))
        if (event.kind == Kind::WordToHost)
            words.push_back (event.value & kAll24);
    return words;
}

class DSPClasses : public ::testing::Test
{
protected:
    void SetUp() override
    {
        PrepareHost();
        kestrune::win::takeDebugOutput();
    }
    void TearDown() override
    {
        UnloadDSIEntryPoints();
        ReleaseHostToolbox();
        dsi.reset();
    }

    DSIDSPRecord* AddDSP (Road road, int32_t kind = 20, int32_t revision = 0, uint32_t flags = 0)
    {
        DSIDSPRecord* dsp = dsi.addDSP (dsi.addCard (kind, revision), flags);
        dsi.setHostBit (dsp, 2, 1);
        dsi.addShell();
        BindRoad (road);
        return dsp;
    }

    DsiControl& dsi = *KestruneDsiStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
    DSPManagerControl& manager = *KestruneDSPManagerStandIn();
};

class DSPClassRoads : public DSPClasses, public ::testing::WithParamInterface<Road>
{
};

// ---- The factory ----

struct FactoryCase
{
    int32_t kind;
    int32_t revision;
    uint32_t flags;
    const std::type_info* made; // null: refused
};

TEST_F (DSPClasses, TheFactoryPicksTheClassByCardTypeFirst)
{
    const FactoryCase cases[] = {
        { 18, 0, kDSIFlagDSP321, &typeid (CProcessDSP) },
        { 21, 0, kDSIFlagDSP321, &typeid (COnyxChipDSP) },
        { 26, 0, 0, &typeid (CPrestoChipDSP) },
        { 28, 2, kDSIFlagDSP321, &typeid (CPrestoChipDSP) },
        { 31, 3, 0, &typeid (CPrestoChipDSP) },
        { 28, 3, kDSIFlagDSP321, &typeid (C321ChipDSP) },
        { 20, 0, kDSIFlagDSP321, &typeid (C321ChipDSP) },
        { 20, 0, 0, nullptr },
        { 31, 4, 0, nullptr },
    };
    std::vector<DSIDSPRecord*> dsps;
    for (const FactoryCase& c : cases)
        dsps.push_back (dsi.addDSP (dsi.addCard (c.kind, c.revision), c.flags));
    BindRoad (Road::Registers);
    for (size_t i = 0; i < std::size (cases); ++i)
    {
        const FactoryCase& c = cases[i];
        SCOPED_TRACE ("kind " + std::to_string (c.kind) + " revision " + std::to_string (c.revision));
        if (c.made != nullptr)
        {
            const std::unique_ptr<CProcessDSP> made = GetNewCProcessDSP (dsps[i]);
            ASSERT_NE (made, nullptr);
            EXPECT_EQ (typeid (*made), *c.made);
            continue;
        }
        try
        {
            GetNewCProcessDSP (dsps[i]);
            ADD_FAILURE() << "no class for this card";
        }
        catch (const std::runtime_error& error)
        {
            EXPECT_STREQ (error.what(), "unrecognized card type in GetNewCProcessDSP()");
            EXPECT_EQ (CodeOfCaughtException(), -7401) << "the host boundary's code";
        }
    }
}

// ---- Each class's constants ----

struct ClassCase
{
    const char* name;
    std::function<std::unique_ptr<CProcessDSP>()> make;
    int32_t processCommand; // the recorded command of vector 13
    int32_t initCommand; // of vector 0
    int32_t startCommand; // of vector 1
    int32_t addressOffset;
    int32_t defaultWord1;
    int32_t defaultWord2;
};

TEST_F (DSPClasses, EachClassHasItsCommandBaseAddressOffsetAndDefaultWords)
{
    const ClassCase cases[] = {
        { "CProcessDSP", [] { return std::make_unique<CProcessDSP>(); }, 13 + 18, 18, 19, 0xFFC0, 63, 63 },
        { "C321ChipDSP", [] { return std::make_unique<C321ChipDSP>(); }, 13 + 58, 58, 59, 0x801800, 511, 510 },
        { "COnyxChipDSP", [] { return std::make_unique<COnyxChipDSP>(); }, (13 + 58) << 1, 58 << 1, 59 << 1, 0x8001C0, 63, 63 },
        { "CPrestoChipDSP", [] { return std::make_unique<CPrestoChipDSP>(); }, (13 + 74) << 1, 74 << 1, 75 << 1, 0x801800, 511, 510 },
    };
    for (const ClassCase& c : cases)
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        DSIDSPRecord* dsp = AddDSP (Road::Driver);
        const std::unique_ptr<CProcessDSP> object = c.make();
        object->Attach (dsp);
        EXPECT_EQ (object->GetAddressOffset(), c.addressOffset);
        EXPECT_EQ (object->SendCommand1Default (1, 2, 3), 0);
        EXPECT_EQ (object->SendCommand2Default (4, 5, 6), 0);
        EXPECT_EQ (object->SetRange (1, 2), 0);
        EXPECT_EQ (object->InitShell(), 0);
        EXPECT_EQ (object->StartShell(), 0);
        const int32_t command = c.processCommand;
        const int32_t offset = c.addressOffset;
        EXPECT_EQ (dsi.traffic (dsp), (std::vector<DeviceEvent> {
                                          { Kind::Command, command },
                                          { Kind::WordToDSP, 1 },
                                          { Kind::WordToDSP, 1 },
                                          { Kind::WordToDSP, 2 },
                                          { Kind::WordToDSP, 3 },
                                          { Kind::WordToDSP, c.defaultWord1 + offset },
                                          { Kind::Command, command },
                                          { Kind::WordToDSP, 2 },
                                          { Kind::WordToDSP, 4 },
                                          { Kind::WordToDSP, 5 },
                                          { Kind::WordToDSP, 6 },
                                          { Kind::WordToDSP, c.defaultWord2 + offset },
                                          { Kind::Command, command },
                                          { Kind::WordToDSP, 8 },
                                          { Kind::WordToDSP, kAll24 },
                                          { Kind::WordToDSP, kAll24 },
                                          { Kind::WordToDSP, 1 + offset },
                                          { Kind::WordToDSP, 2 + offset },
                                          { Kind::Command, c.initCommand },
                                          { Kind::Command, c.startCommand },
                                      }));
    }
}

// ---- The command protocol ----

struct CommandCase
{
    const char* name;
    std::vector<int32_t> replies; // what the DSP code answers
    std::function<std::vector<int32_t> (CProcessDSP&)> run;
    std::vector<int32_t> results;
    std::vector<int32_t> words; // every word sent, in order
};

// Commands of a CProcessDSP go out as host command 31 (13 + 18), then the command number and
// its argument words.
const std::vector<CommandCase>& CommandCases()
{
    static const std::vector<CommandCase> cases = {
        { "0 QueryState", { 77 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.QueryState() }; }, { 77 }, { 0, kAll24, kAll24, 0, kAll24, kAll24 } },
        { "1", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand1 (1, 2, 3, 4) }; }, { 0 }, { 1, 1, 2, 3, 0xFFC4 } },
        { "2", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand2 (1, 2, 3, -0xFFC0) }; }, { 0 }, { 2, 1, 2, 3, 0 } },
        { "3", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand3 (5, 6, 7) }; }, { 0 }, { 3, 5, 6, 7 } },
        { "4", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand4 (5, 6, 7) }; }, { 0 }, { 4, 5, 6, 7 } },
        { "6 flag on", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendFlag6 (1, 2, true) }; }, { 0 }, { 6, 1, 2, kAll24 } },
        { "7 flag off", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendFlag7 (1, 2, false) }; }, { 0 }, { 7, 1, 2, 0 } },
        { "7 offset value", {}, [] (CProcessDSP& d) {
             const int32_t status = d.SetOffsetValue (5);
             return std::vector<int32_t> { status, d.GetOffsetValue() };
         },
          { 0, 5 },
          { 7, kAll24, kAll24, 0xFFC5 } },
        { "8 range", {}, [] (CProcessDSP& d) {
             const int32_t status = d.SetRange (1, 2);
             return std::vector<int32_t> { status, d.GetRange().first, d.GetRange().second };
         },
          { 0, 1, 2 },
          { 8, kAll24, kAll24, 0xFFC1, 0xFFC2 } },
        { "11 after 12", { 0 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand11 (0x12345678, 2, 3) }; }, { 0 }, { 12, kAll24, kAll24, 11, kAll24, kAll24, 3, 2, 0x12, 0x345678 } },
        { "11 refused when 12 answers -1", { kAll24 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand11 (1, 2, 3) }; }, { -7433 }, { 12, kAll24, kAll24 } },
        { "12", { 3 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand12() }; }, { 3 }, { 12, kAll24, kAll24 } },
        { "13", { 9 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand13 (4, 5) }; }, { 9 }, { 13, 4, 5 } },
        { "14", {}, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand14() }; }, { 0 }, { 14, kAll24, kAll24 } },
        { "15", { 1, 2 }, [] (CProcessDSP& d) { return std::vector<int32_t> { d.SendCommand15 (1) }; }, { 0 }, { 15, kAll24, kAll24, 1 } },
        { "15 read", { 0x12, 0x345678 }, [] (CProcessDSP& d) {
             int32_t out = 0;
             const int32_t status = d.ReadCommand15 (1, 4, 5, &out);
             return std::vector<int32_t> { status, out };
         },
          { 0, 0x12345678 },
          { 15, 4, 5, 15, 4, 5, 1 } },
        { "15 read without b", {}, [] (CProcessDSP& d) {
             int32_t out = 7;
             const int32_t status = d.ReadCommand15 (1, 4, -1, &out);
             return std::vector<int32_t> { status, out };
         },
          { 0, 7 },
          {} },
        { "16 time of day", { 5, 0x123456 }, [] (CProcessDSP& d) {
             int32_t out = 0;
             const int32_t status = d.GetCurrentTimeOfDay (&out);
             return std::vector<int32_t> { status, out };
         },
          { 0, 0x05123456 },
          { 16, kAll24, kAll24 } },
        { "16 time of day with a negative high word", { kAll24, 1 }, [] (CProcessDSP& d) {
             int32_t out = 0;
             const int32_t status = d.GetCurrentTimeOfDay (&out);
             return std::vector<int32_t> { status, out };
         },
          { 0, int32_t (0xFF000001) },
          { 16, kAll24, kAll24 } },
    };
    return cases;
}

TEST_P (DSPClassRoads, EveryCommandSendsItsNumberAndArguments)
{
    for (const CommandCase& c : CommandCases())
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        kestrune::win::takeDebugOutput();
        DSIDSPRecord* dsp = AddDSP (GetParam());
        CProcessDSP object;
        object.Attach (dsp);
        dsi.queueWordsToHost (dsp, c.replies);
        EXPECT_EQ (c.run (object), c.results);
        EXPECT_EQ (dsi.wordsFromHost (dsp), c.words);
        for (const int32_t command : dsi.hostCommands (dsp))
            EXPECT_EQ (command, 31);
        EXPECT_EQ (WordsToHost (dsi, dsp), c.replies) << "every reply is read, none more";
        const bool negativeTime = c.replies.size() == 2 && c.replies[0] == kAll24 && c.words.size() == 3 && c.words[0] == 16;
        EXPECT_EQ (kestrune::win::takeDebugOutput(),
                   negativeTime ? std::vector<std::string> { "CProcessDSP::GetCurrentTimeOfDay TODHi is negative!" } : std::vector<std::string> {});
    }
}

// ---- State data ----

Handle NewBlock (const std::vector<int32_t>& words, int32_t bytes)
{
    const Handle block = HostToolbox().NewHandle (bytes);
    std::memcpy (*block, words.data(), std::min<size_t> (words.size() * 4, size_t (bytes)));
    return block;
}

struct StateCase
{
    const char* name;
    int32_t xBytes; // -1: no block
    int32_t xCount;
    int32_t yBytes;
    int32_t yCount;
    const char* message; // null: accepted
};

TEST_P (DSPClassRoads, StateDataChecksBothBlocksAndCountsBeforeSendingAnything)
{
    const StateCase cases[] = {
        { "no X block", -1, 0, 8, 1, "CProcessDSP::SetStateData anXStateMem == NULL." },
        { "X block too small", 8, 3, 8, 1, "CProcessDSP::SetStateData anXStateMem valid, but too small!" },
        { "negative count", 8, 2, 8, -1, "CProcessDSP::SetStateData word count below 0." },
        { "no Y block", 8, 2, -1, 1, "CProcessDSP::SetStateData anYStateMem == NULL." },
        { "Y block too small", 8, 2, 3, 1, "CProcessDSP::SetStateData anYStateMem valid, but too small!" },
        { "accepted", 8, 2, 4, 1, nullptr },
        { "accepted without Y words", 8, 2, -1, 0, nullptr },
    };
    for (const StateCase& c : cases)
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        kestrune::win::takeDebugOutput();
        DSIDSPRecord* dsp = AddDSP (GetParam());
        CProcessDSP object;
        object.Attach (dsp);
        const Handle x = c.xBytes >= 0 ? NewBlock ({ 0x111111, 0x222222 }, c.xBytes) : nullptr;
        const Handle y = c.yBytes >= 0 ? NewBlock ({ 0x333333 }, c.yBytes) : nullptr;
        const int32_t result = object.SetStateData (x, c.xCount, y, c.yCount, 7, 8, 9, 10, 11);
        if (c.message != nullptr)
        {
            EXPECT_EQ (result, -108);
            EXPECT_TRUE (dsi.traffic (dsp).empty()) << "nothing sent";
            EXPECT_EQ (kestrune::win::takeDebugOutput(), (std::vector<std::string> { c.message }));
        }
        else
        {
            EXPECT_EQ (result, 0);
            std::vector<int32_t> words = { 9, 10, 11, 9, 2, 8, 0x111111, 0x222222, c.yCount, 7 };
            if (c.yCount > 0)
                words.push_back (0x333333);
            EXPECT_EQ (dsi.wordsFromHost (dsp), words);
            EXPECT_FALSE (toolbox.isLocked (x)) << "the blocks are unlocked again";
        }
        for (Handle block : { x, y })
            if (block != nullptr)
                HostToolbox().DisposeHandle (block);
    }
}

// ---- The critical region ----

struct RegionCase
{
    const char* name;
    int32_t version;
    bool group;
    int32_t groupAnswer;
    std::string groupName;
    std::string driverName;
    const char* region; // null: none; "": unnamed
};

TEST_F (DSPClasses, TheCriticalRegionIsNamedByTheManagersVersion)
{
    const std::string longName (200, 'x');
    const RegionCase cases[] = {
        { "version 0", 0, true, 0, "KESTrune", "", nullptr },
        { "version 1", 1, true, 0, "KESTrune", "", "" },
        { "version 2", 2, true, 0, "KESTrune", "", "CProcessDSP<KESTrune> cr" },
        { "version 3", 3, true, 0, "KESTrune", "", "CProcessDSP<KESTrune> cr" },
        { "no group: the driver's name", 2, false, 0, "", "Driver code", "CProcessDSP<Driver code> cr" },
        { "no group, no driver name", 2, false, 0, "", "", "CProcessDSP <unknown> cr" },
        { "the group refuses", 2, true, -7000, "KESTrune", "Driver code", "CProcessDSP <unknown> cr" },
        { "an empty name", 2, true, 0, "", "Driver code", "CProcessDSP <unknown> cr" },
        { "a long name", 2, false, 0, "", longName, nullptr },
    };
    for (const RegionCase& c : cases)
    {
        SCOPED_TRACE (c.name);
        PrepareHost();
        manager.setVersion (c.version);
        DSIDSPRecord* dsp = AddDSP (Road::Driver);
        dsi.setCodeName (dsp, c.driverName);
        std::unique_ptr<InstalledGroup> group = c.group ? std::make_unique<InstalledGroup> (0) : nullptr;
        if (group)
        {
            (*group)->answer = c.groupAnswer;
            (*group)->name = c.groupName;
        }
        auto object = std::make_unique<CProcessDSP>();
        object->Attach (dsp);
        const auto regions = manager.regions();
        if (c.version < 1)
        {
            EXPECT_TRUE (regions.empty());
            EXPECT_EQ (object->GetCriticalRegion(), nullptr);
            continue;
        }
        ASSERT_EQ (regions.size(), 1u);
        EXPECT_EQ (regions[0].named, c.version >= 2);
        const std::string expected = c.region != nullptr ? c.region : ("CProcessDSP<" + longName).substr (0, 127);
        EXPECT_EQ (regions[0].name, expected) << "at most 127 characters";
        if (group)
        {
            EXPECT_EQ ((*group)->askedFor, c.version >= 2 ? AddressOf (dsp) : 0) << "only a named region asks the group about this DSP";
        }

        object->Attach (dsp);
        ASSERT_EQ (manager.regions().size(), 2u);
        EXPECT_TRUE (manager.regions()[0].deleted) << "a second attach replaces the region";
        object.reset();
        EXPECT_TRUE (manager.regions()[1].deleted);
    }
}

TEST_F (DSPClasses, TheLockIsTakenOncePerOuterLevelAndExcludesOtherThreads)
{
    for (const int32_t version : { 2, 0 })
    {
        SCOPED_TRACE ("manager version " + std::to_string (version));
        PrepareHost();
        manager.setVersion (version);
        DSIDSPRecord* dsp = AddDSP (Road::Driver);
        CProcessDSP object;
        object.Attach (dsp);

        EXPECT_TRUE (object.Lock());
        EXPECT_FALSE (object.Lock()) << "nested";
        EXPECT_EQ (object.GetRegionDepth(), version > 0 ? 1 : 0);
        if (version > 0)
        {
            EXPECT_EQ (manager.regions().at (0).depth, 1) << "entered once";
            EXPECT_EQ (manager.regions().at (0).owner, std::this_thread::get_id());
        }

        auto other = std::async (std::launch::async, [&] {
            const bool took = object.Lock();
            const bool owned = version == 0 || manager.regions().at (0).owner == std::this_thread::get_id();
            object.Unlock();
            return took && owned;
        });
        auto barrier = std::async (std::launch::async, [&] { object.Barrier(); });
        EXPECT_EQ (other.wait_for (std::chrono::milliseconds (50)), std::future_status::timeout) << "another thread waits for the holder";
        EXPECT_EQ (barrier.wait_for (std::chrono::milliseconds (0)), std::future_status::timeout);
        object.Unlock();
        EXPECT_TRUE (other.get());
        barrier.get();
        EXPECT_EQ (object.GetRegionDepth(), 0);
        if (version > 0)
        {
            EXPECT_EQ (manager.regions().at (0).depth, 0);
            EXPECT_EQ (manager.regions().at (0).owner, std::thread::id());
        }
    }
}

TEST_F (DSPClasses, AShellRequestFromTheDriverWaitsForTheHostsCommand)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    CProcessDSP object;
    object.Attach (dsp);
    object.LoadDSPCode (GetModuleHandleA (nullptr), 1000);
    ASSERT_TRUE (object.Lock());
    auto request = std::async (std::launch::async, [&] { return dsi.raiseHostCallback (dsp, 266, {}); });
    EXPECT_EQ (request.wait_for (std::chrono::milliseconds (50)), std::future_status::timeout);
    object.SendCommand14();
    object.Unlock();
    const CallbackOutcome outcome = request.get();
    EXPECT_TRUE (outcome.answered);
    EXPECT_EQ (outcome.result, 0);
    EXPECT_EQ (dsi.hostCommands (dsp), (std::vector<int32_t> { 31, 18 })) << "the command first, then the init-shell command";
}

TEST_F (DSPClasses, CodeInformationComesFromTheGroupOrElseTheDriver)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver);
    dsi.setCodeName (dsp, "Driver code");
    CProcessDSP object;
    object.Attach (dsp);
    uint8_t name[256] = {};
    EXPECT_EQ (object.GetDSPCodeInfo (1, name), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "Driver code");
    InstalledGroup group (0);
    group->answer = -7000;
    EXPECT_EQ (object.GetDSPCodeInfo (4, name), -7000);
    EXPECT_EQ (group->askedKind, 4);
    EXPECT_EQ (group->askedFor, AddressOf (dsp));
}

// ---- The Onyx host port ----

TEST_P (DSPClassRoads, OnyxCommandsCarryTheShiftedVectorWithItsPendingBit)
{
    DSIDSPRecord* onyxDSP = AddDSP (GetParam(), 21);
    DSIDSPRecord* prestoDSP = dsi.addDSP (dsi.addCard (26, 0));
    COnyxChipDSP onyx;
    CPrestoChipDSP presto;
    onyx.Attach (onyxDSP);
    presto.Attach (prestoDSP);
    EXPECT_EQ (onyx.HostCommand (5), 0);
    EXPECT_EQ (presto.HostCommand (5), 0);
    EXPECT_EQ (dsi.hostCommands (onyxDSP), (std::vector<int32_t> { (5 + 58) << 1 }));
    EXPECT_EQ (dsi.hostCommands (prestoDSP), (std::vector<int32_t> { (5 + 74) << 1 }));
    EXPECT_EQ (onyx.SetLeftRightBit (1), 0);
    EXPECT_TRUE (dsi.script().callsOf ("SSetLeftRightBit").empty());

    dsi.queueWordsToHost (onyxDSP, { 0x800001, 2 });
    EXPECT_EQ (onyx.ReceiveWord(), -8388607);
    int32_t words[1] = {};
    EXPECT_EQ (onyx.ReceiveWords (words, 1), 0);
    EXPECT_EQ (words[0], 2);
    int32_t out = 0;
    dsi.queueWordsToHost (onyxDSP, { 3 });
    EXPECT_EQ (onyx.CommandThenData (1, 1, &out, { 4 }), 0);
    EXPECT_EQ (out, 3);
    EXPECT_EQ (dsi.traffic (onyxDSP).back(), (DeviceEvent { Kind::WordToHost, 3 }));
    EXPECT_EQ (dsi.wordsFromHost (onyxDSP), (std::vector<int32_t> { 4 }));
}

TEST_F (DSPClasses, OnyxWaitsGiveUpAfterThirtyTicksOfTheHostsClock)
{
    DSIDSPRecord* dsp = AddDSP (Road::Registers, 21);
    COnyxChipDSP onyx;
    EXPECT_EQ (onyx.WaitStatus (DSIOnyxPort::kStatusTransmitEmpty), DSPError::kNoDSP);
    onyx.Attach (dsp);
    toolbox.setClock (0, kMicrosecondsPerTick);
    EXPECT_EQ (onyx.WaitStatus (DSIOnyxPort::kStatusTransmitEmpty), 0) << "a live DSP answers at once";

    dsi.setDead (dsp, true);
    toolbox.script().clearCalls();
    EXPECT_EQ (onyx.WaitStatus (DSIOnyxPort::kStatusReceiveFull), DSPError::kTimedOut);
    const size_t ticksRead = toolbox.script().countOf ("TickCount");
    EXPECT_GE (ticksRead, 31u);
    EXPECT_LE (ticksRead, 32u);

    volatile uint32_t* command = nullptr;
    uint32_t address = 0;
    std::memcpy (&address, dsp->fInfo.fBytes + DSIOnyxPort::kCommand * 4, 4);
    command = reinterpret_cast<volatile uint32_t*> (uintptr_t (address));
    EXPECT_EQ (onyx.HostCommand (5), DSPError::kTimedOut) << "written, but never taken";
    EXPECT_EQ (*command, uint32_t (((5 + 58) << 1) | 1));
    EXPECT_EQ (onyx.HostCommand (6), DSPError::kTimedOut);
    EXPECT_EQ (*command, uint32_t (((5 + 58) << 1) | 1)) << "the pending command is not written over";
    EXPECT_EQ (onyx.ReceiveWord(), -1);
    EXPECT_EQ (onyx.SendWord (9), DSPError::kTimedOut);
    EXPECT_FALSE (onyx.TrySendWord (9));
    bool received = true;
    EXPECT_EQ (onyx.TryReceiveWord (received), -1);
    EXPECT_FALSE (received);
    dsi.setDead (dsp, false);
    EXPECT_TRUE (dsi.wordsFromHost (dsp).empty()) << "no word was written while the DSP was dead";
}

TEST_F (DSPClasses, OnyxSendWordsLosesNoWordWhenTheTransmitRegisterIsFull)
{
    DSIDSPRecord* dsp = AddDSP (Road::Registers, 21);
    COnyxChipDSP onyx;
    onyx.Attach (dsp);
    toolbox.setClock (0, kMicrosecondsPerTick / 8);
    dsi.setTransmitDelay (dsp, 4);
    std::vector<int32_t> words;
    for (int32_t i = 1; i <= 14; ++i)
        words.push_back (i);
    EXPECT_EQ (onyx.SendWords (words.data(), int32_t (words.size())), 0);
    EXPECT_EQ (dsi.wordsFromHost (dsp), words);
}

TEST_P (DSPClassRoads, OnyxControlAndStatusFlags)
{
    DSIDSPRecord* dsp = AddDSP (GetParam(), 21);
    toolbox.setClock (0, kMicrosecondsPerTick);
    COnyxChipDSP onyx;
    onyx.Attach (dsp);
    onyx.SetControlFlags (0x18);
    EXPECT_EQ (dsi.hostBit (dsp, 4), 1);
    EXPECT_EQ (dsi.hostBit (dsp, 5), 1);
    EXPECT_EQ (dsi.hostBit (dsp, 6), 0);
    EXPECT_TRUE (onyx.ControlFlagsSet (0x18));
    EXPECT_FALSE (onyx.ControlFlagsSet (0x28));
    onyx.ClearControlFlags (0x08);
    EXPECT_EQ (dsi.hostBit (dsp, 4), 0);
    EXPECT_TRUE (onyx.ControlFlagsSet (0x10));

    EXPECT_EQ (onyx.TransmitEmpty(), GetParam() == Road::Registers) << "the driver's host bit 1 is clear";
    dsi.queueWordsToHost (dsp, { 1, 2, 3 });
    if (GetParam() == Road::Registers)
    {
        dsi.setStatusFlags (dsp, 0x28);
        EXPECT_TRUE (onyx.StatusBitSet (3));
        EXPECT_FALSE (onyx.StatusBitSet (4));
        EXPECT_TRUE (onyx.StatusBitSet (5));
        EXPECT_TRUE (onyx.ReceiveFull());
    }
    else
    {
        // The driver's host bits stand for the status bits as its waits read them.
        dsi.setHostBit (dsp, 8, 1);
        dsi.setHostBit (dsp, 0, 1);
        EXPECT_TRUE (onyx.StatusBitSet (4));
        EXPECT_FALSE (onyx.StatusBitSet (5));
        EXPECT_TRUE (onyx.ReceiveFull());
        dsi.setHostBit (dsp, 0, 0);
    }
    EXPECT_FALSE (onyx.StatusBitSet (2)) << "not a flag bit";
    onyx.FlushReceive();
    EXPECT_EQ (dsi.traffic (dsp).size(), 3u) << "every waiting word read and dropped";
    EXPECT_EQ (onyx.ReceiveWord(), -1);
}

// The one-flag shorthands of the Onyx control flags, with the driver's host bit of each.
struct OnyxFlagCase
{
    const char* flag;
    void (COnyxChipDSP::*set)();
    void (COnyxChipDSP::*clear)();
    bool (COnyxChipDSP::*isSet)();
    int32_t hostBit;
};

TEST_P (DSPClassRoads, OnyxOneFlagShorthandsSetClearAndTestTheirFlagAlone)
{
    const OnyxFlagCase cases[] = {
        { "0x08", &COnyxChipDSP::SetControlFlag08, &COnyxChipDSP::ClearControlFlag08, &COnyxChipDSP::ControlFlag08Set, 4 },
        { "0x10", &COnyxChipDSP::SetControlFlag10, &COnyxChipDSP::ClearControlFlag10, &COnyxChipDSP::ControlFlag10Set, 5 },
        { "0x20", &COnyxChipDSP::SetControlFlag20, &COnyxChipDSP::ClearControlFlag20, &COnyxChipDSP::ControlFlag20Set, 6 },
    };
    DSIDSPRecord* dsp = AddDSP (GetParam(), 21);
    COnyxChipDSP onyx;
    onyx.Attach (dsp);
    for (const OnyxFlagCase& c : cases)
    {
        SCOPED_TRACE (c.flag);
        onyx.SetControlFlags (0x38);
        (onyx.*c.clear)();
        for (int32_t bit = 4; bit <= 6; ++bit)
            EXPECT_EQ (dsi.hostBit (dsp, bit), bit == c.hostBit ? 0 : 1) << "host bit " << bit;
        EXPECT_FALSE ((onyx.*c.isSet)());
        onyx.ClearControlFlags (0x38);
        (onyx.*c.set)();
        for (int32_t bit = 4; bit <= 6; ++bit)
            EXPECT_EQ (dsi.hostBit (dsp, bit), bit == c.hostBit ? 1 : 0) << "host bit " << bit;
        EXPECT_TRUE ((onyx.*c.isSet)());
        EXPECT_FALSE (onyx.ControlFlagsSet (0x38)) << "the other two stay clear";
    }
}

struct MemoryBitCase
{
    int32_t space;
    const char* service; // null: nothing
};

TEST_F (DSPClasses, OnyxMemoryBitOperationsBySpace)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver, 21);
    COnyxChipDSP onyx;
    onyx.Attach (dsp);
    const MemoryBitCase cases[] = { { 0, "SChangeXBits" }, { 1, "SChangeYBits" }, { 2, "SChangePBits" }, { 3, nullptr }, { -1, nullptr } };
    for (const MemoryBitCase& c : cases)
    {
        SCOPED_TRACE (c.space);
        dsi.script().clearCalls();
        EXPECT_EQ (onyx.SetMemoryBits (c.space, 0x40, 0x30), 0);
        EXPECT_EQ (onyx.WriteMemoryBits (c.space, 0x40, 0x06), 0);
        EXPECT_EQ (onyx.ClearMemoryBits (c.space, 0x40, 0x02), 0);
        if (c.service == nullptr)
        {
            EXPECT_TRUE (dsi.script().calls().empty());
            continue;
        }
        const auto calls = dsi.script().callsOf (c.service);
        ASSERT_EQ (calls.size(), 3u);
        const int64_t dsp64 = addressOf (dsp);
        EXPECT_EQ (calls[0].arguments, (std::vector<int64_t> { dsp64, 0x40, 0, 0x30 }));
        EXPECT_EQ (calls[1].arguments, (std::vector<int64_t> { dsp64, 0x40, -1, 0x06 }));
        EXPECT_EQ (calls[2].arguments, (std::vector<int64_t> { dsp64, 0x40, 0x02, 0 }));
        EXPECT_EQ (dsi.memoryWord (dsp, MemorySpace (c.space), 0x40), 0x04);
    }
}

TEST_F (DSPClasses, C321FlagsAreTheDriversHostBitsAndTheGenericOnesAnswerNothing)
{
    DSIDSPRecord* dsp = AddDSP (Road::Driver, 20, 0, kDSIFlagDSP321);
    C321ChipDSP chip;
    chip.Attach (dsp);
    EXPECT_FALSE (chip.QueryHostFlagA());
    chip.RaiseHostFlagA();
    EXPECT_EQ (dsi.hostBit (dsp, 5), 1);
    EXPECT_TRUE (chip.QueryHostFlagA());
    dsi.setHostBit (dsp, 7, 1);
    EXPECT_TRUE (chip.QueryHostFlagB());
    chip.LowerHostFlagA();
    EXPECT_EQ (dsi.hostBit (dsp, 5), 0);

    CGenericDSP generic;
    generic.Attach (dsp);
    generic.RaiseHostFlagA();
    EXPECT_FALSE (generic.QueryHostFlagA());
    EXPECT_FALSE (generic.QueryHostFlagB());
    EXPECT_EQ (dsi.hostBit (dsp, 5), 0);
    EXPECT_EQ (generic.GetGenericWord(), 0);
    generic.SetGenericWord (12);
    EXPECT_EQ (generic.GetGenericWord(), 12);
}

INSTANTIATE_TEST_SUITE_P (BothRoads, DSPClassRoads, ::testing::Values (Road::Driver, Road::Registers), NameOf);

} // namespace
