// The effect process: the chunk table and the controls chunk (what it stores, restores and
// compares), the master bypass, meters and the clip flag, texts and view events.

#include "EffectTestSupport.h"
#include "ChunkRecords.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

class EffectProcesses : public EffectTest
{
protected:
    void SetUp() override
    {
        EffectTest::SetUp();
        type = MakeEffectType (kStereoTypeID, 1);
    }

    void TearDown() override
    {
        process.reset();
        type.reset();
        EffectTest::TearDown();
    }

    CTestEffectProcess& Make (std::function<void (CTestEffectProcess&)> setUp)
    {
        process = MakeProcess (type.get(), std::move (setUp));
        return *process;
    }

    std::vector<uint32_t> ChunkIDs()
    {
        int32_t count = 0;
        EXPECT_EQ (process->GetNumChunks (&count), 0);
        std::vector<uint32_t> ids;
        for (int32_t index = 1; index <= count; ++index)
        {
            uint32_t id = 0;
            EXPECT_EQ (process->GetChunkID (index, &id), 0);
            ids.push_back (id);
        }
        return ids;
    }

    // The controls chunk as the host gets it: the size it is told, then a record of that size.
    Bytes SavedControls()
    {
        int32_t size = 0;
        EXPECT_EQ (process->GetChunkSize (kControlsChunkID, &size), 0);
        Bytes record = ChunkRecord (size, kControlsChunkID);
        EXPECT_EQ (process->GetChunk (kControlsChunkID, HeaderOf (record)), 0);
        return record;
    }

    double GainValue() { return dynamic_cast<CLinearControl*> (process->GetControl (2))->GetContinuousValue(); }
    int32_t ModeValue() { return dynamic_cast<CPluginControl_Discrete*> (process->GetControl (3))->GetIntegerValue(); }

    uint8_t Matches (const Bytes& data)
    {
        Bytes record = MakeChunkRecord (data);
        HeaderOf (record)->fChunkID = kControlsChunkID;
        uint8_t matches = 0xEE;
        EXPECT_EQ (process->RestoreControlsFromChunk (HeaderOf (record), &matches), 0);
        return matches;
    }

    std::unique_ptr<CEffectTypeRTAS> type;
    std::unique_ptr<CTestEffectProcess> process;
};

// A data area with the entries given.
Bytes ControlsData (const std::function<void (ChunkDataParser&)>& fill)
{
    ChunkDataParser parser;
    fill (parser);
    return DataArea (WrittenRecord (parser));
}

TEST_F (EffectProcesses, TheWrappersProcessReportsTheControlsChunkHoldingJustTheMarker)
{
    Make (SetUpAsWrapper);
    EXPECT_EQ (process->CountControls(), 11);
    EXPECT_EQ (process->GetNumSavedControls(), 10) << "11 controls, the master bypass left out";
    EXPECT_EQ (ChunkIDs(), (std::vector<uint32_t> { kControlsChunkID, kMIDIChunkID }));

    int32_t size = 0;
    EXPECT_EQ (process->GetChunkSize (kControlsChunkID, &size), 0);
    EXPECT_EQ (size, 60);
    const Bytes record = SavedControls();
    ASSERT_EQ (record.size(), 60u);
    EXPECT_EQ (DataArea (record), (Bytes { 1, 1, 1, 1 })) << "neither kind of control is stored";
    int32_t total = 0;
    std::memcpy (&total, record.data(), 4);
    EXPECT_EQ (total, 60);

    uint8_t name[32] = {};
    EXPECT_EQ (process->GetChunkName (kControlsChunkID, name), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "Complete Controls State");
    EXPECT_EQ (process->GetChunkName (kMIDIChunkID, name), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "MIDI Connection Data");
}

TEST_F (EffectProcesses, AProcessWithoutSavedControlsHidesTheControlsChunk)
{
    for (const auto& setUp : std::vector<std::function<void (CTestEffectProcess&)>> {
             nullptr,
             [] (CTestEffectProcess& p) {
                 p.AddControl (MakeMasterBypassControl().release());
                 p.LeaveOutOfControlsChunk (kMasterBypassID);
             },
             [] (CTestEffectProcess& p) { p.LeaveOutOfControlsChunk (kMasterBypassID); } })
    {
        Make (setUp);
        EXPECT_LE (process->GetNumSavedControls(), 0);
        EXPECT_EQ (ChunkIDs(), (std::vector<uint32_t> { kMIDIChunkID })) << "the indexes start at the next entry";
        uint32_t id = 0;
        EXPECT_EQ (process->GetChunkID (2, &id), -7157);
        EXPECT_EQ (id, kNoChunkID);
        EXPECT_EQ (process->GetChunkID (0, &id), -7157);
    }
}

