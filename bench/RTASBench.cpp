// The render callback of KESTrune.dpm's stereo instance at 48 kHz, default settings, loaded by
// the stand-in engine and toolbox: called as the engine calls it (the instance and context
// records of the block made once, the callback called for every block), and through the stand-in
// engine's whole render call. Set beside processBlock on the same blocks (EngineBench.cpp), the
// first gives the wrapper's overhead.
#include "BenchSupport.h"

#include <HostedPlugIn.h>

#include <array>
#include <cstring>
#include <optional>
#include <stdexcept>
#include <vector>

namespace
{
using namespace bench;
using namespace kestrune::host::rtas;

constexpr int channels = 2;

// The plug-in opened without views and one stereo instance made at the benchmarks' rate. Throws
// std::runtime_error when the plug-in does not start or refuses the instance.
class DpmInstance
{
public:
    DpmInstance() : loader ({ KESTRUNE_DAE_PATH, KESTRUNE_HOSTEXT_PATH, KESTRUNE_PLUGIN_PATH, KESTRUNE_DSI_PATH, KESTRUNE_DSP_MANAGER_PATH })
    {
        if (! loader.loadHost() || ! loader.loadPlugIn())
            throw std::runtime_error ("the stand-in engine or KESTrune.dpm does not load");
        loader.engine().script().setRecording (false);
        loader.objectTracker().script().setRecording (false);
        if (loader.open (StartUpRoad::kWinPlugInOpen) != 0)
        {
            loader.close (StartUpRoad::kWinPlugInOpen);
            throw std::runtime_error ("KESTrune.dpm does not open");
        }
        try
        {
            plugIn.emplace (loader);
            plugIn->SetSampleRate (int32_t (sampleRate));
            const HostedType* stereo = plugIn->TypeFor (channels);
            if (stereo == nullptr)
                throw std::runtime_error ("KESTrune.dpm has no stereo type");
            process.emplace (*plugIn, *stereo);
        }
        catch (...)
        {
            process.reset();
            loader.close (StartUpRoad::kWinPlugInOpen);
            throw;
        }
    }

    ~DpmInstance()
    {
        process.reset();
        loader.close (StartUpRoad::kWinPlugInOpen);
    }

    PlugInLoader loader;
    std::optional<HostedPlugIn> plugIn;
    std::optional<HostedProcess> process;
};

// The engine's records of one block: the instance record (its published block and a cell per
// channel, inputs then outputs) and the context record (its silent buffer and frame counts).
struct EngineRecords
{
    EngineRecords (void* userData, const float* silence, int blockSize)
        : outputs (size_t (channels), std::vector<float> (size_t (blockSize)))
    {
        instance.fill (0);
        instance[offsetof (SRenderInstance, fUserData) / 4] = uint32_t (reinterpret_cast<uintptr_t> (userData));
        context.fSilentBuffer = const_cast<float*> (silence);
        context.fFrameCount = blockSize;
        context.fVariableBlockSize = blockSize;
    }

    // Points the cells at this block's buffers again (the plug-in may point an output at silence).
    void setCells (const juce::AudioBuffer<float>& block)
    {
        for (int c = 0; c < channels; ++c)
        {
            cells[size_t (c)] = const_cast<float*> (block.getReadPointer (c));
            cells[size_t (channels + c)] = outputs[size_t (c)].data();
        }
        for (size_t i = 0; i < cells.size(); ++i)
            instance[sizeof (SRenderInstance) / 4 + i] = uint32_t (reinterpret_cast<uintptr_t> (&cells[i]));
    }

    std::array<RenderChannelCell, 2 * channels> cells {};
    std::array<uint32_t, sizeof (SRenderInstance) / 4 + 2 * channels> instance {};
    SRenderContext context {};
    std::vector<std::vector<float>> outputs;
};

void runRTAS (benchmark::State& state, bool throughStandInEngine)
{
    const int blockSize = blockSizeOf (state);
    std::optional<DpmInstance> dpm;
    try
    {
        dpm.emplace();
    }
    catch (const std::exception& error)
    {
        state.SkipWithError (error.what());
        return;
    }
    auto& tracker = dpm->loader.objectTracker();
    HostedProcess& process = *dpm->process;
    const PlugInRenderCallback callback = process.Callback();
    if (callback == nullptr || process.CallbackData() == nullptr)
    {
        state.SkipWithError ("KESTrune.dpm published no render callback");
        return;
    }
    EngineRecords records (process.CallbackData(), tracker.silentBuffer(), blockSize);
    std::vector<RenderChannelCell*> cellPointers;
    for (auto& cell : records.cells)
        cellPointers.push_back (&cell);
    int32_t failures = 0;
    runBlocks (state, channels, blockSize, [&] (juce::AudioBuffer<float>& block) {
        records.setCells (block);
        const int32_t result = throughStandInEngine ? tracker.render (process.Worker(), cellPointers, blockSize, blockSize)
                                                    : callback (records.instance.data(), &records.context);
        failures += result != 0 ? 1 : 0;
        benchmark::DoNotOptimize (records.cells[channels]);
    });
    if (failures != 0)
        state.SkipWithError ("the render callback failed");
}

void BM_RTASRenderCallback (benchmark::State& state) { runRTAS (state, false); }
void BM_RTASStandInEngineBlock (benchmark::State& state) { runRTAS (state, true); }

BENCHMARK (BM_RTASRenderCallback)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
BENCHMARK (BM_RTASStandInEngineBlock)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
} // namespace
