// The instance's chunks: the controls chunk and the processor's `juce` chunk saved, changed,
// restored and compared, the size rule, and records a host should never send.
#include "PluginTestSupport.h"
#include "StateLengthCases.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <random>
#include <thread>

namespace
{
using namespace plugin_test;
using chunk_test::kStateLengthCases;

TEST (AAXPluginChunks, ListsTheControlsChunkThenJuce)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    int32_t count = 0;
    instance->Parameters().GetNumberOfChunks (&count);
    ASSERT_EQ (count, 2);
    uint32_t id = 0;
    EXPECT_EQ (instance->Parameters().GetChunkIDFromIndex (0, &id), AAX_SUCCESS);
    EXPECT_EQ (id, kControlsChunk);
    EXPECT_EQ (instance->Parameters().GetChunkIDFromIndex (1, &id), AAX_SUCCESS);
    EXPECT_EQ (id, kJuceChunk);
    EXPECT_EQ (instance->Parameters().GetChunkIDFromIndex (2, &id), AAX_ERROR_CHUNK_INDEX);
    EXPECT_EQ (id, 0u);
    int32_t size = -1;
    EXPECT_EQ (instance->Parameters().GetChunkSize (0x41424344, &size), AAX_ERROR_UNKNOWN_CHUNK);
    EXPECT_EQ (size, 0);
}

