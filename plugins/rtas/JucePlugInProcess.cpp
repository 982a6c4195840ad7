#include "JucePlugInProcess.h"

#include "JuceCustomUIView.h"
#include "JuceParameterControl.h"
#include "KestruneAudioProcessor.h"

#include <algorithm>
#include <cstring>

#include <process/base/CDAEError.h>
#include <process/controls/CPluginControl_OnOff.h>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

JucePlugInProcess::JucePlugInProcess (int32_t connectionSlots) : fProcessor (std::make_unique<KestruneAudioProcessor>())
{
    SetNumConnectionSlots (connectionSlots);
    AddChunk (kStateChunkID, kStateChunkName);
    fProcessor->addListener (this);
}

JucePlugInProcess::~JucePlugInProcess()
{
    // Without a teardown, or after one that failed, the engine may still render the process: the
    // adaptor goes before anything the rendering uses.
    DeleteAdaptorPlugIn();
    // The view goes only after the processor: its editor goes now, before the processor and
    // before this process stops listening to what the editor changes.
    if (JuceCustomUIView* view = GetEditorView())
    {
        try
        {
            view->DeleteEditor();
        }
        catch (...)
        {
        }
    }
    fProcessor->removeListener (this);
}

void JucePlugInProcess::SetUpEffect()
{
    AddControl (MakeMasterBypassControl().release());
    SetMasterBypassControlIndex (kMasterBypassControl);
    LeaveOutOfControlsChunk (kMasterBypassID);
    for (int index = 0; index < fProcessor->getNumParameters(); ++index)
        AddControl (new JuceParameterControl (*fProcessor, index));
}

void JucePlugInProcess::Initialize()
{
    CEffectProcessRTAS::Initialize();
    GetNumInputs (&fChannelsIn);
    GetNumOutputs (&fChannelsOut);
    fInitialised = true;
    Prepare (GetSampleRate());
}

void JucePlugInProcess::Teardown()
{
    // The editor goes first: what it posts on its way out (the end of a drag) still reaches the
    // host.
    if (JuceCustomUIView* view = GetEditorView())
        view->DeleteEditor();
    PassOnPostedEditorChanges();
    CEffectProcessRTAS::Teardown();
    const juce::ScopedLock lock (fProcessor->getCallbackLock());
    fProcessor->releaseResources();
    fInitialised = false;
    fPreparedRate = 0;
}

int32_t JucePlugInProcess::SetSampleRate (int32_t sampleRate)
{
    const int32_t result = CEffectProcessRTAS::SetSampleRate (sampleRate);
    if (fInitialised && sampleRate != fPreparedRate)
        Prepare (sampleRate);
    return result;
}

void JucePlugInProcess::Prepare (int32_t sampleRate)
{
    if (sampleRate <= 0)
        return;
    const juce::ScopedLock lock (fProcessor->getCallbackLock());
    fPreparedRate = 0;
    fProcessor->setPlayConfigDetails (fChannelsIn, fChannelsOut, sampleRate, kPreparedBlockSize);
    fProcessor->prepareToPlay (sampleRate, kPreparedBlockSize);
    fPreparedRate = sampleRate;
}

int JucePlugInProcess::ParameterIndexOf (int32_t controlIndex) const
{
    if (controlIndex < kFirstParameterControl || controlIndex - kFirstParameterControl >= fProcessor->getNumParameters())
        return -1;
    return static_cast<int> (controlIndex - kFirstParameterControl);
}

int32_t JucePlugInProcess::UpdateControlValue (int32_t index, int32_t value)
{
    if (const int parameter = ParameterIndexOf (index); parameter >= 0)
        fProcessor->setParameter (parameter, ControlToParameterValue (value));
    return CEffectProcessRTAS::UpdateControlValue (index, value);
}

void JucePlugInProcess::TakeControlValuesFromProcessor()
{
    for (int parameter = 0; parameter < fProcessor->getNumParameters(); ++parameter)
        CEffectProcessRTAS::UpdateControlValue (parameter + kFirstParameterControl, ParameterToControlValue (fProcessor->getParameter (parameter)));
}

// ---- the state chunk

int32_t JucePlugInProcess::GetChunkSize (uint32_t chunkID, int32_t* size)
{
    if (chunkID != kStateChunkID)
        return CEffectProcessMIDI::GetChunkSize (chunkID, size);
    // The state as it is now is the one the next GetChunk writes: the editor may change a
    // parameter, and with it the length of the state, between the two calls.
    fProcessor->getStateInformation (fReportedState);
    if (size != nullptr)
        *size = StateChunkSize (fReportedState);
    return 0;
}

int32_t JucePlugInProcess::StateChunkSize (const juce::MemoryBlock& state)
{
    return static_cast<int32_t> (state.getSize()) + kChunkHeaderSize;
}

