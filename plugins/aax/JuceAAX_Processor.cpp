#include "JuceAAX_Processor.h"

#include "AAX_CParameter.h"
#include "KestruneAudioProcessor.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>

JUCE_BEGIN_IGNORE_WARNINGS_GCC_LIKE ("-Wdeprecated-declarations")

namespace AAXClasses
{
namespace
{
    // The block size the processor is prepared for; it takes blocks of any length in one call.
    constexpr int kPreparedBlockSize = 1024;

    std::string IdentifierOf (int index)
    {
        return std::to_string (index);
    }
} // namespace

JuceAAX_Processor::JuceAAX_Processor() : processor_ (std::make_unique<KestruneAudioProcessor>())
{
    processor_->addListener (this);
}

JuceAAX_Processor::~JuceAAX_Processor()
{
    processor_->removeListener (this);
}

IACFUnknown* JuceAAX_Processor::Create()
{
    try
    {
        return static_cast<AAX_IACFEffectParameters*> (new JuceAAX_Processor);
    }
    catch (...)
    {
        return nullptr;
    }
}

int32_t JuceAAX_Processor::InitializeEffect()
{
    auto bypass = std::make_unique<AAX_CParameter<bool>> (
        kMasterBypassID, AAX_CString ("Master Bypass"), false, AAX_CBinaryTaperDelegate<bool>(),
        AAX_CBinaryDisplayDelegate<bool> ("bypass", "on"), true);
    bypass->SetNumberOfSteps (2);
    bypass->SetType (0);
    Parameters().AddParameter (std::move (bypass));
    PacketDispatcher().RegisterPacket (kMasterBypassID, kBypassPort,
                                       AAX_CPacketHandler<AAX_CPacketDispatcher> (&PacketDispatcher(), &AAX_CPacketDispatcher::GenerateSingleValuePacket));

    for (int index = 0; index < processor_->getNumParameters(); ++index)
    {
        if (! processor_->isParameterAutomatable (index))
            continue;
        const std::string id = IdentifierOf (index);
        Parameters().AddParameter (std::make_unique<AAX_CParameter<float>> (
            id.c_str(), AAX_CString (processor_->getParameterName (index).toRawUTF8()), processor_->getParameter (index),
            AAX_CLinearTaperDelegate<float, 0> (0.0f, 1.0f), AAX_CNumberDisplayDelegate<float, 3, 0>(), true));
    }
    // The controller is there now: the first preparation need not wait for the audio thread.
    PrepareForHostFormat();
    return AAX_SUCCESS;
}

int32_t JuceAAX_Processor::Initialize (IACFUnknown* host)
{
    return Guarded ([&]() -> int32_t {
        const std::lock_guard editorChanges (editorChangesLock_);
        ForgetHostFormat();
        return AAX_CEffectParameters::Initialize (host);
    });
}

int32_t JuceAAX_Processor::Uninitialize()
{
    return Guarded ([&]() -> int32_t {
        const std::lock_guard editorChanges (editorChangesLock_);
        ForgetHostFormat();
        return AAX_CEffectParameters::Uninitialize();
    });
}

int JuceAAX_Processor::ProcessorIndexOf (const char* id) const
{
    if (id == nullptr)
        return -1;
    const char* end = id + std::strlen (id);
    int index = -1;
    const auto [stop, error] = std::from_chars (id, end, index);
    if (error != std::errc() || stop != end || id == end || *id == '+' || *id == '-')
        return -1;
    return index >= 0 && index < processor_->getNumParameters() ? index : -1;
}

int32_t JuceAAX_Processor::ReceiveNotification (uint32_t type, const void* data, uint32_t size)
{
    const int32_t handled = Guarded ([&]() -> int32_t {
        if (type == AAX_NOTIFICATION_OFFLINE_MODE && data != nullptr && size >= sizeof (int32_t))
        {
            int32_t offline = 0;
            std::memcpy (&offline, data, sizeof (offline));
            processor_->setNonRealtime (offline != 0);
        }
        if (type == AAX_NOTIFICATION_FORMAT_CHANGED)
        {
            const AAX_CPacketDispatcher::ScopedLock whole (PacketDispatcher());
            PrepareForHostFormat();
        }
        return AAX_SUCCESS;
    });
    if (handled != AAX_SUCCESS)
        return handled;
    return AAX_CEffectParameters::ReceiveNotification (type, data, size);
}

int32_t JuceAAX_Processor::UpdateParameterNormalizedValue (const char* id, double value, int32_t cause)
{
    return Guarded ([&]() -> int32_t {
        const AAX_CPacketDispatcher::ScopedLock whole (PacketDispatcher());
        const int32_t result = AAX_CEffectParameters::UpdateParameterNormalizedValue (id, value, cause);
        if (result != AAX_SUCCESS)
            return result;
        const int index = ProcessorIndexOf (id);
        if (index >= 0)
            processor_->setParameter (index, std::isnan (value) ? 0.0f : static_cast<float> (std::clamp (value, 0.0, 1.0)));
        return AAX_SUCCESS;
    });
}

int32_t JuceAAX_Processor::ClearDataBlock (uint32_t field, void* block, uint32_t size)
{
    AAX_CEffectParameters::ClearDataBlock (field, block, size);
    if (field == kPrivateDataField && block != nullptr && size >= sizeof (JuceAAX_Processor*))
    {
        JuceAAX_Processor* self = this;
        std::memcpy (block, &self, sizeof (self));
    }
    return AAX_SUCCESS;
}

// ---- chunks: the controls chunk, then `juce`

int32_t JuceAAX_Processor::GetNumberOfChunks (int32_t* outCount) const
{
    const int32_t result = AAX_CEffectParameters::GetNumberOfChunks (outCount);
    if (outCount != nullptr)
        *outCount += 1;
    return result;
}

int32_t JuceAAX_Processor::GetChunkIDFromIndex (int32_t index, uint32_t* outId) const
{
    int32_t ownChunks = 0;
    AAX_CEffectParameters::GetNumberOfChunks (&ownChunks);
    if (index != ownChunks)
        return AAX_CEffectParameters::GetChunkIDFromIndex (index, outId);
    if (outId != nullptr)
        *outId = kJuceChunkID;
    return AAX_SUCCESS;
}

int32_t JuceAAX_Processor::GetChunkSize (uint32_t id, int32_t* outSize)
{
    if (id != kJuceChunkID)
        return AAX_CEffectParameters::GetChunkSize (id, outSize);
    return Guarded ([&]() -> int32_t {
        const AAX_CPacketDispatcher::ScopedLock whole (PacketDispatcher());
        // The state as it is now is the one the next GetChunk writes: the editor may change a
        // parameter, and with it the length of the state, between the two calls.
        processor_->getStateInformation (juceChunk_);
        nextJuceChunk_ = NextJuceChunk::sized;
        if (outSize != nullptr)
            *outSize = static_cast<int32_t> (juceChunk_.getSize());
        return AAX_SUCCESS;
    });
}

int32_t JuceAAX_Processor::GetChunk (uint32_t id, AAX_SPlugInChunkHeader* outChunk)
{
    if (id != kJuceChunkID)
        return AAX_CEffectParameters::GetChunk (id, outChunk);
    return Guarded ([&]() -> int32_t {
        const AAX_CPacketDispatcher::ScopedLock whole (PacketDispatcher());
        if (outChunk == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        if (nextJuceChunk_ == NextJuceChunk::refused)
            return AAX_ERROR_CHUNK_SIZE_CHANGED;
        // The block made for the size asked serves this call alone; a later one writes the state
        // as it is then.
        if (nextJuceChunk_ == NextJuceChunk::current)
            processor_->getStateInformation (juceChunk_);
        nextJuceChunk_ = NextJuceChunk::current;
        // The record's size is the room the host made for the size it was told.
        const auto size = static_cast<int32_t> (juceChunk_.getSize());
        if (size == 0 || outChunk->fSize < size)
            return AAX_ERROR_CHUNK_SIZE_CHANGED;
        outChunk->fSize = size;
        outChunk->fVersion = 0;
        std::memset (outChunk->fName, 0, sizeof (outChunk->fName));
        std::memcpy (AAX_ChunkData (outChunk), juceChunk_.getData(), juceChunk_.getSize());
        return AAX_SUCCESS;
    });
}

int32_t JuceAAX_Processor::SetChunk (uint32_t id, const AAX_SPlugInChunkHeader* chunk)
{
    if (id != kJuceChunkID)
        return AAX_CEffectParameters::SetChunk (id, chunk);
    return Guarded ([&]() -> int32_t {
        if (chunk == nullptr)
            return AAX_ERROR_NULL_ARGUMENT;
        // One update, as a host update is: no other comes between the processor's state and its
        // host parameters.
        const AAX_CPacketDispatcher::ScopedLock whole (PacketDispatcher());
        if (chunk->fSize > 0)
            processor_->setStateInformation (AAX_ChunkData (chunk), chunk->fSize);
        // The processor set itself without telling anyone: its host parameters follow it.
        for (int index = 0; index < processor_->getNumParameters(); ++index)
        {
            const std::string id = IdentifierOf (index);
            AAX_CEffectParameters::UpdateParameterNormalizedValue (id.c_str(), processor_->getParameter (index), 0);
        }
        return AAX_SUCCESS;
    });
}

// ---- the editor's changes

template <class Change>
void JuceAAX_Processor::PassOnEditorChange (int index, Change&& change) noexcept
{
    try
    {
        const std::string id = IdentifierOf (index);
        const std::lock_guard editorChanges (editorChangesLock_);
        change (id.c_str());
    }
    catch (...)
    {
    }
}

void JuceAAX_Processor::audioProcessorParameterChanged (juce::AudioProcessor*, int index, float value)
{
    PassOnEditorChange (index, [&] (const char* id) { SetParameterNormalizedValue (id, value); });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureBegin (juce::AudioProcessor*, int index)
{
    PassOnEditorChange (index, [&] (const char* id) { TouchParameter (id); });
}

void JuceAAX_Processor::audioProcessorParameterChangeGestureEnd (juce::AudioProcessor*, int index)
{
    PassOnEditorChange (index, [&] (const char* id) { ReleaseParameter (id); });
}

// ---- audio

std::optional<JuceAAX_Processor::ChannelLayout> JuceAAX_Processor::ReadHostChannels() const
{
    const AAX_IController* controller = Controller();
    int32_t inputFormat = 0;
    int32_t outputFormat = 0;
    if (controller == nullptr || controller->GetInputStemFormat (&inputFormat) != AAX_SUCCESS
        || controller->GetOutputStemFormat (&outputFormat) != AAX_SUCCESS)
        return std::nullopt;
    const ChannelLayout channels { AAX_StemFormatChannelCount (inputFormat), AAX_StemFormatChannelCount (outputFormat) };
    const auto supported = [] (int count) { return count >= 1 && count <= 2; };
    if (! supported (channels.inputs) || ! supported (channels.outputs))
        return std::nullopt;
    return channels;
}

std::optional<double> JuceAAX_Processor::ReadHostSampleRate() const
{
    const AAX_IController* controller = Controller();
    double rate = 0.0;
    if (controller == nullptr || controller->GetSampleRate (&rate) != AAX_SUCCESS || ! (rate > 0.0) || ! std::isfinite (rate))
        return std::nullopt;
    return rate;
}

std::optional<JuceAAX_Processor::ProcessingFormat> JuceAAX_Processor::ReadHostFormat (const std::optional<ChannelLayout>& channels) const
{
    if (! channels.has_value())
        return std::nullopt;
    const std::optional<double> rate = ReadHostSampleRate();
    if (! rate.has_value())
        return std::nullopt;
    return ProcessingFormat { *rate, *channels };
}

void JuceAAX_Processor::PrepareForHostFormat()
{
    if (const std::optional<ProcessingFormat> format = ReadHostFormat (ReadHostChannels()))
        Prepare (*format);
    else
        ForgetHostFormat();
}

void JuceAAX_Processor::Prepare (const ProcessingFormat& format)
{
    const juce::ScopedLock lock (processor_->getCallbackLock());
    if (prepared_ == format)
        return;
    prepared_.reset();
    processor_->setPlayConfigDetails (format.channels.inputs, format.channels.outputs, format.sampleRate, kPreparedBlockSize);
    processor_->prepareToPlay (format.sampleRate, kPreparedBlockSize);
    prepared_ = format;
}

void JuceAAX_Processor::ForgetHostFormat()
{
    const juce::ScopedLock lock (processor_->getCallbackLock());
    prepared_.reset();
}

bool JuceAAX_Processor::PassInputThrough (const JuceAAX_Context& context, const ChannelLayout& layout)
{
    const auto length = static_cast<size_t> (*context.bufferLength);
    bool complete = context.inputChannels != nullptr;
    for (int channel = 0; complete && channel < layout.inputs; ++channel)
        complete = context.inputChannels[channel] != nullptr;
    for (int channel = 0; channel < layout.outputs; ++channel)
        complete = complete && context.outputChannels[channel] != nullptr;

    for (int channel = 0; channel < layout.outputs; ++channel)
    {
        float* out = context.outputChannels[channel];
        if (out == nullptr)
            continue;
        const float* in = complete && channel < layout.inputs ? context.inputChannels[channel] : nullptr;
        if (in == nullptr)
            std::fill (out, out + length, 0.0f);
        else if (in != out)
            std::memmove (out, in, length * sizeof (float));
    }
    return complete;
}

void JuceAAX_Processor::Process (const JuceAAX_Context& context, const ChannelLayout& layout)
{
    if (! PassInputThrough (context, layout))
        return;

    juce::AudioBuffer<float> buffer (context.outputChannels, layout.outputs, *context.bufferLength);
    const bool hostBypass = context.bypass != nullptr && *context.bypass != 0;
    const juce::ScopedLock lock (processor_->getCallbackLock());
    if (! prepared_.has_value() || prepared_->channels != layout)
        return; // passed through until the host gives a format of this layout
    midi_.clear();
    if (hostBypass)
        processor_->processBlockBypassed (buffer, midi_);
    else
        processor_->processBlock (buffer, midi_);
}

template <int Channels>
void JuceAAX_Processor::ProcessCallback (void* const instances[], const void* instancesEnd)
{
    static constexpr ChannelLayout kLayout { Channels, Channels };
    if (instances == nullptr || instancesEnd == nullptr)
        return;
    const auto* end = static_cast<void* const*> (instancesEnd);
    for (void* const* walk = instances; walk < end; ++walk)
    {
        const auto* context = static_cast<const JuceAAX_Context*> (*walk);
        if (context == nullptr || context->instance == nullptr || *context->instance == nullptr
            || context->bufferLength == nullptr || *context->bufferLength <= 0 || context->outputChannels == nullptr)
            continue;
        try
        {
            (*context->instance)->Process (*context, kLayout);
        }
        catch (...)
        {
        }
    }
}

template void JuceAAX_Processor::ProcessCallback<1> (void* const[], const void*);
template void JuceAAX_Processor::ProcessCallback<2> (void* const[], const void*);
} // namespace AAXClasses

JUCE_END_IGNORE_WARNINGS_GCC_LIKE
