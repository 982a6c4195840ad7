#include "HostedPlugIn.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

namespace kestrune::host::rtas
{

namespace
{
    // The type identifier under which the group answers for itself (its product name).
    constexpr uint32_t kGroupItself = 0x3F3F3F3F; // '????'
    // Names and texts: up to 255 characters and a terminator or a length byte.
    constexpr int32_t kTextCapacity = 256;
    // Control texts as hosts show them.
    constexpr int32_t kControlTextLength = 31;
    constexpr size_t kChunkHeaderBytes = 56;

    constexpr double kControlSteps = 4294967295.0;
    constexpr double kControlOffset = 2147483648.0;

    std::string LengthPrefixed (const uint8_t* text)
    {
        return std::string (reinterpret_cast<const char*> (text + 1), text[0]);
    }

    std::string Terminated (const char* text, size_t capacity)
    {
        return std::string (text, strnlen (text, capacity));
    }

    // Channels of a stem-format index, as the engine counts them; 0 for an index it does not know.
    int ChannelsOfStemFormat (int32_t format)
    {
        constexpr int channels[] = { 1, 2, 3, 4, 4, 5, 6, 6, 7, 7, 8 };
        return format >= 0 && format < int32_t (std::size (channels)) ? channels[format] : 0;
    }

    void RequireResult (int32_t result, const std::string& what)
    {
        if (result != 0)
            throw std::runtime_error ("the plug-in refused " + what + " (" + std::to_string (result) + ")");
    }

} // namespace

double ControlValueToFraction (int32_t value)
{
    return (double (value) + kControlOffset) / kControlSteps;
}

int32_t FractionToControlValue (double fraction)
{
    // Halves go up, as the plug-in library rounds.
    const double value = std::floor (std::clamp (fraction, 0.0, 1.0) * kControlSteps - kControlOffset + 0.5);
    return int32_t (std::clamp (value, -kControlOffset, kControlOffset - 1.0));
}

std::string FourCharText (uint32_t code)
{
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8)
        text += char ((code >> shift) & 0xFF);
    return text;
}

// ---- HostedPlugIn

HostedPlugIn::HostedPlugIn (PlugInLoader& loader) : loader_ (loader)
{
    loader.engine().setGestalt (kFicGestaltVariableQuanta, 1);
    Require (RoutineSelector::kSetHostCallback, { RoutineWord (reinterpret_cast<const void*> (loader.objectTracker().hostCallback())) },
             "the engine's callback");
    uint8_t name[kTextCapacity] = {};
    Require (RoutineSelector::kGroupName, { RoutineWord (kTextCapacity - 1), RoutineWord (name) }, "its manufacturer name");
    manufacturerName_ = LengthPrefixed (name);
    std::fill (std::begin (name), std::end (name), 0);
    Require (RoutineSelector::kTypeName, { kGroupItself, RoutineWord (kTextCapacity - 1), RoutineWord (name) }, "its product name");
    productName_ = LengthPrefixed (name);

    int16_t count = 0;
    Require (RoutineSelector::kNumTypes, { RoutineWord (&count) }, "its types");
    for (int32_t index = 1; index <= count; ++index)
        types_.push_back (ReadType (index));
}

int32_t HostedPlugIn::Call (uint32_t selector, const std::vector<uint32_t>& words) const
{
    const auto result = loader_.call (selector, words);
    if (! result)
        throw std::runtime_error ("the plug-in has no routine " + std::to_string (selector));
    return *result;
}

void HostedPlugIn::Require (uint32_t selector, const std::vector<uint32_t>& words, const std::string& what) const
{
    RequireResult (Call (selector, words), what);
}

HostedType HostedPlugIn::ReadType (int32_t index) const
{
    HostedType type;
    Require (RoutineSelector::kTypeIDsByIndex,
             { RoutineWord (index), RoutineWord (&type.manufacturer), RoutineWord (&type.product), RoutineWord (&type.typeID) },
             "type " + std::to_string (index));
    uint8_t name[kTextCapacity] = {};
    Require (RoutineSelector::kTypeName, { type.typeID, RoutineWord (kTextCapacity - 1), RoutineWord (name) }, "the name of a type");
    type.name = LengthPrefixed (name);
    SFicPlugInStemFormats formats {};
    Require (RoutineSelector::kStemFormats, { type.typeID, 0, RoutineWord (&formats) }, "the stem formats of a type");
    type.inputFormat = formats.fInputFormat;
    type.outputFormat = formats.fOutputFormat;
    type.inputs = ChannelsOfStemFormat (formats.fInputFormat);
    type.outputs = ChannelsOfStemFormat (formats.fOutputFormat);
    return type;
}

