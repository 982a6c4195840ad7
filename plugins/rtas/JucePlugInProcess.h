#pragma once
// One instance of the plug-in in the host's engine: an RTAS effect process that creates and owns
// the KESTrune processor and adapts it to the host.
//
// - Controls: "Master Bypass" is control 1 (left out of the controls chunk); then one control per
//   processor parameter, so that control index = parameter index + 2.
// - The host's road: a control update sets the parameter (control n >= 2 sets parameter n - 2)
//   before the library stores it; control 1 is the master bypass.
// - The editor's road: the processor's parameter changes go back to the host as control values
//   (SetControlValue), its change gestures as control touches. Changes the editor makes on the
//   module's JUCE message thread reach the host at the process's next idle call, on the host
//   thread; changes made on the host thread go at once.
// - The window: the root view is a JuceCustomUIView that shows the processor's editor, so that no
//   dialog resource is needed; the view rectangle is the editor's size, and the port the host
//   gives makes the editor and goes on to it (clearing it deletes the editor).
// - State: the processor's state block in a chunk of its own, "Juce Audio Plugin Data" ('juce').
// - Audio: the processor is prepared for the type's channels and the host's rate once the
//   instance is initialised with a rate above 0, and again whenever the rate changes while it is
//   initialised; each block runs processBlock (or the bypassed variant while the master bypass is
//   on) under the processor's callback lock.
//
// [host thread] unless an operation says otherwise; the host's window thread is that thread
// too. Opened without views (WinPlugInOpen) the process makes no view.

#include <juce_audio_processors/juce_audio_processors.h>

#include <cstdint>
#include <memory>

#include <process/effect/CEffectProcessMIDI.h>
#include <process/effect/CEffectProcessRTAS.h>

#include "JuceEditorChanges.h"

class JuceCustomUIView;

class JucePlugInProcess final : public CEffectProcessMIDI, public CEffectProcessRTAS, private juce::AudioProcessorListener
{
public:
    // The chunk that holds the processor's state block.
    static constexpr uint32_t kStateChunkID = 0x6A756365; // 'juce'
    static constexpr const char* kStateChunkName = "Juce Audio Plugin Data";
    // The control of the master bypass, and of parameter 0.
    static constexpr int32_t kMasterBypassControl = 1;
    static constexpr int32_t kFirstParameterControl = 2;
    // The block size the processor is prepared for; it takes blocks of any length in one call.
    static constexpr int kPreparedBlockSize = 1024;
    // The largest state block a chunk may hand the processor.
    static constexpr int32_t kLargestStateBlock = 1 << 20;

    // Creates the processor; the slots are the connection slots of the type's channels.
    explicit JucePlugInProcess (int32_t connectionSlots);
    // Deletes the adaptor, then the editor (when a view still holds one), then the processor.
    ~JucePlugInProcess() override;

    // The processor, for the editor's view.
    juce::AudioProcessor& GetAudioProcessor() const { return *fProcessor; }
    // The root view while the process has one.
    JuceCustomUIView* GetEditorView() const;

    // The controls (during the effect's initialisation).
    void SetUpEffect() override;
    // The effect process's initialisation, then the processor prepared for the type's channels
    // and the process's rate (when it is above 0).
    void Initialize() override;
    // The editor goes, then the changes it posted (those it posted on its way out too) go to the
    // host; then the effect process's teardown (no render call comes after it, and the view
    // goes), then the processor's resources are released.
    void Teardown() override;
    // While the process is initialised, a new rate above 0 prepares the processor for it.
    int32_t SetSampleRate (int32_t sampleRate) override;

    // Control n >= 2 sets parameter n - 2 (an index beyond the parameters sets none), then the
    // library stores the value and passes it on (control 1 sets the bypass there).
    int32_t UpdateControlValue (int32_t index, int32_t value) override;

    // The state chunk: GetChunkSize makes the state block and keeps it, and answers its size with
    // the 56-byte header. The GetChunk that comes next writes exactly that block, whatever changed
    // since; any other GetChunk (a second one, or one after a restore) writes the state as it is
    // then. Either is written only into a record whose size field holds it (-333 otherwise). It is
    // restored only from a record whose size holds a header and a state block of at most
    // kLargestStateBlock bytes (-7401 otherwise); a restore drops the block kept. Other chunks as
    // the effect process.
    int32_t GetChunkSize (uint32_t chunkID, int32_t* size) override;
    int32_t GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;
    int32_t SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk) override;

    // The processor's latency in samples.
    int32_t GetLatency (int32_t* latency) override;

    // The editor's changes made since the last idle call go to the host, then the view's idle
    // (the port follows the editor), then the library's idle work.
    int32_t Idle (EventRecord* event) override;
    // The root view: the processor's editor.
    std::unique_ptr<IProcessView> CreateView() override;
    // The view takes the editor's size, then the frame is answered.
    int32_t GetViewRect (Rect* bounds) override;
    // The view takes the port, then the view makes the editor, in the port's native window when it
    // has one; a null port deletes the editor.
    int32_t SetViewPort (OpaqueGrafPtr* port) override;

    // [audio thread] The inputs copied to the outputs (extra outputs silenced), then the block
    // through the processor under its callback lock.
    void RenderAudio (float** inputs, float** outputs, int32_t frames) override;

private:
    // [host thread, under the callback lock] Prepares the processor for the type's channels.
    void Prepare (int32_t sampleRate);
    // The state chunk's size for a state block: the block and the header.
    static int32_t StateChunkSize (const juce::MemoryBlock& state);
    // The parameter index of a control; -1 for a control that is no parameter's.
    int ParameterIndexOf (int32_t controlIndex) const;
    // After a state restore: every parameter control takes the processor's value, as the host's
    // update takes it, without setting the parameter again.
    void TakeControlValuesFromProcessor();

    // The editor's road.
    template <typename Step>
    static void TellHost (Step&& step);
    // A change of the editor: posted for the host thread when made on JUCE's message thread,
    // else passed on at once.
    void FromEditor (const JuceEditorChanges::Change& change);
    void PassOn (const JuceEditorChanges::Change& change);
    void PassOnPostedEditorChanges();
    void audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value) override;
    void audioProcessorChanged (juce::AudioProcessor*, const ChangeDetails&) override {}
    void audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index) override;
    void audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index) override;

    const std::unique_ptr<juce::AudioProcessor> fProcessor;
    JuceEditorChanges fEditorChanges;
    juce::MidiBuffer fMidi;
    int16_t fChannelsIn = 0;
    int16_t fChannelsOut = 0;
    int32_t fPreparedRate = 0;
    // The state block GetChunkSize made for the GetChunk that follows (empty: none).
    juce::MemoryBlock fReportedState;
    bool fInitialised = false;
};
