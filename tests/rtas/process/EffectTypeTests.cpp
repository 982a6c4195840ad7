// The effect type: stem formats, capabilities and card-information keys (with the stand-in card
// library), names and identity, the forward to its process, and the chunk header it stamps and
// checks.

#include "EffectTestSupport.h"
#include "ThrownCode.h"

#include <DsiControl.h>
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace
{

using namespace kestrune::host::rtas;
using Bytes = std::vector<uint8_t>;

class EffectTypes : public EffectTest
{
protected:
    void SetUp() override
    {
        EffectTest::SetUp();
        dsi.reset();
        type = std::make_unique<CEffectTypeRTAS> (kStereoTypeID);
    }

    void TearDown() override
    {
        // As the group does: the instances go before their type, whose end frees only its page
        // tables.
        type->DeleteAllProcesses();
        type.reset();
        dsi.reset();
        EffectTest::TearDown();
    }

    int32_t CardInfo (int32_t key, int32_t preset = -5)
    {
        int32_t value = preset;
        EXPECT_EQ (type->GetCardInfo (key, &value), 0);
        return value;
    }

    std::pair<int16_t, int16_t> Channels()
    {
        int16_t inputs = -1;
        int16_t outputs = -1;
        type->GetNumInputs (1, &inputs);
        type->GetNumOutputs (1, &outputs);
        return { inputs, outputs };
    }

    // A process of the type, listed by the type with instance ID 1.
    CTestEffectProcess& AddProcess (std::function<void (CTestEffectProcess&)> setUp = SetUpWithStoredControls)
    {
        CTestEffectProcess* process = MakeProcess (type.get(), std::move (setUp)).release();
        type->AddProcess (process);
        return *process;
    }

    DsiControl& dsi = *KestruneDsiStandIn();
    std::unique_ptr<CEffectTypeRTAS> type;
};

TEST_F (EffectTypes, StemFormatsGiveTheChannelCounts)
{
    struct Case
    {
        int32_t index;
        int16_t channels;
    };
    // clang-format off
    const Case cases[] = { { 0, 1 }, { 1, 2 }, { 2, 3 }, { 3, 4 }, { 4, 4 }, { 5, 5 },
                           { 6, 6 }, { 7, 6 }, { 8, 7 }, { 9, 7 }, { 10, 8 } };
    // clang-format on
    for (const Case& c : cases)
    {
        type->DefineStemFormats (c.index, c.index);
        EXPECT_EQ (Channels(), std::make_pair (c.channels, c.channels)) << "stem format " << c.index;
    }

    type->DefineStemFormats (1, 1);
    for (const int32_t unknown : { 11, -2, 1000 })
    {
        EXPECT_EQ (ThrownCode ([&] { type->DefineStemFormats (0, unknown); }), -7401);
        EXPECT_EQ (Channels(), std::make_pair (int16_t (2), int16_t (2))) << "an unknown index changes nothing";
        EXPECT_EQ (type->GetInputStemFormat(), 1);
    }
}

TEST_F (EffectTypes, NoStemFormatLeavesItsCountAtZero)
{
    EXPECT_EQ (Channels(), std::make_pair (int16_t (0), int16_t (0))) << "nothing before the stem formats";
    type->DefineStemFormats (-1, 1);
    EXPECT_EQ (Channels(), std::make_pair (int16_t (0), int16_t (2)));
    SFicPlugInStemFormats ids { 7, 7, 7 };
    EXPECT_EQ (type->GetTypeIDs (1, &ids), 0);
    EXPECT_EQ (ids.fInputFormat, -1);
    EXPECT_EQ (ids.fOutputFormat, 1);
    EXPECT_EQ (ids.fThirdWord, 0);
}

TEST_F (EffectTypes, CapabilitiesAnswerTheirKeys)
{
    EXPECT_EQ (CardInfo (7), 1) << "every effect type has capability 7";
    EXPECT_EQ (CardInfo (8), 0);
    EXPECT_EQ (CardInfo (21, 0), 2);
    EXPECT_EQ (CardInfo (5), 0);

    type->AddCapability (8);
    type->AddCapability (48);
    type->AddCapability (41);
    EXPECT_EQ (CardInfo (8), 1);
    EXPECT_EQ (CardInfo (48), 1);
    EXPECT_EQ (CardInfo (41), 0) << "41 is stored as 30";
    EXPECT_EQ (CardInfo (30), 1);
    EXPECT_EQ (CardInfo (38), 1) << "the RTAS type adds 38 with 41";

    CEffectType plain (kMonoTypeID);
    plain.AddCapability (41);
    int32_t value = 0;
    plain.GetCardInfo (38, &value);
    EXPECT_EQ (value, 0) << "only the RTAS type adds 38";
    plain.GetCardInfo (30, &value);
    EXPECT_EQ (value, 1);

    type->DefineStemFormats (1, 1);
    type->AddCapability (5);
    EXPECT_EQ (CardInfo (5), 3) << "the side-chain comes after the inputs";
    EXPECT_EQ (type->GetCardInfo (5, nullptr), 0);
}

TEST_F (EffectTypes, Key32ChoosesAPerCardValueByTheCardsPresent)
{
    for (int32_t n = 1; n <= kCardValueCount; ++n)
        type->SetCardValue (n, 10 * n);
    EXPECT_EQ (CardInfo (32, -5), -5) << "no card: nothing written";

    DSICardRecord* card21 = dsi.addCard (21, 1);
    EXPECT_EQ (CardInfo (32), 30) << "a card of kind 21: the third value";
    DSICardRecord* card26 = dsi.addCard (26, 1);
    EXPECT_EQ (CardInfo (32), 40) << "a card of kind 26: the fourth";
    DSICardRecord* card29 = dsi.addCard (29, 1);
    EXPECT_EQ (CardInfo (32), 40) << "kind 29 counts only with a 321 chip";
    dsi.addDSP (card29, kDSIFlagDSP321);
    EXPECT_EQ (CardInfo (32), 50) << "kind 29 with a 321 chip: the fifth";
    type->SetCardValue (5, 1);
    EXPECT_EQ (CardInfo (32), 40) << "a fifth value of 1 gives the fourth";
    type->SetCardValue (0, 99);
    type->SetCardValue (6, 99);
    EXPECT_EQ (CardInfo (32), 40);
    (void) card21;
    (void) card26;

    dsi.script().injectFailure ("InitSADriver", -6010);
    EXPECT_EQ (ThrownCode ([&] { CardInfo (32); }), -6010) << "the driver's failure is the host's answer";
}

TEST_F (EffectTypes, Key32WithTheTypesOwnDSPFlagIsTheFirstPerCardValueWhateverTheCards)
{
    for (int32_t n = 1; n <= kCardValueCount; ++n)
        type->SetCardValue (n, 10 * n);
    EXPECT_EQ (type->GetDSPFlag(), 0);
    type->SetDSPFlag (1);
    EXPECT_EQ (CardInfo (32, -5), 10) << "no card";
    dsi.addDSP (dsi.addCard (29, 1), kDSIFlagDSP321);
    EXPECT_EQ (CardInfo (32), 10) << "a card that would choose the fifth";
    type->SetDSPFlag (0);
    EXPECT_EQ (CardInfo (32), 50);
}

TEST_F (EffectTypes, NamesAndIdentity)
{
    type->SetName ("KESTrune");
    char name[256] = {};
    EXPECT_EQ (type->GetName (name), 0);
    EXPECT_EQ (std::string (name + 1, static_cast<uint8_t> (name[0])), "KESTrune");

    uint8_t longName[256] = {};
    EXPECT_EQ (type->GetLongName (longName), 0);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (longName + 1), longName[0]), "jcab") << "the type identifier's characters";
    type->SetLongName ("KESTrune Stereo");
    type->GetLongName (longName);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (longName + 1), longName[0]), "KESTrune Stereo");
    type->SetName (std::string (300, 'n'));
    type->GetName (name);
    EXPECT_EQ (static_cast<uint8_t> (name[0]), 255);

    uint32_t productID = 0;
    type->GetProductID (&productID);
    EXPECT_EQ (productID, kStereoTypeID);
    EXPECT_EQ (type->GetProductCode(), FourCharCode ("KSTR"));
    EXPECT_EQ (type->GetFamilyCode(), FourCharCode ("grID"));
}

