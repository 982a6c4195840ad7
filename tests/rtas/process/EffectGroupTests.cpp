// The effect group: the plug-in's names and base name, its card-information answers, the type
// identities it hands out, MIDI identifiers, the chunk header it stamps and checks, and the
// search for the type of a configuration.

#include "EffectTestSupport.h"
#include "ThrownCode.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

// A process type that is no effect type.
class CPlainType : public CProcessType
{
public:
    int32_t GetNumInputs (int32_t, int16_t* count) override { return *count = 1, 0; }
    int32_t GetNumOutputs (int32_t, int16_t* count) override { return *count = 1, 0; }
    int32_t GetProductID (uint32_t* id) override { return *id = FourCharCode ("plan"), 0; }
};

class EffectGroups : public EffectTest
{
protected:
    void TearDown() override
    {
        group.reset();
        EffectTest::TearDown();
    }

    CTestEffectGroup& Make (std::vector<CProcessType*> extraTypes = {})
    {
        group = std::make_unique<CTestEffectGroup>();
        group->extraTypes = std::move (extraTypes);
        EXPECT_EQ (group->Initialize(), 0);
        return *group;
    }

    // A plug-in record naming a type of the group's manufacturer.
    static SFicPlugInSpec Request (uint32_t typeID)
    {
        SFicPlugInSpec request {};
        request.fManufacturerID = kManufacturerCode;
        request.fProductID = kEffectProductCode;
        request.fPlugInID = typeID;
        return request;
    }

    std::unique_ptr<CTestEffectGroup> group;
};

std::string PascalText (const char* text)
{
    return std::string (text + 1, static_cast<uint8_t> (text[0]));
}

TEST_F (EffectGroups, TheBaseNameNamesManufacturerProductAndTheVersionsLowByte)
{
    Make();
    char name[kBaseNameSize] = {};
    group->GetBaseName (name);
    EXPECT_STREQ (name, "Plug-Ins/QORaudio/KESTrune/0");
    group->SetVersion (0x0001052A);
    group->GetBaseName (name);
    EXPECT_STREQ (name, "Plug-Ins/QORaudio/KESTrune/0") << "built once and kept";
}

TEST_F (EffectGroups, EachNameOfTheBaseNameIsFittedTo127Characters)
{
    Make();
    group->SetManufacturerName (std::string (200, 'm') + "\nShort Maker");
    group->SetProductName (std::string (200, 'p') + "\n" + std::string (150, 'q'));
    group->SetVersion (0x123);
    char name[kBaseNameSize] = {};
    group->GetBaseName (name);
    EXPECT_EQ (std::string (name), "Plug-Ins/Short Maker/" + std::string (127, 'q') + "/35")
        << "the first alternative that fits, else the last one cut";
}

TEST_F (EffectGroups, ALongBaseNameIsCutAndTerminatedInsideItsBuffer)
{
    Make();
    group->SetManufacturerName (std::string (140, 'm'));
    group->SetProductName (std::string (140, 'p'));
    group->SetVersion (0x123);
    char buffer[kBaseNameSize + 8];
    std::memset (buffer, 0x5A, sizeof buffer);
    group->GetBaseName (buffer);
    const std::string name (buffer);
    EXPECT_EQ (name, "Plug-Ins/" + std::string (127, 'm') + "/" + std::string (118, 'p'))
        << "9 + 127 + 1 + 127 + 1 + 2 characters cut to 255";
    EXPECT_EQ (buffer[kBaseNameSize], 0x5A) << "nothing past the buffer";
}

TEST_F (EffectGroups, TheProcessesBaseNameIsItsGroups)
{
    Make();
    auto process = MakeProcess (&group->Type (kMonoTypeID), SetUpAsWrapper);
    char name[kBaseNameSize] = { 'x' };
    EXPECT_EQ (process->GetBaseName (name), 0);
    EXPECT_STREQ (name, "") << "not the global group";
    SetPlugInGroup (group.get());
    EXPECT_EQ (process->GetBaseName (name), 0);
    EXPECT_STREQ (name, "Plug-Ins/QORaudio/KESTrune/0");
    process.reset();
}

