// The MIDI effect process with the stand-in engine: registration with its seven tries, the
// identifiers the group hands out and takes back, and the 'midi' chunk.

#include "EffectTestSupport.h"
#include "ChunkRecords.h"
#include "ThrownCode.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace
{

using Bytes = std::vector<uint8_t>;

class EffectMIDI : public EffectTest
{
protected:
    void SetUp() override
    {
        EffectTest::SetUp();
        group = std::make_unique<CTestEffectGroup>();
        group->Initialize();
        SetPlugInGroup (group.get());
    }

    void TearDown() override
    {
        processes.clear();
        SetPlugInGroup (nullptr);
        group.reset();
        EffectTest::TearDown();
    }

    CTestEffectProcess& Make()
    {
        processes.push_back (MakeProcess (&group->Type (kStereoTypeID), SetUpAsWrapper));
        return *processes.back();
    }

    size_t RegistrationCalls() { return dae.script().countOf ("FicRegisterDirectMIDIClient"); }

    Bytes SavedMIDIChunk (CTestEffectProcess& process)
    {
        int32_t size = 0;
        EXPECT_EQ (process.GetChunkSize (kMIDIChunkID, &size), 0);
        Bytes record = ChunkRecord (size, kMIDIChunkID);
        EXPECT_EQ (process.GetChunk (kMIDIChunkID, HeaderOf (record)), 0);
        return record;
    }

    static Bytes MIDIChunk (const std::function<void (ChunkDataParser&)>& fill)
    {
        ChunkDataParser parser;
        fill (parser);
        return WrittenRecord (parser);
    }

    std::unique_ptr<CTestEffectGroup> group;
    std::vector<std::unique_ptr<CTestEffectProcess>> processes;
};

TEST_F (EffectMIDI, RegistrationClaimsTheLowestFreeIdentifier)
{
    CTestEffectProcess& first = Make();
    CTestEffectProcess& second = Make();
    EXPECT_EQ (first.RegisterDirectMIDI(), 0);
    EXPECT_EQ (second.RegisterDirectMIDI(), 0);
    EXPECT_EQ (first.GetMIDIInstanceID(), 1);
    EXPECT_EQ (second.GetMIDIInstanceID(), 2);
    EXPECT_EQ (second.GetMIDIClient().fInstanceID, 2);
    EXPECT_EQ (second.GetMIDIClient().fAttempt, 7) << "the first try succeeded";
    EXPECT_EQ (dae.midiClients(), (std::vector<void*> { (void*) &first.GetMIDIClient(), (void*) &second.GetMIDIClient() }));
    const auto call = dae.script().callsOf ("FicRegisterDirectMIDIClient").back();
    EXPECT_EQ (call.arguments[2], int64_t (kManufacturerCode)) << "the plug-in record is filled for the process's type";
    EXPECT_EQ (first.RegisterDirectMIDI(), 0) << "registered already";
    EXPECT_EQ (RegistrationCalls(), 2u);
}

TEST_F (EffectMIDI, RegistrationTriesSevenTimesCountingDown)
{
    CTestEffectProcess& process = Make();
    dae.script().injectFailure ("FicRegisterDirectMIDIClient", -9075, 3);
    EXPECT_EQ (process.RegisterDirectMIDI(), 0);
    EXPECT_EQ (RegistrationCalls(), 4u);
    EXPECT_EQ (process.GetMIDIClient().fAttempt, 4) << "tries 7, 6 and 5 failed";
    EXPECT_TRUE (process.IsMIDIRegistered());
}

TEST_F (EffectMIDI, WhenEveryTryFailsTheLastFailureIsAnsweredAndTheIdentifierGivenBack)
{
    CTestEffectProcess& process = Make();
    dae.script().injectFailure ("FicRegisterDirectMIDIClient", -9099, -1);
    EXPECT_EQ (process.RegisterDirectMIDI(), -9099);
    EXPECT_EQ (RegistrationCalls(), 7u);
    EXPECT_FALSE (process.IsMIDIRegistered());
    EXPECT_EQ (process.GetMIDIInstanceID(), 0);
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (1));
    EXPECT_TRUE (dae.midiClients().empty());
}

