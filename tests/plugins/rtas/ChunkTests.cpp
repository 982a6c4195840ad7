// KESTrune.dpm's chunks as the host saves and restores them: the controls chunk, the MIDI chunk and
// the processor's own "Juce Audio Plugin Data"; saved, changed, restored and compared; the state
// of the size asked written by the GetChunk that follows whatever changed since, any other
// GetChunk writing the state as it is, and never past the record; sizes checked on restore; and
// damaged chunks of every kind survived.
#include "DpmTestSupport.h"
#include "StateLengthCases.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <random>

namespace
{
using namespace dpm_test;
using chunk_test::kStateLengthCases;

using DpmChunks = DpmTest;

uint32_t WordAt (const std::vector<uint8_t>& record, size_t offset)
{
    uint32_t word = 0;
    std::memcpy (&word, record.data() + offset, sizeof word);
    return word;
}

void PutWord (std::vector<uint8_t>& record, size_t offset, uint32_t word)
{
    std::memcpy (record.data() + offset, &word, sizeof word);
}

// What the parameter controls say the processor holds: their values as the processor's floats
// (a control value set by the host is finer than a float; one taken from the processor is the
// nearest to its float).
std::vector<float> ParameterValues (const HostedProcess& process)
{
    std::vector<float> values;
    for (int32_t control = kFirstParameterControl; control < kFirstParameterControl + kParameters; ++control)
        values.push_back (float (ControlValueToFraction (process.ControlValue (control))));
    return values;
}

void Set (const HostedProcess& process, const std::vector<double>& fractions)
{
    for (size_t i = 0; i < fractions.size(); ++i)
        process.UpdateControlValue (int32_t (i) + kFirstParameterControl, FractionToControlValue (fractions[i]));
}

TEST_F (DpmChunks, AreSavedChangedRestoredAndCompared)
{
    Open();
    HostedProcess& process = Make (2);
    ASSERT_EQ (process.ChunkIDs(), (std::vector<uint32_t> { kControlsChunk, kMIDIChunk, kStateChunk }));
    const struct
    {
        uint32_t id;
        const char* name;
    } names[] = { { kControlsChunk, "Complete Controls State" }, { kMIDIChunk, "MIDI Connection Data" }, { kStateChunk, "Juce Audio Plugin Data" } };
    for (const auto& n : names)
    {
        uint8_t name[256] = {};
        process.Require (RoutineSelector::kChunkName, { n.id, RoutineWord (name) }, "a chunk's name");
        EXPECT_EQ (std::string (reinterpret_cast<const char*> (name + 1), name[0]), n.name);
    }

    Set (process, { 0.1, 0.2, 0.3, 0.9, 1.0, 0.6, 0.7, 0.25, 0.75, 0.0 });
    const auto settings = ParameterValues (process);
    std::vector<std::vector<uint8_t>> saved;
    for (const uint32_t id : process.ChunkIDs())
        saved.push_back (process.SaveChunk (id));
    // The records carry the group's version and manufacturer, the type's product and identifier,
    // and the chunk's identifier.
    const auto& state = saved[2];
    EXPECT_EQ (WordAt (state, 4), 0x00010500u);
    EXPECT_EQ (WordAt (state, 8), kManufacturer);
    EXPECT_EQ (WordAt (state, 12), kProduct);
    EXPECT_EQ (WordAt (state, 16), kStereoType);
    EXPECT_EQ (WordAt (state, 20), kStateChunk);
    EXPECT_NE (StateText (state).find ("<QORKSTRSETTINGS "), std::string::npos) << StateText (state);
    // The controls chunk holds the marker alone: none of the controls is of a stored kind.
    EXPECT_EQ (saved[0].size(), 56u + 4u);

    Set (process, { 0.9, 0.9, 0.9, 0.1, 0.0, 0.1, 0.1, 0.9, 0.1, 1.0 });
    ASSERT_NE (ParameterValues (process), settings);
    uint8_t matches = 0xFF;
    process.Require (RoutineSelector::kRestoreControlsFromChunk, { RoutineWord (saved[0].data()), RoutineWord (&matches) }, "compare");
    EXPECT_EQ (matches, 1) << "a chunk without entries matches any controls";

    EXPECT_EQ (process.RestoreChunk (saved[0]), 0);
    EXPECT_EQ (process.RestoreChunk (saved[1]), -7082) << "no MIDI identity is kept: the process is no MIDI client";
    EXPECT_EQ (process.RestoreChunk (saved[2]), 0);
    EXPECT_EQ (ParameterValues (process), settings);
    EXPECT_EQ (process.SaveChunk (kStateChunk), saved[2]);

    // Another instance restored from the chunks sounds the same.
    HostedProcess& other = Make (2);
    EXPECT_EQ (other.RestoreChunk (saved[2]), 0);
    EXPECT_EQ (ParameterValues (other), settings);
    const auto program = Program (2, 6000);
    const auto first = RenderThrough (process, program, { 512 });
    const auto second = RenderThrough (other, program, { 512 });
    for (int c = 0; c < 2; ++c)
        for (int i = 0; i < program.getNumSamples(); ++i)
            ASSERT_EQ (first.getSample (c, i), second.getSample (c, i));
}

// A host asks the size, the user turns a knob so that the value's decimal text grows or shrinks,
// then the host gets the chunk into a record of the size it was told: it receives the state as it
// was when it asked, in exactly that size, and nothing lands past the record; that state restores.
TEST_F (DpmChunks, GetChunkWritesTheStateOfTheSizeAsked)
{
    Open();
    for (const auto& c : kStateLengthCases)
    {
        SCOPED_TRACE (c.name);
        HostedProcess& process = Make (1);
        Set (process, { c.asked });
        const std::vector<uint8_t> asked = process.SaveChunk (kStateChunk);
        int32_t size = 0;
        process.Require (RoutineSelector::kChunkSize, { kStateChunk, RoutineWord (&size) }, "size");
        ASSERT_EQ (size_t (size), asked.size());
        Set (process, { c.then });

        std::vector<uint8_t> record (size_t (size) + 64, 0xA5);
        PutWord (record, 0, uint32_t (size));
        ASSERT_EQ (process.Call (RoutineSelector::kGetChunk, { kStateChunk, RoutineWord (record.data()) }), 0);
        for (size_t i = size_t (size); i < record.size(); ++i)
            ASSERT_EQ (record[i], 0xA5) << i;
        record.resize (size_t (size));
        EXPECT_EQ (WordAt (record, 0), uint32_t (size));
        EXPECT_EQ (StateText (record), StateText (asked));
        const std::vector<uint8_t> now = process.SaveChunk (kStateChunk);
        EXPECT_EQ (now.size() == asked.size(), c.sameLength);
        EXPECT_NE (StateText (now), StateText (asked));

        HostedProcess& restored = Make (1);
        EXPECT_EQ (restored.RestoreChunk (record), 0);
        EXPECT_EQ (StateText (restored.SaveChunk (kStateChunk)), StateText (asked));
    }
}

// A record whose size field is smaller than the state told is refused (-333) and nothing lands
// past its header.
TEST_F (DpmChunks, GetChunkRefusesARecordTooSmallForTheState)
{
    Open();
    HostedProcess& process = Make (1);
    int32_t size = 0;
    process.Require (RoutineSelector::kChunkSize, { kStateChunk, RoutineWord (&size) }, "size");
    std::vector<uint8_t> small (size_t (size) + 64, 0xA5);
    PutWord (small, 0, uint32_t (size - 1));
    EXPECT_EQ (process.Call (RoutineSelector::kGetChunk, { kStateChunk, RoutineWord (small.data()) }), -333);
    EXPECT_EQ (WordAt (small, 0), uint32_t (size - 1));
    for (size_t i = 56; i < small.size(); ++i)
        ASSERT_EQ (small[i], 0xA5) << i;
}

// The state kept when the size is asked serves only the GetChunk that follows: a second GetChunk,
// one after a restore, or one before any size was asked writes the state as it is then, when the
// record holds it, and is refused (-333) when it does not; nothing lands past the record.
TEST_F (DpmChunks, OnlyTheGetChunkAfterTheSizeQueryWritesTheKeptState)
{
    // Values of parameter 0 whose state texts are of different lengths.
    constexpr double kShort = 0.5;
    constexpr double kLong = 0.123456789;
    const auto askSize = [] (const HostedProcess& process) {
        int32_t size = 0;
        process.Require (RoutineSelector::kChunkSize, { kStateChunk, RoutineWord (&size) }, "size");
        return size;
    };
    const auto getInto = [] (const HostedProcess& process, int32_t room) {
        std::vector<uint8_t> record (size_t (room) + 64, 0xA5);
        PutWord (record, 0, uint32_t (room));
        const int32_t result = process.Call (RoutineSelector::kGetChunk, { kStateChunk, RoutineWord (record.data()) });
        return std::make_pair (result, record);
    };
    const struct
    {
        const char* name;
        // Brings the process to the final GetChunk; answers the room of its record.
        std::function<int32_t (const HostedProcess&)> before;
        int32_t result;
    } cases[] = {
        { "a second GetChunk, the state now shorter",
          [&] (const HostedProcess& process) {
              Set (process, { kLong });
              const int32_t size = askSize (process);
              EXPECT_EQ (getInto (process, size).first, 0);
              Set (process, { kShort });
              return size;
          },
          0 },
        { "a second GetChunk, the state now longer than the record",
          [&] (const HostedProcess& process) {
              Set (process, { kShort });
              const int32_t size = askSize (process);
              EXPECT_EQ (getInto (process, size).first, 0);
              Set (process, { kLong });
              return size;
          },
          -333 },
        { "a GetChunk after a restore that followed the size query",
          [&] (const HostedProcess& process) {
              Set (process, { kShort });
              const std::vector<uint8_t> saved = process.SaveChunk (kStateChunk);
              Set (process, { kLong });
              const int32_t size = askSize (process);
              EXPECT_EQ (process.RestoreChunk (saved), 0);
              return size;
          },
          0 },
        { "a GetChunk before any size query",
          [&] (const HostedProcess& process) {
              Set (process, { kLong });
              return 4096;
          },
          0 },
        { "a GetChunk before any size query, into a record too small",
          [&] (const HostedProcess& process) {
              Set (process, { kLong });
              return 100;
          },
          -333 },
    };
    Open();
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        HostedProcess& process = Make (1);
        const int32_t room = c.before (process);
        const auto [result, record] = getInto (process, room);
        EXPECT_EQ (result, c.result);
        if (result != c.result)
            continue;
        const size_t written = result == 0 ? WordAt (record, 0) : 56;
        if (result == 0)
        {
            ASSERT_LE (written, size_t (room));
            EXPECT_EQ (StateText ({ record.begin(), record.begin() + std::ptrdiff_t (written) }), StateText (process.SaveChunk (kStateChunk)))
                << "the state as it is now";
        }
        else
            EXPECT_EQ (WordAt (record, 0), uint32_t (room));
        for (size_t i = std::max (written, size_t (56)); i < record.size(); ++i)
            ASSERT_EQ (record[i], 0xA5) << i;
    }
}

