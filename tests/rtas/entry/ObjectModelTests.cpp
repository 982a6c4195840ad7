// The plug-in object model: registration by kind, the published descriptions, the lookups that
// answer default objects, the plug-in types' plug-in IDs and the fixed answers of each class.

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "entry/CPlugInData.h"
#include "entry/model/CPlugIn.h"
#include "entry/model/CPlugInGroup.h"
#include "entry/model/CPlugInPort.h"
#include "entry/model/CPlugInType.h"
#include "entry/model/CPlugInUserInterface.h"
#include "entry/model/CPlugInWorker.h"
#include "entry/model/CSNPlugInControl.h"
#include "process/base/PointerWords.h"

#include "FakeObjectTracker.h"
#include "PortNumbers.h"
#include "ThrownInteger.h"

namespace
{

struct SOneLong : CPlugInData
{
    CSmartLong value { *this };
};

int32_t KESTRUNE_TRACKER_CALL TestCallback (void*, void*)
{
    return 0;
}

// A plug-in whose ports can change, and whose group-walk answers can be chosen.
class ChangingPlugIn : public CPlugIn
{
public:
    using CPlugIn::CPlugIn;
    bool CanChangeInputs() override { return true; }
    bool CanChangeOutputs() override { return true; }
    CPlugInPort* NewInput (int32_t n) override { return failsNewPorts ? nullptr : CPlugIn::NewInput (n); }
    int32_t Reserved38 (int32_t value) override
    {
        seen.push_back (value);
        return answer;
    }

    bool failsNewPorts = false;
    int32_t answer = 0;
    std::vector<int32_t> seen;
};

// A type whose plug-ins are plug-ins of this type (plain or changing ones), and whose spec can
// be chosen.
class TestType : public CPlugInType
{
public:
    using CPlugInType::CPlugInType;

    CPlugIn* CreatePlugIn (int32_t id) override
    {
        created.push_back (id);
        valueWhileCreating = GetGroup().GetCurrentValue();
        if (makesNone)
            return nullptr;
        const SPlugInSpec spec { { id, 0, 0, 0, 0 } };
        return makesChanging ? new ChangingPlugIn (spec, this) : new CPlugIn (spec, this);
    }

    void GetSpec (SPlugInSpec* spec) override
    {
        if (ownSpec)
            *spec = *ownSpec;
        else
            CPlugInType::GetSpec (spec);
    }

    std::vector<int32_t> created;
    int32_t valueWhileCreating = 0;
    bool makesNone = false;
    bool makesChanging = false;
    std::unique_ptr<SPlugInSpec> ownSpec;
};

std::string NameOf (const std::function<void (char*, int32_t)>& read, int32_t capacity = 64)
{
    std::vector<char> text (static_cast<size_t> (capacity), 'x');
    read (text.data(), capacity);
    return text.data();
}
}