TEST_F (EffectTypes, TheFactoryMakesTheTypesProcesses)
{
    EXPECT_EQ (type->NewProcessObject(), nullptr);
    type->SetProcessFactory ([] { return new CTestEffectProcess; });
    std::unique_ptr<CDSPProcess> made (type->NewProcessObject());
    EXPECT_NE (dynamic_cast<CTestEffectProcess*> (made.get()), nullptr);
}

TEST_F (EffectTypes, ForwardingReachesOnlyAnEffectProcess)
{
    AddProcess();
    EventRecord event {};
    EXPECT_EQ (type->ForwardToProcess (1, &event), 55);
    EXPECT_EQ (dynamic_cast<CTestEffectProcess*> (type->FindProcess (1))->forwardedEvents, (std::vector<EventRecord*> { &event }));
    EXPECT_EQ (type->ForwardToProcess (2, &event), -7126);

    auto* plain = new CTestProcess;
    plain->SetInstanceID (2);
    type->AddProcess (plain);
    EXPECT_EQ (type->ForwardToProcess (2, &event), -7126) << "a process that is no effect process";
}

TEST_F (EffectTypes, GetChunkStampsTheHeaderWithTheTypesIdentity)
{
    AddProcess();
    Bytes record = ChunkRecord (200);
    SFicPlugInChunk* header = HeaderOf (record);
    header->fName[0] = 9;
    EXPECT_EQ (type->GetChunk (1, kControlsChunkID, header), 0);
    EXPECT_EQ (header->fProductID, FourCharCode ("KSTR"));
    EXPECT_EQ (header->fPlugInID, kStereoTypeID);
    EXPECT_EQ (header->fChunkID, kControlsChunkID);
    EXPECT_EQ (header->fName[0], 0);
    EXPECT_EQ (header->fSize, 88) << "then the process wrote its chunk";
    EXPECT_EQ (record[56], 1);
    EXPECT_EQ (type->GetChunk (1, kControlsChunkID, nullptr), RTASError::kNullPointer);
    EXPECT_EQ (type->GetChunk (3, kControlsChunkID, header), -7126);
}