// A record whose size cannot hold a header, or that claims a state block beyond any the processor
// writes, is refused and changes nothing; an empty one changes nothing either.
TEST_F (DpmChunks, SetChunkChecksSizes)
{
    Open();
    HostedProcess& process = Make (2);
    Set (process, { 0.3, 0.3, 0.3 });
    const auto good = process.SaveChunk (kStateChunk);
    const auto settings = ParameterValues (process);
    const struct
    {
        uint32_t size;
        int32_t result;
    } cases[] = { { 0, -7401 }, { 55, -7401 }, { 0x80000000u, -7401 }, { 56u + (1u << 20) + 1u, -7401 }, { 56, 0 } };
    for (const auto& c : cases)
    {
        auto record = good;
        PutWord (record, 0, c.size);
        EXPECT_EQ (process.RestoreChunk (record), c.result) << c.size;
        EXPECT_EQ (ParameterValues (process), settings) << c.size;
    }
    // Records of another manufacturer or product are refused before the process sees them.
    for (const size_t offset : { size_t (8), size_t (12) })
    {
        auto record = good;
        PutWord (record, offset, 0x58585858);
        EXPECT_EQ (process.RestoreChunk (record), -7157) << offset;
    }
}

// Damaged chunks of each kind, with a fixed seed: the plug-in survives every one, its parameters
// stay normalised, and a good chunk restores it afterwards.
TEST_F (DpmChunks, DamagedChunksAreSurvived)
{
    Open();
    HostedProcess& process = Make (2);
    Set (process, { 0.1, 0.2, 0.3, 0.4, 1.0, 0.6, 0.7, 0.8, 0.9 });
    const auto settings = ParameterValues (process);
    std::vector<std::vector<uint8_t>> goods;
    for (const uint32_t id : process.ChunkIDs())
        goods.push_back (process.SaveChunk (id));

    std::mt19937 random (20260523u);
    for (int round = 0; round < 3000; ++round)
    {
        auto record = goods[random() % goods.size()];
        switch (random() % 4)
        {
            case 0: // bytes of the data changed
                for (uint32_t n = 1 + random() % 8; n > 0; --n)
                    record[56 + random() % (record.size() - 56)] = uint8_t (random());
                break;
            case 1: // cut, the size field telling the truth
                record.resize (56 + random() % (record.size() - 55));
                PutWord (record, 0, uint32_t (record.size()));
                break;
            case 2: // extended with random bytes, the size field telling the truth
                for (uint32_t n = random() % 300; n > 0; --n)
                    record.push_back (uint8_t (random()));
                PutWord (record, 0, uint32_t (record.size()));
                break;
            default: // random data of a random length
                record.resize (56 + random() % 600);
                for (size_t i = 56; i < record.size(); ++i)
                    record[i] = uint8_t (random());
                PutWord (record, 0, uint32_t (record.size()));
                break;
        }
        process.RestoreChunk (record);
        for (int32_t control = kFirstParameterControl; control < kFirstParameterControl + kParameters; ++control)
        {
            const double fraction = ControlValueToFraction (process.ControlValue (control));
            ASSERT_TRUE (fraction >= 0.0 && fraction <= 1.0) << "round " << round << ", control " << control;
        }
    }
    EXPECT_EQ (process.RestoreChunk (goods[2]), 0);
    EXPECT_EQ (ParameterValues (process), settings);
}
} // namespace
