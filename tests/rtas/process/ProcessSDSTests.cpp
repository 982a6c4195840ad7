// The process against the stand-in engine's stream data service: names, listeners, the control
// tokens it sends (byte for byte), the tokens it services and their time limit, and failures while
// it sets up.

#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include "process/process/SDSConnection.h"
#include "process/process/SDSControlToken.h"
#include "process/utilities/HostExtToolbox.h"

#include <DaeControl.h>
#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;

constexpr uint64_t kTick = 1000000 / 60;

std::vector<uint8_t> Bytes (const SDSControlToken& token)
{
    return { token.Data(), token.Data() + token.Length() };
}

std::vector<uint8_t> LittleEndian (std::initializer_list<uint32_t> words, std::initializer_list<uint8_t> tail = {})
{
    std::vector<uint8_t> bytes;
    for (const uint32_t word : words)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back (uint8_t (word >> shift));
    bytes.insert (bytes.end(), tail);
    return bytes;
}

uint32_t FieldAt (const std::vector<uint8_t>& token, size_t offset)
{
    uint32_t value = 0;
    std::memcpy (&value, token.data() + offset, 4);
    return value;
}

TEST (SDSControlTokens, AreLaidOutByteForByte)
{
    // Destination 0x104, type, subtype, 'DUZU', 'Ctrl', source 0x104, three zero words, length 42, value.
    EXPECT_EQ (Bytes (SDSControlToken::WithValue (0x104, FourCharCode ("CURV"), FourCharCode ("CAVL"), -2)),
               LittleEndian ({ 0x104, 0x43555256, 0x4341564C, 0x44555A55, 0x4374726C, 0x104, 0, 0, 0 }, { 42, 0, 0xfe, 0xff, 0xff, 0xff }));
    EXPECT_EQ (Bytes (SDSControlToken::Touch (7, true)),
               LittleEndian ({ 7, 0x53455456, 0x43544348, 0x44555A55, 0x4374726C, 7, 0, 0, 0 }, { 44, 0, 1, 0, 1, 0, 0, 0 }));
    EXPECT_EQ (Bytes (SDSControlToken::Touch (7, false)),
               LittleEndian ({ 7, 0x53455456, 0x43544348, 0x44555A55, 0x4374726C, 7, 0, 0, 0 }, { 44, 0, 0, 0, 1, 0, 0, 0 }));
    EXPECT_EQ (Bytes (SDSControlToken::Plain (1, FourCharCode ("SETV"), FourCharCode ("GIAC"))),
               LittleEndian ({ 1, 0x53455456, 0x47494143, 0x44555A55, 0x4374726C, 1, 0, 0, 0 }, { 38, 0 }));
}

TEST (SDSControlTokens, FieldsAreReadOnlyFromTokensLongEnoughToHoldThem)
{
    std::vector<uint8_t> token = Bytes (SDSControlToken::WithValue (5, FourCharCode ("CURV"), FourCharCode ("CAVL"), 77));
    int32_t value = 0;
    EXPECT_TRUE (ReadTokenValue (token.data(), &value));
    EXPECT_EQ (value, 77);
    token[36] = 41;
    value = 0;
    EXPECT_FALSE (ReadTokenValue (token.data(), &value));
    EXPECT_EQ (value, 0);

    std::vector<uint8_t> highlight (56, 0);
    const uint16_t length = 56;
    std::memcpy (&highlight[36], &length, 2);
    highlight[38] = 0x01;
    highlight[39] = 0x7f; // only the low byte of the word is the flag
    highlight[40] = 3;
    highlight[42] = 200; // a text longer than the token: cut where the token ends
    highlight[43] = 'A';
    highlight[54] = 9;
    SDSHighlightFields fields {};
    ASSERT_TRUE (ReadHighlightFields (highlight.data(), &fields));
    EXPECT_EQ (fields.on & 0xff, 1);
    EXPECT_EQ (fields.extra, 3);
    EXPECT_EQ (fields.colour, 9);
    EXPECT_EQ (fields.text[0], 13);
    EXPECT_EQ (fields.text[1], 'A');
    highlight.resize (55);
    const uint16_t shortLength = 55;
    std::memcpy (&highlight[36], &shortLength, 2);
    EXPECT_FALSE (ReadHighlightFields (highlight.data(), &fields));
}

// A process that counts the tokens handed to it that the base does not handle.
class CTokenProcess : public CTestProcess
{
public:
    std::vector<uint32_t> otherTokens;
    int32_t HandleOtherToken (uint8_t* token) override
    {
        otherTokens.push_back (TokenSubType (token));
        return 0;
    }
};

