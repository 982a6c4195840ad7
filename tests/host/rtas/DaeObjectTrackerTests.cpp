// The stand-in engine's object tracker: the host callback that hands it out, what it records of
// registrations and publications, the blocks it gives data objects, how it reads plug-in and
// worker descriptions (also damaged ones), and the render call through a worker's callback.

#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <random>

namespace
{

using namespace kestrune::host::rtas;

int32_t wordOf (const void* pointer)
{
    return int32_t (reinterpret_cast<uintptr_t> (pointer));
}

// A data object as the engine sees it: an object whose published-block pointer it writes.
struct DataObject
{
    int32_t header = 0;
    void* published = nullptr;
};

struct RenderSeen
{
    std::vector<uint32_t> instance;
    SRenderContext context {};
    int calls = 0;
};
RenderSeen gSeen;

int32_t KESTRUNE_TRACKER_CALL recordingCallback (void* instance, void* context)
{
    ++gSeen.calls;
    const auto* words = static_cast<const uint32_t*> (instance);
    gSeen.instance.assign (words, words + 5);
    gSeen.context = *static_cast<const SRenderContext*> (context);
    return 17;
}

class DaeObjectTracker : public ::testing::Test
{
protected:
    void SetUp() override { dae.reset(); }
    void TearDown() override { dae.reset(); }

    int32_t publish (void* object, const std::vector<int32_t>& words)
    {
        return routines.Publish (object, words.data(), int32_t (words.size()));
    }

    std::vector<int32_t> dataDescription (DataObject& data, int32_t size)
    {
        return { 1, 0, size, wordOf (&data.published) };
    }