TEST_F (EffectProcesses, TheControlsChunkStoresContinuousValuesAsDoublesAndDiscreteOnesAsIntegers)
{
    Make (SetUpWithStoredControls);
    process->UpdateControlValue (2, kControlValueMin);
    // clang-format off
    const Bytes expected {
        1, 1, 1, 1,
        'd', '_', 'g', 'a', 'i', 'n', 0, 0,   0xC0, 0x34, 0, 0, 0, 0, 0, 0, // -20.0
        'l', '_', 'm', 'o', 'd', 'e', 0, 0,   0, 0, 0, 5,
    };
    // clang-format on
    const Bytes record = SavedControls();
    EXPECT_EQ (DataArea (record), expected);
    EXPECT_EQ (process->GetNumSavedControls(), 2);
}

TEST_F (EffectProcesses, AChunkLargerThanTheSizeReportedIsRefusedNotOverrun)
{
    Make (SetUpWithStoredControls);
    int32_t size = 0;
    process->GetChunkSize (kControlsChunkID, &size);
    Bytes record = ChunkRecord (size + 8, kControlsChunkID);
    process->AddControl (new CPluginControl_Discrete (FourCharCode ("late"), "Late", 0, 1, 0, true));
    EXPECT_EQ (process->GetChunk (kControlsChunkID, HeaderOf (record)), -333)
        << "the chunk grew past the size the host made the record for";
    EXPECT_EQ (HeaderOf (record)->fSize, size + 12);
    EXPECT_EQ (record[56], 0xCC) << "nothing written past the header";
}

TEST_F (EffectProcesses, RestoringSetsEveryStoredControlButTheMasterBypassAndKeepsMissingOnes)
{
    Make (SetUpWithStoredControls);
    const Bytes data = ControlsData ([] (ChunkDataParser& parser) {
        parser.AddDouble ("gain", 10.0);
        parser.AddLong ("bypa", 1);
    });
    Bytes record = MakeChunkRecord (data);
    EXPECT_EQ (process->SetChunk (kControlsChunkID, HeaderOf (record)), 0);
    EXPECT_NEAR (GainValue(), 10.0, 1e-6);
    EXPECT_EQ (ModeValue(), 5) << "no entry: the control keeps its value";
    uint8_t bypassed = 1;
    process->IsMasterBypassed (&bypassed);
    EXPECT_EQ (bypassed, 0) << "the master bypass is not restored from the chunk";

    EXPECT_EQ (Matches (data), 1) << "a missing entry compares as equal";
    process->UpdateControlValue (3, dynamic_cast<CPluginControl_Discrete*> (process->GetControl (3))->ControlValueFromInteger (9));
    EXPECT_EQ (Matches (data), 1) << "still no entry for the discrete control";
    EXPECT_EQ (Matches (ControlsData ([] (ChunkDataParser& parser) { parser.AddLong ("mode", 7); })), 0);
    EXPECT_EQ (Matches (ControlsData ([] (ChunkDataParser& parser) { parser.AddLong ("mode", 9); })), 1);
    EXPECT_EQ (Matches (ControlsData ([] (ChunkDataParser& parser) { parser.AddDouble ("gain", 10.04); })), 1)
        << "continuous values compare by the text they show";
    EXPECT_EQ (Matches (ControlsData ([] (ChunkDataParser& parser) { parser.AddDouble ("gain", 10.2); })), 0);
    EXPECT_EQ (Matches (ControlsData ([] (ChunkDataParser& parser) { parser.AddLong ("gain", 10); })), 1)
        << "an entry of another type is no entry";
}

TEST_F (EffectProcesses, OtherChunksAreNeitherRestoredNorCompared)
{
    Make (SetUpWithStoredControls);
    Bytes record = MakeChunkRecord (ControlsData ([] (ChunkDataParser& parser) { parser.AddLong ("mode", 1); }));
    HeaderOf (record)->fChunkID = FourCharCode ("othr");
    EXPECT_EQ (process->SetChunk (FourCharCode ("othr"), HeaderOf (record)), 0);
    EXPECT_EQ (ModeValue(), 5);
    uint8_t matches = 0;
    EXPECT_EQ (process->RestoreControlsFromChunk (HeaderOf (record), &matches), 0);
    EXPECT_EQ (matches, 1);
    EXPECT_EQ (process->SetChunk (kControlsChunkID, nullptr), RTASError::kNullPointer);
}