int32_t JucePlugInProcess::GetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kStateChunkID)
        return CEffectProcessMIDI::GetChunk (chunkID, chunk);
    // The block the size query kept serves this call only; without one the state is taken now.
    juce::MemoryBlock state;
    state.swapWith (fReportedState);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (state.isEmpty())
        fProcessor->getStateInformation (state);
    // The record's size is the room the host made for the size it was told.
    if (chunk->fSize < StateChunkSize (state))
        return RTASError::kChunkWriteFailed;
    chunk->fSize = StateChunkSize (state);
    std::memcpy (reinterpret_cast<uint8_t*> (chunk) + kChunkHeaderSize, state.getData(), state.getSize());
    return 0;
}

int32_t JucePlugInProcess::SetChunk (uint32_t chunkID, SFicPlugInChunk* chunk)
{
    if (chunkID != kStateChunkID)
        return CEffectProcessMIDI::SetChunk (chunkID, chunk);
    if (chunk == nullptr)
        return RTASError::kNullPointer;
    if (chunk->fSize < kChunkHeaderSize || chunk->fSize - kChunkHeaderSize > kLargestStateBlock)
        return RTASError::kUnexpected;
    // A block the size query kept holds the state that this one replaces.
    fReportedState.reset();
    const int32_t stateSize = chunk->fSize - kChunkHeaderSize;
    if (stateSize > 0)
        fProcessor->setStateInformation (reinterpret_cast<const uint8_t*> (chunk) + kChunkHeaderSize, stateSize);
    // The processor set itself without telling anyone: its controls follow it.
    TakeControlValuesFromProcessor();
    return 0;
}

int32_t JucePlugInProcess::GetLatency (int32_t* latency)
{
    if (latency != nullptr)
        *latency = fProcessor->getLatencySamples();
    return 0;
}

// ---- the window

JuceCustomUIView* JucePlugInProcess::GetEditorView() const
{
    return dynamic_cast<JuceCustomUIView*> (GetView());
}

std::unique_ptr<IProcessView> JucePlugInProcess::CreateView()
{
    return std::make_unique<JuceCustomUIView> (*fProcessor);
}

int32_t JucePlugInProcess::GetViewRect (Rect* bounds)
{
    if (JuceCustomUIView* view = GetEditorView())
        view->UpdateSize();
    return CEffectProcessRTAS::GetViewRect (bounds);
}

int32_t JucePlugInProcess::SetViewPort (OpaqueGrafPtr* port)
{
    const int32_t result = CEffectProcessRTAS::SetViewPort (port);
    if (JuceCustomUIView* view = GetEditorView())
        view->AttachToPort (port);
    return result;
}

int32_t JucePlugInProcess::Idle (EventRecord* event)
{
    PassOnPostedEditorChanges();
    if (JuceCustomUIView* view = GetEditorView())
        view->Idle (0);
    return CEffectProcessRTAS::Idle (event);
}

// ---- audio

void JucePlugInProcess::RenderAudio (float** inputs, float** outputs, int32_t frames)
{
    if (frames <= 0 || inputs == nullptr || outputs == nullptr)
        return;
    for (int channel = 0; channel < fChannelsOut; ++channel)
    {
        float* out = outputs[channel];
        if (channel < fChannelsIn)
        {
            const float* in = inputs[channel];
            if (in != out)
                std::memmove (out, in, static_cast<size_t> (frames) * sizeof (float));
        }
        else
            std::fill (out, out + frames, 0.0f);
    }
    juce::AudioBuffer<float> buffer (outputs, fChannelsOut, frames);
    const juce::ScopedLock lock (fProcessor->getCallbackLock());
    fMidi.clear();
    if (IsBypassed())
        fProcessor->processBlockBypassed (buffer, fMidi);
    else
        fProcessor->processBlock (buffer, fMidi);
}

// ---- the editor's road: called inside the processor's notifications, so nothing is let out

void JucePlugInProcess::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    FromEditor ({ JuceEditorChanges::Kind::value, index, value });
}

void JucePlugInProcess::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    FromEditor ({ JuceEditorChanges::Kind::gestureBegin, index, 0.0f });
}

void JucePlugInProcess::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    FromEditor ({ JuceEditorChanges::Kind::gestureEnd, index, 0.0f });
}

void JucePlugInProcess::FromEditor (const JuceEditorChanges::Change& change)
{
    if (juce::MessageManager::existsAndIsCurrentThread())
        TellHost ([&] { fEditorChanges.Post (change); });
    else
        PassOn (change);
}

void JucePlugInProcess::PassOnPostedEditorChanges()
{
    for (const JuceEditorChanges::Change& change : fEditorChanges.Take())
        PassOn (change);
}

void JucePlugInProcess::PassOn (const JuceEditorChanges::Change& change)
{
    const int32_t control = change.parameter + kFirstParameterControl;
    switch (change.kind)
    {
        case JuceEditorChanges::Kind::gestureBegin:
            TellHost ([&] { BeginControlTouch (control); });
            break;
        case JuceEditorChanges::Kind::value:
            TellHost ([&] { SetControlValue (control, ParameterToControlValue (change.value)); });
            break;
        case JuceEditorChanges::Kind::gestureEnd:
            TellHost ([&] { EndControlTouch (control); });
            break;
    }
}

template <typename Step>
void JucePlugInProcess::TellHost (Step&& step)
{
    try
    {
        step();
    }
    catch (...)
    {
        // The host misses this change; the editor and the processor go on.
    }
}

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