TEST (ObjectModelTest, EveryObjectRegistersWithItsKindAndUnregistersWhenItGoes)
{
    FakeObjectTracker tracker;
    CPlugIn owner (SPlugInSpec {}, nullptr);
    struct Case
    {
        const char* what;
        int32_t kind;
        std::function<std::shared_ptr<void>()> make;
    };
    const Case cases[] = {
        { "group", 1, [] { return std::make_shared<CPlugInGroup> (0); } },
        { "plug-in", 3, [] { return std::make_shared<CPlugIn> (SPlugInSpec {}, nullptr); } },
        { "input", 4, [&] { return std::make_shared<CPlugInInput> (owner, 1); } },
        { "output", 5, [&] { return std::make_shared<CPlugInOutput> (owner, 1); } },
        { "control", 6, [&] { return std::make_shared<CSNPlugInControl> (&owner); } },
        { "worker", 7, [&] { return std::make_shared<CPlugInWorker> (owner, &TestCallback, nullptr); } },
        { "data", 8, [] { return std::make_shared<SOneLong>(); } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        tracker.calls.clear();
        void* address = nullptr;
        {
            const auto object = c.make();
            address = object.get();
            const auto calls = tracker.CallsOf (address);
            ASSERT_EQ (calls.size(), 1u);
            EXPECT_EQ (calls[0].what, 'r');
            EXPECT_EQ (calls[0].kind, c.kind);
        }
        const auto calls = tracker.CallsOf (address);
        ASSERT_EQ (calls.size(), 2u);
        EXPECT_EQ (calls[1].what, 'u');
    }
}

TEST (ObjectModelTest, AGroupAndATypeRegisterTheirDefaultObjectsToo)
{
    FakeObjectTracker tracker;
    std::vector<int32_t> kinds;
    {
        CPlugInGroup group (7);
        EXPECT_EQ (static_cast<CDefaultPlugInType*> (group.GetDefaultType())->GetWord(), 7);
        for (const auto& call : tracker.calls)
            kinds.push_back (call.kind);
    }
    // The embedded default type with its default plug-in and control, then the group itself.
    EXPECT_EQ (kinds, (std::vector<int32_t> { 3, 6, 2, 1 }));
    const int registered = tracker.CountOf ('r');
    const int unregistered = tracker.CountOf ('u');
    EXPECT_EQ (unregistered, registered);
    EXPECT_EQ (tracker.calls[4].what, 'u') << "the group unregisters before its members go";
    EXPECT_EQ (tracker.calls[4].kind, 0);
}

TEST (ObjectModelTest, APlugInUnregistersBeforeItsPortsGo)
{
    FakeObjectTracker tracker;
    void* plugInAddress = nullptr;
    std::vector<void*> order;
    {
        CPlugIn plugIn (SPlugInSpec {}, nullptr);
        plugInAddress = &plugIn;
        plugIn.GetInputList().Add (new CPlugInInput (plugIn, 0));
        plugIn.GetOutputList().Add (new CPlugInOutput (plugIn, 0));
        tracker.calls.clear();
    }
    ASSERT_EQ (tracker.calls.size(), 3u);
    for (const auto& call : tracker.calls)
        EXPECT_EQ (call.what, 'u');
    EXPECT_EQ (tracker.calls[0].object, plugInAddress);
}

TEST (ObjectModelTest, PortsNumberedZeroTakeTheNextNumberOfTheirSide)
{
    CPlugIn plugIn (SPlugInSpec {}, nullptr);
    plugIn.GetInputList().Add (new CPlugInInput (plugIn, 0));
    plugIn.GetInputList().Add (new CPlugInInput (plugIn, 0));
    plugIn.GetInputList().Add (new CPlugInInput (plugIn, 9));
    plugIn.GetOutputList().Add (new CPlugInOutput (plugIn, 0));
    EXPECT_EQ (PortNumbers (plugIn.GetInputList()), (std::vector<int32_t> { 1, 2, 9 }));
    EXPECT_EQ (PortNumbers (plugIn.GetOutputList()), (std::vector<int32_t> { 1 }));
}

TEST (ObjectModelTest, RegisteringAPlugInPublishesItsPartsThenItselfInsideItsStateBracket)
{
    FakeObjectTracker tracker;
    CPlugIn plugIn (SPlugInSpec { { 11, 12, 13, 14, 15 } }, nullptr);
    auto* input = new CPlugInInput (plugIn, 1);
    plugIn.GetInputList().Add (input);
    auto* sideChain = new CPlugInInput (plugIn, 3);
    plugIn.GetInputList().Add (sideChain);
    auto* output = new CPlugInOutput (plugIn, 0);
    plugIn.GetOutputList().Add (output);
    static const char userWord[] = "worker name";
    CPlugInWorker worker (plugIn, &TestCallback, userWord);
    SOneLong data;
    worker.GetDataBlocks().Add (&data);
    tracker.calls.clear();

    plugIn.Register();

    std::vector<std::pair<void*, std::vector<int32_t>>> published;
    for (const auto& call : tracker.calls)
    {
        ASSERT_EQ (call.what, 'p');
        published.emplace_back (call.object, call.words);
    }
    const int32_t p = WordOfPointer (&plugIn);
    const std::vector<std::pair<void*, std::vector<int32_t>>> expected = {
        { &plugIn, { 1, 2 } },
        { input, { 1, p, 1 } },
        { sideChain, { 1, p, 3 } },
        { output, { 1, p, 1 } },
        { &worker, { 1, WordOfPointer (reinterpret_cast<void*> (&TestCallback)), 4, 1, WordOfPointer (&data), 0, 0, 0, WordOfPointer (userWord), 0 } },
        { &data, { 1, 0, 4, published.size() > 5 ? published[5].second.at (3) : 0 } },
        { &plugIn, { 1, 11, 12, 13, 14, 15, 2, WordOfPointer (input), WordOfPointer (sideChain), 1, WordOfPointer (output), 1, WordOfPointer (&worker) } },
        { &plugIn, { 1, 3 } },
    };
    EXPECT_EQ (published, expected);
    // The data block's last word is the address of its published-block pointer, inside the data.
    const auto pointerWord = static_cast<uintptr_t> (static_cast<uint32_t> (published.at (5).second.at (3)));
    EXPECT_GE (pointerWord, reinterpret_cast<uintptr_t> (&data));
    EXPECT_LT (pointerWord, reinterpret_cast<uintptr_t> (&data) + sizeof data);
}

TEST (ObjectModelTest, PublishingThatStopsHalfWayStillEndsThePlugInsStateBracket)
{
    // A port that cannot describe itself (its buffer cannot be had).
    class FailingPort : public CPlugInInput
    {
    public:
        using CPlugInInput::CPlugInInput;
        void Publish() override { throw int16_t (-1); }
    };
    FakeObjectTracker tracker;
    CPlugIn plugIn (SPlugInSpec {}, nullptr);
    plugIn.GetInputList().Add (new FailingPort (plugIn, 0));
    tracker.calls.clear();
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { plugIn.Register(); }), -1);
    EXPECT_EQ (tracker.PublicationsOf (&plugIn), (std::vector<std::vector<int32_t>> { { 1, 2 }, { 1, 3 } }));
}

