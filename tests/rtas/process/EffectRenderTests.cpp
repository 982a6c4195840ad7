// The RTAS effect process with the stand-in engine: its adaptor, made again and torn down, the
// engine rendering through the process's own callback, silence where rendering cannot run, and
// the connection arrays and stream format.

#include "EffectTestSupport.h"

#include "process/connections/StreamFormat.h"

#include <gtest/gtest.h>

#include <vector>

namespace
{

using namespace kestrune::host::rtas;

constexpr int32_t kFrames = 32;

class EffectRendering : public EffectEngineTest
{
protected:
    // The worker the engine renders the process's adaptor through.
    void* Worker()
    {
        const auto plugIn = tracker.plugIn (process->GetAdaptor());
        return plugIn && ! plugIn->workers.empty() ? plugIn->workers[0] : nullptr;
    }
};

const SPlugInSpec kRecord { { int32_t (kManufacturerCode), int32_t (kEffectProductCode), int32_t (kStereoTypeID), 5, 1 } };

TEST_F (EffectRendering, TheEngineRendersThroughTheProcesssOwnCallback)
{
    Make();
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    ASSERT_NE (process->GetAdaptor(), nullptr);
    EXPECT_STREQ (process->GetAdaptor()->GetName(), "KESTrune");
    EXPECT_EQ (process->GetAdaptor()->GetNumInputPorts(), 3) << "two inputs and the side-chain";
    const auto plugIn = tracker.plugIn (process->GetAdaptor());
    ASSERT_TRUE (plugIn);
    EXPECT_EQ (plugIn->spec, kRecord.fWords);
    void* worker = Worker();
    ASSERT_NE (worker, nullptr);
    EXPECT_EQ (tracker.worker (worker)->callback, &CEffectProcessRTAS::RenderCallback);

    EngineBuffers engine (5);
    EXPECT_FALSE (process->HasRendered());
    EXPECT_EQ (tracker.render (worker, engine.cellAddresses, 512, 256), 0);
    ASSERT_EQ (process->rendered.size(), 1u);
    const auto& block = process->rendered[0];
    EXPECT_EQ (block.frames, kFrames) << "without variable blocks every block is 32 samples";
    EXPECT_EQ (block.inputs, (std::vector<float*> { engine.buffers[0].data(), engine.buffers[1].data(), engine.buffers[2].data() }));
    EXPECT_EQ (block.outputs, (std::vector<float*> { engine.buffers[3].data(), engine.buffers[4].data() }));
    EXPECT_FLOAT_EQ (engine.buffers[4][7], engine.buffers[1][7] * 0.5f);
    EXPECT_EQ (engine.buffers[4][kFrames], 5.0f + kFrames / 1000.0f) << "nothing past the block";
    EXPECT_TRUE (process->HasRendered());
    EXPECT_EQ (block.silentBuffer, tracker.silentBuffer()) << "the block's records, while it renders";
}

TEST_F (EffectRendering, WithVariableBlocksTheEngineGivesTheBlockSize)
{
    type->AddCapability (48);
    dae.setGestalt (kFicGestaltVariableQuanta, 1);
    Make();
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    EngineBuffers engine (5);
    EXPECT_EQ (tracker.render (Worker(), engine.cellAddresses, 512, 200), 0);
    ASSERT_EQ (process->rendered.size(), 1u);
    EXPECT_EQ (process->rendered[0].frames, 200);
}

TEST_F (EffectRendering, AnExceptionWhileRenderingGivesSilence)
{
    Make();
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    process->throwWhileRendering = true;
    EngineBuffers engine (5);
    EXPECT_EQ (tracker.render (Worker(), engine.cellAddresses, 32, 0), kAdaptorNotRendered);
    EXPECT_EQ (engine.cells[3], tracker.silentBuffer());
    EXPECT_EQ (engine.cells[4], tracker.silentBuffer());
    EXPECT_EQ (engine.cells[0], engine.buffers[0].data()) << "inputs are left as they are";
    EXPECT_EQ (engine.cells[2], engine.buffers[2].data());
    EXPECT_FALSE (process->HasRendered());
}

TEST_F (EffectRendering, AProcessWithTooFewSlotsForItsChannelsRendersNothing)
{
    for (const int32_t slots : { 0, 2 })
    {
        Make (slots);
        process->SetNumConnectionSlots (8);
        EXPECT_EQ (process->GetNumConnectionSlots(), slots) << "the slots are fixed once the process is initialised";
        ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
        EngineBuffers engine (5);
        EXPECT_EQ (tracker.render (Worker(), engine.cellAddresses, 32, 0), kAdaptorNotRendered);
        EXPECT_TRUE (process->rendered.empty()) << slots << " slots for three inputs";
        EXPECT_EQ (engine.cells[3], tracker.silentBuffer());
        EXPECT_EQ (engine.cells[4], tracker.silentBuffer());
    }
}

TEST_F (EffectRendering, CreatingTheAdaptorAgainReplacesTheOldOne)
{
    Make();
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    const CAdaptorPlugIn* first = process->GetAdaptor();
    ASSERT_TRUE (tracker.object (const_cast<CAdaptorPlugIn*> (first)));
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    size_t plugIns = 0;
    for (const TrackedObject& object : tracker.liveObjects())
        plugIns += object.kind == int32_t (ETrackedKind::kPlugIn) ? 1 : 0;
    EXPECT_EQ (plugIns, 1u) << "the engine knows one adaptor for the process";
    EXPECT_TRUE (tracker.plugIn (process->GetAdaptor()));
}

TEST_F (EffectRendering, AfterTeardownTheEngineCannotRenderTheProcess)
{
    Make();
    ASSERT_EQ (process->CreateAdaptorPlugIn (kRecord), 0);
    void* worker = Worker();
    process->Teardown();
    EXPECT_EQ (process->GetAdaptor(), nullptr);
    EXPECT_TRUE (tracker.liveObjects().empty()) << "the adaptor and everything it published are gone";
    EngineBuffers engine (5);
    EXPECT_EQ (tracker.render (worker, engine.cellAddresses, 32, 0), kFicErrUnknownObject);
    EXPECT_TRUE (process->rendered.empty());
}

TEST_F (EffectRendering, TheDefaultCallbacksRenderOperationDoesNothing)
{
    Make();
    const SAdaptorRenderRecord record { 32, nullptr };
    EXPECT_EQ (process->Render (&record), 0);
    EXPECT_TRUE (process->rendered.empty());
    process->SetRendered();
    EXPECT_TRUE (process->HasRendered());
}

class EffectConnections : public EffectRendering
{
};

TEST_F (EffectConnections, PortsFollowTheConnectionTableRules)
{
    Make (3);
    uint8_t answer = 0xEE;
    for (const int32_t port : { 0, 4 })
    {
        EXPECT_EQ (process->IsInputConnected (port, &answer), -7106);
        EXPECT_EQ (process->IsOutputConnected (port, &answer), -7106);
        EXPECT_EQ (process->NotifyDSPConnect (port, 9), -7106);
        EXPECT_EQ (process->NotifyDSPDisconnectOutput (port), -7106);
        EXPECT_EQ (process->CanConnectOutput (port, &answer), 0);
        EXPECT_EQ (answer, 0);
    }
    EXPECT_EQ (process->NotifyDSPConnect (1, 11), 0);
    EXPECT_EQ (process->NotifyDSPConnect (1, 12), -7100);
    process->IsInputConnected (1, &answer);
    EXPECT_EQ (answer, 1);
    EXPECT_EQ (process->NotifyDSPConnect (1, 0), 0) << "handle 0 frees the port";
    process->IsInputConnected (1, &answer);
    EXPECT_EQ (answer, 0);
    EXPECT_EQ (process->NotifyDSPDisconnectInput (1), -7107);

    EXPECT_EQ (process->NotifyDSPConnectOutput (2, 21), 0);
    EXPECT_EQ (process->ConnectOutput (2, 22), -7101);
    process->CanConnectOutput (2, &answer);
    EXPECT_EQ (answer, 0);
    EXPECT_EQ (process->NotifyDSPDisconnectOutput (2), 0);
    process->IsOutputConnected (2, &answer);
    EXPECT_EQ (answer, 0);
}

TEST_F (EffectConnections, AProcessHasPortsOnlyWhileItsArraysExist)
{
    CTestEffectProcess unready;
    unready.SetNumConnectionSlots (4);
    uint8_t answer = 0xEE;
    EXPECT_EQ (unready.GetNumConnectionSlots(), 0) << "before Initialize";
    EXPECT_EQ (unready.NotifyDSPConnect (1, 5), -7106);
    EXPECT_EQ (unready.IsInputConnected (1, &answer), -7106);

    Make (4);
    EXPECT_EQ (process->GetNumConnectionSlots(), 4);
    EXPECT_EQ (process->NotifyDSPConnect (1, 5), 0);
    process->Teardown();
    EXPECT_EQ (process->GetNumConnectionSlots(), 0) << "after Teardown";
    EXPECT_EQ (process->IsInputConnected (1, &answer), -7106);
    EXPECT_EQ (process->NotifyDSPConnectOutput (1, 5), -7106);
    EXPECT_EQ (process->CanConnectOutput (1, &answer), 0);
    EXPECT_EQ (answer, 0);
}

TEST_F (EffectConnections, TheSideChainInputsConnectionSetsItsFlag)
{
    Make (3);
    ASSERT_EQ (process->GetSideChainInputIndex(), 3);
    EXPECT_EQ (process->ConnectInput (2, 5), 0);
    EXPECT_FALSE (process->IsSideChainConnected());
    EXPECT_EQ (process->ConnectInput (3, 5), 0);
    EXPECT_TRUE (process->IsSideChainConnected());
    EXPECT_EQ (process->ConnectInput (3, 6), -7100);
    EXPECT_TRUE (process->IsSideChainConnected());
    EXPECT_EQ (process->DisconnectInput (3), 0);
    EXPECT_FALSE (process->IsSideChainConnected());
}

TEST_F (EffectConnections, PortsTheConnectionInformationCoversAreSetDirectly)
{
    Make (3);
    process->GetConnectionInfoList().Add (std::make_unique<CAOSInfo> (1, 1, "Main", 1));
    EXPECT_EQ (process->ConnectInput (2, 5), 0);
    EXPECT_EQ (process->ConnectInput (2, 6), 0) << "no busy check on a covered port";
    uint8_t answer = 0;
    process->IsInputConnected (2, &answer);
    EXPECT_EQ (answer, 1);
    EXPECT_EQ (process->DisconnectInput (2), 0);
    EXPECT_EQ (process->DisconnectInput (2), 0);
    EXPECT_EQ (process->ConnectInput (3, 5), 0);
    EXPECT_EQ (process->ConnectInput (3, 6), -7100) << "port 3 is not covered";
}

TEST_F (EffectConnections, TheStreamFormatIsTheDefaultOne)
{
    Make();
    SStreamFormat format { 77, 0, 0, 0, 0.0f };
    EXPECT_EQ (process->GetStreamFormat (1, 2, reinterpret_cast<char*> (&format)), 0);
    EXPECT_EQ (format.fHostWord, 77);
    EXPECT_EQ (format.fWord2, 1);
    EXPECT_EQ (format.fWord4, 2);
    EXPECT_EQ (format.fWord6, 1);
    EXPECT_EQ (format.fSampleRate, 44100.0f);
    EXPECT_EQ (process->CheckStreamFormat (1, 2, reinterpret_cast<char*> (&format)), 0);
    format.fSampleRate = 0.0f;
    EXPECT_EQ (process->CheckStreamFormat (1, 2, reinterpret_cast<char*> (&format)), -7104);
    int16_t latency = -1;
    EXPECT_EQ (process->GetLatencyShort (&latency), 0);
    EXPECT_EQ (latency, 0);
}

} // namespace