TEST_F (EffectMIDI, ARegistrationThatThrowsGivesItsIdentifierBack)
{
    CTestEffectProcess& process = Make();
    dae.script().injectFailure ("FicCreatePlugInSpec", -9098);
    EXPECT_EQ (ThrownCode ([&] { process.RegisterDirectMIDI(); }), -9098);
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (1));
    EXPECT_FALSE (process.IsMIDIRegistered());

    SetPlugInGroup (nullptr);
    EXPECT_EQ (process.RegisterDirectMIDI(), RTASError::kNullPointer) << "no group to claim from";
}

TEST_F (EffectMIDI, UnregisteringGivesTheIdentifierBackInAnyCase)
{
    CTestEffectProcess& process = Make();
    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    dae.script().injectFailure ("FicUnRegisterDirectMIDIClient", -9097);
    EXPECT_EQ (process.ReleaseDirectMIDI(), -9097);
    EXPECT_TRUE (process.IsMIDIRegistered()) << "the engine still holds the client";
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (1));

    EXPECT_EQ (process.ReleaseDirectMIDI(), 0);
    EXPECT_FALSE (process.IsMIDIRegistered());
    EXPECT_EQ (process.GetMIDIClient().fInstanceID, 0);
    EXPECT_TRUE (dae.midiClients().empty());
    const size_t calls = dae.script().countOf ("FicUnRegisterDirectMIDIClient");
    EXPECT_EQ (process.ReleaseDirectMIDI(), 0);
    EXPECT_EQ (dae.script().countOf ("FicUnRegisterDirectMIDIClient"), calls) << "nothing to release";
}

TEST_F (EffectMIDI, AProcessThatGoesWhileRegisteredLetsItsClientAndIdentifierGo)
{
    Make();
    ASSERT_EQ (processes.back()->RegisterDirectMIDI(), 0);
    processes.clear();
    EXPECT_TRUE (dae.midiClients().empty());
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (1));
}

TEST_F (EffectMIDI, TheMIDIChunkHoldsTheIdentifierWhileRegistered)
{
    CTestEffectProcess& process = Make();
    EXPECT_EQ (DataArea (SavedMIDIChunk (process)), (Bytes { 1, 1, 1, 1 }));
    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    // clang-format off
    const Bytes expected {
        1, 1, 1, 1,
        'l', '_', 'I', 'n', 's', 't', 'a', 'n', 'c', 'e', ' ', 'I', 'D', 0, 0, 0,   0, 0, 0, 1,
    };
    // clang-format on
    const Bytes record = SavedMIDIChunk (process);
    EXPECT_EQ (record.size(), 80u);
    EXPECT_EQ (DataArea (record), expected);

    uint8_t name[32] = {};
    process.GetChunkName (kMIDIChunkID, name);
    EXPECT_EQ (std::string (reinterpret_cast<char*> (name + 1), name[0]), "MIDI Connection Data");
}

TEST_F (EffectMIDI, AChunkThatGrewSinceItsSizeWasAnsweredIsNotWrittenPastThatSize)
{
    CTestEffectProcess& process = Make();
    int32_t size = 0;
    process.GetChunkSize (kMIDIChunkID, &size);
    ASSERT_EQ (size, 60);
    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    Bytes record = ChunkRecord (size, kMIDIChunkID);
    EXPECT_EQ (process.GetChunk (kMIDIChunkID, HeaderOf (record)), -333);
    EXPECT_EQ (HeaderOf (record)->fSize, 80);
    process.GetChunkSize (kMIDIChunkID, &size);
    EXPECT_EQ (size, 80) << "asked again, the size is the chunk's";
}

