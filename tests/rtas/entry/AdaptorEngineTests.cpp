// The adaptor plug-in with the stand-in engine: the engine hands out its tracker through the host
// callback, keeps what the adaptor publishes, gives the data block its storage, and finds and
// calls the render callback with it.

#include <memory>
#include <vector>

#include <DaeControl.h>
#include <DaeObjectTrackerControl.h>
#include <gtest/gtest.h>

#include "entry/ObjectTracker.h"
#include "entry/adaptor/CAdaptorPlugIn.h"
#include "process/group/CProcessGroupInterface.h"

#include "AdaptorFakes.h"

namespace
{
using namespace kestrune::host::rtas;

class AdaptorWithEngine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        dae.reset();
        ForgetObjectTracker();
        gHostCallback = reinterpret_cast<HostCallbackProc> (tracker.hostCallback());
    }

    void TearDown() override
    {
        gHostCallback = nullptr;
        ForgetObjectTracker();
        dae.reset();
    }

    DaeControl& dae = *KestruneDaeStandIn();
    DaeObjectTrackerControl& tracker = *KestruneDaeObjectTracker();
    FakeAdaptorType type;
};
}

TEST_F (AdaptorWithEngine, TheEngineFindsTheRenderCallbackAndCallsItWithThePublishedBlock)
{
    type.cardInfo = { { 5, 3 }, { 38, 1 } };
    FakeAdaptorProcess process (&type, 2, 2);
    auto adaptor = std::make_unique<CAdaptorPlugIn> (SPlugInSpec { { 1, 2, 3, 4, 5 } }, process,
                                                     process.InputRecords(), process.OutputRecords(), nullptr);
    adaptor->Register();
    EXPECT_EQ (tracker.script().countOf ("HostCallback"), 1u);

    const auto plugIn = tracker.plugIn (adaptor.get());
    ASSERT_TRUE (plugIn);
    EXPECT_EQ (plugIn->spec, (std::array<int32_t, 5> { 1, 2, 3, 4, 5 }));
    EXPECT_EQ (plugIn->inputs.size(), 3u);
    EXPECT_EQ (plugIn->outputs.size(), 2u);
    ASSERT_EQ (plugIn->workers.size(), 1u);
    EXPECT_EQ (tracker.object (adaptor.get())->state, kPlugInStatePublished);

    void* worker = plugIn->workers[0];
    const auto published = tracker.worker (worker);
    ASSERT_TRUE (published);
    EXPECT_EQ (published->callback, &CAdaptorPlugIn::RenderCallback);
    EXPECT_STREQ (static_cast<const char*> (published->userWord), "Compressor");
    ASSERT_EQ (published->dataObjects.size(), 1u);
    S_RTASP_CustomDataAdmin& data = adaptor->GetCustomData();
    ASSERT_EQ (published->dataObjects[0], &data);
    ASSERT_NE (data.PublishedBlock(), nullptr);
    EXPECT_EQ (tracker.dataBlock (&data), data.PublishedBlock());
    EXPECT_EQ (S_RTASP_CustomDataAdmin::ReadWord (data.PublishedBlock(), S_RTASP_CustomDataAdmin::kSideChainIndex), 3)
        << "the engine's block starts with the adaptor's values";

    std::vector<std::vector<float>> buffers (5, std::vector<float> (32, 0.25f));
    std::vector<RenderChannelCell> cells;
    for (auto& buffer : buffers)
        cells.push_back (buffer.data());
    std::vector<RenderChannelCell*> cellAddresses;
    for (auto& cell : cells)
        cellAddresses.push_back (&cell);

    EXPECT_EQ (tracker.render (worker, cellAddresses, 64, 0), 0);
    ASSERT_EQ (process.renders.size(), 1u);
    EXPECT_EQ (process.renders[0].fFrameCount, 64);
    EXPECT_EQ (process.Input (2).fBuffer, buffers[2].data()) << "the side-chain";
    EXPECT_EQ (process.Output (1).fBuffer, buffers[4].data());

    process.renderResult = -7401;
    EXPECT_EQ (tracker.render (worker, cellAddresses, 64, 0), -7401);
    EXPECT_EQ (cells[3], tracker.silentBuffer());
    EXPECT_EQ (cells[4], tracker.silentBuffer());
    EXPECT_EQ (cells[0], buffers[0].data());

    adaptor.reset();
    EXPECT_TRUE (tracker.liveObjects().empty()) << "every object unregistered";
}

TEST_F (AdaptorWithEngine, AnEngineThatOffersNoTrackerLeavesTheAdaptorUnpublishedButWorking)
{
    tracker.setOffersTracker (false);
    FakeAdaptorProcess process (&type, 1, 1);
    {
        CAdaptorPlugIn adaptor (SPlugInSpec {}, process, process.InputRecords(), process.OutputRecords(), nullptr);
        adaptor.Register();
        EXPECT_EQ (adaptor.GetCustomData().PublishedBlock(), nullptr);
        EXPECT_EQ (adaptor.GetNumInputPorts(), 1);
    }
    EXPECT_EQ (tracker.script().countOf ("HostCallback"), 1u);
    EXPECT_EQ (tracker.script().countOf ("Tracker.Register"), 0u);
    EXPECT_TRUE (ObjectTrackerFailed());
}