TEST (ObjectModelTest, AWorkerJoinsAndLeavesItsPlugInsWorkerList)
{
    CPlugIn plugIn (SPlugInSpec {}, nullptr);
    {
        CPlugInWorker worker (plugIn, &TestCallback, nullptr);
        EXPECT_TRUE (plugIn.GetWorkerList().Contains (&worker));
        worker.SetRenderCallback (nullptr);
        EXPECT_EQ (worker.GetRenderCallback(), nullptr);
    }
    EXPECT_EQ (plugIn.GetWorkerList().GetCount(), 0);
}

TEST (ObjectModelTest, LookupsAnswerTheTypesDefaultsAndATypelessPlugInThrowsMinus9060)
{
    CPlugInGroup group (0);
    TestType type (group);
    CPlugIn plugIn (SPlugInSpec {}, &type);
    auto* input = new CPlugInInput (plugIn, 0);
    plugIn.GetInputList().Add (input);
    plugIn.GetOutputList().Add (new CPlugInOutput (plugIn, 0));

    EXPECT_EQ (plugIn.GetInput (1), input);
    EXPECT_EQ (plugIn.GetInput (0), &type.GetDefaultPort());
    EXPECT_EQ (plugIn.GetInput (2), &type.GetDefaultPort());
    EXPECT_EQ (plugIn.GetOutput (2), &type.GetDefaultPort());
    EXPECT_EQ (plugIn.GetControl (1), &type.GetDefaultControl());
    EXPECT_EQ (plugIn.GetUserInterface(), &type.GetDefaultUserInterface());
    EXPECT_TRUE (type.GetDefaultPort().IsConnected());

    CPlugIn typeless (SPlugInSpec {}, nullptr);
    typeless.GetInputList().Add (new CPlugInInput (typeless, 0));
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { typeless.GetInput (0); }), -9060);
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { typeless.GetInput (2); }), -9060);
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { typeless.GetControl (1); }), -9060);
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { typeless.GetUserInterface(); }), -9060);
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { typeless.GetDefaultPort(); }), -9060);

    typeless.SetUserInterface (std::make_unique<CPlugInUserInterface> (5));
    EXPECT_EQ (typeless.GetUserInterface()->GetOwner(), 5);
}