TEST (AAXPluginChunks, SaveChangeRestoreCompare)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    instance->Parameters().SetParameterNormalizedValue ("2", 0.25);
    instance->Parameters().SetParameterNormalizedValue ("MasterBypassID", 1.0);
    std::vector<ChunkRecord> saved;
    ASSERT_EQ (instance->SaveAllChunks (saved), AAX_SUCCESS);
    ASSERT_EQ (saved.size(), 2u);
    for (const ChunkRecord& record : saved)
        EXPECT_TRUE (record.GuardIntact());
    EXPECT_STREQ (saved[0].Header()->fName, "Complete Controls State");
    EXPECT_EQ (saved[0].Header()->fVersion, -1);
    // Ten "d_" entries, no master bypass.
    const std::string data (reinterpret_cast<const char*> (AAX_ChunkData (saved[0].Header())), size_t (saved[0].Header()->fSize));
    EXPECT_EQ (data.find ("MasterBypassID"), std::string::npos);
    EXPECT_EQ (saved[0].Header()->fSize, 4 + 10 * 12);

    AAX_CBoolean equal = 0;
    EXPECT_EQ (instance->Parameters().CompareChunk (saved[0].Header(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 1);
    const std::string savedState = ProcessorState (*instance);

    instance->Parameters().SetParameterNormalizedValue ("2", 0.75);
    instance->Parameters().SetParameterNormalizedValue ("8", 0.5);
    instance->Parameters().SetParameterNormalizedValue ("MasterBypassID", 0.0);
    EXPECT_EQ (instance->Parameters().CompareChunk (saved[0].Header(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 0);

    // Either chunk alone restores every value into a fresh instance.
    for (const ChunkRecord& record : saved)
    {
        auto fresh = plugin.NewInstance();
        fresh->Parameters().SetParameterNormalizedValue ("8", 0.1);
        ASSERT_EQ (fresh->RestoreChunk (record), AAX_SUCCESS);
        EXPECT_FLOAT_EQ (float (NormalizedValue (*fresh, "2")), 0.25f);
        EXPECT_FLOAT_EQ (float (NormalizedValue (*fresh, "8")), 1.0f);
        EXPECT_EQ (NormalizedValue (*fresh, "MasterBypassID"), 0.0);
    }
    auto fromJuce = plugin.NewInstance();
    ASSERT_EQ (fromJuce->RestoreChunk (saved[1]), AAX_SUCCESS);
    EXPECT_EQ (ProcessorState (*fromJuce), savedState);

    // The controls chunk restores the values exactly, so it compares equal afterwards.
    ASSERT_EQ (instance->RestoreChunk (saved[0]), AAX_SUCCESS);
    EXPECT_FLOAT_EQ (float (NormalizedValue (*instance, "2")), 0.25f);
    EXPECT_EQ (instance->Parameters().CompareChunk (saved[0].Header(), &equal), AAX_SUCCESS);
    EXPECT_EQ (equal, 1);
    EXPECT_EQ (ProcessorState (*instance), savedState);
}

TEST (AAXPluginChunks, GetChunkNeedsTheSizeFirst)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    for (uint32_t id : { kControlsChunk, kJuceChunk })
    {
        ChunkRecord record (id, 4096);
        EXPECT_EQ (instance->Parameters().GetChunk (id, record.Header()), AAX_ERROR_CHUNK_SIZE_CHANGED) << id;
        EXPECT_EQ (record.Header()->fSize, 4096) << id;
    }
}

// A host asks the size, the user turns a knob so that the value's decimal text grows or shrinks,
// then the host gets the chunk: it receives the state as it was when it asked, in exactly the
// size it was told, and that state restores.
TEST (AAXPluginChunks, GetChunkWritesTheStateOfTheSizeAsked)
{
    LoadedPlugin plugin;
    for (const auto& c : kStateLengthCases)
    {
        SCOPED_TRACE (c.name);
        auto instance = plugin.NewInstance();
        instance->Parameters().SetParameterNormalizedValue ("8", c.asked);
        const std::string asked = ProcessorState (*instance);
        int32_t size = 0;
        ASSERT_EQ (instance->Parameters().GetChunkSize (kJuceChunk, &size), AAX_SUCCESS);
        instance->Parameters().SetParameterNormalizedValue ("8", c.then);

        ChunkRecord record (kJuceChunk, size);
        ASSERT_EQ (instance->Parameters().GetChunk (kJuceChunk, record.Header()), AAX_SUCCESS);
        EXPECT_EQ (record.Header()->fSize, size);
        EXPECT_TRUE (record.GuardIntact());
        EXPECT_EQ (StateBlockText (record), asked);
        const std::string now = ProcessorState (*instance);
        EXPECT_EQ (now.size() == asked.size(), c.sameLength) << now;
        EXPECT_NE (now, asked);

        auto restored = plugin.NewInstance();
        ASSERT_EQ (restored->RestoreChunk (record), AAX_SUCCESS);
        EXPECT_FLOAT_EQ (float (NormalizedValue (*restored, "8")), float (c.asked));
        EXPECT_EQ (ProcessorState (*restored), asked);
    }
}

// A record smaller than the size the host was told is refused and nothing lands in it.
TEST (AAXPluginChunks, GetChunkRefusesARecordTooSmallForTheState)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    int32_t size = 0;
    ASSERT_EQ (instance->Parameters().GetChunkSize (kJuceChunk, &size), AAX_SUCCESS);
    ChunkRecord small (kJuceChunk, size - 1);
    EXPECT_EQ (instance->Parameters().GetChunk (kJuceChunk, small.Header()), AAX_ERROR_CHUNK_SIZE_CHANGED);
    EXPECT_EQ (small.Header()->fSize, size - 1);
    EXPECT_TRUE (small.GuardIntact());
    for (int32_t i = 0; i < size - 1; ++i)
        ASSERT_EQ (small.Data()[i], 0) << i;

    ChunkRecord larger (kJuceChunk, size + 100);
    ASSERT_EQ (instance->Parameters().GetChunk (kJuceChunk, larger.Header()), AAX_SUCCESS);
    EXPECT_EQ (larger.Header()->fSize, size);
}

// The block made when the size was asked serves the one GetChunk after it. A later GetChunk, with
// no size asked again, writes the state as it is then: into the record when it fits, and else it
// is refused and the record stays as the host made it.
TEST (AAXPluginChunks, TheStateOfTheSizeAskedServesOnlyTheNextGetChunk)
{
    LoadedPlugin plugin;
    for (const auto& c : kStateLengthCases)
    {
        SCOPED_TRACE (c.name);
        auto instance = plugin.NewInstance();
        auto& parameters = instance->Parameters();
        parameters.SetParameterNormalizedValue ("8", c.asked);
        int32_t size = 0;
        ASSERT_EQ (parameters.GetChunkSize (kJuceChunk, &size), AAX_SUCCESS);
        ChunkRecord first (kJuceChunk, size);
        ASSERT_EQ (parameters.GetChunk (kJuceChunk, first.Header()), AAX_SUCCESS);
        const std::string asked = StateBlockText (first);

        parameters.SetParameterNormalizedValue ("8", c.then);
        ChunkRecord later (kJuceChunk, size);
        const int32_t result = parameters.GetChunk (kJuceChunk, later.Header());
        EXPECT_TRUE (later.GuardIntact());
        const std::string now = ProcessorState (*instance);
        ASSERT_NE (now, asked);
        if (now.size() <= asked.size())
        {
            EXPECT_EQ (result, AAX_SUCCESS);
            EXPECT_EQ (later.Header()->fSize, int32_t (now.size() + 9));
            EXPECT_EQ (StateBlockText (later), now);
        }
        else
        {
            EXPECT_EQ (result, AAX_ERROR_CHUNK_SIZE_CHANGED);
            EXPECT_EQ (later.Header()->fSize, size);
            EXPECT_EQ (std::vector<uint8_t> (later.Data(), later.Data() + size), std::vector<uint8_t> (size_t (size), 0));
        }
    }
}

// A restore after a save, and a save again without a size query: the state restored is written.
TEST (AAXPluginChunks, AGetChunkAfterARestoreWritesTheStateRestored)
{
    LoadedPlugin plugin;
    auto source = plugin.NewInstance();
    source->Parameters().SetParameterNormalizedValue ("8", 0.75);
    ChunkRecord restored;
    ASSERT_EQ (source->SaveChunk (kJuceChunk, restored), AAX_SUCCESS);

    auto instance = plugin.NewInstance();
    instance->Parameters().SetParameterNormalizedValue ("8", 0.25);
    ChunkRecord saved;
    ASSERT_EQ (instance->SaveChunk (kJuceChunk, saved), AAX_SUCCESS);
    ASSERT_NE (StateBlockText (saved), StateBlockText (restored));
    ASSERT_EQ (instance->RestoreChunk (restored), AAX_SUCCESS);

    ChunkRecord again (kJuceChunk, saved.Header()->fSize);
    ASSERT_EQ (instance->Parameters().GetChunk (kJuceChunk, again.Header()), AAX_SUCCESS);
    EXPECT_EQ (StateBlockText (again), StateBlockText (restored));
    EXPECT_TRUE (again.GuardIntact());
}

// The value of a processor parameter in its state text.
double StateValue (const HostInstance& instance, const std::string& name)
{
    const std::string state = ProcessorState (instance);
    const std::string key = name + "=\"";
    const size_t at = state.find (key);
    return at == std::string::npos ? -1.0 : std::stod (state.substr (at + key.size()));
}

// The value last told to the host as a parameter's current value; -1 when none was.
double LastPostedValue (const HostFramework& framework, const std::string& id)
{
    const std::string prefix = '"' + id + "\",";
    double value = -1.0;
    for (const HostCall& call : framework.CallsTo ("AutomationDelegate"))
        if (call.slot == 6 && call.arguments.rfind (prefix, 0) == 0)
            value = std::stod (call.arguments.substr (prefix.size()));
    return value;
}

// Two threads leave it together, within a few instructions of each other: each spins until both
// have arrived.
class SpinBarrier
{
public:
    void ArriveAndWait()
    {
        const int phase = passed_.load();
        if (++arrived_ == 2)
        {
            arrived_ = 0;
            ++passed_;
            return;
        }
        while (passed_.load() == phase)
        {
        }
    }

private:
    std::atomic<int> arrived_ { 0 };
    std::atomic<int> passed_ { 0 };
};

// A restore of `juce` on one thread and a host update of Attack on another, round after round:
// the update starts at points spread over the restore. The restore sets the processor and tells
// the host parameters as one update, so that after each round the host parameter, the value last
// told to the host and the processor hold the same value. Rounds run until the update has begun
// during a restore often enough.
TEST (AAXPluginChunks, ARestoreAndAnUpdateAtOnceLeaveHostAndProcessorAgreeing)
{
    LoadedPlugin plugin;
    ChunkRecord restored;
    {
        auto source = plugin.NewInstance();
        source->Parameters().SetParameterNormalizedValue ("0", 0.25);
        ASSERT_EQ (source->SaveChunk (kJuceChunk, restored), AAX_SUCCESS);
    }
    auto instance = plugin.NewInstance();
    auto& parameters = instance->Parameters();

    constexpr int kMeetings = 100;
    constexpr int kMaxRounds = 200000;
    constexpr int kSpread = 32;
    SpinBarrier start;
    std::atomic<bool> stop { false };
    std::atomic<int> restoresBegun { 0 };
    std::atomic<int> restoresEnded { 0 };
    std::atomic<int> failedRestores { 0 };
    // How long the last restore took: the update's start is spread over it.
    std::atomic<std::chrono::steady_clock::rep> restoreTime { 0 };
    std::thread restorer ([&] {
        for (;;)
        {
            start.ArriveAndWait();
            if (stop.load())
                return;
            const auto began = std::chrono::steady_clock::now();
            ++restoresBegun;
            if (instance->RestoreChunk (restored) != AAX_SUCCESS)
                ++failedRestores;
            ++restoresEnded;
            restoreTime = (std::chrono::steady_clock::now() - began).count();
            start.ArriveAndWait();
        }
    });
    int rounds = 0;
    int meetings = 0;
    int failedUpdates = 0;
    int disagreeing = 0;
    for (; rounds < kMaxRounds && meetings < kMeetings; ++rounds)
    {
        plugin.framework.ClearCalls();
        start.ArriveAndWait();
        while (restoresBegun.load() == rounds)
        {
        }
        const auto until = std::chrono::steady_clock::now() + std::chrono::steady_clock::duration (restoreTime.load() * (rounds % kSpread) / kSpread);
        while (std::chrono::steady_clock::now() < until)
        {
        }
        if (restoresEnded.load() == rounds)
            ++meetings;
        if (parameters.UpdateParameterNormalizedValue ("0", 0.75, 0) != AAX_SUCCESS)
            ++failedUpdates;
        start.ArriveAndWait();

        const double host = NormalizedValue (*instance, "0");
        if (LastPostedValue (plugin.framework, "0") != host || float (StateValue (*instance, "Attack")) != float (host))
            ++disagreeing;
    }
    stop = true;
    start.ArriveAndWait();
    restorer.join();
    EXPECT_EQ (failedRestores.load(), 0);
    EXPECT_EQ (failedUpdates, 0);
    EXPECT_EQ (meetings, kMeetings) << "updates begun during a restore, in " << rounds << " rounds";
    EXPECT_EQ (disagreeing, 0) << "rounds of " << rounds << ", " << meetings << " of them meeting";
}

TEST (AAXPluginChunks, SurvivesHostileRecords)
{
    LoadedPlugin plugin;
    auto instance = plugin.NewInstance();
    ChunkRecord good;
    ASSERT_EQ (instance->SaveChunk (kJuceChunk, good), AAX_SUCCESS);
    const std::vector<uint8_t> goodBytes = good.Bytes();
    std::mt19937 random (11);
    for (int round = 0; round < 300; ++round)
    {
        for (uint32_t id : { kControlsChunk, kJuceChunk })
        {
            const auto size = int32_t (random() % 200);
            ChunkRecord record (id, size);
            for (int32_t i = 0; i < size; ++i)
                record.Data()[i] = uint8_t (random());
            if (round % 3 == 0 && id == kJuceChunk)
            {
                // A real state block, cut short or with bytes flipped.
                const size_t keep = std::min<size_t> (goodBytes.size() - sizeof (AAX_SPlugInChunkHeader), size_t (size));
                std::memcpy (record.Data(), goodBytes.data() + sizeof (AAX_SPlugInChunkHeader), keep);
                if (keep > 9)
                    record.Data()[random() % keep] ^= uint8_t (1u << (random() % 8));
            }
            if (round % 4 == 0 && id == kControlsChunk && size >= 4)
                std::memset (record.Data(), 1, 4);
            if (round % 7 == 0)
                record.Header()->fSize = -int32_t (random() % 100);
            EXPECT_EQ (instance->RestoreChunk (record), AAX_SUCCESS);
            AAX_CBoolean equal = 0;
            EXPECT_EQ (instance->Parameters().CompareChunk (record.Header(), &equal), AAX_SUCCESS);
        }
    }
    for (int32_t index = 1; index <= 10; ++index)
    {
        const double value = NormalizedValue (*instance, ParameterId (*instance, index));
        EXPECT_TRUE (value >= 0.0 && value <= 1.0) << index << ": " << value;
    }
    EXPECT_EQ (instance->Parameters().SetChunk (kJuceChunk, nullptr), AAX_ERROR_NULL_ARGUMENT);
    EXPECT_EQ (instance->Parameters().SetChunk (kControlsChunk, nullptr), AAX_ERROR_NULL_ARGUMENT);
}
} // namespace
