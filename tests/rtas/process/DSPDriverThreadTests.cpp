// The card driver's thread asks the plug-in for a DSP's load (code information 4, callback 273)
// while the host thread makes and deletes instances, reorders the types and finally deletes the
// group with its types: the driver's walk of the lists never meets a process or type that is
// gone or half made, and the group is not destroyed under a callback that uses it. Some
// deletions are made while a walk holds at the first instance of the list they change, so that
// the two certainly meet.

#include "DSPGroupTestSupport.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <functional>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <utility>
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
// How long a walk holds at the anchor for a deletion. While the walk holds the list, as it must,
// the deletion waits for the walk; the walk stops waiting for the deletion after this time.
constexpr auto kHoldForADeletion = std::chrono::milliseconds (20);
// How long either thread waits for the other to arrive at the meeting at all.
constexpr auto kArrival = std::chrono::seconds (20);

// Where the host thread and a walk of the driver's thread meet: the walk holds at the anchor (the
// first instance of its type's list) while the host thread deletes a later instance of that list.
class Meeting
{
public:
    // [host thread] Runs `remove` while a walk of the driver's thread holds at the anchor.
    void RemoveDuringAWalk (const std::function<void()>& remove)
    {
        {
            std::unique_lock guard (fLock);
            fArmed = true;
            fDeleting = false;
            fDeleted = false;
            const bool held = fChanged.wait_for (guard, kArrival, [this] { return fHeld; });
            fArmed = false;
            EXPECT_TRUE (held) << "no walk of the driver's thread reached the anchor";
            fDeleting = true;
        }
        fChanged.notify_all();
        remove();
        {
            const std::lock_guard guard (fLock);
            fDeleted = true;
        }
        fChanged.notify_all();
    }

    // [driver thread] At the anchor: holds the walk while a deletion the host thread armed runs.
    void HoldAtTheAnchor()
    {
        std::unique_lock guard (fLock);
        if (! fArmed)
            return;
        fArmed = false;
        fHeld = true;
        fChanged.notify_all();
        fChanged.wait_for (guard, kArrival, [this] { return fDeleting; });
        fChanged.wait_for (guard, kHoldForADeletion, [this] { return fDeleted; });
        fHeld = false;
    }

private:
    std::mutex fLock;
    std::condition_variable fChanged;
    bool fArmed = false;
    bool fHeld = false;
    bool fDeleting = false;
    bool fDeleted = false;
};

// The instances whose load the walk in progress on the driver's thread has read, and the meeting
// that the walk holds for at the anchor.
class Walks
{
public:
    Meeting meeting;

    void SetAnchor (const CProcess* anchor) { fAnchor = anchor; }

    // [any thread] An instance's load is read: on the driver's thread, by the walk in progress.
    void Reach (const CProcess& process)
    {
        if (std::this_thread::get_id() == fHostThread)
            return;
        {
            const std::lock_guard guard (fLock);
            fReached.push_back (&process);
        }
        if (&process == fAnchor)
            meeting.HoldAtTheAnchor();
    }

    // [the thread raising the callbacks] Whether the walk that ended read an instance twice; the
    // next one begins.
    bool EndWalkReachedOneTwice()
    {
        const std::lock_guard guard (fLock);
        const std::set<const CProcess*> distinct (fReached.begin(), fReached.end());
        const bool twice = distinct.size() != fReached.size();
        fReached.clear();
        return twice;
    }

private:
    const std::thread::id fHostThread = std::this_thread::get_id();
    std::atomic<const CProcess*> fAnchor { nullptr };
    std::mutex fLock;
    std::vector<const CProcess*> fReached;
};

// A DSP process whose load reading the walks note.
class CWalkedProcess final : public CTestDSPProcess
{
public:
    CWalkedProcess (Log* log, Walks* walks) : CTestDSPProcess (log), fWalks (walks) {}

    double GetWeightFloat() override
    {
        fWalks->Reach (*this);
        return CTestDSPProcess::GetWeightFloat();
    }

private:
    Walks* fWalks;
};

class CWalkedType final : public CTestDSPType
{
public:
    CWalkedType (Log* log, Walks* walks, uint32_t productID) : CTestDSPType (log, productID), fLog (log), fWalks (walks) {}

    CDSPProcess* NewProcessObject() override
    {
        auto* process = new CWalkedProcess (fLog, fWalks);
        process->weight = weight;
        return process;
    }

private:
    Log* fLog;
    Walks* fWalks;
};

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

    // A group of two DSP types on the card's DSP, made the module's, with one instance (the
    // anchor) placed on the DSP so that the DSP carries the plug-in's shell and its callbacks.
    void MakeGroup()
    {
        Host().dsps = { Identifier (record) };
        Host().nextDSP = 0;
        group = std::make_unique<CTestDSPGroup>();
        group->option = kDSPCodeID;
        group->addTypes = [this] (CTestDSPGroup& g) {
            g.AddProcessType (type = new CWalkedType (&log, &walks, kDSPTypeID));
            g.AddProcessType (second = new CWalkedType (&log, &walks, kSecondTypeID));
        };
        Initialize();
        type->weight = 0.0;
        CTestDSPProcess& anchor = Create();
        walks.SetAnchor (&anchor);
        dsp = Allocate();
        ASSERT_NE (dsp, nullptr);
        ASSERT_EQ (anchor.AttachToDSPGuarded (dsp), 0);
    }

    // Instances of both types come, run on the DSP and go; the types change places. In the first
    // round the anchor's type loses each instance while a walk holds at the anchor.
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
            {
                const auto remove = [&, typeID = typeID, id = id] { EXPECT_EQ (group->DeleteProcess (typeID, id), 0); };
                if (round == 0 && typeID == kDSPTypeID)
                    walks.meeting.RemoveDuringAWalk (remove);
                else
                    remove();
            }
        }
    }

    DSIDSPRecord* record = nullptr;
    CProcessDSP* dsp = nullptr;
    CTestDSPType* second = nullptr;
    Walks walks;
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
                if (walks.EndWalkReachedOneTwice())
                    ADD_FAILURE() << "one walk read an instance twice: the list changed under it";
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
        walks.SetAnchor (nullptr);
        group.release();
        DeletePlugInGroup();
        stop = true;
        driver.join();
        EXPECT_EQ (PlugInGroup(), nullptr);
    }
    EXPECT_GT (answers.loads.load(), 0) << "the driver's thread asked while the lists changed";
}

}