TEST_F (EffectTypes, AChunkOfAnotherProductIsRefusedAndChangesNothing)
{
    CTestEffectProcess& process = AddProcess();
    Bytes saved = ChunkRecord (200);
    ASSERT_EQ (type->GetChunk (1, kControlsChunkID, HeaderOf (saved)), 0);
    process.UpdateControlValue (3, kControlValueMax);

    Bytes foreign = saved;
    HeaderOf (foreign)->fProductID = FourCharCode ("OTHR");
    const Bytes before = foreign;
    EXPECT_EQ (type->SetChunk (1, kControlsChunkID, HeaderOf (foreign)), -7157);
    uint8_t matches = 0xEE;
    EXPECT_EQ (type->RestoreControlsFromChunk (1, HeaderOf (foreign), &matches), -7157);
    EXPECT_EQ (matches, 0xEE);
    EXPECT_EQ (foreign, before);
    EXPECT_EQ (ControlValueOf (process, 3), kControlValueMax);

    EXPECT_EQ (type->RestoreControlsFromChunk (1, HeaderOf (saved), &matches), 0);
    EXPECT_EQ (matches, 0);
    EXPECT_EQ (type->SetChunk (1, kControlsChunkID, HeaderOf (saved)), 0);
    EXPECT_EQ (dynamic_cast<CPluginControl_Discrete*> (process.GetControl (3))->GetIntegerValue(), 5);
    EXPECT_EQ (type->SetChunk (1, kControlsChunkID, nullptr), RTASError::kNullPointer);
}

} // namespace
