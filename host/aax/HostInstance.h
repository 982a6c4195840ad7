// One plug-in instance as the stand-in host runs it: made through the processor factory,
// initialised on a host unknown of its own (controller, transport, automation delegate), fed
// block by block through its component's process procedure, its chunks saved and restored.
#pragma once

#include "AAXModuleDriver.h"

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

namespace kestrune::host::aax
{
struct InstanceSettings
{
    // 1 or 2: the host runs the description's first component for mono, its second for stereo.
    int32_t channels = 2;
    double sampleRate = 44100.0;
    size_t effect = 0;
};

// A chunk as the host keeps it: the header, then the data the plug-in reported, then guard
// bytes that show whether the plug-in wrote past what it reported.
class ChunkRecord
{
public:
    ChunkRecord() : ChunkRecord (0, 0) {}
    ChunkRecord (uint32_t id, int32_t dataSize);
    // A record made of stored bytes (header and data); the size field is taken as it stands.
    static ChunkRecord FromBytes (const std::vector<uint8_t>& bytes);

    AAX_SPlugInChunkHeader* Header() { return reinterpret_cast<AAX_SPlugInChunkHeader*> (storage_.data()); }
    const AAX_SPlugInChunkHeader* Header() const { return reinterpret_cast<const AAX_SPlugInChunkHeader*> (storage_.data()); }
    uint8_t* Data() { return AAX_ChunkData (Header()); }
    // Room for data, whatever the header's size field says.
    int32_t Capacity() const { return capacity_; }
    // Header and data as the size field says, clipped to the room there is.
    std::vector<uint8_t> Bytes() const;
    bool GuardIntact() const;

private:
    static constexpr size_t kGuardSize = 64;
    static constexpr uint8_t kGuardByte = 0xA5;
    std::vector<uint8_t> storage_;
    int32_t capacity_ = 0;
};

class HostInstance
{
public:
    // Throws std::runtime_error when the description lacks the processor factory or the
    // component for the layout, or when the instance refuses to initialise.
    HostInstance (AAXModuleDriver& driver, const InstanceSettings& settings);
    HostInstance (const HostInstance&) = delete;
    HostInstance& operator= (const HostInstance&) = delete;
    // Uninitialises and releases the instance, then its host unknown.
    ~HostInstance();

    AAX_IACFEffectParameters_V2& Parameters() const { return *parameters_; }
    HostContext& Host() const { return *host_; }
    HostController& Controller() const { return host_->Controller(); }
    HostAutomationDelegate& AutomationDelegate() const { return host_->AutomationDelegate(); }
    const InstanceSettings& Settings() const { return settings_; }
    const RecordedComponent& Component() const { return component_; }
    AAXModuleDriver& Driver() const { return driver_; }

    // Whether a set-value request is answered with the update a host sends back (the default).
    void SetAnswersSetValueRequests (bool answers);

    // The host runs the instance at another rate or channel count from now on: its controller
    // reports the new format, later blocks use that layout's component, and the instance is
    // told by notification unless notify is false. A change of the channel count must not
    // meet a running block. [host thread]
    void ChangeFormat (int32_t channels, double sampleRate, bool notify = true);

    // One block: dispatches the instance's packets, delivers them to their ports and calls
    // the process procedure with this instance's context. [the host's audio thread]
    void ProcessBlock (const float* const* inputs, float* const* outputs, int32_t length);
    // The same without the dispatch, for a host that dispatches on another thread: the packets
    // posted so far are delivered. [the host's audio thread]
    void RenderBlock (const float* const* inputs, float* const* outputs, int32_t length);
    // The context of the last block (its fields, by field index).
    void* Context() { return fields_.data(); }
    // Calls the process procedure with any list of contexts.
    void CallProcessProcedure (void* const* contexts, size_t count) const;

    // The host's chunk calls: size, then the chunk into a record of that size.
    int32_t SaveChunk (uint32_t id, ChunkRecord& out) const;
    int32_t RestoreChunk (const ChunkRecord& record) const;
    // Every chunk the instance reports, in its order; stops at the first failure.
    int32_t SaveAllChunks (std::vector<ChunkRecord>& out) const;

private:
    // The description's component for that many channels; throws std::runtime_error when it
    // has none that can run.
    RecordedComponent ComponentFor (int32_t channels) const;
    static int32_t StemFormatOf (int32_t channels);
    void DeliverPackets();

    AAXModuleDriver& driver_;
    InstanceSettings settings_;
    RecordedComponent component_;
    HostContext* host_ = nullptr;
    AAX_IACFEffectParameters_V2* parameters_ = nullptr;
    std::vector<void*> fields_;
    std::map<uint32_t, std::vector<uint8_t>> portData_;
    std::map<uint32_t, std::vector<uint8_t>> privateData_;
    int32_t bufferLength_ = 0;
    size_t packetsDelivered_ = 0;
};
} // namespace kestrune::host::aax