class ProcessSDS : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine.reset();
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        gSDSServer = FicNewServer();
        gSDSObject = FicNewObject (gSDSServer, FicFindStandardType (gSDSServer, kSDSTaskTypeNumber));
        gInstanceSerial = 3;
        engine.script().clearCalls();
    }

    void TearDown() override
    {
        gSDSServer = 0;
        gSDSObject = 0;
        gInstanceSerial = 0;
        ReleaseHostToolbox();
        toolbox.reset();
    }

    std::vector<DaeObject> Listeners()
    {
        std::vector<DaeObject> listeners;
        for (const DaeObject& object : engine.liveObjects())
            if (object.standardType == engine.standardType (kSDSListenerTypeNumber))
                listeners.push_back (object);
        return listeners;
    }

    int32_t NameIDOf (CProcess& process, int32_t index)
    {
        void* id = nullptr;
        process.GetControlNameID (index, &id);
        return int32_t (reinterpret_cast<intptr_t> (id));
    }

    // The task value the engine hands back with tokens for control n.
    void* TaskValueOf (int32_t nameId)
    {
        for (const DaeObject& listener : Listeners())
            if (listener.listener.nameId == nameId)
                return listener.listener.taskValue;
        return nullptr;
    }

    size_t DispatchedSince (size_t count, std::vector<std::vector<uint8_t>>* tokens)
    {
        const auto all = engine.dispatchedTokens();
        tokens->assign (all.begin() + long (count), all.end());
        return all.size();
    }

    DaeControl& engine = *KestruneDaeStandIn();
    HostExtControl& toolbox = *KestruneHostExtStandIn();
    ScopedViewless viewless;
};

TEST_F (ProcessSDS, AProcessWithoutControlsReservesOnlyItsInstanceName)
{
    CTestProcess process;
    process.Initialize();
    const auto instance = engine.nameId (0, "Plug-Ins/Undefined BaseName/Inst3");
    ASSERT_TRUE (instance.has_value());
    void* id = nullptr;
    process.GetInstanceNameID (&id);
    EXPECT_EQ (int32_t (reinterpret_cast<intptr_t> (id)), *instance);
    EXPECT_EQ (engine.reservedNameCount(), 1u);
    EXPECT_EQ (engine.script().countOf ("FicSDSReserveName"), 1u);
    EXPECT_EQ (engine.script().countOf ("FicSDSGetNameId"), 1u);
    EXPECT_EQ (process.GetRootNameID(), 1);
    EXPECT_TRUE (Listeners().empty());

    process.Teardown();
    EXPECT_EQ (engine.reservedNameCount(), 0u);
}

TEST_F (ProcessSDS, EachControlGetsANameAndThreeListenersThatTeardownGivesBack)
{
    CTestProcess process;
    AddTestControls (process, 2);
    process.Initialize();

    const auto instance = engine.nameId (0, "Plug-Ins/Undefined BaseName/Inst3");
    ASSERT_TRUE (instance.has_value());
    for (int32_t index = 1; index <= 2; ++index)
    {
        SCOPED_TRACE (index);
        const auto name = engine.nameId (*instance, "Control " + std::to_string (index));
        ASSERT_TRUE (name.has_value());
        EXPECT_EQ (NameIDOf (process, index), *name);
    }
    EXPECT_EQ (NameIDOf (process, 3), 0);
    EXPECT_EQ (NameIDOf (process, 0), 0);

    const auto listeners = Listeners();
    ASSERT_EQ (listeners.size(), 6u);
    const std::pair<uint32_t, uint32_t> kinds[] = {
        { FourCharCode ("CURV"), FourCharCode ("CAVL") },
        { FourCharCode ("GETV"), FourCharCode ("CAVL") },
        { FourCharCode ("SETV"), FourCharCode ("CHIL") },
    };
    for (size_t i = 0; i < listeners.size(); ++i)
    {
        SCOPED_TRACE (i);
        const DaeListener& l = listeners[i].listener;
        const int32_t control = int32_t (i / 3) + 1;
        EXPECT_EQ (l.nameId, NameIDOf (process, control));
        EXPECT_EQ (l.type, kinds[i % 3].first);
        EXPECT_EQ (l.subType, kinds[i % 3].second);
        EXPECT_EQ (l.goal, 0);
        EXPECT_EQ (l.critical, 0);
        EXPECT_EQ (l.latest, 1);
        EXPECT_EQ (l.task, gSDSObject);
        EXPECT_EQ (l.protocol, FourCharCode ("Ctrl"));
        EXPECT_EQ (l.manufacturer, FourCharCode ("DUZU"));
        const auto* taskValue = static_cast<const SListenerTaskValue*> (l.taskValue);
        ASSERT_NE (taskValue, nullptr);
        EXPECT_EQ (taskValue->fProcess, &process);
        EXPECT_EQ (taskValue->fControlIndex, control);
    }

    process.Teardown();
    EXPECT_TRUE (Listeners().empty());
    EXPECT_EQ (engine.reservedNameCount(), 0u);
    EXPECT_EQ (NameIDOf (process, 1), 0);
}

