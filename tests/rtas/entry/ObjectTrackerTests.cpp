// How the library obtains the host's object tracker: once, through the host callback, and never
// again after the host refused it; not at all while the host has handed in no callback.

#include <functional>
#include <memory>

#include <gtest/gtest.h>

#include "entry/CPlugInData.h"
#include "entry/model/CPlugIn.h"
#include "entry/model/CPlugInPort.h"

#include "FakeObjectTracker.h"

namespace
{
struct SOneLong : CPlugInData
{
    CSmartLong value { *this };
};

// Builds, publishes and destroys a few objects of the model.
void BuildAndDestroyObjects()
{
    CPlugIn plugIn (SPlugInSpec {}, nullptr);
    plugIn.GetInputList().Add (new CPlugInInput (plugIn, 0));
    SOneLong data;
    data.value.Set (1);
    data.PublishLocked();
    plugIn.Register();
}

struct RefusalCase
{
    const char* what;
    std::function<void (FakeObjectTracker&)> host;
};
}

TEST (ObjectTrackerTest, AHostThatRefusesTheTrackerIsAskedOnceAndNeverCalled)
{
    const RefusalCase cases[] = {
        { "refused with a code", [] (FakeObjectTracker& t) { t.refusal = -5; } },
        { "no record handed out", [] (FakeObjectTracker& t) { t.handsOutNone = true; } },
        { "a record without a routine", [] (FakeObjectTracker& t) { t.handsOutIncomplete = true; } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        FakeObjectTracker tracker;
        c.host (tracker);
        BuildAndDestroyObjects();
        BuildAndDestroyObjects();
        EXPECT_EQ (tracker.requests, 1);
        EXPECT_TRUE (tracker.calls.empty());
        EXPECT_TRUE (ObjectTrackerFailed());
        EXPECT_EQ (GetObjectTracker(), nullptr);
    }
}

TEST (ObjectTrackerTest, TheTrackerIsAskedForOnceAndServesEveryObject)
{
    FakeObjectTracker tracker;
    BuildAndDestroyObjects();
    BuildAndDestroyObjects();
    EXPECT_EQ (tracker.requests, 1);
    EXPECT_FALSE (ObjectTrackerFailed());
    EXPECT_EQ (tracker.CountOf ('r'), 6);
    EXPECT_EQ (tracker.CountOf ('u'), 6);
    EXPECT_GT (tracker.CountOf ('p'), 0);
}

TEST (ObjectTrackerTest, WithoutAHostCallbackNothingIsAskedAndNothingIsMarkedFailed)
{
    FakeObjectTracker tracker;
    gHostCallback = nullptr;
    BuildAndDestroyObjects();
    EXPECT_EQ (tracker.requests, 0);
    EXPECT_FALSE (ObjectTrackerFailed());
    EXPECT_TRUE (tracker.calls.empty());

    // Once the host hands its callback in, the next object asks for the tracker and registers.
    FakeObjectTracker host;
    {
        CPlugIn plugIn (SPlugInSpec {}, nullptr);
        EXPECT_EQ (host.requests, 1);
        ASSERT_EQ (host.calls.size(), 1u);
        EXPECT_EQ (host.calls[0].what, 'r');
        EXPECT_EQ (host.calls[0].object, &plugIn);
    }
    EXPECT_EQ (host.calls.back().what, 'u');
}