TEST_F (EffectProcesses, RestoringOneControlTakesTheRoadAsked)
{
    Make (SetUpWithStoredControls);
    Bytes record = MakeChunkRecord (ControlsData ([] (ChunkDataParser& parser) { parser.AddLong ("mode", 8); }));
    process->ReadControlsChunk (HeaderOf (record));
    const int32_t changes = [&] {
        int32_t count = 0;
        process->GetChangeCount (&count);
        return count;
    }();
    EXPECT_EQ (process->RestoreControl (3, true), 0);
    EXPECT_EQ (ModeValue(), 8);
    int32_t count = 0;
    process->GetChangeCount (&count);
    EXPECT_EQ (count, changes + 1);
    EXPECT_EQ (process->RestoreControl (2, false), 0) << "no entry";
    EXPECT_EQ (process->RestoreControl (99, false), 0);

    Make (SetUpAsWrapper);
    EXPECT_EQ (process->RestoreControl (2, false), -7401) << "a control of neither kind";
}

TEST_F (EffectProcesses, TheMasterBypassIsTheControlOfItsIndex)
{
    Make (SetUpWithStoredControls);
    int32_t index = 0;
    process->GetMasterBypassControlIndex (&index);
    EXPECT_EQ (index, 1);
    uint8_t bypassed = 0xEE;
    EXPECT_EQ (process->IsMasterBypassed (&bypassed), 0);
    EXPECT_EQ (bypassed, 0);

    EXPECT_EQ (process->SetMasterBypass (1), 0);
    EXPECT_EQ (ControlValueOf (*process, 1), kControlValueOn);
    process->IsMasterBypassed (&bypassed);
    EXPECT_EQ (bypassed, 1);
    EXPECT_TRUE (process->IsBypassed());

    process->SetMasterBypass (0);
    EXPECT_EQ (ControlValueOf (*process, 1), kControlValueOff);
    process->IsMasterBypassed (&bypassed);
    EXPECT_EQ (bypassed, 0);
    EXPECT_FALSE (process->IsBypassed());

    process->UpdateControlValue (1, 0);
    process->IsMasterBypassed (&bypassed);
    EXPECT_EQ (bypassed, 1) << "a value of 0 reads as on";
    EXPECT_FALSE (process->IsBypassed()) << "the render side's flag wants a value above 0";
}

TEST_F (EffectProcesses, WithoutAMasterBypassBothBypassOperationsDoNothing)
{
    for (const int32_t index : { 0, 7 })
    {
        Make ([index] (CTestEffectProcess& p) {
            AddTestControls (p, 2);
            p.SetMasterBypassControlIndex (index);
        });
        EXPECT_EQ (process->SetMasterBypass (1), 0);
        EXPECT_EQ (ControlValueOf (*process, 1), dynamic_cast<CPluginControl_Discrete*> (process->GetControl (1))->ControlValueFromInteger (5));
        uint8_t bypassed = 0xEE;
        EXPECT_EQ (process->IsMasterBypassed (&bypassed), 0);
        EXPECT_EQ (bypassed, 0) << "index " << index << " names no bypass control";
    }
}

class EffectMeters : public EffectProcesses
{
protected:
    void SetUp() override
    {
        EffectProcesses::SetUp();
        toolbox.setClock (1000 * kTickMicroseconds);
        Make ([] (CTestEffectProcess& p) {
            p.AddMeter (EMeterType (1), EMeterOrientation (4));
            p.AddMeter (EMeterType (2), EMeterOrientation (5));
            p.AddMeter (EMeterType (1), EMeterOrientation (6));
        });
        process->rawValues = { 100, 200, 300 };
        process->rawClips = { 0, 0, 0 };
    }

    void NextTicks() { toolbox.advanceClock (3 * kTickMicroseconds); }

    static constexpr uint64_t kTickMicroseconds = 1000000 / 60;
};

