#include <cstring>
#include <functional>
#include <vector>

#include <gtest/gtest.h>

#include "entry/CPlugInData.h"
#include "entry/CWordBuffer.h"
#include "entry/ObjectTracker.h"

#include "FakeObjectTracker.h"
#include "ThrownInteger.h"

namespace
{
struct SThreeFields : CPlugInData
{
    CSmartChar flag { *this };
    CSmartLong count { *this };
    CSmartDouble gain { *this };
};

struct SMixed : CPlugInData
{
    CSmartLong first { *this };
    CSmartFloat level { *this };
    CSmartRecord link { *this };
};

struct SPlain : CSmartStructure
{
    CSmartLong value { *this };
    CSmartDouble other { *this };
};

struct SEmpty : CPlugInData
{
};

template <class T>
T At (const void* block, int32_t offset)
{
    T value;
    std::memcpy (&value, static_cast<const uint8_t*> (block) + offset, sizeof (T));
    return value;
}
}

TEST (SmartStructureTest, FieldsArePackedInDeclarationOrder)
{
    const SThreeFields s;
    EXPECT_EQ (s.DeclaredSize(), 13);
    EXPECT_EQ (s.flag.Offset(), 0);
    EXPECT_EQ (s.count.Offset(), 1);
    EXPECT_EQ (s.gain.Offset(), 5);
    const SMixed m;
    EXPECT_EQ (m.DeclaredSize(), 12);
    EXPECT_EQ (m.link.Offset(), 8);
}

TEST (SmartStructureTest, APlainStructureReadsZeroAndKeepsNothing)
{
    SPlain s;
    s.value.Set (5);
    s.other.Set (2.5);
    EXPECT_EQ (s.value.Get(), 0);
    EXPECT_EQ (s.other.Get(), 0.0);
}

TEST (PlugInDataTest, ValuesLiveInTheWorkingBlockUntilTheHostSuppliesOne)
{
    SMixed data;
    data.first.Set (-7);
    data.level.Set (0.25f);
    int target = 0;
    data.link.Set (&target);
    EXPECT_EQ (data.first.Get(), -7);
    EXPECT_EQ (data.level.Get(), 0.25f);
    EXPECT_EQ (data.link.Get(), &target);
    EXPECT_EQ (data.PublishedBlock(), nullptr);
    EXPECT_EQ (data.GetKind(), 0);
}

TEST (PlugInDataTest, CharFieldsAreNotKeptByPlugInData)
{
    SThreeFields data;
    data.flag.Set ('x');
    data.count.Set (3);
    EXPECT_EQ (data.flag.Get(), 0);
    EXPECT_EQ (data.count.Get(), 3);
}

TEST (PlugInDataTest, RegistersAndPublishesThroughTheTracker)
{
    FakeObjectTracker tracker;
    alignas (8) uint8_t hostBlock[12] = {};
    void* dataAddress = nullptr;
    {
        SMixed data;
        dataAddress = &data;
        data.first.Set (41);
        data.level.Set (1.5f);
        EXPECT_EQ (At<int32_t> (hostBlock, 0), 0) << "no host block yet: only the working block is written";

        tracker.hostBlock = hostBlock;
        data.PublishLocked();
        ASSERT_EQ (data.PublishedBlock(), hostBlock);
        const auto descriptions = tracker.PublicationsOf (&data);
        ASSERT_EQ (descriptions.size(), 1u);
        ASSERT_EQ (descriptions[0].size(), 4u);
        EXPECT_EQ (descriptions[0][0], 1);
        EXPECT_EQ (descriptions[0][1], 0);
        EXPECT_EQ (descriptions[0][2], 12);
        EXPECT_EQ (At<int32_t> (hostBlock, 0), 41);
        EXPECT_EQ (At<float> (hostBlock, 4), 1.5f);

        data.first.Set (42);
        EXPECT_EQ (At<int32_t> (hostBlock, 0), 42);

        // The host changes its block: reads answer the host's value and refresh the working copy.
        const int32_t hostValue = 1000;
        std::memcpy (hostBlock, &hostValue, 4);
        EXPECT_EQ (data.first.Get(), 1000);
        std::memset (hostBlock, 0, sizeof hostBlock);
        data.Publish();
        EXPECT_EQ (At<int32_t> (hostBlock, 0), 1000);
        EXPECT_EQ (At<float> (hostBlock, 4), 1.5f);
    }
    ASSERT_EQ (tracker.calls.size(), 3u);
    EXPECT_EQ (tracker.calls[0].what, 'r');
    EXPECT_EQ (tracker.calls[0].kind, 8);
    EXPECT_EQ (tracker.calls[1].what, 'p');
    EXPECT_EQ (tracker.calls[2].what, 'u');
    for (const auto& call : tracker.calls)
        EXPECT_EQ (call.object, dataAddress);
}

TEST (PlugInDataTest, PublishingWithoutAHostBlockLeavesTheDataPrivate)
{
    FakeObjectTracker tracker;
    SMixed data;
    data.first.Set (3);
    data.PublishLocked();
    EXPECT_EQ (data.PublishedBlock(), nullptr);
    EXPECT_EQ (data.first.Get(), 3);
}

TEST (PlugInDataTest, WithoutATrackerNothingIsRegistered)
{
    ASSERT_EQ (gHostCallback, nullptr);
    SMixed data;
    data.PublishLocked();
    EXPECT_EQ (data.PublishedBlock(), nullptr);
    EXPECT_EQ (GetObjectTracker(), nullptr);
}

TEST (PlugInDataTest, AccessOutsideTheDeclaredLayoutIsRefused)
{
    SEmpty empty;
    SMixed data;
    SThreeFields other;
    struct Case
    {
        const char* what;
        std::function<void()> call;
    };
    const Case cases[] = {
        { "no declared field", [&] { CSmartLong late { other }; empty.GetLong (late); } },
        { "a field of another structure", [&] { data.GetDouble (other.gain); } },
        { "a field of another structure, set", [&] { data.SetDouble (other.gain, 1.0); } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        EXPECT_EQ (ThrownInteger<int16_t> (c.call), -9060);
    }
    EXPECT_EQ (ThrownInteger<int16_t> ([&] { empty.Publish(); }), 0);
}

TEST (PlugInDataTest, AFieldDeclaredAfterFirstAccessGrowsTheWorkingBlock)
{
    SMixed data;
    data.first.Set (5);
    const CSmartDouble extra { data };
    EXPECT_EQ (data.DeclaredSize(), 20);
    extra.Set (6.5);
    EXPECT_EQ (extra.Get(), 6.5);
    EXPECT_EQ (data.first.Get(), 5);
}