TEST_F (EffectGroups, NamesFitTheirMaximumAsLengthPrefixedTexts)
{
    Make();
    char name[64] = {};
    EXPECT_EQ (group->GetGroupName (31, name), 0);
    EXPECT_EQ (PascalText (name), "QORaudio");
    EXPECT_EQ (group->GetGroupName (3, name), 0);
    EXPECT_EQ (PascalText (name), "QOR");
    EXPECT_EQ (group->GetGroupAltName (name, 31), 0);
    EXPECT_EQ (PascalText (name), "KESTrune");
    EXPECT_EQ (group->GetGroupAltName (name, -4), 0);
    EXPECT_EQ (PascalText (name), "");
    EXPECT_EQ (group->GetGroupVersion(), kGroupVersion);
}

TEST_F (EffectGroups, CapabilityQueriesAnswerMIDIAndTheGroupsCapabilities)
{
    Make();
    struct Case
    {
        int32_t key;
        int32_t given;
        int32_t answer;
    };
    const Case cases[] = {
        { 28, kMIDICapabilityQuery, 2 }, // asked about MIDI
        { 28, 0, 0 },
        { 14, 0, 1 }, // the group's capability
        { 7, 0, 1 }, // not the group's: the type's
        { 9, 5, 0 },
    };
    for (const Case& c : cases)
    {
        int32_t value = c.given;
        EXPECT_EQ (group->GetCardInfo (kStereoTypeID, c.key, &value), 0) << "key " << c.key;
        EXPECT_EQ (value, c.answer) << "key " << c.key;
    }
    int32_t value = 3;
    EXPECT_EQ (group->GetCardInfo (FourCharCode ("none"), 9, &value), -7125);
    EXPECT_EQ (value, 0);
    value = kMIDICapabilityQuery;
    EXPECT_EQ (group->GetCardInfo (FourCharCode ("none"), 28, &value), 0) << "the group answers MIDI itself";
    EXPECT_EQ (value, 2);
}

TEST_F (EffectGroups, TypeIdentitiesComeFromTheGroupAndTheType)
{
    CPlainType* plain = nullptr;
    {
        auto made = std::make_unique<CPlainType>();
        plain = made.get();
        Make ({ made.release() });
    }
    uint32_t ids[3] = {};
    EXPECT_EQ (group->GetTypeIDsByIndex (2, &ids[0], &ids[1], &ids[2]), 0);
    EXPECT_EQ (ids[0], kManufacturerCode);
    EXPECT_EQ (ids[1], kEffectProductCode);
    EXPECT_EQ (ids[2], kStereoTypeID);
    EXPECT_EQ (group->GetTypeIDsByIndex (plain->GetTypeIndex(), &ids[0], &ids[1], &ids[2]), -77);
    EXPECT_EQ (ThrownCode ([&] { group->GetTypeIDsByIndex (9, &ids[0], &ids[1], &ids[2]); }), -7125);
}

TEST_F (EffectGroups, MIDIIdentifiersAreClaimedOnceAndGivenBack)
{
    Make();
    int32_t first = 0;
    int32_t second = 0;
    group->ClaimMIDIIdentifier (&first);
    group->ClaimMIDIIdentifier (&second);
    EXPECT_EQ (first, 1);
    EXPECT_EQ (second, 2);
    group->GiveBackMIDIIdentifier (1);
    int32_t third = 0;
    group->ClaimMIDIIdentifier (&third);
    EXPECT_EQ (third, 1);

    int32_t asked = 2;
    group->ClaimMIDIIdentifier (&asked);
    EXPECT_EQ (asked, 3) << "the next free one from the asked one";
    int32_t negative = -4;
    group->ClaimMIDIIdentifier (&negative);
    EXPECT_EQ (negative, 4) << "below 1 counts from 1";
    int32_t largest = std::numeric_limits<int32_t>::max();
    group->ClaimMIDIIdentifier (&largest);
    int32_t wrapped = std::numeric_limits<int32_t>::max();
    group->ClaimMIDIIdentifier (&wrapped);
    EXPECT_EQ (wrapped, 5) << "past the largest, from 1 again";
    group->GiveBackMIDIIdentifier (77);
    group->ClaimMIDIIdentifier (nullptr);
}