TEST (ObjectModelTest, ATypeMakesEachPlugInIDOnceAndDeletesOnlyItsOwn)
{
    FakeObjectTracker tracker;
    CPlugInGroup group (0);
    TestType type (group);

    int32_t id = 5;
    EXPECT_EQ (type.NewPlugIn (&id), 0);
    CPlugIn* made = type.GetPlugIn (5);
    ASSERT_NE (made, type.GetDefaultPlugIn());
    EXPECT_EQ (type.GetPlugIns().GetCount(), 1);
    EXPECT_EQ (tracker.PublicationsOf (made).size(), 3u) << "a new plug-in publishes itself";

    EXPECT_EQ (type.NewPlugIn (&id), -7126);
    EXPECT_EQ (type.created, (std::vector<int32_t> { 5 })) << "nothing is made for a taken ID";
    EXPECT_EQ (type.GetPlugIns().GetCount(), 1);

    EXPECT_EQ (type.GetPlugIn (6), type.GetDefaultPlugIn());
    EXPECT_EQ (type.DeletePlugIn (6), -7001);
    EXPECT_EQ (type.DeletePlugIn (5), 0);
    EXPECT_EQ (type.GetPlugIn (5), type.GetDefaultPlugIn());
    EXPECT_EQ (type.DeletePlugIn (5), -7001);

    type.makesNone = true;
    id = 8;
    EXPECT_EQ (type.NewPlugIn (&id), -9013);
    EXPECT_EQ (id, 0);
    EXPECT_EQ (type.NewPlugIn (nullptr), -9013);

    CDefaultPlugInType& fallback = *static_cast<CDefaultPlugInType*> (group.GetDefaultType());
    id = 9;
    EXPECT_EQ (fallback.NewPlugIn (&id), -7055);
    EXPECT_EQ (fallback.DeletePlugIn (9), -7055);
}

TEST (ObjectModelTest, CallWithValueMakesThePlugInUnderTheRecordsValueAndRestoresIt)
{
    CPlugInGroup group (0);
    TestType type (group);
    group.SetCurrentValue (3);
    int32_t record[13] = {};
    record[11] = 77;
    record[12] = 4;
    EXPECT_EQ (type.CallWithValue (record), 0);
    EXPECT_EQ (type.valueWhileCreating, 77);
    EXPECT_EQ (type.created, (std::vector<int32_t> { 4 }));
    EXPECT_EQ (group.GetCurrentValue(), 3);

    SPlugInSpec spec;
    type.CPlugInType::GetSpec (&spec);
    EXPECT_EQ (spec.fWords, (std::array<int32_t, 5> { -7055, 0x20202020, 0x20202020, 3, 0 }));
}

TEST (ObjectModelTest, AFreshGroupIsTheHostMakersWithItsCodeAndName)
{
    CPlugInGroup group (0);
    EXPECT_EQ (group.GetManufacturerCode(), 0x484D6B72u);
    EXPECT_EQ (NameOf ([&] (char* t, int32_t n) { group.GetManufacturerName (t, n); }), "Host Maker Inc.");
    EXPECT_EQ (NameOf ([&] (char* t, int32_t n) { group.GetManufacturerName (t, n); }, 5), "Host");
    EXPECT_EQ (NameOf ([&] (char* t, int32_t n) { group.GetName (t, n); }), "");
    EXPECT_EQ (group.GetFlag(), 1);

    group.Names().AddName ("Com");
    group.Names().AddName ("pressor");
    EXPECT_EQ (NameOf ([&] (char* t, int32_t n) { group.GetName (t, n); }), "Compressor");
    EXPECT_EQ (NameOf ([&] (char* t, int32_t n) { group.GetName (t, n); }, 6), "Compr");
}