TEST_F (EffectMeters, MetersAnswerFromTheBlockAndCopyNoMoreThanTheHostAsks)
{
    int32_t count = 0;
    process->GetNumMeters (&count);
    EXPECT_EQ (count, 3);

    NextTicks();
    std::array<int32_t, 5> values { -1, -1, -1, -1, -1 };
    EXPECT_EQ (process->GetMeterValues (2, values.data()), 0);
    EXPECT_EQ (values, (std::array<int32_t, 5> { 100, 200, -1, -1, -1 }));
    EXPECT_EQ (process->GetMeterValues (5, values.data()), 0);
    EXPECT_EQ (values, (std::array<int32_t, 5> { 100, 200, 300, -1, -1 })) << "no more than there are meters";
    EXPECT_EQ (process->GetMeterValues (-3, values.data()), 0);
    EXPECT_EQ (process->GetMeterValues (3, nullptr), 0);

    EMeterOrientation orientation {};
    process->GetMeterOrientation (2, &orientation);
    EXPECT_EQ (orientation, EMeterOrientation (5));
    process->GetMeterOrientation (4, &orientation);
    EXPECT_EQ (orientation, EMeterOrientation (0));
    process->GetNumMetersOfType (EMeterType (1), &count);
    EXPECT_EQ (count, 2);
    int32_t index = 0;
    process->GetMeterIndexOfType (EMeterType (1), 2, &index);
    EXPECT_EQ (index, 3);
    process->GetMeterIndexOfType (EMeterType (2), 2, &index);
    EXPECT_EQ (index, 0);
}

TEST_F (EffectMeters, AClipIsHeldUntilTheIndicatorsAreCleared)
{
    NextTicks();
    uint8_t clipped = 0xEE;
    EXPECT_EQ (process->IsClipped (&clipped), 0);
    EXPECT_EQ (clipped, 0);

    process->rawClips = { 0, 1, 0 };
    NextTicks();
    process->IsClipped (&clipped);
    EXPECT_EQ (clipped, 1);

    process->rawClips = { 0, 0, 0 };
    NextTicks();
    const int readsBefore = process->rawReads;
    process->IsClipped (&clipped);
    EXPECT_EQ (clipped, 1) << "held";
    EXPECT_EQ (process->rawReads, readsBefore) << "a held clip asks nothing";

    EXPECT_EQ (process->ClearClipIndicators(), 0);
    EXPECT_EQ (process->rawReads, readsBefore + 1) << "the reset fetches";
    NextTicks();
    process->IsClipped (&clipped);
    EXPECT_EQ (clipped, 0);
}

TEST_F (EffectProcesses, AProcessWithoutMetersAnswersNone)
{
    Make (SetUpAsWrapper);
    int32_t count = -1;
    process->GetNumMeters (&count);
    EXPECT_EQ (count, 0);
    int32_t value = -1;
    EXPECT_EQ (process->GetMeterValues (1, &value), 0);
    EXPECT_EQ (value, -1);
    uint8_t clipped = 0xEE;
    process->IsClipped (&clipped);
    EXPECT_EQ (clipped, 0);
    EXPECT_EQ (process->rawReads, 0);
}

TEST_F (EffectProcesses, InfoStringsComeFromTheTableAsLengthPrefixedTexts)
{
    Make (SetUpAsWrapper);
    process->SetInfoString (3, "Three");
    process->SetInfoString (3, "Drei");
    process->SetInfoString (9, std::string (300, 'x'));
    uint8_t text[256] = { 0xEE };
    EXPECT_EQ (process->GetInfoString (3, text), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (text + 1), text[0]), "Drei");
    EXPECT_EQ (process->GetInfoString (9, text), 0);
    EXPECT_EQ (text[0], 255);
    text[0] = 0xEE;
    EXPECT_EQ (process->GetInfoString (4, text), 0);
    EXPECT_EQ (text[0], 0xEE) << "nothing for a key without a text";
    EXPECT_EQ (process->GetInfoString (5, text), 0) << "key 5: the side-chain's name";
    EXPECT_EQ (text[0], 0);
}

TEST_F (EffectProcesses, WithoutAViewHandledIsNotClearedAndOnlyAnUnhandledEventIsAnswered)
{
    Make (SetUpAsWrapper);
    EventRecord event {};
    process->eventAnswer = 1;
    uint8_t handled = 0xAA;
    EXPECT_EQ (process->HandleViewEvent (&event, &handled), 0);
    EXPECT_EQ (handled, 0xAA) << "handled already: kept as it is";
    EXPECT_TRUE (process->answeredEvents.empty());
    for (const uint8_t answer : { uint8_t (0), uint8_t (1) })
    {
        process->eventAnswer = answer;
        handled = 0;
        EXPECT_EQ (process->HandleViewEvent (&event, &handled), 0);
        EXPECT_EQ (handled, answer);
    }
    EXPECT_EQ (process->answeredEvents, (std::vector<EventRecord*> { &event, &event }));
    EXPECT_EQ (process->HandleViewEvent (&event, nullptr), 0);
}