TEST_F (ProcessSDS, TheEditorsValueWaitsForTheHostsUpdate)
{
    CTestProcess process;
    AddTestControls (process, 2);
    process.Initialize();
    const int32_t name = NameIDOf (process, 2);
    const size_t before = engine.dispatchedTokens().size();

    EXPECT_EQ (process.SetControlValue (2, 0x7fffffff), 0);
    EXPECT_EQ (ControlValueOf (process, 2), 0) << "the control waits for the host";
    EXPECT_TRUE (process.changed.empty());

    std::vector<std::vector<uint8_t>> sent;
    DispatchedSince (before, &sent);
    ASSERT_EQ (sent.size(), 4u);
    EXPECT_EQ (sent[0], Bytes (SDSControlToken::Touch (name, true)));
    EXPECT_EQ (sent[1], Bytes (SDSControlToken::Plain (1, FourCharCode ("SETV"), FourCharCode ("GIAC"))));
    EXPECT_EQ (sent[2], Bytes (SDSControlToken::WithValue (name, FourCharCode ("SETV"), FourCharCode ("CAVL"), 0x7fffffff)));
    EXPECT_EQ (sent[3], Bytes (SDSControlToken::Touch (name, false)));

    // The host answers on its road; its token comes back to the control's listener.
    EXPECT_EQ (process.UpdateControlValue (2, 0x7fffffff), 0);
    EXPECT_EQ (ControlValueOf (process, 2), 0x7fffffff);
    EXPECT_EQ (engine.dispatchedTokens().back(), Bytes (SDSControlToken::WithValue (name, FourCharCode ("CURV"), FourCharCode ("CAVL"), 0x7fffffff)));
    EXPECT_TRUE (process.shown.empty());
    process.ServiceSDSTokens();
    EXPECT_EQ (process.shown, (std::vector<std::pair<int32_t, int32_t>> { { 2, 0x7fffffff } }));
    EXPECT_EQ (engine.tokensHandedOut(), 0u) << "every token is given back";
    process.Teardown();
}

TEST_F (ProcessSDS, NestedTouchesSendOneTouchAndOneRelease)
{
    CTestProcess process;
    AddTestControls (process, 1);
    process.Initialize();
    const int32_t name = NameIDOf (process, 1);
    const size_t before = engine.dispatchedTokens().size();

    process.BeginControlTouch (1);
    process.BeginControlTouch (1);
    process.SetControlValue (1, 5);
    process.EndControlTouch (1);
    std::vector<std::vector<uint8_t>> sent;
    size_t count = DispatchedSince (before, &sent);
    ASSERT_EQ (sent.size(), 3u);
    EXPECT_EQ (sent[0], Bytes (SDSControlToken::Touch (name, true)));
    EXPECT_EQ (FieldAt (sent[1], 8), FourCharCode ("GIAC"));
    EXPECT_EQ (FieldAt (sent[2], 8), FourCharCode ("CAVL"));

    process.EndControlTouch (1);
    DispatchedSince (count, &sent);
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0], Bytes (SDSControlToken::Touch (name, false)));
    count = engine.dispatchedTokens().size();
    process.EndControlTouch (1);
    EXPECT_EQ (engine.dispatchedTokens().size(), count) << "an end without its begin releases nothing";
    process.Teardown();
}