TEST (ObjectModelTest, AGroupFindsTypesByTheFirstFourWordsOfTheirSpec)
{
    CPlugInGroup group (0);
    TestType first (group);
    TestType second (group);
    first.ownSpec = std::make_unique<SPlugInSpec> (SPlugInSpec { { 1, 2, 3, 4, 5 } });
    second.ownSpec = std::make_unique<SPlugInSpec> (SPlugInSpec { { 1, 2, 3, 9, 5 } });
    group.AddType (first);
    group.AddType (second);

    EXPECT_EQ (group.FindType (SPlugInSpec { { 1, 2, 3, 9, 0 } }), &second);
    EXPECT_EQ (group.FindType (SPlugInSpec { { 1, 2, 3, 4, 99 } }), &first);
    EXPECT_EQ (group.FindType (SPlugInSpec { { 1, 2, 0, 4, 5 } }), group.GetDefaultType());

    int32_t record[13] = {};
    record[8] = 1, record[9] = 2, record[10] = 3, record[11] = 9;
    EXPECT_EQ (group.FindTypeByID (record), &second);
    EXPECT_EQ (group.FindTypeByID (nullptr), group.GetDefaultType());

    int32_t id = 21;
    ASSERT_EQ (second.NewPlugIn (&id), 0);
    EXPECT_EQ (group.ForwardToTypeByID (record, 21), second.GetPlugIn (21));
    EXPECT_EQ (group.ForwardToType (SPlugInSpec { { 1, 2, 3, 9, 0 } }, 22), second.GetDefaultPlugIn());

    group.RemoveType (second);
    EXPECT_EQ (group.FindTypeByID (record), group.GetDefaultType());
}

TEST (ObjectModelTest, BroadcastSelectsItemsWhoseSpecsApplyToItemReads)
{
    CPlugInGroup group (0);
    TestType first (group);
    TestType second (group);
    first.ownSpec = std::make_unique<SPlugInSpec> (SPlugInSpec { { 1, 1, 1, 1, 1 } });
    group.AddType (first);
    group.AddType (second);

    group.BroadcastToTypes (4);
    EXPECT_EQ (group.GetItemCount(), 0);
    group.BroadcastToTypes (3);
    EXPECT_EQ (group.GetItemCount(), 2);

    group.SetCurrentValue (6);
    SPlugInSpec spec;
    EXPECT_EQ (group.ApplyToItem (&spec, 1), &spec);
    EXPECT_EQ (spec.fWords[4], 1);
    group.ApplyToItem (&spec, 2);
    EXPECT_EQ (spec.fWords[3], 6);
    spec = {};
    group.ApplyToItem (&spec, 3);
    EXPECT_EQ (spec.fWords[0], -7055) << "past the items: the default type's spec";
}

TEST (ObjectModelTest, SetAllPlugInsValueReachesEveryPlugInAndAnswersTheFirstFailure)
{
    CPlugInGroup group (0);
    TestType type (group);
    group.AddType (type);
    type.makesChanging = true;
    std::vector<ChangingPlugIn*> plugIns;
    for (int32_t id : { 1, 2, 3 })
    {
        int32_t newID = id;
        ASSERT_EQ (type.NewPlugIn (&newID), 0);
        plugIns.push_back (static_cast<ChangingPlugIn*> (type.GetPlugIn (id)));
    }
    plugIns[1]->answer = 0x10000 - 7; // -7 once narrowed to 16 bits
    plugIns[2]->answer = -9;

    EXPECT_EQ (group.SetAllPlugInsValue (42), -7);
    EXPECT_EQ (group.GetCurrentValue(), 42);
    for (ChangingPlugIn* plugIn : plugIns)
        EXPECT_EQ (plugIn->seen, (std::vector<int32_t> { 42 }));
    EXPECT_EQ (group.ForAllPlugInsA (1), 0);
    EXPECT_EQ (group.ForAllPlugInsD (1), 0);
}

