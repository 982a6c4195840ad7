// KESTrune.dpm's instances as the engine drives them through the routines: the master bypass and
// one control per parameter with their names and texts, host automation reaching the processor,
// and audio through the render callback that the instance's adaptor published, against the
// processor run directly.
#include "DpmTestSupport.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <latch>
#include <thread>

namespace
{
using namespace dpm_test;

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

using DpmInstance = DpmTest;

TEST_F (DpmInstance, HasTheMasterBypassAndOneControlPerParameter)
{
    Open();
    for (const int channels : { 1, 2 })
    {
        HostedProcess& process = Make (channels);
        KestruneAudioProcessor reference;
        ASSERT_EQ (process.NumControls(), 1 + kParameters);
        EXPECT_EQ (process.MasterBypassControlIndex(), 1);
        EXPECT_EQ (process.ControlName (1), "Master Bypass");
        EXPECT_EQ (process.ControlValue (1), int32_t (0x80000000));
        EXPECT_EQ (process.ControlText (1, process.ControlValue (1)), "Off");
        EXPECT_EQ (process.ControlText (1, 0x7FFFFFFF), "On");
        for (int parameter = 0; parameter < kParameters; ++parameter)
        {
            const int32_t control = parameter + kFirstParameterControl;
            SCOPED_TRACE (control);
            EXPECT_EQ (process.ControlName (control), reference.getParameterName (parameter).toStdString());
            const int32_t value = process.ControlValue (control);
            EXPECT_NEAR (ControlValueToFraction (value), reference.getParameter (parameter), 1.0e-9);
            // The processor's own text for the current value; a number for any other value.
            EXPECT_EQ (process.ControlText (control, value), reference.getParameterText (parameter).substring (0, 31).toStdString());
            const bool low = ControlValueToFraction (value) < 0.5;
            EXPECT_EQ (process.ControlText (control, FractionToControlValue (low ? 0.875 : 0.125)), low ? "0.875" : "0.125");
            int16_t automatable = 0;
            process.Require (RoutineSelector::kIsControlAutomatable, { RoutineWord (control), RoutineWord (&automatable) }, "automatable");
            EXPECT_EQ (automatable != 0, reference.isParameterAutomatable (parameter));
            int32_t steps = 0;
            process.Require (RoutineSelector::kControlStepCount, { RoutineWord (control), RoutineWord (&steps) }, "steps");
            EXPECT_EQ (steps, reference.getParameterNumSteps (parameter));
        }
        int32_t latency = -1;
        process.Require (RoutineSelector::kLatency, { RoutineWord (&latency) }, "latency");
        EXPECT_EQ (latency, 0);
    }
}

// Control 5 is parameter 3 (Ratio): the host's value reaches the processor, which then compresses
// as the processor set directly does; the control shows the processor's text for it.
TEST_F (DpmInstance, HostAutomationOfControl5LandsInParameter3)
{
    Open();
    HostedProcess& process = Make (2);
    const int32_t value = FractionToControlValue (0.9);
    process.UpdateControlValue (5, value);
    EXPECT_EQ (process.ControlValue (5), value);

    DirectProcessor direct (2);
    direct.processor.setParameter (KestruneAudioProcessor::ratioParam, float (ControlValueToFraction (value)));
    EXPECT_EQ (process.ControlText (5, value), direct.processor.getParameterText (KestruneAudioProcessor::ratioParam).toStdString());
    EXPECT_EQ (StateText (process.SaveChunk (kStateChunk)), StateTextOf (direct.processor));

    const auto program = Program (2, 12000);
    EXPECT_TRUE (SameSamples (RenderThrough (process, program, { 512 }), ProcessDirectly (direct, program, { 512 })));
}

// Updates for controls the process does not have change nothing, and the counter of changes still
// counts them as the library does.
TEST_F (DpmInstance, UpdatesBeyondTheParametersAreIgnored)
{
    Open();
    HostedProcess& process = Make (1);
    const auto before = process.SaveChunk (kStateChunk);
    for (const int32_t control : { 0, 12, 13, 1000, -1, int32_t (0x7FFFFFFF), int32_t (0x80000000) })
        process.UpdateControlValue (control, 0x12345678);
    EXPECT_EQ (process.SaveChunk (kStateChunk), before);
    for (int32_t control = 2; control <= 11; ++control)
        EXPECT_NE (process.ControlValue (control), 0x12345678) << control;
}

// The render callback gives what processBlock gives on the same blocks: mono and stereo, short,
// odd and long blocks (longer than the processor was prepared for), settings that use every stage.
TEST_F (DpmInstance, AudioThroughTheRenderCallbackEqualsTheProcessor)
{
    Open();
    const struct
    {
        const char* name;
        int channels;
        std::vector<int> blocks;
        std::vector<std::pair<int, float>> settings;
    } cases[] = {
        { "mono, 512", 1, { 512 }, {} },
        { "stereo, 32", 2, { 32 }, {} },
        { "stereo, odd and long blocks", 2, { 31, 1, 1500, 4096, 700 }, {} },
        { "stereo, every stage", 2, { 256, 3000 }, { { 0, 0.05f }, { 2, 0.2f }, { 3, 0.8f }, { 5, 0.4f }, { 6, 0.9f }, { 7, 0.9f }, { 8, 0.7f } } },
        { "mono, the processor's own bypass", 1, { 128 }, { { 9, 1.0f } } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE (c.name);
        HostedProcess& process = Make (c.channels);
        DirectProcessor direct (c.channels);
        for (const auto& [parameter, value] : c.settings)
        {
            const int32_t control = FractionToControlValue (value);
            process.UpdateControlValue (parameter + kFirstParameterControl, control);
            direct.processor.setParameter (parameter, float (ControlValueToFraction (control)));
        }
        const auto program = Program (c.channels, 20000);
        const auto rendered = RenderThrough (process, program, c.blocks);
        const auto expected = ProcessDirectly (direct, program, c.blocks);
        float largest = 0.0f;
        for (int ch = 0; ch < c.channels; ++ch)
            for (int i = 0; i < program.getNumSamples(); ++i)
                largest = std::max (largest, std::abs (rendered.getSample (ch, i) - expected.getSample (ch, i)));
        EXPECT_EQ (largest, 0.0f);
        EXPECT_GT (rendered.getMagnitude (0, program.getNumSamples()), 0.01f);
    }
}

// The master bypass, by the host's bypass routine or by its control, gives the input back; off
// again, the processor compresses.
TEST_F (DpmInstance, MasterBypassGivesTheInput)
{
    Open();
    HostedProcess& process = Make (2);
    const auto program = Program (2, 4096);
    const auto equalsInput = [&] (const juce::AudioBuffer<float>& out) { return bool (SameSamples (out, program)); };
    process.SetMasterBypass (true);
    EXPECT_TRUE (process.IsMasterBypassed());
    EXPECT_EQ (process.ControlValue (1), 0x7FFFFFFF);
    EXPECT_TRUE (equalsInput (RenderThrough (process, program, { 512 })));

    process.SetMasterBypass (false);
    EXPECT_FALSE (process.IsMasterBypassed());
    EXPECT_FALSE (equalsInput (RenderThrough (process, program, { 512 })));

    process.UpdateControlValue (1, 0x7FFFFFFF);
    EXPECT_TRUE (equalsInput (RenderThrough (process, program, { 64 })));
}

// A new rate prepares the processor for it: the instance then compresses as a processor prepared
// for that rate does.
TEST_F (DpmInstance, ANewSampleRatePreparesTheProcessor)
{
    Open();
    HostedProcess& process = Make (1, 44100.0);
    plugIn->SetSampleRate (96000);
    DirectProcessor direct (1, 96000.0);
    const auto program = Program (1, 9000);
    EXPECT_TRUE (SameSamples (RenderThrough (process, program, { 512 }), ProcessDirectly (direct, program, { 512 })));
}

// Made while the host's rate is 0, the instance is not prepared and passes its input through;
// the first rate above 0 prepares it, and it then compresses as a processor prepared for that
// rate does.
TEST_F (DpmInstance, AFirstValidRateAfterRate0PreparesTheProcessor)
{
    Open();
    HostedProcess& process = Make (2, 0.0);
    const auto program = Program (2, 9000);
    EXPECT_TRUE (SameSamples (RenderThrough (process, program, { 512 }), program));

    plugIn->SetSampleRate (int32_t (kRate));
    DirectProcessor direct (2, kRate);
    EXPECT_TRUE (SameSamples (RenderThrough (process, program, { 512 }), ProcessDirectly (direct, program, { 512 })));
}

// Blocks run on the engine's thread while the host thread changes the rate, restores the state
// chunk and automates parameters: both start together, blocks render alongside every change
// (each change waits, for a while at most, until one has), every block renders, and its samples
// are finite. (The sanitized i386 build checks the memory the two threads share.)
TEST_F (DpmInstance, BlocksRunWhileTheHostChangesRateStateAndControls)
{
    Open();
    HostedProcess& process = Make (2);
    const auto saved = process.SaveChunk (kStateChunk);
    const auto program = Program (2, 256);
    std::latch start (2);
    std::atomic<bool> running { true };
    std::atomic<int> blocks { 0 };
    bool allRendered = true;
    bool allFinite = true;
    std::thread audio ([&] {
        std::vector<const float*> inputs { program.getReadPointer (0), program.getReadPointer (1) };
        juce::AudioBuffer<float> out (2, 256);
        start.arrive_and_wait();
        while (running.load())
        {
            allRendered = process.Render (inputs.data(), out.getArrayOfWritePointers(), 256) == 0 && allRendered;
            for (int c = 0; c < 2; ++c)
                for (int i = 0; i < 256; ++i)
                    allFinite = allFinite && std::isfinite (out.getSample (c, i));
            ++blocks;
        }
    });
    const int32_t rates[] = { 96000, 44100, 88200, int32_t (kRate) };
    constexpr int kChanges = 40;
    int changesWithBlocks = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds (60);
    start.arrive_and_wait();
    for (int change = 0; change < kChanges; ++change)
    {
        const int before = blocks.load();
        plugIn->SetSampleRate (rates[change % 4]);
        EXPECT_EQ (process.RestoreChunk (saved), 0);
        for (int32_t control = kFirstParameterControl; control < kFirstParameterControl + kParameters; ++control)
            process.UpdateControlValue (control, FractionToControlValue (double ((change + control) % 7) / 6.0));
        while (blocks.load() == before && std::chrono::steady_clock::now() < deadline)
            std::this_thread::yield();
        changesWithBlocks += blocks.load() > before ? 1 : 0;
    }
    running = false;
    audio.join();
    EXPECT_EQ (changesWithBlocks, kChanges);
    EXPECT_TRUE (allRendered);
    EXPECT_TRUE (allFinite);
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
} // namespace
