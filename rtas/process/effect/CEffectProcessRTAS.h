#pragma once
// The real-time side of an effect process: the adaptor through which the engine renders it, the
// render callback that the adaptor carries, the connection slots with their connection and
// buffer arrays, the stream format, and the bypass flag mirrored from the master bypass.
//
// The engine calls the render callback on its real-time thread for every block; the callback
// points the process's buffer arrays at the engine's channel buffers and runs RenderAudio.
// Whatever cannot be rendered is silence: the outputs then point at the engine's silent buffer.
// A block renders only when every channel the engine hands over has its buffer.
// Operations are [host thread] unless they say otherwise.

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

#include "entry/adaptor/AdaptorProcess.h"
#include "entry/adaptor/CAdaptorPlugIn.h"
#include "process/connections/ConnectionTable.h"
#include "process/effect/CEffectProcess.h"

class CEffectProcessRTAS : public virtual CEffectProcess, public IAdaptorProcess
{
public:
    CEffectProcessRTAS() = default;
    // The adaptor goes before the arrays its callback uses. What a derived process renders
    // through is gone by then: its destructor calls DeleteAdaptorPlugIn first.
    ~CEffectProcessRTAS() override;

    // The entries of each connection and buffer array that Initialize makes; ignored once the
    // process is initialised.
    virtual void SetNumConnectionSlots (int32_t count);
    // Makes the adaptor for the connection record (deleting one made before) and starts it: it
    // publishes itself with the render callback to the engine. 0; -9006 without memory; the
    // code the adaptor throws as a 32-bit value. The adaptor is kept only when it started.
    virtual int32_t CreateAdaptorPlugIn (const SPlugInSpec& record);
    // [audio thread] Renders one block: inputs (the side-chain's buffer after the audio inputs)
    // and outputs hold the engine's buffers of frames samples each, none of them null and at
    // least as many as the process's channels. What it throws silences the block.
    virtual void RenderAudio (float** inputs, float** outputs, int32_t frames) = 0;
    // The side-chain input's name (info key 5), zero-terminated; text holds 256 bytes. Empty here.
    virtual void GetSideChainName (char* text);

    // The process's initialisation, then the connection and buffer arrays, all connections free.
    void Initialize() override;
    // The adaptor, then the arrays, then the process's own teardown.
    void Teardown() override;
    // The master bypass control also sets the bypass flag (on for a value above 0).
    int32_t UpdateControlValue (int32_t index, int32_t value) override;

    // Connections: ports covered by the connection information are answered from the arrays
    // directly; the others follow the connection-table rules (-7100, -7101, -7106, -7107). The
    // side-chain input's connection sets and clears the side-chain-connected flag.
    int32_t IsInputConnected (int32_t port, uint8_t* connected) override;
    int32_t IsOutputConnected (int32_t port, uint8_t* connected) override;
    int32_t CanConnectOutput (int32_t port, uint8_t* possible) override;
    int32_t ConnectInput (int32_t port, int32_t handle);
    int32_t ConnectOutput (int32_t port, int32_t handle);
    int32_t DisconnectInput (int32_t port);
    int32_t DisconnectOutput (int32_t port);
    // The host's connection notices reach the connection arrays.
    int32_t NotifyDSPConnect (int32_t port, int32_t handle) override;
    int32_t NotifyDSPConnectOutput (int32_t port, int32_t handle) override;
    int32_t NotifyDSPDisconnectInput (int32_t port) override;
    int32_t NotifyDSPDisconnectOutput (int32_t port) override;

    // The default stream format (44100) and its check (-7104).
    int32_t GetStreamFormat (int16_t a, int16_t b, char* format) override;
    int32_t CheckStreamFormat (int16_t a, int16_t b, char* format) override;
    // Key 5: the side-chain input's name; other keys as the effect process.
    int32_t GetInfoString (int32_t key, uint8_t* text) override;
    int32_t GetLatencyShort (int16_t* latency) override;

    // What the adaptor asks.
    IAdaptorProcessType* GetAdaptorType() override;
    int16_t GetInstanceID() override;
    int32_t GetNumInputs (int16_t* count) override;
    int32_t GetNumOutputs (int16_t* count) override;
    // [audio thread] The entries the arrays have (none before Initialize and after Teardown).
    int32_t GetNumConnectionSlots() override;
    // [audio thread] The render operation of the adaptor's own callbacks: nothing to do, 0.
    int32_t Render (const SAdaptorRenderRecord* record) override;
    // [audio thread]
    void SetRendered() override;

    // [audio thread] The callback the adaptor carries: the engine's instance record (its user
    // data is the adaptor's published block) and context record.
    static int32_t KESTRUNE_TRACKER_CALL RenderCallback (void* instance, void* context);

    // [any thread]
    bool IsBypassed() const { return fBypassed.load (std::memory_order_acquire); }
    bool HasRendered() const { return fRendered.load (std::memory_order_acquire); }
    CAdaptorPlugIn* GetAdaptor() const { return fAdaptor.get(); }
    // [audio thread] The engine's records of the block that RenderAudio renders; null outside it.
    const SRenderInstance* GetRenderInstance() const { return fRenderInstance; }
    const SRenderContext* GetRenderContext() const { return fRenderContext; }

protected:
    // Deletes the adaptor (when there is one): once this returns, the engine renders the process
    // no more.
    void DeleteAdaptorPlugIn();

private:
    int32_t RenderBlock (SRenderInstance& instance, const SRenderContext& context);
    // [audio thread] Points the buffer arrays at the block's channel buffers (every other entry
    // null); false when the layout lacks a channel of the process, a channel has no slot, or a
    // channel's cell is missing or holds no buffer.
    bool TakeBlockBuffers (SRenderInstance& instance, const SAdaptorRenderLayout& layout);
    int32_t AllocatedSlots() const;
    ConnectionTable InputTable();
    ConnectionTable OutputTable();
    // Whether the connection information covers the port and it has a slot.
    bool IsDirectPort (int32_t port) const;
    void FreeArrays();

    int32_t fSlots = 0;
    std::unique_ptr<CAdaptorPlugIn> fAdaptor;
    // The handle the host connects a port with is the address of its connection record.
    std::vector<int32_t> fInputConnections;
    std::vector<int32_t> fOutputConnections;
    std::vector<float*> fInputBuffers;
    std::vector<float*> fOutputBuffers;
    std::atomic<bool> fRendered { false };
    std::atomic<bool> fBypassed { false };
    bool fInitialised = false;
    SRenderInstance* fRenderInstance = nullptr;
    const SRenderContext* fRenderContext = nullptr;
};