const HostedType* HostedPlugIn::TypeFor (int channels) const
{
    const auto found = std::find_if (types_.begin(), types_.end(), [channels] (const HostedType& type) {
        return type.inputs == channels && type.outputs == channels;
    });
    return found == types_.end() ? nullptr : &*found;
}

void HostedPlugIn::SetSampleRate (int32_t sampleRate) const
{
    Require (RoutineSelector::kSetSampleRate, { RoutineWord (sampleRate) }, "the sample rate");
}

// ---- HostedProcess

HostedProcess::HostedProcess (const HostedPlugIn& plugIn, const HostedType& type) : plugIn_ (plugIn), type_ (type)
{
    plugIn_.Require (RoutineSelector::kCreateProcess, { type_.typeID, RoutineWord (&id_) }, "an instance");
    try
    {
        FindWorker();
    }
    catch (...)
    {
        plugIn_.Call (RoutineSelector::kDeleteProcess, { type_.typeID, RoutineWord (id_) });
        throw;
    }
    inputBuffers_.assign (size_t (type_.inputs), std::vector<float> (kLargestBlock, 0.0f));
    outputBuffers_.assign (size_t (type_.outputs), std::vector<float> (kLargestBlock, 0.0f));
    cells_.resize (size_t (type_.inputs + type_.outputs));
    for (auto& cell : cells_)
        cellPointers_.push_back (&cell);
}

HostedProcess::~HostedProcess()
{
    try
    {
        plugIn_.Call (RoutineSelector::kDeleteProcess, { type_.typeID, RoutineWord (id_) });
    }
    catch (const std::exception&)
    {
        // The engine goes on without the process; the plug-in's close deletes what is left.
    }
}

void HostedProcess::FindWorker()
{
    auto& tracker = plugIn_.Loader().objectTracker();
    for (const auto& object : tracker.liveObjects())
    {
        if (object.kind != int32_t (ETrackedKind::kPlugIn))
            continue;
        const auto tracked = tracker.plugIn (object.object);
        if (tracked && uint32_t (tracked->spec[2]) == type_.typeID && tracked->spec[4] == id_ && ! tracked->workers.empty())
        {
            worker_ = tracked->workers.front();
            return;
        }
    }
    throw std::runtime_error ("the plug-in published no render callback for its instance");
}

int32_t HostedProcess::Call (uint32_t selector, const std::vector<uint32_t>& words) const
{
    std::vector<uint32_t> all { type_.typeID, RoutineWord (id_) };
    all.insert (all.end(), words.begin(), words.end());
    return plugIn_.Call (selector, all);
}

void HostedProcess::Require (uint32_t selector, const std::vector<uint32_t>& words, const std::string& what) const
{
    RequireResult (Call (selector, words), what);
}

int16_t HostedProcess::NumControls() const
{
    int16_t count = 0;
    Require (RoutineSelector::kNumControls, { RoutineWord (&count) }, "its controls");
    return count;
}

std::string HostedProcess::ControlName (int32_t index) const
{
    char name[kTextCapacity] = {};
    Require (RoutineSelector::kControlName, { RoutineWord (index), RoutineWord (name) }, "the name of control " + std::to_string (index));
    return Terminated (name, sizeof name);
}

int32_t HostedProcess::ControlValue (int32_t index) const
{
    int32_t value = 0;
    Require (RoutineSelector::kControlValue, { RoutineWord (index), RoutineWord (&value) }, "the value of control " + std::to_string (index));
    return value;
}

std::string HostedProcess::ControlText (int32_t index, int32_t value) const
{
    char text[kTextCapacity] = {};
    Require (RoutineSelector::kControlText, { RoutineWord (index), RoutineWord (value), RoutineWord (text), RoutineWord (kControlTextLength) },
             "the text of control " + std::to_string (index));
    return Terminated (text, sizeof text);
}