TEST (ObjectModelTest, PortCountsChangeOnlyWhereThePlugInAllowsIt)
{
    FakeObjectTracker tracker;
    CPlugIn fixed (SPlugInSpec {}, nullptr);
    EXPECT_EQ (fixed.SetNumInputs (-1), 0);
    EXPECT_EQ (fixed.SetNumInputs (1), -7152);
    EXPECT_EQ (fixed.SetNumOutputs (1), -7153);
    tracker.calls.clear();
    EXPECT_EQ (fixed.SetNumInputs (0), 0);
    EXPECT_EQ (tracker.PublicationsOf (&fixed).size(), 3u) << "an unchanged count publishes the plug-in again";

    ChangingPlugIn changing (SPlugInSpec {}, nullptr);
    EXPECT_EQ (changing.SetNumInputs (3), 0);
    EXPECT_EQ (PortNumbers (changing.GetInputList()), (std::vector<int32_t> { 1, 2, 3 }));
    EXPECT_EQ (changing.GetNumInputs(), 3);
    EXPECT_EQ (changing.SetNumInputs (1), 0);
    EXPECT_EQ (PortNumbers (changing.GetInputList()), (std::vector<int32_t> { 1 }));
    EXPECT_EQ (changing.SetNumOutputs (2), 0);
    EXPECT_EQ (changing.GetNumOutputs(), 2);

    changing.failsNewPorts = true;
    EXPECT_EQ (changing.SetNumInputs (2), -9013);
    EXPECT_EQ (changing.GetNumInputs(), 1);
}

namespace
{
// One row per operation: what the plain class answers and what its default class answers.
template <class Object>
struct AnswerRow
{
    const char* operation;
    std::function<int32_t (Object&)> call;
    int32_t plain;
    int32_t fallback;
};

template <class Plain, class Default, class Object>
void CheckAnswers (Plain& plain, Default& fallback, const std::vector<AnswerRow<Object>>& rows)
{
    for (const auto& row : rows)
    {
        SCOPED_TRACE (row.operation);
        EXPECT_EQ (row.call (plain), row.plain);
        EXPECT_EQ (row.call (fallback), row.fallback);
    }
}
}

