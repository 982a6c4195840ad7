// The adaptor plug-in: what it asks the process and its type, the ports it builds, the data block
// it publishes, and its default render callbacks, which fill the process's connection records
// from the engine's cells and leave silence wherever rendering cannot be done.

#include <array>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <DaeControl.h>
#include <gtest/gtest.h>

#include "entry/adaptor/CAdaptorPlugIn.h"
#include "entry/model/CPlugInPort.h"
#include "process/base/PointerWords.h"

#include "AdaptorFakes.h"
#include "FakeObjectTracker.h"
#include "PortNumbers.h"
#include "ThrownInteger.h"

namespace
{
using kestrune::host::rtas::DaeControl;

int32_t KESTRUNE_TRACKER_CALL ProcessCallback (void*, void*)
{
    return 0;
}

class AdaptorTest : public ::testing::Test
{
protected:
    void SetUp() override { dae.reset(); }
    void TearDown() override { dae.reset(); }

    std::unique_ptr<CAdaptorPlugIn> MakeAdaptor (FakeAdaptorProcess& process, PlugInRenderCallback callback = nullptr)
    {
        return std::make_unique<CAdaptorPlugIn> (SPlugInSpec { { 1, 2, 3, 4, 5 } }, process, process.InputRecords(),
                                                 process.OutputRecords(), callback);
    }

    // The seven words that the adaptor's data block holds.
    static std::vector<int32_t> DataWords (CAdaptorPlugIn& adaptor)
    {
        S_RTASP_CustomDataAdmin& data = adaptor.GetCustomData();
        return { data.fProcess.Get(), data.fInputRecords.Get(), data.fOutputRecords.Get(), data.fNumInputs.Get(),
                 data.fNumOutputs.Get(), data.fSideChainIndex.Get(), data.fVariableBlock.Get() };
    }

    DaeControl& dae = *KestruneDaeStandIn();
    FakeAdaptorType type;
};

// The engine's side of one render call: a buffer per channel, the cells that point at them, the
// instance and context records, and the silent buffer.
class EngineBlock
{
public:
    EngineBlock (const void* dataBlock, int32_t channels, int32_t frameCount, int32_t variableBlockSize)
        : buffers_ (static_cast<size_t> (channels), std::vector<float> (64, 0.5f)),
          cells_ (static_cast<size_t> (channels)),
          instance_ (3 + static_cast<size_t> (channels), 0)
    {
        instance_[2] = static_cast<uint32_t> (WordOfPointer (dataBlock));
        for (size_t i = 0; i < cells_.size(); ++i)
        {
            cells_[i] = buffers_[i].data();
            instance_[3 + i] = static_cast<uint32_t> (WordOfPointer (&cells_[i]));
        }
        context_.fSilentBuffer = silence_.data();
        context_.fFrameCount = frameCount;
        context_.fVariableBlockSize = variableBlockSize;
    }

    int32_t Render (PlugInRenderCallback callback) { return callback (instance_.data(), &context_); }

    float* Buffer (size_t channel) { return buffers_[channel].data(); }
    float* Cell (size_t channel) const { return cells_[channel]; }
    bool IsSilent (size_t channel) const { return cells_[channel] == silence_.data(); }
    const SRenderContext& Context() const { return context_; }

private:
    std::vector<std::vector<float>> buffers_;
    std::vector<RenderChannelCell> cells_;
    std::vector<uint32_t> instance_;
    SRenderContext context_ {};
    std::array<float, 64> silence_ {};
};

// An adaptor whose data block the fake tracker published into a block of its own.
struct PublishedAdaptor
{
    PublishedAdaptor (FakeObjectTracker& tracker, FakeAdaptorProcess& process, PlugInRenderCallback callback = nullptr)
    {
        tracker.hostBlock = hostBlock.data();
        adaptor = std::make_unique<CAdaptorPlugIn> (SPlugInSpec {}, process, process.InputRecords(),
                                                    process.OutputRecords(), callback);
        adaptor->Register();
    }

