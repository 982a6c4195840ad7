// The host's object tracker lasts one plug-in session: the close that ends it forgets the
// tracker (and a refusal), so the next session asks its host again.

#include <gtest/gtest.h>

#include "entry/PlugInEntry.h"
#include "entry/model/CPlugIn.h"
#include "process/group/CProcessGroupInterface.h"

#include "FakeObjectTracker.h"
#include "TestGroupFactory.h"

namespace
{
class PlainGroup final : public CProcessGroupInterface
{
public:
    int32_t GetTypeIDsByIndex (int32_t, uint32_t*, uint32_t*, uint32_t*) override { return 0; }
};

class TrackerSession : public ::testing::Test
{
protected:
    void SetUp() override
    {
        gTestGroupFactory = [] { return new PlainGroup(); };
    }
    void TearDown() override { gTestGroupFactory = nullptr; }

    static void BuildAPlugIn() { CPlugIn plugIn (SPlugInSpec {}, nullptr); }
};
}

TEST_F (TrackerSession, TheCloseThatEndsTheSessionForgetsTheTracker)
{
    FakeObjectTracker tracker;
    ASSERT_EQ (PlugInOpen(), 0);
    ASSERT_EQ (PlugInOpen(), 0);
    BuildAPlugIn();
    EXPECT_EQ (PlugInClose(), 0);
    BuildAPlugIn();
    EXPECT_EQ (tracker.requests, 1) << "an inner close keeps the session";
    EXPECT_EQ (PlugInClose(), 0);
    EXPECT_EQ (tracker.requests, 1);

    ASSERT_EQ (PlugInOpen(), 0);
    BuildAPlugIn();
    EXPECT_EQ (tracker.requests, 2) << "the new session asks its host again";
    EXPECT_EQ (PlugInClose(), 0);
    EXPECT_EQ (tracker.CountOf ('r'), 3);
}

TEST_F (TrackerSession, ARefusalLastsUntilTheSessionEnds)
{
    FakeObjectTracker tracker;
    tracker.refusal = -1;
    ASSERT_EQ (PlugInOpen(), 0);
    BuildAPlugIn();
    BuildAPlugIn();
    EXPECT_EQ (tracker.requests, 1);
    EXPECT_TRUE (ObjectTrackerFailed());
    EXPECT_EQ (PlugInClose(), 0);
    EXPECT_FALSE (ObjectTrackerFailed());

    tracker.refusal = 0;
    ASSERT_EQ (PlugInOpen(), 0);
    BuildAPlugIn();
    EXPECT_EQ (tracker.requests, 2);
    EXPECT_EQ (tracker.CountOf ('r'), 1);
    EXPECT_EQ (PlugInClose(), 0);
}