class EffectGroupChunks : public EffectGroups
{
protected:
    void SetUp() override
    {
        EffectGroups::SetUp();
        Make();
        CEffectType& type = group->Type (kStereoTypeID);
        process = MakeProcess (&type, SetUpWithStoredControls).release();
        type.AddProcess (process);
    }

    CTestEffectProcess* process = nullptr;
};

TEST_F (EffectGroupChunks, GetChunkStampsTheGroupsTypesAndProcesssParts)
{
    Bytes record = ChunkRecord (200);
    SFicPlugInChunk* header = HeaderOf (record);
    EXPECT_EQ (group->GetChunk (kStereoTypeID, 1, kControlsChunkID, header), 0);
    EXPECT_EQ (header->fSize, 88);
    EXPECT_EQ (header->fVersion, kGroupVersion);
    EXPECT_EQ (header->fManufacturerID, kManufacturerCode);
    EXPECT_EQ (header->fProductID, kEffectProductCode);
    EXPECT_EQ (header->fPlugInID, kStereoTypeID);
    EXPECT_EQ (header->fChunkID, kControlsChunkID);
    EXPECT_EQ (header->fName[0], 0);
    EXPECT_EQ (group->GetChunk (kStereoTypeID, 1, kControlsChunkID, nullptr), RTASError::kNullPointer);

    process->UpdateControlValue (3, kControlValueMin);
    uint8_t matches = 0xEE;
    EXPECT_EQ (group->RestoreControlsFromChunk (kStereoTypeID, 1, header, &matches), 0);
    EXPECT_EQ (matches, 0);
    EXPECT_EQ (group->SetChunk (kStereoTypeID, 1, kControlsChunkID, header), 0);
    EXPECT_EQ (dynamic_cast<CPluginControl_Discrete*> (process->GetControl (3))->GetIntegerValue(), 5);
}

TEST_F (EffectGroupChunks, AChunkOfAnotherManufacturerIsRefused)
{
    Bytes record = ChunkRecord (200);
    ASSERT_EQ (group->GetChunk (kStereoTypeID, 1, kControlsChunkID, HeaderOf (record)), 0);
    process->UpdateControlValue (3, kControlValueMin);
    HeaderOf (record)->fManufacturerID = FourCharCode ("Othr");
    uint8_t matches = 0xEE;
    EXPECT_EQ (group->SetChunk (kStereoTypeID, 1, kControlsChunkID, HeaderOf (record)), -7157);
    EXPECT_EQ (group->RestoreControlsFromChunk (kStereoTypeID, 1, HeaderOf (record), &matches), -7157);
    EXPECT_EQ (matches, 0xEE);
    EXPECT_EQ (ControlValueOf (*process, 3), kControlValueMin);
    EXPECT_EQ (group->SetChunk (kStereoTypeID, 1, kControlsChunkID, nullptr), RTASError::kNullPointer);
}

class EffectGroupMatching : public EffectGroups
{
protected:
    void SetUp() override
    {
        EffectGroups::SetUp();
        // A third type of the family with an output stem format only.
        auto outputOnly = std::make_unique<CEffectTypeRTAS> (kStereoTypeID + 1);
        outputOnly->DefineStemFormats (-1, 1);
        Make ({ outputOnly.release() });
    }
};

TEST_F (EffectGroupMatching, StemFormatsFindTheMonoAndTheStereoType)
{
    struct Case
    {
        int32_t inputs, outputs, inputFormat, outputFormat;
        uint32_t found;
    };
    const Case cases[] = {
        { 1, 1, 0, 0, kMonoTypeID },
        { 2, 2, 1, 1, kStereoTypeID },
        { 0, 2, -1, 1, kStereoTypeID + 1 }, // without an input format the channel counts decide
    };
    for (const Case& c : cases)
    {
        SFicPlugInSpec request = Request (kStereoTypeID);
        request.fProductID = 0;
        EXPECT_EQ (group->MatchPlugInSpecStems (&request, 0, c.inputs, c.outputs, c.inputFormat, c.outputFormat), 0);
        EXPECT_EQ (request.fPlugInID, c.found);
        EXPECT_EQ (request.fProductID, kEffectProductCode);
    }
}

