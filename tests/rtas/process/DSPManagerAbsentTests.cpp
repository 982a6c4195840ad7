// A DSP process type in a host without a DSP manager. The manager's client is asked for once per
// module and kept once found, so these run in a program of their own in which it never is.

#include "DSPGroupTestSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

class WithoutDSPManager : public DSPGroupFixture
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        manager.setAvailable (false);
        Initialize();
    }
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