    alignas (8) std::array<int32_t, 7> hostBlock {};
    std::unique_ptr<CAdaptorPlugIn> adaptor;
};
}

TEST_F (AdaptorTest, TheWorkersCallbackIsThePassedOneOrTheDefaultTheCardInformationChooses)
{
    struct Case
    {
        const char* what;
        int32_t key38;
        PlugInRenderCallback passed;
        PlugInRenderCallback expected;
    };
    const Case cases[] = {
        { "none passed, key 38 answers 0", 0, nullptr, &CAdaptorPlugIn::RenderCallbackAlt },
        { "none passed, key 38 answers 1", 1, nullptr, &CAdaptorPlugIn::RenderCallback },
        { "passed, key 38 answers 1", 1, &ProcessCallback, &ProcessCallback },
        { "passed, key 38 answers 0", 0, &ProcessCallback, &ProcessCallback },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        type.cardInfo = { { 38, c.key38 } };
        FakeAdaptorProcess process (&type);
        const auto adaptor = MakeAdaptor (process, c.passed);
        EXPECT_EQ (adaptor->GetWorker().GetRenderCallback(), c.expected);
        EXPECT_TRUE (adaptor->GetWorkerList().Contains (&adaptor->GetWorker()));
        EXPECT_TRUE (adaptor->GetWorker().GetDataBlocks().Contains (&adaptor->GetCustomData()));
    }
}

TEST_F (AdaptorTest, PortsAreNumberedFromOneAndTheLastInputIsTheSideChain)
{
    struct Case
    {
        int32_t sideChain;
        std::vector<int32_t> inputs;
    };
    const Case cases[] = {
        { 0, { 1, 2 } },
        { 3, { 1, 2, 3 } },
        { 5, { 1, 2, 5 } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.sideChain);
        type.cardInfo = { { 5, c.sideChain } };
        FakeAdaptorProcess process (&type, 2, 2);
        const auto adaptor = MakeAdaptor (process);
        EXPECT_EQ (PortNumbers (adaptor->GetInputList()), c.inputs);
        EXPECT_EQ (PortNumbers (adaptor->GetOutputList()), (std::vector<int32_t> { 1, 2 }));
        EXPECT_EQ (adaptor->GetNumInputPorts(), static_cast<int16_t> (c.inputs.size()));
        EXPECT_EQ (adaptor->GetNumOutputPorts(), 2);
        EXPECT_EQ (DataWords (*adaptor), (std::vector<int32_t> { WordOfPointer (&process), WordOfPointer (process.InputRecords()),
                                                                 WordOfPointer (process.OutputRecords()), 2, 2, c.sideChain, 0 }));
    }
}

TEST_F (AdaptorTest, ExtraStemsThatArePresentAddTheirChannelsAndInputsGrowToTheOutputs)
{
    SFicPlugInStemInfo stereo {};
    stereo.fPresent = 1;
    stereo.fStemFormatIndex = 1;
    SFicPlugInStemInfo absent {};
    absent.fStemFormatIndex = 10;
    SFicPlugInStemInfo quad {};
    quad.fPresent = 1;
    quad.fStemFormatIndex = 3;
    type.stems = { stereo, absent, quad };
    type.cardInfo = { { 41, 1 } };
    {
        FakeAdaptorProcess process (&type, 1, 2, 8);
        const auto adaptor = MakeAdaptor (process);
        // 1 + 6 inputs grow to the 2 + 6 outputs.
        EXPECT_EQ (adaptor->GetNumInputPorts(), 8);
        EXPECT_EQ (adaptor->GetNumOutputPorts(), 8);
        EXPECT_EQ (adaptor->GetCustomData().fNumInputs.Get(), 8);
        EXPECT_EQ (type.idsAsked, (std::vector<int32_t> { 7, 7, 7, 7 }));
    }

    type.cardInfo = { { 41, 0 } };
    FakeAdaptorProcess process (&type, 1, 2);
    const auto adaptor = MakeAdaptor (process);
    EXPECT_EQ (adaptor->GetNumInputPorts(), 1) << "without key 41 neither stems nor growth";
    EXPECT_EQ (adaptor->GetNumOutputPorts(), 2);
}