TEST (ObjectModelTest, PlugInsAndDefaultPlugInsAnswerTheirFixedResults)
{
    CPlugInGroup group (0);
    TestType type (group);
    CPlugIn plain (SPlugInSpec {}, &type);
    CDefaultPlugIn& fallback = *static_cast<CDefaultPlugIn*> (type.GetDefaultPlugIn());
    int32_t out = 5;
    // clang-format off
    const std::vector<AnswerRow<CPlugIn>> rows = {
        { "SetNumInputs (1)",  [] (CPlugIn& p) { return p.SetNumInputs (1); },  -7152, -7026 },
        { "SetNumOutputs (1)", [] (CPlugIn& p) { return p.SetNumOutputs (1); }, -7153, -7026 },
        { "Reserved1",  [] (CPlugIn& p) { return p.Reserved1(); },  0, 0 },
        { "Reserved2",  [] (CPlugIn& p) { return p.Reserved2(); },  0, 0 },
        { "Reserved5",  [] (CPlugIn& p) { return p.Reserved5(); },  0, 0 },
        { "Reserved6",  [] (CPlugIn& p) { return p.Reserved6(); },  0, 0 },
        { "Reserved7",  [] (CPlugIn& p) { return int32_t (p.Reserved7()); },  0, 0 },
        { "Reserved14", [] (CPlugIn& p) { return p.Reserved14(); }, 0, 0 },
        { "Reserved15", [] (CPlugIn& p) { return p.Reserved15(); }, -9007, -7026 },
        { "Reserved16", [] (CPlugIn& p) { return int32_t (p.Reserved16()); }, 0, 0 },
        { "Reserved17", [] (CPlugIn& p) { return p.Reserved17(); }, -9007, -7026 },
        { "Reserved18", [] (CPlugIn& p) { return int32_t (p.Reserved18()); }, 0, 0 },
        { "Reserved19", [] (CPlugIn& p) { return p.Reserved19(); }, -9007, -7026 },
        { "Reserved20", [] (CPlugIn& p) { return p.Reserved20(); }, -9007, -7026 },
        { "Reserved21", [] (CPlugIn& p) { return p.Reserved21 (1, 2); }, 2, 2 },
        { "Reserved22", [] (CPlugIn& p) { return p.Reserved22(); }, -9007, -7026 },
        { "Reserved23", [] (CPlugIn& p) { return p.Reserved23(); }, -9007, -7026 },
        { "Reserved24", [] (CPlugIn& p) { return p.Reserved24(); }, -9007, -7026 },
        { "Reserved26", [] (CPlugIn& p) { return p.Reserved26(); }, 0, 0 },
        { "Reserved29", [] (CPlugIn& p) { return p.Reserved29(); }, 0, 0 },
        { "Reserved31", [] (CPlugIn& p) { return p.Reserved31(); }, 0, 0 },
        { "Reserved32", [] (CPlugIn& p) { return p.Reserved32(); }, 0x20202020, 0x20202020 },
        { "Reserved34", [] (CPlugIn& p) { return p.Reserved34(); }, 0, 0 },
        { "Reserved35", [] (CPlugIn& p) { return p.Reserved35(); }, -7157, -7026 },
        { "Reserved36", [] (CPlugIn& p) { return p.Reserved36(); }, -7157, -7026 },
        { "Reserved37", [] (CPlugIn& p) { return int32_t (p.Reserved37()); }, 0, 0 },
        { "Reserved38", [] (CPlugIn& p) { return p.Reserved38 (1); }, 0, -7026 },
        { "Reserved39", [] (CPlugIn& p) { return p.Reserved39 (1); }, 0, -7026 },
        { "Reserved40", [] (CPlugIn& p) { return p.Reserved40 (1); }, 0, -7026 },
        { "Reserved41", [] (CPlugIn& p) { return p.Reserved41 (1, 2); }, 0, -7026 },
        { "Reserved42", [] (CPlugIn& p) { return p.Reserved42(); }, 0, -7026 },
        { "Reserved43", [] (CPlugIn& p) { return p.Reserved43 (1); }, 0, -7026 },
        { "Reserved44", [] (CPlugIn& p) { return p.Reserved44(); }, 0, -7026 },
        { "Reserved45", [&] (CPlugIn& p) { out = 5; return p.Reserved45 (&out) + out; }, 0, 0 },
        { "Reserved46", [&] (CPlugIn& p) { out = 5; return p.Reserved46 (&out) + out; }, 0, 0 },
        { "Reserved47", [] (CPlugIn& p) { return p.Reserved47(); }, 0, 0 },
        { "NotSupported", [&] (CPlugIn& p) { out = 5; return p.NotSupported (&out) + out; }, -7026, -7026 },
        { "CanChangeInputs",  [] (CPlugIn& p) { return int32_t (p.CanChangeInputs()); },  0, 0 },
        { "CanChangeOutputs", [] (CPlugIn& p) { return int32_t (p.CanChangeOutputs()); }, 0, 0 },
        { "GetNumInputs",   [] (CPlugIn& p) { return p.GetNumInputs(); },   0, 0 },
        { "GetNumControls", [] (CPlugIn& p) { return p.GetNumControls(); }, 0, 0 },
    };
    // clang-format on
    CheckAnswers (plain, fallback, rows);

    int32_t record[13];
    std::fill (std::begin (record), std::end (record), 1);
    plain.Reserved48 (record);
    EXPECT_EQ (std::vector<int32_t> (record, record + 13), (std::vector<int32_t> { 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0 }));
    char text[4] = "abc";
    plain.Reserved3 (text);
    EXPECT_EQ (text[0], 0);
    plain.Reserved3 (nullptr);
}

