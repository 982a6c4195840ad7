// Replaces the non-throwing allocation functions so that tests can make the next ones fail;
// the containers must then throw their 16-bit codes and stay consistent.

#include <memory>

#include <gtest/gtest.h>

#include "entry/CPlugInData.h"
#include "entry/CSet.h"
#include "entry/CVoidPtrMap.h"
#include "entry/CWordBuffer.h"
#include "entry/adaptor/CAdaptorPlugIn.h"

#include "AdaptorFakes.h"
#include "FailingAllocations.h"
#include "FakeObjectTracker.h"

namespace
{
template <class Call>
int16_t CodeWhenAllocationFails (Call call)
{
    gFailNothrowAllocations = 1;
    int16_t code = 0;
    try
    {
        call();
    }
    catch (int16_t thrown)
    {
        code = thrown;
    }
    gFailNothrowAllocations = 0;
    return code;
}

struct SOneLong : CPlugInData
{
    CSmartLong value { *this };
};
}

TEST (OutOfMemoryTest, AFailedSetIsNotCountedAsLive)
{
    const int32_t before = CSetBase::LiveCount();
    EXPECT_EQ (CodeWhenAllocationFails ([] { CSet<int> set; }), -1);
    EXPECT_EQ (CSetBase::LiveCount(), before);
}

TEST (OutOfMemoryTest, AFailedAddLeavesTheSetAsItWas)
{
    int a = 0, b = 0;
    CSet<int> set;
    set.Add (&a);
    EXPECT_EQ (CodeWhenAllocationFails ([&] { set.Add (&b); }), -1);
    EXPECT_EQ (set.GetCount(), 1);
    EXPECT_FALSE (set.Contains (&b));
    EXPECT_EQ (set.LastNode()->element, &a);
    set.Add (&b);
    EXPECT_EQ (set.GetAt (2), &b);
}

TEST (OutOfMemoryTest, BuffersAndMapsThrowMinusOne)
{
    EXPECT_EQ (CodeWhenAllocationFails ([] { CWordBuffer buffer; }), -1);
    EXPECT_EQ (CodeWhenAllocationFails ([] { CVoidPtrMap map; }), -1);
    CWordBuffer buffer;
    buffer.AppendWord (1);
    EXPECT_EQ (CodeWhenAllocationFails ([&] { buffer.MakeBlock(); }), -1);
    EXPECT_EQ (buffer.MakeBlock().Size(), 4);
}

TEST (OutOfMemoryTest, AFailedWorkingBlockThrowsMinus9006)
{
    SOneLong data;
    EXPECT_EQ (CodeWhenAllocationFails ([&] { data.value.Set (4); }), -9006);
    data.value.Set (4);
    EXPECT_EQ (data.value.Get(), 4);
}

TEST (OutOfMemoryTest, AnAdaptorThatRunsOutOfMemoryHalfWayLeavesNothingBehind)
{
    FakeAdaptorType type;
    type.cardInfo = { { 5, 3 } };
    FakeAdaptorProcess process (&type, 2, 2);
    const int32_t liveSets = CSetBase::LiveCount();
    int failures = 0;
    for (int skip = 0;; ++skip)
    {
        SCOPED_TRACE (skip);
        FakeObjectTracker tracker;
        gSkipNothrowAllocations = skip;
        gFailNothrowAllocations = 1;
        bool failed = false;
        std::unique_ptr<CAdaptorPlugIn> adaptor;
        try
        {
            adaptor = std::make_unique<CAdaptorPlugIn> (SPlugInSpec {}, process, process.InputRecords(),
                                                        process.OutputRecords(), nullptr);
        }
        catch (int32_t code)
        {
            failed = true;
            EXPECT_EQ (code, -9006) << "a port that cannot be made";
        }
        catch (int16_t code)
        {
            failed = true;
            EXPECT_TRUE (code == -1 || code == -9006);
        }
        const bool failureUsed = gFailNothrowAllocations == 0;
        gFailNothrowAllocations = 0;
        gSkipNothrowAllocations = 0;
        adaptor.reset();
        EXPECT_EQ (failed, failureUsed);
        EXPECT_EQ (CSetBase::LiveCount(), liveSets);
        const int registered = tracker.CountOf ('r');
        const int unregistered = tracker.CountOf ('u');
        EXPECT_EQ (unregistered, registered);
        if (! failureUsed)
            break;
        ++failures;
    }
    EXPECT_GT (failures, 10) << "every allocation of the construction was made to fail once";
}