TEST_F (EffectGroupMatching, NoMatchingTypeIsMinus7055AndLeavesTheRequest)
{
    struct Case
    {
        const char* what;
        SFicPlugInSpec request;
        int32_t kind, inputs, outputs, inputFormat, outputFormat;
    };
    SFicPlugInSpec otherMaker = Request (kMonoTypeID);
    otherMaker.fManufacturerID = FourCharCode ("Othr");
    const Case cases[] = {
        { "another kind", Request (kMonoTypeID), 1, 1, 1, 0, 0 },
        { "no such stem formats", Request (kMonoTypeID), 0, 1, 1, 0, 1 },
        { "other channel counts", Request (kMonoTypeID), 0, 2, 2, -1, 1 },
        { "another manufacturer", otherMaker, 0, 1, 1, 0, 0 },
    };
    for (Case c : cases)
    {
        const SFicPlugInSpec before = c.request;
        EXPECT_EQ (group->MatchPlugInSpecStems (&c.request, c.kind, c.inputs, c.outputs, c.inputFormat, c.outputFormat), -7055) << c.what;
        EXPECT_EQ (std::memcmp (&c.request, &before, sizeof before), 0) << c.what;
    }
    EXPECT_EQ (group->MatchPlugInSpecStems (nullptr, 0, 1, 1, 0, 0), -7055);
}

TEST_F (EffectGroupMatching, ARequestForATypesOwnConfigurationFindsThatType)
{
    for (const uint32_t typeID : { kMonoTypeID, kStereoTypeID })
    {
        SFicPlugInSpec request = Request (typeID);
        EXPECT_EQ (group->MatchPlugInSpec (&request, kMatchOwnStemFormats, 0), 0);
        EXPECT_EQ (request.fPlugInID, typeID);
    }
    SFicPlugInSpec request = Request (kStereoTypeID + 1);
    EXPECT_EQ (group->MatchPlugInSpec (&request, kMatchOwnStemFormats, 0), 0) << "no input configuration: nothing to find";
    EXPECT_EQ (request.fPlugInID, kStereoTypeID + 1);

    request = Request (kStereoTypeID);
    EXPECT_EQ (group->MatchPlugInSpec (&request, 1, 1), 0) << "a configuration of another kind";
    EXPECT_EQ (request.fPlugInID, kStereoTypeID);
}

// A stereo effect type of kind 2.
class CKindTwoType final : public CEffectTypeRTAS
{
public:
    explicit CKindTwoType (uint32_t typeID) : CEffectTypeRTAS (typeID)
    {
        SetTypeKind (2);
        DefineStemFormats (1, 1);
    }
};

TEST_F (EffectGroups, ARequestOfAnotherFormTakesTheTypesKindForItsOutputsAndMatchesOnIt)
{
    const uint32_t kinded = FourCharCode ("kin2");
    Make ({ new CKindTwoType (kinded) });
    SFicPlugInSpec request = Request (kinded);
    request.fPlugInID = kinded;
    EXPECT_EQ (group->MatchPlugInSpec (&request, 2, 1), 0);
    EXPECT_EQ (request.fPlugInID, kinded) << "kind 2 with two inputs and (the kind) two outputs: only it";
    request = Request (kinded);
    EXPECT_EQ (group->MatchPlugInSpec (&request, 1, 1), -7055) << "one input of kind 2: no type of that configuration";
}

TEST_F (EffectGroups, ARequestForATypeThatIsNoEffectTypeFindsNothing)
{
    Make ({ new CPlainType });
    SFicPlugInSpec request = Request (FourCharCode ("plan"));
    EXPECT_EQ (group->MatchPlugInSpec (&request, kMatchOwnStemFormats, 0), -7055);
    EXPECT_EQ (group->MatchPlugInSpecStems (&request, 0, 1, 1, 0, 0), -7055);
    request.fPlugInID = FourCharCode ("none");
    EXPECT_EQ (ThrownCode ([&] { group->MatchPlugInSpec (&request, 1, 1); }), -7125);
}

} // namespace
