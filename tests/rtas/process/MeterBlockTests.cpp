// The meter block: raw values at most once in two ticks, held peaks per reader tag, the
// audio side's ready byte for types of the fresh-meters kind, reset reads, the meter number's
// bounds, and the meters by type.

#include "ProcessTestSupport.h"
#include "ThrownCode.h"

#include "process/meters/CMeterBlock.h"
#include "process/type/CProcessType.h"
#include "process/utilities/HostExtToolbox.h"

#include <HostExtControl.h>

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace kestrune::host::rtas;

constexpr uint64_t kTick = 1000000 / 60;
constexpr uint8_t kMixer = 'M';
constexpr uint8_t kSurface = 'S';

class CKindType : public CProcessType
{
public:
    explicit CKindType (int32_t kind) { SetTypeKind (kind); }
    int32_t GetNumInputs (int32_t, int16_t* count) override
    {
        *count = 1;
        return 0;
    }
    int32_t GetNumOutputs (int32_t, int16_t* count) override
    {
        *count = 1;
        return 0;
    }
};

class MeterBlock : public ::testing::Test
{
protected:
    void SetUp() override
    {
        toolbox.reset();
        ASSERT_TRUE (InstallHostToolbox());
        toolbox.setClock (100 * kTick, 0);
        process.rawValues = { 800, 50 };
        process.rawClips = { 1, 0 };
    }
    void TearDown() override
    {
        ReleaseHostToolbox();
        toolbox.reset();
    }

    void Attach (CMeterBlock& block)
    {
        block.AddMeter (std::make_unique<CMeter> (EMeterType (1), EMeterOrientation (0)));
        block.AddMeter (std::make_unique<CMeter> (EMeterType (2), EMeterOrientation (1)));
        block.AttachProcess (&process);
    }

    std::vector<int32_t> ReadAll (CMeterBlock& block, uint8_t tag, std::vector<uint8_t>* clips = nullptr)
    {
        std::vector<int32_t> values (2, -1);
        std::vector<uint8_t> clipFlags (2, 9);
        block.ReadMeters (tag, values.data(), clipFlags.data(), kAllMeters, nullptr, false);
        if (clips != nullptr)
            *clips = clipFlags;
        return values;
    }

    int32_t ReadOne (CMeterBlock& block, uint8_t tag, int32_t which)
    {
        std::vector<int32_t> values (2, -1);
        std::vector<uint8_t> clips (2, 9);
        int32_t one = -1;
        block.ReadMeters (tag, values.data(), clips.data(), which, &one, false);
        return one;
    }

    void Wait (int ticks) { toolbox.advanceClock (uint64_t (ticks) * kTick); }

    HostExtControl& toolbox = *KestruneHostExtStandIn();
    CTestProcess process;
};

TEST_F (MeterBlock, RawValuesAreFetchedAtMostOnceInTwoTicks)
{
    CMeterBlock block;
    Attach (block);
    std::vector<uint8_t> clips;
    EXPECT_EQ (ReadAll (block, kMixer, &clips), (std::vector<int32_t> { 800, 50 }));
    EXPECT_EQ (clips, (std::vector<uint8_t> { 1, 0 }));
    EXPECT_EQ (process.rawReads, 1);

    process.rawValues = { 10, 20 };
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 800, 50 })) << "the same tick: the held values";
    Wait (1);
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 800, 50 })) << "one tick later: still held";
    EXPECT_EQ (process.rawReads, 1);
    Wait (1);
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 10, 20 }));
    EXPECT_EQ (process.rawReads, 2);
}

TEST_F (MeterBlock, AReaderThatMissedAPeakIsShownItOnce)
{
    CMeterBlock block;
    Attach (block);
    EXPECT_EQ (ReadAll (block, kMixer)[0], 800);
    process.rawValues = { 200, 60 };
    Wait (2);
    EXPECT_EQ (ReadAll (block, kSurface), (std::vector<int32_t> { 800, 60 })) << "the fallen peak, the risen value";
    process.rawValues = { 150, 60 };
    Wait (2);
    EXPECT_EQ (ReadAll (block, kSurface)[0], 150) << "the same reader again sees the current value";
    process.rawValues = { 100, 60 };
    Wait (2);
    EXPECT_EQ (ReadAll (block, kMixer)[0], 150) << "the other reader now sees the peak it missed";
}

