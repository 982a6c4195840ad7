#include "HostInstance.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace kestrune::host::aax
{
ChunkRecord::ChunkRecord (uint32_t id, int32_t dataSize)
    : storage_ (sizeof (AAX_SPlugInChunkHeader) + static_cast<size_t> (std::max (dataSize, 0)) + kGuardSize, 0),
      capacity_ (std::max (dataSize, 0))
{
    std::fill (storage_.end() - kGuardSize, storage_.end(), kGuardByte);
    Header()->fSize = capacity_;
    Header()->fChunkID = id;
}

ChunkRecord ChunkRecord::FromBytes (const std::vector<uint8_t>& bytes)
{
    const size_t header = sizeof (AAX_SPlugInChunkHeader);
    const auto dataSize = static_cast<int32_t> (bytes.size() > header ? bytes.size() - header : 0);
    ChunkRecord record (0, dataSize);
    std::copy (bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t> (std::min (bytes.size(), header + dataSize)),
               record.storage_.begin());
    return record;
}

std::vector<uint8_t> ChunkRecord::Bytes() const
{
    const int32_t size = std::clamp (Header()->fSize, 0, capacity_);
    return { storage_.begin(), storage_.begin() + static_cast<std::ptrdiff_t> (sizeof (AAX_SPlugInChunkHeader) + size) };
}

bool ChunkRecord::GuardIntact() const
{
    return std::all_of (storage_.end() - kGuardSize, storage_.end(), [] (uint8_t b) { return b == kGuardByte; });
}

HostInstance::HostInstance (AAXModuleDriver& driver, const InstanceSettings& settings)
    : driver_ (driver), settings_ (settings)
{
    const auto& effects = driver.Host().Framework().Description().effects;
    if (settings.effect >= effects.size())
        throw std::runtime_error ("the module described no such effect");
    component_ = ComponentFor (settings.channels);

    IACFUnknown* object = driver.CreateObject (AAX_PROC_EFFECT_PARAMETERS, IID_IACFEffectParameters_V2, settings.effect);
    if (object == nullptr)
        throw std::runtime_error ("the processor factory made no effect parameters");
    parameters_ = static_cast<AAX_IACFEffectParameters_V2*> (object);

    host_ = NewHostObject<HostContext> (driver.Host().Framework());
    host_->Controller().SetSampleRate (settings.sampleRate);
    host_->Controller().SetStemFormats (StemFormatOf (settings.channels), StemFormatOf (settings.channels));
    SetAnswersSetValueRequests (true);
    host_->SetEffectParameters (parameters_);

    if (const int32_t result = parameters_->Initialize (host_); result != AAX_SUCCESS)
    {
        host_->SetEffectParameters (nullptr);
        parameters_->Release();
        host_->AutomationDelegate().SetResponder (nullptr);
        host_->Release();
        throw std::runtime_error ("the instance refused to initialise: " + std::to_string (result));
    }

    uint32_t lastField = 0;
    for (const auto& [field, kind] : component_.fields)
        lastField = std::max (lastField, field);
    fields_.assign (component_.fields.empty() ? 0 : lastField + 1, nullptr);
    for (const RecordedDataPort& port : component_.dataInPorts)
        portData_[port.field].assign (port.packetSize, 0);
    for (const RecordedPrivateData& data : component_.privateData)
    {
        auto& block = privateData_[data.field];
        block.assign (static_cast<size_t> (std::max (data.size, 0)), 0xCD);
        parameters_->ClearDataBlock (data.field, block.data(), static_cast<uint32_t> (block.size()));
    }
}

HostInstance::~HostInstance()
{
    host_->AutomationDelegate().SetResponder (nullptr);
    host_->SetEffectParameters (nullptr);
    parameters_->Uninitialize();
    parameters_->Release();
    host_->Release();
}

RecordedComponent HostInstance::ComponentFor (int32_t channels) const
{
    const auto& components = driver_.Host().Framework().Description().effects[settings_.effect].components;
    if (channels < 1 || static_cast<size_t> (channels) > components.size())
        throw std::runtime_error ("the effect has no component for " + std::to_string (channels) + " channels");
    const RecordedComponent& component = components[static_cast<size_t> (channels - 1)];
    if (component.processProcedures.empty())
        throw std::runtime_error ("the component has no process procedure");
    return component;
}

int32_t HostInstance::StemFormatOf (int32_t channels)
{
    return channels == 1 ? AAX_STEM_FORMAT_MONO : AAX_STEM_FORMAT_STEREO;
}

void HostInstance::ChangeFormat (int32_t channels, double sampleRate, bool notify)
{
    if (channels != settings_.channels)
    {
        component_ = ComponentFor (channels);
        settings_.channels = channels;
    }
    settings_.sampleRate = sampleRate;
    host_->Controller().SetSampleRate (sampleRate);
    host_->Controller().SetStemFormats (StemFormatOf (channels), StemFormatOf (channels));
    if (notify)
        parameters_->ReceiveNotification (AAX_NOTIFICATION_FORMAT_CHANGED, nullptr, 0);
}

void HostInstance::SetAnswersSetValueRequests (bool answers)
{
    if (! answers)
    {
        host_->AutomationDelegate().SetResponder (nullptr);
        return;
    }
    host_->AutomationDelegate().SetResponder ([this] (const std::string& id, double value) {
        parameters_->UpdateParameterNormalizedValue (id.c_str(), value, 0);
    });
}

void HostInstance::DeliverPackets()
{
    const std::vector<PostedPacket> packets = host_->Controller().Packets();
    for (; packetsDelivered_ < packets.size(); ++packetsDelivered_)
    {
        const PostedPacket& packet = packets[packetsDelivered_];
        const auto port = portData_.find (packet.port);
        if (port == portData_.end())
            continue;
        std::fill (port->second.begin(), port->second.end(), 0);
        std::copy_n (packet.payload.begin(), std::min (packet.payload.size(), port->second.size()), port->second.begin());
    }
}

void HostInstance::ProcessBlock (const float* const* inputs, float* const* outputs, int32_t length)
{
    parameters_->DispatchPackets();
    RenderBlock (inputs, outputs, length);
}

void HostInstance::RenderBlock (const float* const* inputs, float* const* outputs, int32_t length)
{
    DeliverPackets();
    bufferLength_ = length;
    for (const auto& [field, kind] : component_.fields)
    {
        switch (kind)
        {
            case FieldKind::audioIn: fields_[field] = const_cast<float**> (inputs); break;
            case FieldKind::audioOut: fields_[field] = const_cast<float**> (outputs); break;
            case FieldKind::bufferLength: fields_[field] = &bufferLength_; break;
            case FieldKind::dataInPort: fields_[field] = portData_[field].data(); break;
            case FieldKind::privateData: fields_[field] = privateData_[field].data(); break;
        }
    }
    void* const contexts[] = { fields_.data() };
    CallProcessProcedure (contexts, 1);
}

void HostInstance::CallProcessProcedure (void* const* contexts, size_t count) const
{
    component_.processProcedures.front().procedure (contexts, contexts + count);
}

int32_t HostInstance::SaveChunk (uint32_t id, ChunkRecord& out) const
{
    int32_t size = 0;
    if (const int32_t result = parameters_->GetChunkSize (id, &size); result != AAX_SUCCESS)
        return result;
    out = ChunkRecord (id, size);
    return parameters_->GetChunk (id, out.Header());
}

int32_t HostInstance::RestoreChunk (const ChunkRecord& record) const
{
    return parameters_->SetChunk (record.Header()->fChunkID, record.Header());
}

int32_t HostInstance::SaveAllChunks (std::vector<ChunkRecord>& out) const
{
    int32_t count = 0;
    if (const int32_t result = parameters_->GetNumberOfChunks (&count); result != AAX_SUCCESS)
        return result;
    for (int32_t index = 0; index < count; ++index)
    {
        uint32_t id = 0;
        if (const int32_t result = parameters_->GetChunkIDFromIndex (index, &id); result != AAX_SUCCESS)
            return result;
        ChunkRecord record;
        if (const int32_t result = SaveChunk (id, record); result != AAX_SUCCESS)
            return result;
        out.push_back (std::move (record));
    }
    return AAX_SUCCESS;
}
} // namespace kestrune::host::aax
