#pragma once
// The host engine's side of an opened RTAS plug-in, for tools, tests and benchmarks: its group
// and effect types as the routines answer for them, and its processes: created and deleted,
// their controls by index, chunks and master bypass, and blocks rendered through the callback
// that each process's adaptor published to the engine's object tracker, as the engine calls it.
//
// Every operation that says it throws throws std::runtime_error with the plug-in's code in its
// message when a routine answers other than 0 (std::logic_error from the routine caller for a
// wrong argument count).

#include "PlugInLoader.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kestrune::host::rtas
{

// The routines a host calls, by selector.
namespace RoutineSelector
{
    inline constexpr uint32_t kTypeName = 5;
    inline constexpr uint32_t kTypeIDsByIndex = 6;
    inline constexpr uint32_t kSetSampleRate = 7;
    inline constexpr uint32_t kGroupName = 12;
    inline constexpr uint32_t kSetHostCallback = 14;
    inline constexpr uint32_t kCreateProcess = 19;
    inline constexpr uint32_t kDeleteProcess = 20;
    inline constexpr uint32_t kNumTypes = 22;
    inline constexpr uint32_t kSetMasterBypass = 39;
    inline constexpr uint32_t kNumControls = 40;
    inline constexpr uint32_t kIsControlAutomatable = 41;
    inline constexpr uint32_t kControlStepCount = 42;
    inline constexpr uint32_t kControlName = 44;
    inline constexpr uint32_t kControlValue = 45;
    inline constexpr uint32_t kSetControlValue = 46;
    inline constexpr uint32_t kIsMasterBypassed = 51;
    inline constexpr uint32_t kNumChunks = 62;
    inline constexpr uint32_t kChunkID = 63;
    inline constexpr uint32_t kChunkName = 64;
    inline constexpr uint32_t kChunkSize = 65;
    inline constexpr uint32_t kGetChunk = 66;
    inline constexpr uint32_t kSetChunk = 67;
    inline constexpr uint32_t kControlText = 90;
    inline constexpr uint32_t kUpdateControlValue = 99;
    inline constexpr uint32_t kRestoreControlsFromChunk = 128;
    inline constexpr uint32_t kMasterBypassControlIndex = 132;
    inline constexpr uint32_t kStemFormats = 137;
    inline constexpr uint32_t kLatency = 145;
} // namespace RoutineSelector

// A stack word of a routine call.
inline uint32_t RoutineWord (const void* pointer)
{
    return uint32_t (reinterpret_cast<uintptr_t> (pointer));
}

inline uint32_t RoutineWord (int32_t value)
{
    return uint32_t (value);
}

// Control values span the signed 32-bit range: t = (v + 2^31) / (2^32 - 1).
double ControlValueToFraction (int32_t value);
// The nearest control value of a fraction clamped to [0, 1] (halves go up).
int32_t FractionToControlValue (double fraction);

// A four-character code as its text.
std::string FourCharText (uint32_t code);

// One effect type the group offers.
struct HostedType
{
    uint32_t manufacturer = 0;
    uint32_t product = 0;
    uint32_t typeID = 0;
    std::string name;
    int32_t inputFormat = -1; // stem-format indexes
    int32_t outputFormat = -1;
    int inputs = 0; // their channels
    int outputs = 0;
};

// The plug-in after its open: the engine offers blocks of any length ('vqta'), so that each
// render call renders the frames it is given, hands the group its callback (through which the
// plug-in finds the object tracker), then reads the group's names and types.
class HostedPlugIn
{
public:
    // Throws when the group refuses the callback or a question about itself or its types.
    explicit HostedPlugIn (PlugInLoader& loader);

    PlugInLoader& Loader() const { return loader_; }

    // The routine's answer; throws when the module has no routine for the selector.
    int32_t Call (uint32_t selector, const std::vector<uint32_t>& words) const;
    // The same, throwing with what was asked when the answer is not 0.
    void Require (uint32_t selector, const std::vector<uint32_t>& words, const std::string& what) const;

    const std::string& ManufacturerName() const { return manufacturerName_; }
    const std::string& ProductName() const { return productName_; }
    const std::vector<HostedType>& Types() const { return types_; }
    // The type with as many inputs and outputs as channels; null when there is none.
    const HostedType* TypeFor (int channels) const;

    // Throws.
    void SetSampleRate (int32_t sampleRate) const;

private:
    HostedType ReadType (int32_t index) const;

    PlugInLoader& loader_;
    std::string manufacturerName_;
    std::string productName_;
    std::vector<HostedType> types_;
};

// One process of a type, created by the constructor and deleted by the destructor.
class HostedProcess
{
public:
    // The engine's buffers hold blocks of up to this many frames.
    static constexpr int kLargestBlock = 4096;

    // Throws when the plug-in refuses the process or publishes no render callback for it (the
    // process is deleted again then).
    HostedProcess (const HostedPlugIn& plugIn, const HostedType& type);
    ~HostedProcess();
    HostedProcess (const HostedProcess&) = delete;
    HostedProcess& operator= (const HostedProcess&) = delete;

    const HostedType& Type() const { return type_; }
    int32_t ID() const { return id_; }
    // The routine's answer with the type and the process as its first two words.
    int32_t Call (uint32_t selector, const std::vector<uint32_t>& words) const;
    void Require (uint32_t selector, const std::vector<uint32_t>& words, const std::string& what) const;

    // Controls, 1-based. Each throws.
    int16_t NumControls() const;
    std::string ControlName (int32_t index) const;
    int32_t ControlValue (int32_t index) const;
    std::string ControlText (int32_t index, int32_t value) const;
    // The host's road (automation, control surfaces, the host's answer to an edit).
    void UpdateControlValue (int32_t index, int32_t value) const;
    int32_t MasterBypassControlIndex() const;
    void SetMasterBypass (bool on) const;
    bool IsMasterBypassed() const;

    // Chunks, each as the host keeps it: the 56-byte header (its size field counts header and
    // data), then the data. Each throws.
    std::vector<uint32_t> ChunkIDs() const;
    // The size the plug-in reports, then the chunk written into a record of that size.
    std::vector<uint8_t> SaveChunk (uint32_t chunkID) const;
    // The plug-in's answer to the chunk.
    int32_t RestoreChunk (std::vector<uint8_t> chunk) const;

    // One block as the engine renders it: the inputs copied into the engine's buffers, the
    // callback called through the object tracker with a cell per channel (inputs, outputs), and
    // each output read where its cell points afterwards. The tracker's answer (0: rendered).
    int32_t Render (const float* const* inputs, float* const* outputs, int frames);

    // What the engine keeps of the process's adaptor: its worker, the worker's callback and the
    // block it hands the callback.
    void* Worker() const { return worker_; }
    PlugInRenderCallback Callback() const;
    void* CallbackData() const;

private:
    void FindWorker();

    const HostedPlugIn& plugIn_;
    HostedType type_;
    int32_t id_ = 0;
    void* worker_ = nullptr;
    std::vector<std::vector<float>> inputBuffers_;
    std::vector<std::vector<float>> outputBuffers_;
    std::vector<RenderChannelCell> cells_;
    std::vector<RenderChannelCell*> cellPointers_;
};

} // namespace kestrune::host::rtas