TEST_F (MeterBlock, OneMeterIsReadByItsNumberFromOne)
{
    CMeterBlock block;
    Attach (block);
    EXPECT_EQ (ReadOne (block, kMixer, 2), 50);
    process.rawValues = { 900, 5 };
    Wait (2);
    EXPECT_EQ (ReadOne (block, kSurface, 1), 900);
    EXPECT_EQ (ReadOne (block, kSurface, 2), 5) << "the same tick: meter 2's held value";
    process.rawValues = { 1, 2 };
    Wait (2);
    EXPECT_EQ (ReadOne (block, kMixer, 2), 5) << "another reader: the held peak";
    EXPECT_EQ (ReadOne (block, kMixer, 1), 1) << "meter 1's peak was held from the same fetch";

    const int reads = process.rawReads;
    for (const int32_t which : { 0, 3, -2, 1000 })
    {
        SCOPED_TRACE (which);
        Wait (2);
        EXPECT_EQ (ReadOne (block, kMixer, which), 0);
    }
    EXPECT_EQ (process.rawReads, reads) << "an unknown meter number fetches nothing";
    EXPECT_EQ (ReadOne (block, kMixer, 1), 1);
}

TEST_F (MeterBlock, AFreshMetersTypeIsReadOnlyWhenTheAudioSideSaysSo)
{
    CKindType type (kFreshMetersTypeKind);
    process.SetType (&type);
    CMeterBlock block;
    Attach (block);
    ASSERT_TRUE (process.IsMeterDataReady());
    EXPECT_EQ (ReadAll (block, kMixer)[0], 800);
    EXPECT_FALSE (process.IsMeterDataReady()) << "the block takes the ready byte";

    process.rawValues = { 10, 20 };
    Wait (5);
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 800, 50 })) << "nothing new from the audio side";
    EXPECT_EQ (process.rawReads, 1);
    process.SetMeterDataReady (true);
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 10, 20 }));

    CKindType other (2);
    CTestProcess plain;
    plain.SetType (&other);
    plain.SetMeterDataReady (false);
    plain.rawValues = { 3, 4 };
    CMeterBlock plainBlock;
    plainBlock.AddMeter (std::make_unique<CMeter> (EMeterType (1), EMeterOrientation (0)));
    plainBlock.AddMeter (std::make_unique<CMeter> (EMeterType (1), EMeterOrientation (0)));
    plainBlock.AttachProcess (&plain);
    EXPECT_EQ (ReadAll (plainBlock, kMixer), (std::vector<int32_t> { 3, 4 })) << "other kinds do not wait";
}

TEST_F (MeterBlock, AResetReadZeroesEveryHeldPeakAndClip)
{
    CMeterBlock block;
    Attach (block);
    ReadAll (block, kMixer);
    std::vector<int32_t> values (2);
    std::vector<uint8_t> clips (2);
    block.ReadMeters (kMixer, values.data(), clips.data(), kAllMeters, nullptr, true);
    EXPECT_EQ (process.rawReads, 2);
    for (int32_t n = 1; n <= 2; ++n)
    {
        EXPECT_EQ (block.GetMeter (n)->State().heldPeak, 0);
        EXPECT_EQ (block.GetMeter (n)->State().clipFlag, 0);
        EXPECT_EQ (block.GetMeter (n)->State().readerTag, kMixer);
    }
    EXPECT_EQ (ReadAll (block, kSurface, &clips), (std::vector<int32_t> { 0, 0 }));
    EXPECT_EQ (clips, (std::vector<uint8_t> { 0, 0 }));
}

TEST_F (MeterBlock, TheFixedFormKeepsItsOwnEntries)
{
    CMeterBlock block (&process, 2);
    EXPECT_EQ (block.GetNumMeters(), 0);
    EXPECT_EQ (ReadAll (block, kMixer), (std::vector<int32_t> { 800, 50 }));
    process.rawValues = { 100, 50 };
    Wait (2);
    EXPECT_EQ (ReadAll (block, kSurface)[0], 800);
}

TEST_F (MeterBlock, MetersAreCountedAndFoundByType)
{
    CMeterBlock block;
    EXPECT_EQ (ThrownCode ([&] { block.AddMeter (nullptr); }), -7053);
    for (const int type : { 1, 2, 1, 3, 1 })
        block.AddMeter (std::make_unique<CMeter> (EMeterType (type), EMeterOrientation (type * 10)));
    EXPECT_EQ (block.GetNumMeters(), 5);
    EXPECT_EQ (block.CountMetersOfType (EMeterType (1)), 3);
    EXPECT_EQ (block.CountMetersOfType (EMeterType (4)), 0);
    EXPECT_EQ (block.FindMeterOfType (EMeterType (1), 1), 1);
    EXPECT_EQ (block.FindMeterOfType (EMeterType (1), 3), 5);
    EXPECT_EQ (block.FindMeterOfType (EMeterType (1), 4), 0);
    EXPECT_EQ (block.FindMeterOfType (EMeterType (3), 1), 4);
    EXPECT_EQ (block.GetMeter (4)->GetOrientation(), EMeterOrientation (30));
    EXPECT_EQ (block.GetMeter (0), nullptr);
    EXPECT_EQ (block.GetMeter (6), nullptr);
}

}