TEST (ObjectModelTest, PortsControlsAndUserInterfacesAnswerTheirFixedResults)
{
    CPlugIn owner (SPlugInSpec {}, nullptr);
    CPlugInInput port (owner, 1);
    CDefaultPlugInPort defaultPort (&owner);
    int32_t a = 5, b = 5;
    // clang-format off
    CheckAnswers (port, defaultPort, std::vector<AnswerRow<CPlugInPort>> {
        { "IsConnected", [] (CPlugInPort& p) { return int32_t (p.IsConnected()); }, 0, 1 },
        { "Reserved1",   [] (CPlugInPort& p) { return int32_t (p.Reserved1()); },   1, 0 },
        { "Connect",     [] (CPlugInPort& p) { return p.Connect (9); },  0, -7106 },
        { "Disconnect",  [] (CPlugInPort& p) { return p.Disconnect(); }, 0, -7106 },
        { "Reserved2",   [&] (CPlugInPort& p) { a = b = 5; return p.Reserved2 (&a, &b) + a + b; }, -9007, -7096 },
        { "Reserved3",   [] (CPlugInPort& p) { return p.Reserved3(); },  0, 0 },
        { "Reserved4",   [] (CPlugInPort& p) { return p.Reserved4(); },  -9007, -7106 },
        { "Reserved5",   [] (CPlugInPort& p) { return p.Reserved5(); },  -9007, -7106 },
        { "Reserved6",   [] (CPlugInPort& p) { return p.Reserved6(); },  -9007, -9007 },
        { "Reserved10",  [] (CPlugInPort& p) { return p.Reserved10(); }, -9007, -9007 },
        { "Reserved11",  [] (CPlugInPort& p) { return p.Reserved11(); }, 0, 0 },
    });

    CSNPlugInControl control (&owner);
    CDefaultPlugInControl defaultControl (&owner);
    CheckAnswers (control, defaultControl, std::vector<AnswerRow<CSNPlugInControl>> {
        { "Reserved1",  [] (CSNPlugInControl& c) { return c.Reserved1(); },  3, 3 },
        { "Reserved3",  [] (CSNPlugInControl& c) { return c.Reserved3(); },  0, 0 },
        { "Reserved4",  [] (CSNPlugInControl& c) { return c.Reserved4(); },  -9007, -7300 },
        { "Reserved7",  [] (CSNPlugInControl& c) { return c.Reserved7(); },  -9007, -7300 },
        { "Reserved8",  [] (CSNPlugInControl& c) { return int32_t (c.Reserved8()); }, 0, 0 },
        { "Reserved9",  [] (CSNPlugInControl& c) { return c.Reserved9(); },  -9007, -7300 },
        { "Reserved13", [] (CSNPlugInControl& c) { return c.Reserved13(); }, 0, 0 },
        { "Reserved16", [] (CSNPlugInControl& c) { return c.Reserved16(); }, 1, 1 },
        { "Reserved17", [] (CSNPlugInControl& c) { return c.Reserved17(); }, 0, 0 },
        { "Reserved19", [] (CSNPlugInControl& c) { return c.Reserved19(); }, -9007, -7300 },
        { "Reserved21", [] (CSNPlugInControl& c) { return c.Reserved21(); }, -9007, -9007 },
    });

    CPlugInUserInterface userInterface;
    CDefaultPlugInUserInterface defaultInterface;
    char text[4] = "abc";
    CheckAnswers (userInterface, defaultInterface, std::vector<AnswerRow<CPlugInUserInterface>> {
        { "Reserved1",  [] (CPlugInUserInterface& u) { return u.Reserved1(); },  -9007, -7026 },
        { "Reserved2",  [&] (CPlugInUserInterface& u) { text[0] = 'a'; return u.Reserved2 (text) + text[0]; }, -9007, -7026 },
        { "Reserved3",  [] (CPlugInUserInterface& u) { return u.Reserved3(); },  -9007, -7026 },
        { "Reserved4",  [] (CPlugInUserInterface& u) { return u.Reserved4(); },  0, 0 },
        { "Reserved5",  [] (CPlugInUserInterface& u) { return u.Reserved5(); },  -9007, -7026 },
        { "Reserved10", [] (CPlugInUserInterface& u) { return u.Reserved10(); }, -9007, -7026 },
        { "Reserved11", [] (CPlugInUserInterface& u) { return u.Reserved11(); }, -9007, -9007 },
        { "Reserved13", [] (CPlugInUserInterface& u) { return int32_t (u.Reserved13()); }, 0, 0 },
        { "Reserved15", [&] (CPlugInUserInterface& u) { a = b = 5; return u.Reserved15 (&a, &b) + a + b; }, -9007, -9007 },
        { "Reserved16", [] (CPlugInUserInterface& u) { return u.Reserved16(); }, -9007, -9007 },
    });
    // clang-format on

    char value[8] = "xxxxxxx";
    control.GetValueString (value, sizeof value);
    EXPECT_STREQ (value, "0");
    control.Names().AddName ("Gain");
    uint8_t flag = 1;
    control.Reserved14 (value, sizeof value, &flag);
    EXPECT_STREQ (value, "Gain");
    EXPECT_EQ (flag, 0);
}