// A view that handles events as told.
class EventView : public IProcessView
{
public:
    explicit EventView (uint8_t answer) : fAnswer (answer) {}
    void FinishCreate() override {}
    void Invalidate (const Rect*) override {}
    int32_t HandleClick (EventRecord*) override { return 0; }
    void HandleEvent (EventRecord*, uint8_t* handled) override { *handled = fAnswer; }
    Rect GetFrame() const override { return {}; }
    void SetWindow (OpaqueGrafPtr*) override {}
    void MoveTo (int16_t, int16_t) override {}
    void Activate() override {}
    void Deactivate() override {}
    uint32_t GetID() const override { return 0; }
    bool IsEnabled() const override { return true; }
    IProcessView* GetParent() const override { return nullptr; }
    IProcessView* GetFirstChild() const override { return nullptr; }
    IProcessView* GetNextSibling() const override { return nullptr; }
    IProcessView* FindSubViewByID (uint32_t) const override { return nullptr; }
    IProcessView* FindViewAtPoint (Point) override { return nullptr; }
    void GetControlIndex (int32_t* index) const override { *index = 0; }

    static inline uint8_t sAnswer = 0;
    static std::unique_ptr<IProcessView> Make (CProcess&) { return std::make_unique<EventView> (sAnswer); }

private:
    uint8_t fAnswer;
};

TEST_F (EffectProcesses, TheProcessAnswersOnlyEventsItsViewLeftUnhandled)
{
    ScopedViewless withViews (false);
    SetDefaultProcessViewMaker (&EventView::Make);
    EventRecord event {};
    for (const uint8_t viewAnswer : { uint8_t (0), uint8_t (1) })
    {
        EventView::sAnswer = viewAnswer;
        Make (SetUpAsWrapper);
        process->eventAnswer = 1;
        uint8_t handled = 0;
        process->HandleViewEvent (&event, &handled);
        EXPECT_EQ (handled, 1);
        EXPECT_EQ (process->answeredEvents.size(), viewAnswer == 0 ? 1u : 0u);
    }
    process.reset();
    SetDefaultProcessViewMaker (nullptr);
}

TEST_F (EffectProcesses, ConnectionInformationIsTheProcessesList)
{
    Make (SetUpAsWrapper);
    process->GetConnectionInfoList().Add (std::make_unique<CAOSInfo> (1, 3, "Side", 9));
    int32_t count = 0;
    process->GetNumConnectionInfos (&count);
    EXPECT_EQ (count, 1);
    SFicPlugInStemInfo info {};
    EXPECT_EQ (process->GetConnectionInfo (0, &info), 0);
    EXPECT_EQ (info.fPresent, 1);
    EXPECT_EQ (info.fFirstConnectionIndex, 3);
    EXPECT_STREQ (info.fName, "Side");
    EXPECT_EQ (process->GetConnectionInfo (1, &info), -7103);
    EXPECT_EQ (process->GetConnectionInfo (-1, &info), -7103);
}

TEST_F (EffectProcesses, InitialisationCopiesTheTypesConfiguration)
{
    type->AddCapability (EffectCardInfo::kSideChainInput);
    Make (SetUpAsWrapper);
    int16_t inputs = 0;
    int16_t outputs = 0;
    process->GetNumInputs (&inputs);
    process->GetNumOutputs (&outputs);
    EXPECT_EQ (inputs, 2);
    EXPECT_EQ (outputs, 2);
    EXPECT_EQ (process->GetSideChainInputIndex(), 3);
    EXPECT_EQ (process->GetStemFormatsCopy().fInputFormat, 1);
    EXPECT_EQ (process->GetStemFormatsCopy().fOutputFormat, 1);
    EXPECT_EQ (process->GetStemFormatsCopy().fThirdWord, 0);
    EXPECT_EQ (process->GetTypeKindCopy(), 0);

    process = MakeProcess (nullptr, SetUpAsWrapper);
    process->GetNumInputs (&inputs);
    EXPECT_EQ (inputs, 0) << "without an effect type there is nothing to copy";
}

} // namespace