TEST_F (AdaptorTest, TheNameIsTheTypesNameCutToSixtyThreeCharactersOrUnknown)
{
    FakeAdaptorProcess named (&type);
    EXPECT_STREQ (MakeAdaptor (named)->GetName(), "Compressor");

    type.SetName (std::string (200, 'n'));
    FakeAdaptorProcess longName (&type);
    EXPECT_EQ (std::string (MakeAdaptor (longName)->GetName()), std::string (63, 'n'));

    type.nameResult = -7401;
    FakeAdaptorProcess failing (&type);
    EXPECT_STREQ (MakeAdaptor (failing)->GetName(), "<unknown>");

    FakeAdaptorProcess typeless (nullptr);
    const auto adaptor = MakeAdaptor (typeless);
    EXPECT_STREQ (adaptor->GetName(), "<unknown>");
    EXPECT_EQ (adaptor->GetWorker().GetRenderCallback(), &CAdaptorPlugIn::RenderCallbackAlt);
}

TEST_F (AdaptorTest, VariableBlocksNeedTheTypesKeyAndTheEnginesAnswer)
{
    struct Case
    {
        const char* what;
        int32_t key48;
        std::optional<int32_t> engine;
        int32_t flag;
    };
    const Case cases[] = {
        { "key 48 not set", 0, 1, 0 },
        { "engine answers 1", 1, 1, 1 },
        { "engine answers 0", 1, 0, 0 },
        { "engine does not know 'vqta'", 1, std::nullopt, 0 },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        dae.reset();
        if (c.engine)
            dae.setGestalt (kFicGestaltVariableQuanta, *c.engine);
        type.cardInfo = { { 48, c.key48 } };
        FakeAdaptorProcess process (&type);
        EXPECT_EQ (MakeAdaptor (process)->GetCustomData().fVariableBlock.Get(), c.flag);
    }
}

TEST_F (AdaptorTest, AFailedCountOrStemLeavesNothingBehind)
{
    FakeObjectTracker tracker;
    FakeAdaptorProcess failing (&type);
    failing.countResult = -7126;
    EXPECT_EQ (ThrownInteger<int32_t> ([&] { MakeAdaptor (failing); }), -7126);

    SFicPlugInStemInfo badFormat {};
    badFormat.fPresent = 1;
    badFormat.fStemFormatIndex = 11;
    type.stems = { badFormat };
    type.cardInfo = { { 41, 1 } };
    FakeAdaptorProcess process (&type);
    int32_t error = 0;
    try
    {
        MakeAdaptor (process);
    }
    catch (const CDAEError& e)
    {
        error = e.Code();
    }
    EXPECT_EQ (error, -7401);

    const int registered = tracker.CountOf ('r');
    const int unregistered = tracker.CountOf ('u');
    EXPECT_GT (registered, 0);
    EXPECT_EQ (unregistered, registered);
}

TEST_F (AdaptorTest, DestructionPublishesThePlugInAgainWithoutItsPorts)
{
    FakeObjectTracker tracker;
    FakeAdaptorProcess process (&type);
    void* address = nullptr;
    {
        const auto adaptor = MakeAdaptor (process);
        address = adaptor.get();
        adaptor->Register();
        tracker.calls.clear();
    }
    const auto publications = tracker.PublicationsOf (address);
    ASSERT_EQ (publications.size(), 3u);
    // {1, spec, no inputs, no outputs, the worker}.
    EXPECT_EQ (publications[1].size(), 10u);
    EXPECT_EQ (std::vector<int32_t> (publications[1].begin() + 6, publications[1].begin() + 9),
               (std::vector<int32_t> { 0, 0, 1 }));
    const int registered = tracker.CountOf ('r');
    const int unregistered = tracker.CountOf ('u');
    EXPECT_EQ (registered, 0);
    EXPECT_EQ (unregistered, 7) << "two inputs, two outputs, the data, the worker, the plug-in";
}

