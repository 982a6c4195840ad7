#pragma once
// The plug-in object through which the engine renders one RTAS process on its real-time thread:
// one input port per audio input (and one for the side-chain), one output port per output, a
// worker that carries the render callback, and the data block that tells the callback where the
// process and its connection records are.
//
// The engine calls the worker's callback with (instance record, context record); the instance
// record's user data is the published data block. The default callbacks here fill the
// connection records from the engine's buffer cells and call the process's render operation; a
// process passes its own callback instead. Whatever cannot be rendered is silence: the outputs'
// cells then point at the engine's silent buffer.

#include <array>
#include <cstdint>

#include <abi/ObjectTracker.h>

#include "entry/adaptor/AdaptorProcess.h"
#include "entry/adaptor/S_RTASP_CustomDataAdmin.h"
#include "entry/model/CPlugIn.h"
#include "entry/model/CPlugInWorker.h"
#include "process/base/CDAEError.h"

// The card-information keys the adaptor asks the process type about.
namespace AdaptorCardInfo
{
inline constexpr int32_t kSideChainIndex = 5;
inline constexpr int32_t kRenderCallback = 38;
inline constexpr int32_t kExtraStems = 41;
inline constexpr int32_t kVariableBlock = 48;
}

// Thrown as a 32-bit integer when a port cannot be made.
inline constexpr int32_t kAdaptorOutOfMemory = RTASError::kAdaptorOutOfMemory;
// The render callbacks' answer when they did not render (the outputs are then silent).
inline constexpr int32_t kAdaptorNotRendered = -7401;
inline constexpr int32_t kFixedBlockSize = 32;
inline constexpr const char* kUnknownAdaptorName = "<unknown>";

// [audio thread] The channels a published data block gives a render call. The engine's cells
// are the audio inputs', then the side-chain's when there is one, then the outputs'.
struct SAdaptorRenderLayout
{
    explicit SAdaptorRenderLayout (const void* block);

    // The cells before the outputs': the audio inputs and the side-chain.
    int32_t InputCells() const { return numInputs + (sideChainIndex != 0 ? 1 : 0); }

    int32_t numInputs; // never negative
    int32_t numOutputs; // never negative
    int32_t sideChainIndex; // 1-based index into the input records, 0 = none
    bool variableBlock;
};

// [audio thread] The buffer a channel's cell holds; null for a missing cell.
inline float* BufferOfCell (const RenderChannelCell* cell)
{
    return cell != nullptr ? *cell : nullptr;
}

// [audio thread] Points every output's cell at the engine's silent buffer.
void SilenceAdaptorOutputs (SRenderInstance& instance, const SRenderContext& context,
                            const SAdaptorRenderLayout& layout);

class CAdaptorPlugIn : public CPlugIn
{
public:
    // [host thread] Builds the plug-in for the process (the spec is the process's five-word
    // connection record). `inputRecords` and `outputRecords` are the process's arrays of
    // connection-record pointers (GetNumConnectionSlots entries each). A null callback chooses a
    // default one. Throws the 32-bit integer -9006 when a port cannot be made, and passes on
    // what the process or its type throw; a failed construction leaves nothing behind.
    CAdaptorPlugIn (const SPlugInSpec& spec, IAdaptorProcess& process, SConnectionRecord** inputRecords,
                    SConnectionRecord** outputRecords, PlugInRenderCallback callback);
    // [host thread] Deletes the ports, publishes the plug-in without them, then goes.
    ~CAdaptorPlugIn() override;

    // [audio thread] The default callbacks.
    static int32_t KESTRUNE_TRACKER_CALL RenderCallback (void* instance, void* context);
    static int32_t KESTRUNE_TRACKER_CALL RenderCallbackAlt (void* instance, void* context);

    // [audio thread] Stores each buffer pointer and the sample count into the records in turn;
    // false at the first missing record.
    static bool SetConnectionBuffers (SConnectionRecord** records, RenderChannelCell* const* cells, int32_t count,
                                      int32_t sampleCount);

    const char* GetName() const { return fName.data(); }
    int16_t GetNumInputPorts() const { return fNumInputPorts; }
    int16_t GetNumOutputPorts() const { return fNumOutputPorts; }
    CPlugInWorker& GetWorker() { return fWorker; }
    S_RTASP_CustomDataAdmin& GetCustomData() { return fCustomData; }

private:
    struct SChannelCounts;
    SChannelCounts CountChannels (IAdaptorProcess& process, bool callbackPassed);
    void BuildPorts (int16_t inputPorts, int16_t outputs, int32_t sideChainIndex);

    int16_t fNumInputPorts = 0;
    int16_t fNumOutputPorts = 0;
    std::array<char, 64> fName;
    CPlugInWorker fWorker;
    S_RTASP_CustomDataAdmin fCustomData;
};