TEST_F (EffectMIDI, RestoringTakesTheStoredIdentifierMovedToTheNextFreeOne)
{
    CTestEffectProcess& first = Make();
    CTestEffectProcess& second = Make();
    ASSERT_EQ (first.RegisterDirectMIDI(), 0);
    ASSERT_EQ (second.RegisterDirectMIDI(), 0);

    Bytes record = MIDIChunk ([] (ChunkDataParser& p) { p.AddLong ("Node ID", 5); });
    EXPECT_EQ (first.SetChunk (kMIDIChunkID, HeaderOf (record)), 0);
    EXPECT_EQ (first.GetMIDIInstanceID(), 5);
    EXPECT_EQ (first.GetMIDIClient().fInstanceID, 5);
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (1));

    record = MIDIChunk ([] (ChunkDataParser& p) {
        p.AddLong ("OMS Node ID", 9);
        p.AddLong ("Instance ID", 5);
    });
    EXPECT_EQ (second.SetChunk (kMIDIChunkID, HeaderOf (record)), 0);
    EXPECT_EQ (second.GetMIDIInstanceID(), 6) << "5 is taken: the next free one; \"Instance ID\" comes first";
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (2));

    record = MIDIChunk ([] (ChunkDataParser& p) { p.AddLong ("OMS Node ID", 9); });
    EXPECT_EQ (first.SetChunk (kMIDIChunkID, HeaderOf (record)), 0);
    EXPECT_EQ (first.GetMIDIInstanceID(), 9) << "the oldest name is read when it is the only one";
    EXPECT_EQ (first.GetMIDIClient().fInstanceID, 9);
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (5));
}

TEST_F (EffectMIDI, AChunkWithoutAnIdentifierChangesNothing)
{
    CTestEffectProcess& process = Make();
    Bytes record = MIDIChunk ([] (ChunkDataParser& p) { p.AddLong ("Instance ID", 4); });
    EXPECT_EQ (process.SetChunk (kMIDIChunkID, HeaderOf (record)), -7082) << "not registered";
    EXPECT_FALSE (group->IsMIDIIdentifierClaimed (4));

    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    record = MIDIChunk ([] (ChunkDataParser& p) { p.AddDouble ("Instance ID", 4.0); });
    EXPECT_EQ (process.SetChunk (kMIDIChunkID, HeaderOf (record)), -7082);
    EXPECT_EQ (process.GetMIDIInstanceID(), 1);
    EXPECT_TRUE (group->IsMIDIIdentifierClaimed (1)) << "the identifier is kept until a valid chunk replaces it";
    EXPECT_EQ (process.SetChunk (kMIDIChunkID, nullptr), RTASError::kNullPointer);
}

// An object of a MIDI channel that counts its renamings.
class CountingNode : public CMIDIChannelNode
{
public:
    std::string GetName() const override { return "Node"; }
    void SetName (const std::string& name) override { names.push_back (name); }
    std::vector<std::string> names;
};

TEST_F (EffectMIDI, TheChannelsObjectsAreRenamedAfterARestoreAndForgottenAfterUnregistering)
{
    CTestEffectProcess& process = Make();
    CountingNode first;
    CountingNode last;
    process.SetChannelNode (0, 0, &first);
    process.SetChannelNode (15, 2, &last);
    process.SetChannelNode (16, 0, &first);
    process.SetChannelNode (0, 3, &first);
    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    Bytes record = MIDIChunk ([] (ChunkDataParser& p) { p.AddLong ("Instance ID", 3); });
    ASSERT_EQ (process.SetChunk (kMIDIChunkID, HeaderOf (record)), 0);
    EXPECT_EQ (first.names, (std::vector<std::string> { "Node" }));
    EXPECT_EQ (last.names, (std::vector<std::string> { "Node" }));

    ASSERT_EQ (process.UnregisterDirectMIDI(), 0);
    ASSERT_EQ (process.RegisterDirectMIDI(), 0);
    ASSERT_EQ (process.SetChunk (kMIDIChunkID, HeaderOf (record)), 0);
    EXPECT_EQ (first.names.size(), 1u) << "unregistering cleared the channels";
}

TEST_F (EffectMIDI, OtherChunksReachTheEffectProcess)
{
    CTestEffectProcess& process = Make();
    int32_t size = 0;
    EXPECT_EQ (process.GetChunkSize (kControlsChunkID, &size), 0);
    EXPECT_EQ (size, 60);
    EXPECT_EQ (process.GetChunkSize (FourCharCode ("othr"), &size), -7157);
}

} // namespace