TEST_F (AdaptorTest, TheDefaultCallbackFillsTheRecordsAndRendersWithTheFrameCount)
{
    FakeObjectTracker tracker;
    type.cardInfo = { { 5, 3 } };
    FakeAdaptorProcess process (&type, 2, 2, 4);
    PublishedAdaptor published (tracker, process, &CAdaptorPlugIn::RenderCallback);
    ASSERT_EQ (published.adaptor->GetCustomData().PublishedBlock(), published.hostBlock.data());

    // Two inputs, the side-chain, two outputs.
    EngineBlock block (published.hostBlock.data(), 5, 512, 128);
    EXPECT_EQ (block.Render (&CAdaptorPlugIn::RenderCallback), 0);
    for (int32_t i = 0; i < 2; ++i)
    {
        EXPECT_EQ (process.Input (i).fBuffer, block.Buffer (static_cast<size_t> (i)));
        EXPECT_EQ (process.Input (i).fSampleCount, 32) << "a fixed block of 32 samples";
        EXPECT_EQ (process.Output (i).fBuffer, block.Buffer (static_cast<size_t> (3 + i)));
        EXPECT_EQ (process.Output (i).fSampleCount, 32);
    }
    EXPECT_EQ (process.Input (2).fBuffer, block.Buffer (2)) << "the side-chain's record is input record 3";
    ASSERT_EQ (process.renders.size(), 1u);
    EXPECT_EQ (process.renders[0].fFrameCount, 512);
    EXPECT_EQ (process.renders[0].fContext, &block.Context());
    EXPECT_EQ (process.renderedMarks, 1);
    EXPECT_EQ (block.Cell (3), block.Buffer (3));
    EXPECT_EQ (block.Cell (4), block.Buffer (4));
}

TEST_F (AdaptorTest, WithTheVariableBlockFlagTheRecordsTakeTheEnginesBlockSize)
{
    FakeObjectTracker tracker;
    dae.setGestalt (kFicGestaltVariableQuanta, 1);
    type.cardInfo = { { 48, 1 } };
    FakeAdaptorProcess process (&type, 1, 1);
    PublishedAdaptor published (tracker, process);
    EngineBlock block (published.hostBlock.data(), 2, 100, 100);
    EXPECT_EQ (block.Render (&CAdaptorPlugIn::RenderCallback), 0);
    EXPECT_EQ (process.Input (0).fSampleCount, 100);
    EXPECT_EQ (process.Output (0).fSampleCount, 100);
}

TEST_F (AdaptorTest, TheAlternativeCallbackGivesOutputsNoCountAndRendersWithFrameCountZero)
{
    FakeObjectTracker tracker;
    FakeAdaptorProcess process (&type, 1, 2);
    PublishedAdaptor published (tracker, process);
    EngineBlock block (published.hostBlock.data(), 3, 256, 0);
    EXPECT_EQ (block.Render (published.adaptor->GetWorker().GetRenderCallback()), 0);
    EXPECT_EQ (process.Input (0).fSampleCount, 32);
    EXPECT_EQ (process.Output (0).fBuffer, block.Buffer (1));
    EXPECT_EQ (process.Output (0).fSampleCount, 0);
    EXPECT_EQ (process.Output (1).fBuffer, block.Buffer (2));
    ASSERT_EQ (process.renders.size(), 1u);
    EXPECT_EQ (process.renders[0].fFrameCount, 0);
    EXPECT_EQ (process.renderedMarks, 1);
}

