// New processes of the RTAS effect type: made by the DSP process type's creation with the
// effect's identity, each with its adaptor published to the stand-in engine; a process that gets
// no adaptor is deleted again.

#include "EffectTestSupport.h"
#include "ThrownCode.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace kestrune::host::rtas;

// An effect process without the RTAS part.
class CMIDIOnlyProcess : public CEffectProcessMIDI
{
};

// An RTAS effect process whose channel count the adaptor cannot learn.
class CUncountableProcess : public CTestEffectProcess
{
public:
    int32_t GetNumInputs (int16_t*) override { return -9123; }
};

class EffectNewProcesses : public EffectEngineTest
{
protected:
    void SetUp() override
    {
        EffectEngineTest::SetUp();
        group = std::make_unique<CTestEffectGroup>();
        ASSERT_EQ (group->Initialize(), 0);
        SetPlugInGroup (group.get());
    }

    void TearDown() override
    {
        SetPlugInGroup (nullptr);
        group.reset();
        EffectEngineTest::TearDown();
    }

    CEffectTypeRTAS& Stereo() { return dynamic_cast<CEffectTypeRTAS&> (group->Type (kStereoTypeID)); }

    std::unique_ptr<CTestEffectGroup> group;
};

TEST_F (EffectNewProcesses, ANewProcessGetsItsAdaptorWithTheTypesConnectionRecord)
{
    CEffectTypeRTAS& type = Stereo();
    int32_t first = 0;
    int32_t second = 0;
    ASSERT_EQ (type.NewProcess (&first), 0);
    ASSERT_EQ (type.NewProcess (&second), 0);
    EXPECT_EQ (first, 1);
    EXPECT_EQ (second, 2);

    auto* process = dynamic_cast<CTestEffectProcess*> (type.FindProcess (2));
    ASSERT_NE (process, nullptr);
    EXPECT_EQ (process->CountControls(), 11) << "initialised";
    ASSERT_NE (process->GetAdaptor(), nullptr);
    const auto plugIn = tracker.plugIn (process->GetAdaptor());
    ASSERT_TRUE (plugIn);
    const SFicTimeCodeInfo settings = type.GetSettingPair();
    EXPECT_EQ (plugIn->spec, (std::array<int32_t, 5> { int32_t (kManufacturerCode), int32_t (kEffectProductCode),
                                                       int32_t (kStereoTypeID), settings.fFirst, 2 }));

    EngineBuffers engine (4);
    ASSERT_EQ (tracker.render (plugIn->workers[0], engine.cellAddresses, 32, 0), 0);
    ASSERT_EQ (process->rendered.size(), 1u);
    EXPECT_FLOAT_EQ (engine.buffers[3][5], engine.buffers[1][5] * 0.5f);

    EXPECT_EQ (type.DeleteProcess (2), 0);
    EXPECT_EQ (type.FindProcess (2), nullptr);
    EXPECT_FALSE (tracker.plugIn (process)) << "its adaptor went with it";
    EXPECT_EQ (type.DeleteProcess (2), -7126);
}

TEST_F (EffectNewProcesses, AProcessThatIsNoRTASEffectProcessIsDeletedAgain)
{
    group->processFactory = [] { return new CMIDIOnlyProcess; };
    int32_t id = 0;
    EXPECT_EQ (Stereo().NewProcess (&id), -77);
    EXPECT_TRUE (Stereo().Processes().empty());
}

TEST_F (EffectNewProcesses, AProcessWhoseAdaptorFailsIsDeletedAgain)
{
    group->processFactory = [] {
        auto* process = new CUncountableProcess;
        process->SetNumConnectionSlots (4);
        return process;
    };
    int32_t id = 0;
    EXPECT_EQ (Stereo().NewProcess (&id), -9123) << "the code the adaptor threw";
    EXPECT_TRUE (Stereo().Processes().empty());
    size_t plugIns = 0;
    for (const TrackedObject& object : tracker.liveObjects())
        plugIns += object.kind == int32_t (ETrackedKind::kPlugIn) ? 1 : 0;
    EXPECT_EQ (plugIns, 0u);
}

TEST_F (EffectNewProcesses, ATypeWithoutAGroupCannotNameItsProcessesAdaptor)
{
    type->SetProcessFactory ([] { return new CTestEffectProcess; });
    int32_t id = 0;
    EXPECT_EQ (ThrownCode ([&] { type->NewProcess (&id); }), -7053);
    EXPECT_TRUE (type->Processes().empty());
    EXPECT_EQ (type->NewProcess (nullptr), -7053);
}

TEST_F (EffectNewProcesses, ATypeWithoutAFactoryMakesNoProcess)
{
    int32_t id = 0;
    EXPECT_EQ (type->NewProcess (&id), -7053);
    EXPECT_TRUE (type->Processes().empty());
}

} // namespace
