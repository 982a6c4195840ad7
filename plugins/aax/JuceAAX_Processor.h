// The AAX instance of KESTrune: the library's effect parameters around one processor.
#pragma once

#include "AAX_CEffectParameters.h"
#include "JuceAAX_Context.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <mutex>
#include <optional>

namespace AAXClasses
{
// Owns the processor. Host parameter 0 is the master bypass, then one float parameter per
// processor parameter, identified by its index in decimal. Host updates reach the processor
// through setParameter; the editor's changes and gestures go to the host as set-value, touch
// and release requests. Its chunks are the library's controls chunk and `juce`, the
// processor's state block. The processor is prepared for the controller's rate and stem
// formats on the host thread, at initialisation and when the host notifies a new format; the
// audio thread reads only that preparation, never the controller, and a block passes its
// input through while the host has given no format for its component's layout.
//
// Locks, always taken in this order: the editor's lock (editorChangesLock_), the packet
// dispatcher's mutex (held by every host operation that reads the parameters or the controller,
// and by re-initialisation while it deletes and makes them), the processor's callback lock. The
// audio thread takes only the callback lock.
class JuceAAX_Processor final : public AAX_CEffectParameters, private juce::AudioProcessorListener
{
public:
    static constexpr uint32_t kJuceChunkID = 0x6A756365; // 'juce'
    static constexpr uint32_t kBypassPort = kBypassPortField;

    JuceAAX_Processor();
    ~JuceAAX_Processor() override;

    // The processor factory the description registers. [host thread]
    static IACFUnknown* Create();
    // The process procedure of the component whose contexts hold that many channels each way.
    // A context without an instance, a length or an output array is left alone; one without an
    // input array is silence on every output it has. [audio thread]
    template <int Channels>
    static void ProcessCallback (void* const instances[], const void* instancesEnd);

    // [host thread] The library's own, serialised with the editor's changes; the preparation
    // the audio thread reads is forgotten first (under the callback lock), and made again for
    // the new host's format.
    int32_t Initialize (IACFUnknown* host) override;
    int32_t Uninitialize() override;

    // [host thread] Offline rendering, and a new format from the host: the processor is
    // prepared for it here, off the audio thread, under the dispatcher's mutex, so that the
    // controller it reads is not deleted meanwhile. Then the library's own handling.
    int32_t ReceiveNotification (uint32_t type, const void* data, uint32_t size) override;
    // [any host thread] After the library has taken the value: the processor gets it too, under
    // the same lock, so that it ends up with the value the host parameter holds.
    int32_t UpdateParameterNormalizedValue (const char* id, double value, int32_t cause) override;
    // The private-data block of a context receives this instance.
    int32_t ClearDataBlock (uint32_t field, void* block, uint32_t size) override;

    int32_t GetNumberOfChunks (int32_t* outCount) const override;
    int32_t GetChunkIDFromIndex (int32_t index, uint32_t* outId) const override;
    // [host thread] `juce`: GetChunkSize makes the processor's state block and keeps it; the
    // GetChunk after it writes exactly that block, whatever changed since, and any later one the
    // state as it is then, each into a record whose size field holds it
    // (AAX_ERROR_CHUNK_SIZE_CHANGED for a smaller record, or before any size was asked).
    int32_t GetChunkSize (uint32_t id, int32_t* outSize) override;
    int32_t GetChunk (uint32_t id, AAX_SPlugInChunkHeader* outChunk) override;
    // [host thread] `juce`: the processor takes the state and its host parameters follow it, as
    // one update under the dispatcher's mutex.
    int32_t SetChunk (uint32_t id, const AAX_SPlugInChunkHeader* chunk) override;

    juce::AudioProcessor& GetPluginInstance() const { return *processor_; }

protected:
    int32_t InitializeEffect() override;

private:
    // [message thread] The editor's changes, sent to the host; each waits for a host-thread
    // Initialize or Uninitialize, which replace the parameters and host objects they use.
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;
    // Runs change (identifier) for the parameter of that processor index, under the editor's
    // lock; nothing is let out into the processor's notification.
    template <class Change>
    void PassOnEditorChange (int index, Change&& change) noexcept;

    // The channel counts and sample rate the host runs the instance in.
    struct ChannelLayout
    {
        int inputs = 0;
        int outputs = 0;
        bool operator== (const ChannelLayout&) const = default;
    };
    struct ProcessingFormat
    {
        double sampleRate = 0.0;
        ChannelLayout channels;
        bool operator== (const ProcessingFormat&) const = default;
    };

    // [host thread] What the controller reports now: stem formats of one or two channels each
    // way, and a finite positive rate; nothing when it gives no usable answer.
    std::optional<ChannelLayout> ReadHostChannels() const;
    std::optional<double> ReadHostSampleRate() const;
    // Those channels with the controller's rate; nothing when either is missing.
    std::optional<ProcessingFormat> ReadHostFormat (const std::optional<ChannelLayout>& channels) const;
    // [host thread] Prepares the processor for the format the controller reports; without one,
    // the format is forgotten.
    void PrepareForHostFormat();
    // [host thread] Sets the processor's layout and prepares it, all under its callback lock,
    // so that no block runs on a half-made preparation.
    void Prepare (const ProcessingFormat& format);
    // [host thread] Blocks pass their input through from now on, until the next preparation.
    void ForgetHostFormat();

    // [audio thread] One context's block, its channel arrays holding the component's layout:
    // the input is passed through until the processor is prepared for that layout.
    void Process (const JuceAAX_Context& context, const ChannelLayout& layout);
    // [audio thread] Copies inputs to outputs (outputs without an input are cleared); with the
    // input array or a channel pointer missing, every output there is gets silence and false
    // comes back.
    static bool PassInputThrough (const JuceAAX_Context& context, const ChannelLayout& layout);
    // The processor index a host identifier names: a whole decimal number 0..9, else -1.
    int ProcessorIndexOf (const char* id) const;

    std::unique_ptr<juce::AudioProcessor> processor_;
    juce::MidiBuffer midi_;
    // The format the processor was last prepared for; guarded by its callback lock.
    std::optional<ProcessingFormat> prepared_;
    // Taken by Initialize, Uninitialize and the editor's changes.
    std::mutex editorChangesLock_;
    // What the next GetChunk of `juce` writes: nothing before any size was asked, then once the
    // block made when the size was asked, after that the state as it is then.
    enum class NextJuceChunk
    {
        refused,
        sized,
        current
    };
    // The state block last made for `juce`, and what the next GetChunk does with it; both
    // guarded by the dispatcher's mutex.
    juce::MemoryBlock juceChunk_;
    NextJuceChunk nextJuceChunk_ = NextJuceChunk::refused;
};
} // namespace AAXClasses
