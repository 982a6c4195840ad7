// The AAX process procedure of KESTrune.aaxplugin driven by the stand-in host, stereo, default
// settings: as a host's engine calls it, and through the stand-in host's whole block.
#include "BenchSupport.h"
#include "HostInstance.h"

#include <vector>

namespace
{
using namespace bench;
using namespace kestrune::host::aax;

// The plug-in file's process procedure, stereo, default settings: called with the context
// of a block as a host's engine calls it (wrapper alone), or through the stand-in host's
// whole block, which first dispatches and delivers the instance's packets and records
// every host call.
void runAAX (benchmark::State& state, bool throughStandInHost)
{
    const int blockSize = blockSizeOf (state);
    HostFramework framework;
    AAXModuleDriver driver (framework, KESTRUNE_PLUGIN_PATH);
    if (driver.Startup() != ACF_OK || driver.RegisterPlugin() != ACF_OK)
    {
        state.SkipWithError ("KESTrune.aaxplugin does not start");
        return;
    }
    {
        HostInstance instance (driver, InstanceSettings { 2, sampleRate, 0 });
        std::vector<float> output (static_cast<size_t> (2 * blockSize));
        float* outputs[] = { output.data(), output.data() + blockSize };
        int blocks = 0;
        runBlocks (state, 2, blockSize, [&] (juce::AudioBuffer<float>& block) {
            if (throughStandInHost || blocks == 0)
                instance.ProcessBlock (block.getArrayOfReadPointers(), outputs, blockSize);
            else
            {
                void* const contexts[] = { instance.Context() };
                instance.CallProcessProcedure (contexts, 1);
            }
            // The record of host calls would otherwise grow without bound.
            if (++blocks % 1024 == 0)
                framework.ClearCalls();
        });
    }
    driver.Shutdown();
}

void BM_AAXProcessProcedure (benchmark::State& state) { runAAX (state, false); }
void BM_AAXStandInHostBlock (benchmark::State& state) { runAAX (state, true); }

BENCHMARK (BM_AAXProcessProcedure)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
BENCHMARK (BM_AAXStandInHostBlock)->Args ({ 2, 32, 0 })->Args ({ 2, 512, 0 })->ArgNames ({ "channels", "block", "heavy" });
} // namespace
