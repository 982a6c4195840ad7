// The card driver's thread asks the plug-in for a DSP's load (code information 4, callback 273)
// while the host thread makes and deletes instances, reorders the types and finally deletes the
// group with its types: the driver's walk of the lists never meets a process or type that is
// gone or half made, and the group is not destroyed under a callback that uses it.

#include "DSPGroupTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <memory>
#include <thread>
#include <vector>

namespace
{

using namespace dspgroup;
using namespace kestrune::host::rtas;

constexpr int16_t kDSPCodeID = 1001; // five bytes of raw code in the program's resources
constexpr int16_t kCodeInformation = 273;
constexpr int32_t kLoadQuery = 4;
constexpr uint32_t kSecondTypeID = FourCharCode ("DSPu");
constexpr int kGroupRounds = 40;
constexpr int kChurnRounds = 25;

class DSPLoadOnTheDriversThread : public DSPGroupFixture
{
protected:
    void SetUp() override
    {
        DSPGroupFixture::SetUp();
        record = dsi.addDSP (dsi.addCard (20, 0), kDSIFlagDSP321);
        dsi.setHostBit (record, 2, 1);
        dsi.addShell();
    }

    // A group of two DSP types on the card's DSP, made the module's, with one instance placed on
    // the DSP so that the DSP carries the plug-in's shell and its callbacks.
    void MakeGroup()
    {
        Host().dsps = { Identifier (record) };
        Host().nextDSP = 0;
        group = std::make_unique<CTestDSPGroup>();
        group->option = kDSPCodeID;
        group->addTypes = [this] (CTestDSPGroup& g) {
            g.AddProcessType (type = new CTestDSPType (&log));
            g.AddProcessType (second = new CTestDSPType (&log, kSecondTypeID));
        };
        Initialize();
        type->weight = 0.0;
        CTestDSPProcess& anchor = Create();
        dsp = Allocate();
        ASSERT_NE (dsp, nullptr);
        ASSERT_EQ (anchor.AttachToDSPGuarded (dsp), 0);
    }

    // Instances of both types come, run on the DSP and go; the types change places.
    void Churn()
    {
        for (int round = 0; round < kChurnRounds; ++round)
        {
            std::vector<std::pair<uint32_t, int32_t>> made;
            for (const uint32_t typeID : { kDSPTypeID, kSecondTypeID, kDSPTypeID })
            {
                CTestDSPType& owner = typeID == kDSPTypeID ? *type : *second;
                owner.weight = 10.0 * (round % 4); // given before the instance is listed
                int32_t id = 0;
                ASSERT_EQ (group->CreateProcess (typeID, &id), 0);
                ASSERT_EQ (owner.Process (id).AttachToDSPGuarded (dsp), 0);
                made.emplace_back (typeID, id);
            }
            (round % 2 == 0 ? type : second)->SetEnableMark (0);
            (round % 2 == 0 ? second : type)->SetEnableMark (1);
            type->SetTypeIdentifier (kDSPTypeID);
            second->SetTypeIdentifier (kSecondTypeID);
            group->ReorderTypes();
            for (const auto& [typeID, id] : made)
                ASSERT_EQ (group->DeleteProcess (typeID, id), 0);
        }
    }

    DSIDSPRecord* record = nullptr;
    CProcessDSP* dsp = nullptr;
    CTestDSPType* second = nullptr;
};

// What the driver's thread saw.
struct Answers
{
    std::atomic<int> loads { 0 };
    std::atomic<int> others { 0 };
};

TEST_F (DSPLoadOnTheDriversThread, NeverMeetsAnInstanceOrTypeThatTheHostThreadChanges)
{
    Answers answers;
    for (int groupRound = 0; groupRound < kGroupRounds; ++groupRound)
    {
        SCOPED_TRACE (testing::Message() << "group " << groupRound);
        MakeGroup();
        ASSERT_TRUE (DsiCompat_UseDsiEntries());
        std::atomic<bool> stop { false };
        std::thread driver ([&] {
            while (! stop)
            {
                const CallbackOutcome outcome = dsi.raiseHostCallback (record, kCodeInformation, { kLoadQuery });
                if (! outcome.answered)
                    continue; // the group has gone, and with it the plug-in's shell
                int16_t percent = -1;
                std::memcpy (&percent, outcome.buffer.data(), sizeof percent);
                if (outcome.result == 0 && percent >= 0 && percent <= 100)
                    ++answers.loads;
                else if (outcome.result == kDsiBadArgument || outcome.result == -7053)
                    ++answers.others; // the group being destroyed: the driver's answer, or no object
                else
                    ADD_FAILURE() << "result " << outcome.result << ", load " << percent;
            }
        });
        Churn();
        group.release();
        DeletePlugInGroup();
        stop = true;
        driver.join();
        EXPECT_EQ (PlugInGroup(), nullptr);
    }
    EXPECT_GT (answers.loads.load(), 0) << "the driver's thread asked while the lists changed";
}

}