TEST_F (ProcessSDS, ServicingStopsAfterTwoTicksAndAlwaysGivesTheEngineItsIdle)
{
    CTokenProcess process;
    AddTestControls (process, 1);
    process.Initialize();
    void* task = TaskValueOf (NameIDOf (process, 1));
    ASSERT_NE (task, nullptr);
    for (int i = 0; i < 5; ++i)
        engine.queueToken (gSDSObject, task, Bytes (SDSControlToken::Plain (NameIDOf (process, 1), FourCharCode ("SETV"), FourCharCode ("WHAT"))));
    engine.script().clearCalls();

    // Every clock reading moves one tick on: the deadline lets one token through per call.
    toolbox.setClock (100 * kTick, kTick);
    process.Idle (nullptr);
    EXPECT_EQ (process.otherTokens.size(), 1u);
    EXPECT_EQ (engine.queuedTokens(), 4u);
    EXPECT_EQ (engine.script().countOf ("FicPersonalityDoIdle"), 1u);

    // Half a tick a reading: three tokens.
    toolbox.setClock (200 * kTick, kTick / 2);
    process.ServiceSDSTokens();
    EXPECT_EQ (process.otherTokens.size(), 4u);
    EXPECT_EQ (engine.script().countOf ("FicPersonalityDoIdle"), 2u);

    // A stopped clock: until none are left.
    toolbox.setClock (300 * kTick, 0);
    process.ServiceSDSTokens();
    EXPECT_EQ (process.otherTokens.size(), 5u);
    EXPECT_EQ (engine.script().countOf ("FicPersonalityDoIdle"), 3u);
    EXPECT_EQ (engine.tokensHandedOut(), 0u);
    process.Teardown();
}

TEST_F (ProcessSDS, TheHostAsksForAValueAndHighlightsAControl)
{
    CTokenProcess process;
    AddTestControls (process, 2);
    process.Initialize();
    process.UpdateControlValue (2, 4242);
    toolbox.setClock (0, 0);
    process.ServiceSDSTokens(); // the echo of the update
    const int32_t name = NameIDOf (process, 2);
    void* task = TaskValueOf (name);

    const size_t before = engine.dispatchedTokens().size();
    engine.queueToken (gSDSObject, task, Bytes (SDSControlToken::Plain (name, FourCharCode ("GETV"), FourCharCode ("CAVL"))));
    process.ServiceSDSTokens();
    std::vector<std::vector<uint8_t>> sent;
    DispatchedSince (before, &sent);
    ASSERT_EQ (sent.size(), 1u);
    EXPECT_EQ (sent[0], Bytes (SDSControlToken::WithValue (name, FourCharCode ("CURV"), FourCharCode ("CAVL"), 4242)));

    // Highlight tokens: one holding every field is taken (without a view it changes nothing), one
    // that ends before its fields is ignored; neither is another token.
    std::vector<uint8_t> full (56, 0);
    std::vector<uint8_t> truncated (50, 0);
    for (auto* token : { &full, &truncated })
    {
        const auto header = Bytes (SDSControlToken::Plain (name, FourCharCode ("SETV"), FourCharCode ("CHIL")));
        std::copy (header.begin(), header.end(), token->begin());
        const auto length = uint16_t (token->size());
        std::memcpy (token->data() + 36, &length, 2);
        engine.queueToken (gSDSObject, task, *token);
    }
    auto shortValue = Bytes (SDSControlToken::Plain (name, FourCharCode ("CURV"), FourCharCode ("CAVL")));
    engine.queueToken (gSDSObject, task, shortValue);
    process.shown.clear();
    process.ServiceSDSTokens();
    EXPECT_TRUE (process.otherTokens.empty());
    EXPECT_TRUE (process.shown.empty()) << "a value token without its value is ignored";
    EXPECT_EQ (engine.tokensHandedOut(), 0u);

    engine.queueToken (gSDSObject, nullptr, Bytes (SDSControlToken::Plain (name, FourCharCode ("CURV"), FourCharCode ("CAVL"))));
    process.ServiceSDSTokens();
    EXPECT_EQ (process.otherTokens, std::vector<uint32_t> { FourCharCode ("CAVL") }) << "a token without a task value is another token";
    process.Teardown();
}

TEST_F (ProcessSDS, WithoutSDSNothingReachesTheEngine)
{
    gSDSObject = 0;
    CTestProcess process;
    AddTestControls (process, 2);
    process.Initialize();
    process.SetControlValue (1, 9);
    process.UpdateControlValue (2, 9);
    process.BeginControlTouch (1);
    process.EndControlTouch (1);
    process.ServiceSDSTokens();
    process.Teardown();
    EXPECT_TRUE (engine.script().calls().empty());
}

