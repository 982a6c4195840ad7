// The render callback of KESTrune.dpm's stereo instance at 48 kHz, default settings, loaded by
// the stand-in engine and toolbox: called as the engine calls it (the instance and context
// records of the block made once, the callback called for every block), and through the stand-in
// engine's whole render call. Set beside processBlock on the same blocks (EngineBench.cpp), the
// first gives the wrapper's overhead.
#include "BenchSupport.h"

#include <PlugInLoader.h>

#include <array>
#include <cstring>
#include <optional>
#include <vector>

namespace
{
using namespace bench;
using namespace kestrune::host::rtas;

constexpr uint32_t stereoTypeID = 0x6A636162; // 'jcab'
constexpr int channels = 2;

// The routines the engine calls to start the plug-in and make its instance.
constexpr uint32_t setSampleRateSelector = 7;
constexpr uint32_t hostCallbackSelector = 14;
constexpr uint32_t createProcessSelector = 19;
constexpr uint32_t deleteProcessSelector = 20;

uint32_t word (const void* pointer)
{
    return uint32_t (reinterpret_cast<uintptr_t> (pointer));
}

// The plug-in opened without views, its host callback given, one stereo instance made; the
// published worker of that instance, its callback and the block the engine hands it.
class DpmInstance
{
public:
    DpmInstance() : loader ({ KESTRUNE_DAE_PATH, KESTRUNE_HOSTEXT_PATH, KESTRUNE_PLUGIN_PATH, KESTRUNE_DSI_PATH, KESTRUNE_DSP_MANAGER_PATH })
    {
        if (! loader.loadHost() || ! loader.loadPlugIn() || loader.open (StartUpRoad::kWinPlugInOpen) != 0)
            return;
        opened = true;
        auto& tracker = loader.objectTracker();
        tracker.script().setRecording (false);
        loader.engine().script().setRecording (false);
        if (loader.call (hostCallbackSelector, { word (reinterpret_cast<const void*> (tracker.hostCallback())) }) != 0
            || loader.call (setSampleRateSelector, { uint32_t (sampleRate) }) != 0
            || loader.call (createProcessSelector, { stereoTypeID, word (&process) }) != 0)
            return;
        created = true;
        for (const auto& object : tracker.liveObjects())
            if (const auto plugIn = tracker.plugIn (object.object); plugIn && plugIn->spec[4] == process && ! plugIn->workers.empty())
                worker = plugIn->workers.front();
        if (const auto found = tracker.worker (worker); found && ! found->dataObjects.empty())
        {
            callback = found->callback;
            userData = tracker.dataBlock (found->dataObjects.front());
        }
    }

    ~DpmInstance()
    {
        if (created)
            loader.call (deleteProcessSelector, { stereoTypeID, uint32_t (process) });
        if (opened)
            loader.close (StartUpRoad::kWinPlugInOpen);
    }

    bool ready() const { return callback != nullptr && userData != nullptr; }

    PlugInLoader loader;
    int32_t process = 0;
    void* worker = nullptr;
    PlugInRenderCallback callback = nullptr;
    void* userData = nullptr;

private:
    bool opened = false;
    bool created = false;
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
    DpmInstance dpm;
    if (! dpm.ready())
    {
        state.SkipWithError ("KESTrune.dpm does not start or publishes no render callback");
        return;
    }
    auto& tracker = dpm.loader.objectTracker();
    EngineRecords records (dpm.userData, tracker.silentBuffer(), blockSize);
    std::vector<RenderChannelCell*> cellPointers;
    for (auto& cell : records.cells)
        cellPointers.push_back (&cell);
    int32_t failures = 0;
    runBlocks (state, channels, blockSize, [&] (juce::AudioBuffer<float>& block) {
        records.setCells (block);
        const int32_t result = throughStandInEngine ? tracker.render (dpm.worker, cellPointers, blockSize, blockSize)
                                                    : dpm.callback (records.instance.data(), &records.context);
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