    DaeControl& dae = *KestruneDaeStandIn();
    DaeObjectTrackerControl& tracker = *KestruneDaeObjectTracker();
    const SObjectTrackerRoutines& routines = *tracker.routines();
};

TEST_F (DaeObjectTracker, TheHostCallbackHandsOutTheTrackerForRequest18Only)
{
    const StandInHostCallback callback = tracker.hostCallback();
    SObjectTrackerRoutines* handed = nullptr;
    const auto ask = [&] (int16_t request) { return callback (request, nullptr, reinterpret_cast<char**> (&handed)); };
    EXPECT_EQ (ask (18), 0);
    EXPECT_EQ (handed, tracker.routines());

    handed = nullptr;
    EXPECT_EQ (ask (13), kFicErrUnknownSelector);
    tracker.script().injectFailure ("HostCallback", -108);
    EXPECT_EQ (ask (18), -108);
    EXPECT_EQ (handed, nullptr);

    tracker.setOffersTracker (false);
    SObjectTrackerRoutines sentinel {};
    handed = &sentinel;
    EXPECT_EQ (ask (18), 0);
    EXPECT_EQ (handed, nullptr);
    EXPECT_EQ (tracker.script().countOf ("HostCallback"), 4u);

    dae.reset();
    EXPECT_EQ (ask (18), 0);
    EXPECT_EQ (handed, tracker.routines()) << "resetting the engine offers the tracker again";
}

TEST_F (DaeObjectTracker, RegistrationsAreKeptInOrderAndUnknownObjectsRefused)
{
    int a = 0, b = 0;
    EXPECT_EQ (routines.Register (&a, 3), 0);
    EXPECT_EQ (routines.Register (&b, 4), 0);
    EXPECT_EQ (routines.Register (&a, 3), kFicErrClientInUse);
    ASSERT_EQ (tracker.liveObjects().size(), 2u);
    EXPECT_EQ (tracker.liveObjects()[0].object, &a);
    EXPECT_EQ (tracker.liveObjects()[1].kind, 4);

    EXPECT_EQ (publish (&b, { 1, wordOf (&a), 1 }), 0);
    EXPECT_EQ (tracker.object (&b)->description, (std::vector<int32_t> { 1, wordOf (&a), 1 }));
    EXPECT_EQ (publish (&b, { 1, 3 }), 0);
    EXPECT_EQ (tracker.object (&b)->state, 3);
    EXPECT_EQ (tracker.object (&b)->description.size(), 3u) << "a state publication keeps the description";
    EXPECT_EQ (tracker.object (&b)->publications, 2u);

    EXPECT_EQ (routines.Unregister (&a), 0);
    EXPECT_EQ (routines.Unregister (&a), kFicErrUnknownObject);
    EXPECT_EQ (publish (&a, { 1, 2 }), kFicErrUnknownObject);
    EXPECT_FALSE (tracker.object (&a));

    tracker.script().injectFailure ("Tracker.Register", -1);
    EXPECT_EQ (routines.Register (&a, 3), -1);
    EXPECT_FALSE (tracker.object (&a));
    const auto calls = tracker.script().callsOf ("Tracker.Register");
    ASSERT_EQ (calls.size(), 4u);
    EXPECT_EQ (calls[1].arguments, (std::vector<int64_t> { addressOf (&b), 4 }));
}

TEST_F (DaeObjectTracker, ADataObjectGetsAZeroedBlockThroughItsPointerWhileItIsRegistered)
{
    DataObject data;
    ASSERT_EQ (routines.Register (&data, 8), 0);
    ASSERT_EQ (publish (&data, dataDescription (data, 12)), 0);
    ASSERT_NE (data.published, nullptr);
    EXPECT_EQ (tracker.dataBlock (&data), data.published);
    const std::array<uint8_t, 12> zeros {};
    EXPECT_EQ (std::memcmp (data.published, zeros.data(), 12), 0);

    void* first = data.published;
    std::memset (first, 7, 12);
    ASSERT_EQ (publish (&data, dataDescription (data, 12)), 0);
    EXPECT_EQ (data.published, first) << "the same size keeps the block and its content";
    EXPECT_EQ (static_cast<uint8_t*> (first)[11], 7);

    ASSERT_EQ (publish (&data, dataDescription (data, 28)), 0);
    EXPECT_EQ (tracker.dataBlock (&data), data.published);

    EXPECT_EQ (routines.Unregister (&data), 0);
    EXPECT_EQ (tracker.dataBlock (&data), nullptr);
}

TEST_F (DaeObjectTracker, ADataDescriptionThatIsNotOneIsRefusedAndNothingWritten)
{
    DataObject data;
    ASSERT_EQ (routines.Register (&data, 8), 0);
    const auto pointer = wordOf (&data.published);
    const std::vector<std::vector<int32_t>> refused = {
        { 1, 0, 0, pointer },
        { 1, 0, -4, pointer },
        { 1, 0, 65537, pointer },
        { 1, 0, 12, 0 },
        { 1, 0, 12, pointer + 2 },
        { 2, 0, 12, pointer },
        { 1, 0, 12 },
        { 1, 0, 12, pointer, 0 },
    };
    for (const auto& words : refused)
    {
        SCOPED_TRACE (::testing::PrintToString (words));
        EXPECT_EQ (publish (&data, words), kFicErrBadArgument);
        EXPECT_EQ (data.published, nullptr);
        EXPECT_EQ (tracker.dataBlock (&data), nullptr);
    }
    EXPECT_EQ (routines.Publish (&data, nullptr, 3), kFicErrBadArgument);
}

TEST_F (DaeObjectTracker, PlugInAndWorkerDescriptionsAreReadAsTheirLayouts)
{
    int plugIn = 0, worker = 0, input = 0, output = 0;
    DataObject data;
    routines.Register (&plugIn, 3);
    routines.Register (&worker, 7);
    const char* name = "worker";
    const std::vector<int32_t> workerWords { 1, wordOf (reinterpret_cast<void*> (&recordingCallback)), 4, 1,
                                             wordOf (&data), 0, 2, 5, 6, 0, wordOf (name), 9 };
    ASSERT_EQ (publish (&worker, workerWords), 0);
    const auto readWorker = tracker.worker (&worker);
    ASSERT_TRUE (readWorker);
    EXPECT_EQ (readWorker->callback, &recordingCallback);
    EXPECT_EQ (readWorker->dataObjects, (std::vector<void*> { &data }));
    EXPECT_EQ (readWorker->userWord, name);
    EXPECT_EQ (readWorker->state, 9);

    const std::vector<int32_t> plugInWords { 1, 11, 12, 13, 14, 15, 1, wordOf (&input), 1, wordOf (&output), 1, wordOf (&worker) };
    ASSERT_EQ (publish (&plugIn, plugInWords), 0);
    const auto readPlugIn = tracker.plugIn (&plugIn);
    ASSERT_TRUE (readPlugIn);
    EXPECT_EQ (readPlugIn->spec, (std::array<int32_t, 5> { 11, 12, 13, 14, 15 }));
    EXPECT_EQ (readPlugIn->inputs, (std::vector<void*> { &input }));
    EXPECT_EQ (readPlugIn->outputs, (std::vector<void*> { &output }));
    EXPECT_EQ (readPlugIn->workers, (std::vector<void*> { &worker }));

    // A list that claims more than is there, or words left over: refused, the last one kept.
    EXPECT_EQ (publish (&plugIn, { 1, 11, 12, 13, 14, 15, 1, 0, 1, 0, 9, 0 }), kFicErrBadArgument);
    EXPECT_EQ (publish (&plugIn, { 1, 11, 12, 13, 14, 15, 0, 0, 0, 0 }), kFicErrBadArgument);
    EXPECT_EQ (tracker.plugIn (&plugIn)->workers, (std::vector<void*> { &worker }));
    EXPECT_FALSE (tracker.worker (&plugIn)) << "a plug-in is no worker";
}

TEST_F (DaeObjectTracker, DamagedDescriptionsAreReadWithinTheirWords)
{
    std::mt19937 random (20260522);
    int plugIn = 0, worker = 0, port = 0;
    DataObject data;
    routines.Register (&plugIn, 3);
    routines.Register (&worker, 7);
    routines.Register (&port, 4);
    routines.Register (&data, 8);
    const std::vector<int32_t> plugInWords { 1, 1, 2, 3, 4, 5, 1, 0, 2, 0, 0, 1, 0 };
    const std::vector<int32_t> workerWords { 1, 0, 4, 1, 0, 0, 0, 0, 0, 0 };
    std::uniform_int_distribution<int> pick (0, 3);
    std::uniform_int_distribution<int32_t> anyWord (-3, 40);
    int accepted = 0;
    for (int round = 0; round < 4000; ++round)
    {
        const int which = pick (random);
        std::vector<int32_t> words = which == 0 ? plugInWords : which == 1 ? workerWords
                                                                           : dataDescription (data, 16);
        const size_t damaged = random() % (words.size() + 1);
        for (size_t i = 0; i < damaged; ++i)
        {
            const size_t at = random() % words.size();
            if (which >= 2 && at == 3)
                continue; // a data description's pointer word stays the object's own
            words[at] = anyWord (random);
        }
        if (random() % 4 == 0)
            words.resize (random() % (words.size() + 3), int32_t (random() % 5));
        void* object = which == 0 ? static_cast<void*> (&plugIn) : which == 1 ? static_cast<void*> (&worker)
                                                                              : &data;
        const int32_t result = publish (object, words);
        EXPECT_TRUE (result == 0 || result == kFicErrBadArgument);
        accepted += result == 0;
        if (which == 3)
        {
            EXPECT_EQ (publish (&port, words), 0) << "a port's description is kept as it stands";
        }
    }
    EXPECT_GT (accepted, 0);
    EXPECT_LT (accepted, 4000);
}

TEST_F (DaeObjectTracker, RenderCallsTheWorkersCallbackWithTheDataBlockAndTheCells)
{
    int worker = 0;
    DataObject data;
    routines.Register (&worker, 7);
    routines.Register (&data, 8);
    const std::vector<int32_t> workerWords { 1, wordOf (reinterpret_cast<void*> (&recordingCallback)), 4, 1,
                                             wordOf (&data), 0, 0, 0, 0, 0 };
    float left = 0, right = 0;
    RenderChannelCell cells[] = { &left, &right };
    ASSERT_EQ (publish (&worker, workerWords), 0);
    EXPECT_EQ (tracker.render (&worker, { &cells[0], &cells[1] }, 256, 64), kFicErrUnknownObject)
        << "the data object has no block yet";

    ASSERT_EQ (publish (&data, dataDescription (data, 28)), 0);
    gSeen = {};
    EXPECT_EQ (tracker.render (&worker, { &cells[0], &cells[1] }, 256, 64), 17);
    ASSERT_EQ (gSeen.calls, 1);
    EXPECT_EQ (gSeen.instance[2], uint32_t (wordOf (data.published)));
    EXPECT_EQ (gSeen.instance[3], uint32_t (wordOf (&cells[0])));
    EXPECT_EQ (gSeen.instance[4], uint32_t (wordOf (&cells[1])));
    EXPECT_EQ (gSeen.context.fSilentBuffer, tracker.silentBuffer());
    EXPECT_EQ (gSeen.context.fFrameCount, 256);
    EXPECT_EQ (gSeen.context.fVariableBlockSize, 64);
    EXPECT_EQ (tracker.silentBuffer()[kSilentBufferFrames - 1], 0.0f);

    int stranger = 0;
    EXPECT_EQ (tracker.render (&stranger, {}, 32, 0), kFicErrUnknownObject);
}

} // namespace