TEST_F (ProcessSDS, ControlsWithoutAnEntryTakeTheDirectRoad)
{
    // SDS comes up after this process set itself up: it has no entries at all.
    gSDSObject = 0;
    CTestProcess late;
    AddTestControls (late, 1);
    late.Initialize();
    gSDSObject = FicNewObject (gSDSServer, FicFindStandardType (gSDSServer, kSDSTaskTypeNumber));
    EXPECT_EQ (late.SetControlValue (1, 33), 0);
    EXPECT_EQ (ControlValueOf (late, 1), 33);
    EXPECT_TRUE (engine.dispatchedTokens().empty());
    late.BeginControlTouch (1);
    late.EndControlTouch (1);
    EXPECT_TRUE (engine.dispatchedTokens().empty());

    // A control added after the set-up has no entry either.
    CTestProcess process;
    AddTestControls (process, 1);
    process.Initialize();
    AddTestControls (process, 2);
    EXPECT_EQ (NameIDOf (process, 2), 0);
    const size_t before = engine.dispatchedTokens().size();
    process.SetControlValue (2, 44);
    EXPECT_EQ (ControlValueOf (process, 2), 44);
    EXPECT_EQ (engine.dispatchedTokens().size(), before);
    process.Teardown();
    late.Teardown();
}

TEST_F (ProcessSDS, AFailingSetUpThrowsTheEnginesCodeAndTeardownLeavesNothing)
{
    struct Case
    {
        const char* function;
        int skip;
        int32_t code;
        int32_t thrown;
    };
    const Case cases[] = {
        { "FicSDSReserveName", 0, -9072, -9072 }, // the instance name
        { "FicSDSReserveName", 2, -9073, -9073 }, // the second control's name
        { "FicSDSGetNameId", 0, -9073, -9073 },
        { "FicNewObject", 4, 1, -7053 }, // the fifth listener: no object
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE (testing::Message() << c.function << " after " << c.skip);
        CTestProcess process;
        AddTestControls (process, 2);
        engine.script().injectFailure (c.function, c.code, 1, c.skip);
        EXPECT_EQ (ThrownCode ([&] { process.Initialize(); }), c.thrown);
        process.Teardown();
        EXPECT_TRUE (Listeners().empty());
        EXPECT_EQ (engine.reservedNameCount(), 0u);
    }
}

TEST_F (ProcessSDS, WhatTheEngineAnswersToAListenersSettingsDoesNotFailTheSetUp)
{
    for (const char* setting : { "FicSDSSetListenerName", "FicSDSSetListenerTask", "FicSDSSetListenerManufacturer" })
    {
        SCOPED_TRACE (setting);
        CTestProcess process;
        AddTestControls (process, 2);
        engine.script().clearCalls();
        engine.script().injectFailure (setting, -9071, 1, 1);
        EXPECT_EQ (ThrownCode ([&] { process.Initialize(); }), 0);
        EXPECT_EQ (Listeners().size(), 6u);
        EXPECT_EQ (engine.script().countOf (setting), 6u) << "every listener is still set up whole";
        process.Teardown();
    }
}

TEST_F (ProcessSDS, AFailedDispatchIsAnsweredOnBothRoadsAndTheHostsValueStillCounts)
{
    CTestProcess process;
    AddTestControls (process, 1);
    process.Initialize();

    // The editor's road: touch, touch-all, the value, release; the value's dispatch fails.
    engine.script().injectFailure ("FicSDSDispatchToken", -9080, 1, 2);
    EXPECT_EQ (process.SetControlValue (1, 0x7fffffff), -9080);
    EXPECT_EQ (ControlValueOf (process, 1), 0);
    EXPECT_EQ (FieldAt (engine.dispatchedTokens().back(), 8), FourCharCode ("CTCH")) << "the release still goes out";

    int32_t before = 0;
    process.GetChangeCount (&before);
    engine.script().injectFailure ("FicSDSDispatchToken", -9081, 1, 0);
    EXPECT_EQ (process.UpdateControlValue (1, 0x7fffffff), -9081);
    EXPECT_EQ (ControlValueOf (process, 1), 0x7fffffff) << "the control took the host's value";
    int32_t after = 0;
    process.GetChangeCount (&after);
    EXPECT_EQ (after, before + 1);
    process.Teardown();
}

// A process whose view side fails for one control's values, as a change reaching the view code can.
class CThrowingViewProcess : public CTokenProcess
{
public:
    int32_t ControlValueChanged (int32_t index, int32_t value) override
    {
        if (index == 1)
            throw CDAEError (-7401);
        return CTokenProcess::ControlValueChanged (index, value);
    }
};