TEST_F (AdaptorTest, WhatCannotBeRenderedIsSilence)
{
    struct Case
    {
        const char* what;
        PlugInRenderCallback callback;
        std::function<void (FakeAdaptorProcess&)> damage;
        bool renders;
        std::vector<bool> silent; // per output
    };
    const auto alt = &CAdaptorPlugIn::RenderCallbackAlt;
    const auto main = &CAdaptorPlugIn::RenderCallback;
    const Case cases[] = {
        { "render fails", main, [] (FakeAdaptorProcess& p) { p.renderResult = -7401; }, true, { true, true } },
        { "render throws", main, [] (FakeAdaptorProcess& p) { p.throwsWhileRendering = true; }, true, { true, true } },
        { "alternative render fails", alt, [] (FakeAdaptorProcess& p) { p.renderResult = -1; }, true, { true, true } },
        { "no first output record", main, [] (FakeAdaptorProcess& p) { p.RemoveOutputRecord (0); }, false, { true, true } },
        { "a later output record missing", main, [] (FakeAdaptorProcess& p) { p.RemoveOutputRecord (1); }, true, { false, true } },
        { "an input record missing", main, [] (FakeAdaptorProcess& p) { p.RemoveInputRecord (1); }, true, { false, false } },
        { "alternative: an input record missing", alt, [] (FakeAdaptorProcess& p) { p.RemoveInputRecord (1); }, false, { true, true } },
        { "alternative: an output record missing", alt, [] (FakeAdaptorProcess& p) { p.RemoveOutputRecord (1); }, false, { true, true } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.what);
        FakeObjectTracker tracker;
        FakeAdaptorProcess process (&type, 2, 2);
        PublishedAdaptor published (tracker, process);
        c.damage (process);
        EngineBlock block (published.hostBlock.data(), 4, 64, 0);
        const int32_t result = block.Render (c.callback);
        EXPECT_EQ (process.renders.size(), c.renders ? 1u : 0u);
        EXPECT_EQ (result == 0, c.renders && process.renderResult == 0 && ! process.throwsWhileRendering);
        EXPECT_FALSE (block.IsSilent (0));
        EXPECT_FALSE (block.IsSilent (1));
        for (size_t i = 0; i < c.silent.size(); ++i)
            EXPECT_EQ (block.IsSilent (2 + i), c.silent[i]) << "output " << i;
    }
}

TEST_F (AdaptorTest, RenderingNeverReadsPastTheProcesssConnectionSlots)
{
    // Two inputs, two outputs and a side-chain at 3, but records for one slot only (the arrays
    // hold exactly one entry each, so a read past them is caught by the sanitizers).
    type.cardInfo = { { 5, 3 } };
    for (const auto callback : { &CAdaptorPlugIn::RenderCallback, &CAdaptorPlugIn::RenderCallbackAlt })
    {
        FakeObjectTracker tracker;
        FakeAdaptorProcess process (&type, 2, 2, 1);
        PublishedAdaptor published (tracker, process);
        EngineBlock block (published.hostBlock.data(), 5, 64, 0);
        block.Render (callback);
        EXPECT_EQ (process.Input (0).fBuffer, block.Buffer (0));
        EXPECT_TRUE (block.IsSilent (4)) << "the output beyond the slots got nothing";
    }
}

TEST_F (AdaptorTest, ACallWithoutRecordsOrDataBlockIsRefused)
{
    SRenderContext context {};
    std::array<uint32_t, 3> instance {};
    EXPECT_EQ (CAdaptorPlugIn::RenderCallback (instance.data(), &context), kAdaptorNotRendered);
    EXPECT_EQ (CAdaptorPlugIn::RenderCallbackAlt (nullptr, &context), kAdaptorNotRendered);
    EXPECT_EQ (CAdaptorPlugIn::RenderCallback (instance.data(), nullptr), kAdaptorNotRendered);
}

TEST_F (AdaptorTest, SetConnectionBuffersStopsAtTheFirstMissingRecord)
{
    SConnectionRecord first {}, third {};
    SConnectionRecord* records[] = { &first, nullptr, &third };
    float a = 0, b = 0, c = 0;
    RenderChannelCell cells[] = { &a, &b, &c };
    RenderChannelCell* cellPointers[] = { &cells[0], &cells[1], &cells[2] };
    EXPECT_FALSE (CAdaptorPlugIn::SetConnectionBuffers (records, cellPointers, 3, 16));
    EXPECT_EQ (first.fBuffer, &a);
    EXPECT_EQ (first.fSampleCount, 16);
    EXPECT_EQ (third.fBuffer, nullptr);
    EXPECT_TRUE (CAdaptorPlugIn::SetConnectionBuffers (records, cellPointers, 1, 0));
}
