// Blocks the engine hands the wrapper's process without a buffer for one of its channels, in this
// process with the stand-in engine linked: a missing cell, a cell without a buffer, a layout with
// fewer channels than the process has. The block is not rendered, every output that has a cell
// points at the engine's silence, nothing of an earlier block is used, and the next good block
// renders as if the bad one had never come.
#include "KestruneAudioProcessor.h"
#include "WrapperTestSupport.h"

#include <entry/adaptor/CAdaptorPlugIn.h>
#include <entry/adaptor/S_RTASP_CustomDataAdmin.h>

#include <cstring>
#include <optional>

namespace
{
using namespace wrapper_test;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using Word = S_RTASP_CustomDataAdmin::EWord;

constexpr int kChannels = 2;
constexpr int kFrames = EngineBlock::kFrames;

class RenderBuffers : public InProcessPlugIn
{
protected:
    void SetUp() override
    {
        InProcessPlugIn::SetUp();
        Start (false);
        ASSERT_NE (process->GetAdaptor(), nullptr);
        const auto plugIn = tracker.plugIn (process->GetAdaptor());
        ASSERT_TRUE (plugIn && ! plugIn->workers.empty());
        worker = plugIn->workers[0];
        const auto found = tracker.worker (worker);
        ASSERT_TRUE (found && ! found->dataObjects.empty());
        published = static_cast<uint8_t*> (tracker.dataBlock (found->dataObjects.front()));
        ASSERT_NE (published, nullptr);
        ASSERT_EQ (S_RTASP_CustomDataAdmin::ReadWord (published, Word::kSideChainIndex), 0);
        direct.emplace();
        direct->setPlayConfigDetails (kChannels, kChannels, process->GetSampleRate(), JucePlugInProcess::kPreparedBlockSize);
        direct->prepareToPlay (process->GetSampleRate(), JucePlugInProcess::kPreparedBlockSize);
    }

    int32_t Render (EngineBlock& block) { return tracker.render (worker, block.addresses, kFrames, kFrames); }

    // A good block through the process and the same samples through the processor directly: the
    // two give the same outputs.
    void RendersAsTheProcessor (int start)
    {
        EngineBlock block (kChannels, kChannels, start);
        ASSERT_EQ (Render (block), 0);
        juce::AudioBuffer<float> expected (kChannels, kFrames);
        for (int c = 0; c < kChannels; ++c)
            expected.copyFrom (c, 0, block.buffers[size_t (c)].data(), kFrames);
        juce::MidiBuffer midi;
        direct->processBlock (expected, midi);
        for (int c = 0; c < kChannels; ++c)
            for (int i = 0; i < kFrames; ++i)
                ASSERT_EQ (block.cells[size_t (kChannels + c)][i], expected.getSample (c, i)) << "block at " << start << ", " << c << ", " << i;
    }

    void SetWord (Word word, int32_t value) { std::memcpy (published + word * 4, &value, sizeof value); }

    void* worker = nullptr;
    uint8_t* published = nullptr;
    std::optional<KestruneAudioProcessor> direct;
};

TEST_F (RenderBuffers, ABlockWithAChannelWithoutItsBufferIsSilence)
{
    const struct
    {
        const char* name;
        int inputs; // as the layout gives them
        int outputs;
        int missingCell; // -1 for none
        int nullBuffer; // -1 for none
    } cases[] = {
        { "a missing input cell", 2, 2, 0, -1 },
        { "a missing output cell", 2, 2, 3, -1 },
        { "an input cell without a buffer", 2, 2, -1, 1 },
        { "an output cell without a buffer", 2, 2, -1, 2 },
        { "a layout with one input", 1, 2, -1, -1 },
        { "a layout with one output", 2, 1, -1, -1 },
        { "a layout with no channels", 0, 0, -1, -1 },
    };
    int start = 0;
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        // Every buffer of the earlier block is freed before the bad block comes.
        RendersAsTheProcessor (start);
        start += kFrames;

        SetWord (Word::kNumInputs, c.inputs);
        SetWord (Word::kNumOutputs, c.outputs);
        EngineBlock bad (c.inputs, c.outputs, start);
        if (c.missingCell >= 0)
            bad.addresses[size_t (c.missingCell)] = nullptr;
        if (c.nullBuffer >= 0)
            bad.cells[size_t (c.nullBuffer)] = nullptr;
        EXPECT_EQ (Render (bad), kAdaptorNotRendered);
        for (int o = 0; o < c.outputs; ++o)
        {
            const size_t cell = size_t (c.inputs + o);
            if (bad.addresses[cell] == nullptr)
                continue;
            EXPECT_EQ (bad.cells[cell], tracker.silentBuffer()) << "output " << o;
            for (float sample : bad.buffers[cell])
                ASSERT_EQ (sample, 0.0f) << "output " << o << " was written";
        }
        for (int i = 0; i < c.inputs; ++i)
        {
            const float* kept = i == c.nullBuffer ? nullptr : bad.buffers[size_t (i)].data();
            if (bad.addresses[size_t (i)] != nullptr)
            {
                EXPECT_EQ (bad.cells[size_t (i)], kept) << "inputs are left as they are";
            }
        }

        SetWord (Word::kNumInputs, kChannels);
        SetWord (Word::kNumOutputs, kChannels);
    }
    RendersAsTheProcessor (start);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
} // namespace