TEST_F (ProcessSDS, AHandlerThatThrowsEndsOnlyItsTokenAndTheEngineStillGetsItsIdle)
{
    CThrowingViewProcess process;
    AddTestControls (process, 2);
    process.Initialize();
    for (const int32_t index : { 1, 2 })
    {
        const int32_t name = NameIDOf (process, index);
        engine.queueToken (gSDSObject, TaskValueOf (name), Bytes (SDSControlToken::WithValue (name, FourCharCode ("CURV"), FourCharCode ("CAVL"), 9)));
    }
    engine.queueToken (gSDSObject, nullptr, Bytes (SDSControlToken::Plain (1, FourCharCode ("SETV"), FourCharCode ("WHAT"))));
    engine.script().clearCalls();
    toolbox.setClock (0, 0);

    EXPECT_EQ (ThrownCode ([&] { process.ServiceSDSTokens(); }), 0);
    EXPECT_EQ (process.shown, (std::vector<std::pair<int32_t, int32_t>> { { 2, 9 } }));
    EXPECT_EQ (process.otherTokens, std::vector<uint32_t> { FourCharCode ("WHAT") });
    EXPECT_EQ (engine.queuedTokens(), 0u);
    EXPECT_EQ (engine.tokensHandedOut(), 0u) << "the failed token was given back too";
    EXPECT_EQ (engine.script().countOf ("FicPersonalityDoIdle"), 1u);
    process.Teardown();
}

TEST_F (ProcessSDS, ATokenReachesTheProcessThatItsTaskValueNames)
{
    CTokenProcess servicing;
    CTokenProcess named;
    AddTestControls (servicing, 1);
    AddTestControls (named, 2);
    servicing.Initialize();
    gInstanceSerial = 4; // the name of an instance of its own
    named.Initialize();
    const int32_t name = NameIDOf (named, 2);
    engine.queueToken (gSDSObject, TaskValueOf (name), Bytes (SDSControlToken::WithValue (name, FourCharCode ("CURV"), FourCharCode ("CAVL"), 31)));
    toolbox.setClock (0, 0);

    servicing.ServiceSDSTokens();
    EXPECT_TRUE (servicing.shown.empty());
    EXPECT_EQ (named.shown, (std::vector<std::pair<int32_t, int32_t>> { { 2, 31 } }));
    servicing.Teardown();
    named.Teardown();
}

TEST_F (ProcessSDS, ReservingAgainGivesTheOldNamesBackFirstAndAnUnreservedNameIsNotFreed)
{
    CTestProcess process;
    AddTestControls (process, 1);
    process.Initialize();
    gInstanceSerial = 4;
    EXPECT_EQ (process.ReserveInstanceName (0), 0);
    EXPECT_TRUE (engine.nameId (0, "Plug-Ins/Undefined BaseName/Inst4").has_value());
    EXPECT_FALSE (engine.nameId (0, "Plug-Ins/Undefined BaseName/Inst3").has_value());
    process.Teardown();

    engine.script().clearCalls();
    EXPECT_EQ (process.FreeInstanceName(), 0);
    EXPECT_EQ (engine.script().countOf ("FicSDSFreeName"), 0u);
}

TEST_F (ProcessSDS, ADestroyedProcessGivesItsNamesAndListenersBack)
{
    {
        CTestProcess process;
        AddTestControls (process, 2);
        process.Initialize();
        ASSERT_EQ (Listeners().size(), 6u);
    }
    EXPECT_TRUE (Listeners().empty());
    EXPECT_EQ (engine.reservedNameCount(), 0u);
}

// A base name as long as the engine's names allow, and longer.
class CLongNameProcess : public CTestProcess
{
public:
    int32_t GetBaseName (char* name) override
    {
        std::memset (name, 'b', 255);
        name[255] = '\0';
        return 0;
    }
};

TEST_F (ProcessSDS, ALongBaseNameGivesWayToTheSuffixSoThatEveryInstanceHasItsOwnName)
{
    CLongNameProcess first;
    CLongNameProcess second;
    first.Initialize();
    gInstanceSerial = 12;
    second.Initialize();
    const auto calls = engine.script().callsOf ("FicSDSReserveName");
    ASSERT_EQ (calls.size(), 2u);
    EXPECT_EQ (calls[0].text, std::string (249, 'b') + "/Inst3");
    EXPECT_EQ (calls[1].text, std::string (248, 'b') + "/Inst12");
    void* id = nullptr;
    second.GetInstanceNameID (&id);
    EXPECT_NE (id, nullptr) << "the second name was reserved too";
    first.Teardown();
    second.Teardown();
}

}
