// The RTAS effect process's adaptor when memory runs out: every allocation of making and starting
// it is made to fail once in turn; each failure answers -9006 and leaves neither an adaptor nor
// anything the engine was told of.

#include "EffectTestSupport.h"
#include "FailingAllocations.h"

#include <gtest/gtest.h>

namespace
{

class EffectAdaptorMemory : public EffectEngineTest
{
};

TEST_F (EffectAdaptorMemory, EveryAllocationThatFailsLeavesNoAdaptor)
{
    Make();
    const SPlugInSpec record { { 1, 2, 3, 4, 1 } };
    int failures = 0;
    for (int skip = 0;; ++skip)
    {
        SCOPED_TRACE (skip);
        gSkipNothrowAllocations = skip;
        gFailNothrowAllocations = 1;
        const int32_t result = process->CreateAdaptorPlugIn (record);
        const bool failureUsed = gFailNothrowAllocations == 0;
        gFailNothrowAllocations = 0;
        gSkipNothrowAllocations = 0;
        if (! failureUsed)
        {
            EXPECT_EQ (result, 0);
            EXPECT_NE (process->GetAdaptor(), nullptr);
            break;
        }
        ++failures;
        EXPECT_EQ (result, -9006);
        EXPECT_EQ (process->GetAdaptor(), nullptr) << "a failed start deletes the new adaptor";
        EXPECT_TRUE (tracker.liveObjects().empty()) << "the engine knows nothing of it";
    }
    EXPECT_GT (failures, 10) << "every allocation of making and starting the adaptor failed once";
}

} // namespace
