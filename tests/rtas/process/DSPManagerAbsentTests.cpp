// A DSP process type in a host without a DSP manager. The manager's client is asked for once per
// module and kept once found, so these run in a program of their own in which it never is.

#include "DSPCardFixture.h"
#include "DSPGroupTestSupport.h"

#include "process/group/GlobalPlugInGroup.h"
#include "process/utilities/ViewlessMode.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

class WithoutDSPManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dsptest::PrepareHost();
        KestruneDSPManagerStandIn()->setAvailable (false);
        SetOpenedByWinPlugInOpen (false);
        group->addTypes = [this] (CTestDSPGroup& g) { g.AddProcessType (type = new CTestDSPType (&log)); };
        ASSERT_EQ (group->Initialize(), 0);
        SetPlugInGroup (group.get());
        log.clear();
    }
    void TearDown() override
    {
        group.reset();
        SetPlugInGroup (nullptr);
        SetOpenedByWinPlugInOpen (false);
        ReleaseHostToolbox();
    }

    ScopedViewless viewless;
    Log log;
    // Held on the heap: a group's destructor may throw, which a fixture's may not.
    std::unique_ptr<CTestDSPGroup> group = std::make_unique<CTestDSPGroup>();
    CTestDSPType* type = nullptr;
};

TEST_F (WithoutDSPManager, ANewInstanceIsRefusedWithMinus7080AndDeleted)
{
    int32_t id = 0;
    EXPECT_EQ (group->CreateProcess (kDSPTypeID, &id), -7080);
    EXPECT_EQ (type->GetNumProcesses(), 0);
    EXPECT_EQ (group->GetOpenCount(), 0);
    EXPECT_EQ (Log (log.end() - 3, log.end()), (Log { "ReleaseDirectMIDI", "Teardown", "deleted" }));
}

TEST_F (WithoutDSPManager, OpenedThroughWinPlugInOpenInstancesAreMadeAndDeleted)
{
    SetOpenedByWinPlugInOpen (true);
    int32_t id = 0;
    ASSERT_EQ (group->CreateProcess (kDSPTypeID, &id), 0);
    log.clear();
    EXPECT_EQ (group->DeleteProcess (kDSPTypeID, id), 0);
    EXPECT_EQ (type->GetNumProcesses(), 0);
    EXPECT_EQ (log, (Log { "Teardown", "deleted" }));
    EXPECT_EQ (group->GetOpenCount(), 0);
}

}