void HostedProcess::UpdateControlValue (int32_t index, int32_t value) const
{
    Require (RoutineSelector::kUpdateControlValue, { RoutineWord (index), RoutineWord (value) }, "control " + std::to_string (index));
}

int32_t HostedProcess::MasterBypassControlIndex() const
{
    int32_t index = 0;
    Require (RoutineSelector::kMasterBypassControlIndex, { RoutineWord (&index) }, "its master bypass");
    return index;
}

void HostedProcess::SetMasterBypass (bool on) const
{
    Require (RoutineSelector::kSetMasterBypass, { 0, on ? 1u : 0u }, "its master bypass");
}

bool HostedProcess::IsMasterBypassed() const
{
    uint8_t bypassed = 0;
    Require (RoutineSelector::kIsMasterBypassed, { 0, RoutineWord (&bypassed) }, "its master bypass");
    return bypassed != 0;
}

std::vector<uint32_t> HostedProcess::ChunkIDs() const
{
    int32_t count = 0;
    Require (RoutineSelector::kNumChunks, { RoutineWord (&count) }, "its chunks");
    std::vector<uint32_t> ids;
    for (int32_t index = 1; index <= count; ++index)
    {
        uint32_t id = 0;
        Require (RoutineSelector::kChunkID, { RoutineWord (index), RoutineWord (&id) }, "chunk " + std::to_string (index));
        ids.push_back (id);
    }
    return ids;
}

std::vector<uint8_t> HostedProcess::SaveChunk (uint32_t chunkID) const
{
    const std::string what = "chunk " + FourCharText (chunkID);
    int32_t size = 0;
    Require (RoutineSelector::kChunkSize, { chunkID, RoutineWord (&size) }, what);
    if (size < int32_t (kChunkHeaderBytes))
        throw std::runtime_error ("the plug-in gave " + what + " a size of " + std::to_string (size));
    std::vector<uint8_t> chunk (size_t (size), 0);
    std::memcpy (chunk.data(), &size, sizeof size);
    Require (RoutineSelector::kGetChunk, { chunkID, RoutineWord (chunk.data()) }, what);
    int32_t written = 0;
    std::memcpy (&written, chunk.data(), sizeof written);
    if (written < int32_t (kChunkHeaderBytes) || written > size)
        throw std::runtime_error ("the plug-in wrote " + what + " with a size of " + std::to_string (written));
    chunk.resize (size_t (written));
    return chunk;
}

int32_t HostedProcess::RestoreChunk (std::vector<uint8_t> chunk) const
{
    if (chunk.size() < kChunkHeaderBytes)
        throw std::logic_error ("a chunk record without its header");
    uint32_t id = 0;
    std::memcpy (&id, chunk.data() + offsetof (SFicPlugInChunk, fChunkID), sizeof id);
    return Call (RoutineSelector::kSetChunk, { id, RoutineWord (chunk.data()) });
}

int32_t HostedProcess::Render (const float* const* inputs, float* const* outputs, int frames)
{
    if (frames < 0 || frames > kLargestBlock)
        throw std::logic_error ("a block longer than the engine's buffers");
    const size_t inputCount = size_t (type_.inputs);
    for (size_t c = 0; c < inputCount; ++c)
    {
        std::copy (inputs[c], inputs[c] + frames, inputBuffers_[c].begin());
        cells_[c] = inputBuffers_[c].data();
    }
    for (size_t c = 0; c < outputBuffers_.size(); ++c)
        cells_[inputCount + c] = outputBuffers_[c].data();
    const int32_t result = plugIn_.Loader().objectTracker().render (worker_, cellPointers_, frames, frames);
    for (size_t c = 0; c < outputBuffers_.size(); ++c)
        std::copy (cells_[inputCount + c], cells_[inputCount + c] + frames, outputs[c]);
    return result;
}

PlugInRenderCallback HostedProcess::Callback() const
{
    const auto worker = plugIn_.Loader().objectTracker().worker (worker_);
    return worker ? worker->callback : nullptr;
}

void* HostedProcess::CallbackData() const
{
    auto& tracker = plugIn_.Loader().objectTracker();
    const auto worker = tracker.worker (worker_);
    return worker && ! worker->dataObjects.empty() ? tracker.dataBlock (worker->dataObjects.front()) : nullptr;
}

} // namespace kestrune::host::rtas
